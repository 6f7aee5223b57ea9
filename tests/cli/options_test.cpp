// pseudal2logo's options: usage errors with their exact French messages, well-formed command
// lines, --help and --version, and the output encoding and line ends.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/command.h"
#include "tests/cli/cli_test_support.h"
#include "tests/test_support.h"

namespace tortuval::cli {
namespace {

namespace fs = std::filesystem;
using tortuval::testing::Cp;
using tortuval::testing::Utf8;

// Usage errors: status 2, nothing on standard output, the exact French message and the hint.

struct UsageErrorRow {
  std::vector<std::string> args;
  std::string message;
};

class UsageErrorTest : public ::testing::TestWithParam<UsageErrorRow> {};

TEST_P(UsageErrorTest, IsReportedWithHint) {
  const UsageErrorRow& row = GetParam();
  const RunOutput result = RunCli(row.args);
  EXPECT_EQ(result.status, ExitStatus::kUsageError);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "pseudal2logo: " + row.message + "\n" + std::string(kHint));
}

INSTANTIATE_TEST_SUITE_P(
    Cli, UsageErrorTest,
    ::testing::Values(
        UsageErrorRow{{"--bogus"}, "option inconnue \"--bogus\"."},
        UsageErrorRow{{"-x", "a.alg"}, "option inconnue \"-x\"."},
        UsageErrorRow{{"--example"}, "l'option \"--example\" attend un argument."},
        UsageErrorRow{{"a.alg", "-o"}, "l'option \"-o\" attend un argument."},
        UsageErrorRow{{"--encoding="}, "l'option \"--encoding\" attend un argument."},
        UsageErrorRow{{"--example", "0"}, "numéro d'exemple invalide \"0\" (attendu : 1 à 17)."},
        UsageErrorRow{{"--example", "18"}, "numéro d'exemple invalide \"18\" (attendu : 1 à 17)."},
        UsageErrorRow{{"--example=8x"}, "numéro d'exemple invalide \"8x\" (attendu : 1 à 17)."},
        UsageErrorRow{{"--example-source", "4294967304"},
                      "numéro d'exemple invalide \"4294967304\" (attendu : 1 à 17)."},
        UsageErrorRow{{"--encoding", "latin1"},
                      "encodage inconnu \"latin1\" (attendu : utf-8 ou cp1252)."},
        UsageErrorRow{{"--lf=yes"}, "l'option \"--lf\" n'accepte pas d'argument."},
        UsageErrorRow{{"-o", "out.lgo", "a.alg", "b.alg"},
                      "l'option \"-o\" n'accepte qu'un seul fichier d'entrée."},
        UsageErrorRow{{"-o", "x", "-d", "y", "a.alg"},
                      "les options \"-o\" et \"-d\" ne peuvent pas être utilisées ensemble."},
        UsageErrorRow{{"-d", "out"},
                      "l'entrée standard ne peut pas être utilisée avec l'option \"-d\"."},
        UsageErrorRow{{"-", "a.alg", "-"}, "l'entrée standard \"-\" ne peut être lue qu'une fois."},
        UsageErrorRow{{"--example", "3", "a.alg"},
                      "l'option \"--example\" ne prend pas de fichier d'entrée (\"a.alg\")."},
        UsageErrorRow{{"--example", "3", "--examples"},
                      "les options \"--example\" et \"--examples\" ne peuvent pas être utilisées "
                      "ensemble."},
        UsageErrorRow{{"--examples", "-d", "out"},
                      "l'option \"-d\" ne s'applique qu'à des fichiers d'entrée."},
        UsageErrorRow{{"--python", "--check", "a.alg"},
                      "les options \"--python\" et \"--check\" ne peuvent pas être utilisées "
                      "ensemble."},
        UsageErrorRow{{"--python", "--encoding", "cp1252", "a.alg"},
                      "le programme Python s'écrit en UTF-8 : l'option \"--encoding\" ne s'y "
                      "applique pas."},
        UsageErrorRow{{"--python", "--run", "a.alg"},
                      "les options \"--run\" et \"--python\" ne peuvent pas être utilisées "
                      "ensemble."},
        UsageErrorRow{{"--python", "--examples"},
                      "l'option \"--python\" ne s'applique qu'à des documents ou à --example."},
        UsageErrorRow{{"--python", "-d", "out", "a/x.alg", "b/x.alg"},
                      "les fichiers \"a/x.alg\" et \"b/x.alg\" donneraient le même fichier de "
                      "sortie \"out/x.py\"."},
        UsageErrorRow{{"-d", "out", "a/x.alg", "b/x.alg"},
                      "les fichiers \"a/x.alg\" et \"b/x.alg\" donneraient le même fichier de "
                      "sortie \"out/x.lgo\"."}));

// ---------------------------------------------------------------------------------------------
// Well-formed command lines.

TEST(ParseOptionsTest, DefaultsReadStandardInputAsUtf8WithCrLf) {
  const Options options = ParseOptions({});
  EXPECT_EQ(options.action, Action::kConvertInputs);
  EXPECT_EQ(options.inputs, std::vector<std::string>{"-"});
  EXPECT_EQ(options.encoding, OutputEncoding::kUtf8);
  EXPECT_FALSE(options.lfLineEnds);
  EXPECT_FALSE(options.listing);
  EXPECT_FALSE(options.outputFile);
  EXPECT_FALSE(options.outputDirectory);
}

TEST(ParseOptionsTest, ValuesMayBeSeparateAttachedOrAfterEquals) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--example", "8", "-o", "out.lgo", "--encoding", "cp1252"},
           {"--example=8", "-oout.lgo", "--encoding=CP1252"},
           {"--encoding", "windows-1252", "-o", "out.lgo", "--example", "08"}}) {
    const Options options = ParseOptions(args);
    EXPECT_EQ(options.action, Action::kConvertExample);
    EXPECT_EQ(options.exampleNumber, 8);
    EXPECT_EQ(options.outputFile, fs::path("out.lgo"));
    EXPECT_EQ(options.encoding, OutputEncoding::kCp1252);
  }
  EXPECT_EQ(ParseOptions({"--encoding", "UTF8"}).encoding, OutputEncoding::kUtf8);
}

TEST(ParseOptionsTest, DoubleDashEndsOptionsAndKeepsFileOrder) {
  const Options options = ParseOptions({"b.alg", "--lf", "-", "--", "--listing", "-x"});
  EXPECT_EQ(options.inputs, (std::vector<std::string>{"b.alg", "-", "--listing", "-x"}));
  EXPECT_TRUE(options.lfLineEnds);
  EXPECT_FALSE(options.listing);
}

TEST(ParseOptionsTest, HelpAndVersionAnswerBeforeLaterArguments) {
  EXPECT_EQ(ParseOptions({"a.alg", "--help", "--bogus"}).action, Action::kHelp);
  EXPECT_EQ(ParseOptions({"--version", "-o"}).action, Action::kVersion);
  EXPECT_EQ(ParseOptions({"a.alg", "-h", "--bogus"}).action, Action::kHelp);
  EXPECT_THROW(ParseOptions({"--bogus", "--help"}), Error);
}

TEST(CliRunTest, VersionAndHelp) {
  const RunOutput version = RunCli({"--version"});
  EXPECT_EQ(version.status, ExitStatus::kSuccess);
  EXPECT_EQ(version.out, "pseudal2logo 1.0.0\n");
  EXPECT_EQ(version.err, "");

  const RunOutput help = RunCli({"--help"});
  EXPECT_EQ(help.status, ExitStatus::kSuccess);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(RunCli({"-h"}).out, help.out);
  EXPECT_TRUE(help.out.starts_with("Utilisation : pseudal2logo [options] [FICHIER...]\n"));
  for (const char* option : {"--listing", "--example N", "--example-source N", "--examples",
                             "--encoding E", "--lf", "-o FICHIER", "-d DOSSIER", "--version"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option << " is not described";
  }
}

// ---------------------------------------------------------------------------------------------
// Output encoding and line ends.

struct EncodeRow {
  std::string cp1252;
  OutputEncoding encoding;
  bool lf;
  std::string expected;
};

TEST(EncodeOutputTest, ConvertsLineEndsThenEncoding) {
  const std::vector<EncodeRow> rows = {
      {"a\r\nb\r\n", OutputEncoding::kCp1252, false, "a\r\nb\r\n"},
      {"a\r\nb\r\n", OutputEncoding::kCp1252, true, "a\nb\n"},
      {"a\rb\r\n\r\r\n", OutputEncoding::kCp1252, true, "a\rb\n\r\n"},  // lone CRs stay
      {"\n\r", OutputEncoding::kCp1252, true, "\n\r"},
      {Cp("été\r\n"), OutputEncoding::kUtf8, false, "été\r\n"},
      {Cp("€ « œ » ÿ\r\n"), OutputEncoding::kUtf8, true, "€ « œ » ÿ\n"},
      {Cp("été"), OutputEncoding::kCp1252, true, Cp("été")},
      {"", OutputEncoding::kUtf8, true, ""},
  };
  for (const EncodeRow& row : rows) {
    Options options;
    options.encoding = row.encoding;
    options.lfLineEnds = row.lf;
    EXPECT_EQ(EncodeOutput(row.cp1252, options), row.expected)
        << "input " << Utf8(row.cp1252) << ", lf " << row.lf;
  }
}

TEST(CliRunTest, StandardOutputFailureIsReported) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  out.setstate(std::ios::badbit);
  EXPECT_EQ(cli::Run({"--example", "1"}, in, out, err), ExitStatus::kFailure);
  EXPECT_EQ(err.str(), "pseudal2logo: Impossible d'écrire sur la sortie standard.\n");
}

// --python: the algorithm in Python on standard output, each line it could not write said on
// standard error where --check says its findings, and kept as a comment in the program.
TEST(PythonOptionTest, WritesTheProgramAndSaysWhatIsLeftToComplete) {
  const RunOutput result = RunCli({"--python", "--example", "15"});
  EXPECT_EQ(result.status, ExitStatus::kSuccess);
  EXPECT_EQ(result.err, "");
  EXPECT_NE(result.out.find("\n_lire_liste(listenombre, 4)\n"), std::string::npos);
  // Its variable "min" would hide the built-in function a helper calls.
  EXPECT_NE(result.out.find("\n    min_ = _pos_minimum(listenombre, i + 1, ntermes)\n"),
            std::string::npos);
  // A function the editor does not have: its line is kept, and said.
  const RunOutput unknown = RunCli(
      {"--python", "-"},
      "<Algo><item algoitem=\"DEBUT_ALGORITHME\" code=\"101#debutalgo\">"
      "<item algoitem=\"AFFICHER CALCUL\" code=\"20#hypot(3,4)#1\"/></item></Algo>");
  EXPECT_EQ(unknown.status, ExitStatus::kSuccess);
  EXPECT_EQ(unknown.err,
            "<entrée standard>:2: la fonction « hypot » n'est pas encore écrite en Python\n");
  EXPECT_NE(unknown.out.find("\n# À compléter : AFFICHER CALCUL\n"), std::string::npos)
      << unknown.out;
  EXPECT_NE(result.out.find("\nfor i in range(1, int(ntermes - 1) + 1):\n"), std::string::npos)
      << result.out;
}

}  // namespace
}  // namespace tortuval::cli
