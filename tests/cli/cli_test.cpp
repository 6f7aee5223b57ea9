// The pseudal2logo command line: options, exit statuses, inputs and outputs, mostly run in-process
// with string streams, plus a few runs of the real executable.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/cli_run.h"
#include "convert/conversion.h"
#include "convert/source_file.h"
#include "examples/example_catalogue.h"
#include "expr/cp1252.h"
#include "tests/test_support.h"

namespace tortuval::cli {
namespace {

namespace fs = std::filesystem;
using tortuval::testing::Cp;

constexpr std::string_view kHint = "Essayez \"pseudal2logo --help\" pour plus d'informations.\n";

struct RunOutput {
  ExitStatus status;
  std::string out;
  std::string err;
};

RunOutput RunCli(const std::vector<std::string>& args, const std::string& stdinBytes = "") {
  std::istringstream in(stdinBytes);
  std::ostringstream out;
  std::ostringstream err;
  const ExitStatus status = cli::Run(args, in, out, err);
  return {status, out.str(), err.str()};
}

std::string Utf8(std::string_view cp1252) { return expr::Cp1252ToUtf8(cp1252); }

const convert::ConversionResult& ConvertedExample(int number) {
  static std::vector<convert::ConversionResult> results = [] {
    std::vector<convert::ConversionResult> all;
    for (int index = 0; index < examples::kExampleCount; ++index) {
      all.push_back(convert::ConvertDocument(examples::ExampleDocument(index)));
    }
    return all;
  }();
  return results.at(number - 1);
}

std::vector<std::string> SplitAfter(const std::string& text, const std::string& lineEnd) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find(lineEnd, start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no line end>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + lineEnd.size();
  }
  return lines;
}

// ---------------------------------------------------------------------------------------------
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

// ---------------------------------------------------------------------------------------------
// Built-in examples.

TEST(CliExampleTest, EachExampleConvertsToItsProgramInUtf8) {
  for (int number = 1; number <= examples::kExampleCount; ++number) {
    const RunOutput result = RunCli({"--example", std::to_string(number)});
    EXPECT_EQ(result.status, ExitStatus::kSuccess) << "example " << number;
    EXPECT_EQ(result.err, "") << "example " << number;
    EXPECT_EQ(result.out, Utf8(ConvertedExample(number).logoText))
        << "example " << number << "\n"
        << tortuval::testing::LineDiff(Utf8(ConvertedExample(number).logoText), result.out);
  }
}

TEST(CliExampleTest, Cp1252OutputIsExactlyThePaneText) {
  for (int number : {5, 8, 16}) {
    const std::string n = std::to_string(number);
    EXPECT_EQ(RunCli({"--example", n, "--encoding", "cp1252"}).out,
              ConvertedExample(number).logoText)
        << "example " << number;
    EXPECT_EQ(RunCli({"--encoding", "cp1252", "--listing", "--example", n}).out,
              ConvertedExample(number).listingText)
        << "example " << number;
  }
}

TEST(CliExampleTest, ListingAndLfLineEnds) {
  const std::string& listing = ConvertedExample(8).listingText;
  EXPECT_EQ(RunCli({"--listing", "--example", "8"}).out, Utf8(listing));

  const RunOutput lf = RunCli({"--lf", "--example", "8", "--encoding", "cp1252"});
  EXPECT_EQ(lf.out.find('\r'), std::string::npos);
  std::string restored;
  for (char c : lf.out) restored += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(restored, ConvertedExample(8).logoText);
}

TEST(CliExampleTest, ExampleSourceIsTheDocumentText) {
  EXPECT_EQ(RunCli({"--example-source", "8", "--encoding", "cp1252"}).out,
            examples::ExampleDocument(7));
  EXPECT_EQ(RunCli({"--example-source", "17"}).out, Utf8(examples::ExampleDocument(16)));

  // The two documents are the same, character for character.
  const RunOutput eleven = RunCli({"--example-source", "11"});
  const RunOutput twelve = RunCli({"--example-source", "12"});
  EXPECT_EQ(twelve.status, ExitStatus::kSuccess);
  EXPECT_FALSE(twelve.out.empty());
  EXPECT_EQ(twelve.out, eleven.out);
}

TEST(CliExampleTest, ExampleSourceFedBackGivesTheSameProgram) {
  for (int number : {5, 6, 8, 13}) {
    const std::string n = std::to_string(number);
    for (const char* encoding : {"utf-8", "cp1252"}) {
      const RunOutput source = RunCli({"--example-source", n, "--encoding", encoding});
      const RunOutput converted = RunCli({"--encoding", "cp1252"}, source.out);
      EXPECT_EQ(converted.status, ExitStatus::kSuccess);
      EXPECT_EQ(converted.out, ConvertedExample(number).logoText)
          << "example " << number << " saved as " << encoding << "\n"
          << tortuval::testing::LineDiff(Utf8(ConvertedExample(number).logoText),
                                         Utf8(converted.out));
    }
  }
}

TEST(CliExampleTest, ExamplesListsNumberTabCaption) {
  const RunOutput result = RunCli({"--examples"});
  EXPECT_EQ(result.status, ExitStatus::kSuccess);
  EXPECT_EQ(result.err, "");
  const std::vector<std::string> lines = SplitAfter(result.out, "\r\n");
  ASSERT_EQ(lines.size(), 17u) << result.out;
  for (int number = 1; number <= 17; ++number) {
    EXPECT_TRUE(lines[number - 1].starts_with(std::to_string(number) + "\t")) << lines[number - 1];
  }
  EXPECT_EQ(lines[0], "1\tprof_dichotomie.");
  EXPECT_EQ(lines[4], "5\tprof_intégrale_trapèze.");
  EXPECT_EQ(lines[9], "10\tprof_dichotomie.");
  EXPECT_EQ(lines[14], "15\tfonction pos_minimum");
  EXPECT_EQ(lines[15], "16\tloi_normale_centrée.");

  const RunOutput lf = RunCli({"--examples", "--lf"});
  EXPECT_EQ(lf.out.find('\r'), std::string::npos);
  EXPECT_EQ(SplitAfter(lf.out, "\n"), lines);

  const RunOutput cp = RunCli({"--examples", "--encoding", "cp1252"});
  EXPECT_EQ(SplitAfter(cp.out, "\r\n").at(4), Cp("5\tprof_intégrale_trapèze."));
}

TEST(CliRunTest, StandardOutputFailureIsReported) {
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  out.setstate(std::ios::badbit);
  EXPECT_EQ(cli::Run({"--example", "1"}, in, out, err), ExitStatus::kFailure);
  EXPECT_EQ(err.str(), "pseudal2logo: Impossible d'écrire sur la sortie standard.\n");
}

// ---------------------------------------------------------------------------------------------
// Files, standard input, -o and -d, in a scratch folder.

class CliFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           ("pseudal2logo_" + std::to_string(::getpid()) + "_" + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  // A document file holding the bytes of built-in example `number` (Windows-1252).
  fs::path WriteExample(const std::string& name, int number) {
    return WriteBytes(name, examples::ExampleDocument(number - 1));
  }
  fs::path WriteBytes(const std::string& name, const std::string& bytes) {
    const fs::path path = dir_ / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  static std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }
  // What the tool should print for a file, in UTF-8: the program of its decoded bytes.
  static std::string ProgramOf(const fs::path& path) {
    return Utf8(convert::ConvertDocument(convert::DecodeSourceBytes(ReadBytes(path))).logoText);
  }
  static std::string ReadError(const fs::path& path) {
    return testing::ErrorMessage([&path] { convert::ReadSourceFile(path); });
  }

  fs::path dir_;
};

TEST_F(CliFilesTest, SeveralFilesArePrintedInOrder) {
  const fs::path a = WriteExample("a.alg", 1);
  const fs::path b = WriteExample("b.alg", 8);
  const RunOutput ab = RunCli({a.string(), b.string()});
  EXPECT_EQ(ab.status, ExitStatus::kSuccess);
  EXPECT_EQ(ab.err, "");
  EXPECT_EQ(ab.out, ProgramOf(a) + ProgramOf(b));
  EXPECT_EQ(RunCli({b.string(), a.string()}).out, ProgramOf(b) + ProgramOf(a));
}

TEST_F(CliFilesTest, StandardInputTakesItsPlaceAmongFiles) {
  const fs::path a = WriteExample("a.alg", 2);
  const fs::path b = WriteExample("b.alg", 3);
  const std::string stdinBytes = examples::ExampleDocument(13);
  const RunOutput result = RunCli({a.string(), "-", b.string()}, stdinBytes);
  EXPECT_EQ(result.status, ExitStatus::kSuccess);
  EXPECT_EQ(result.out, ProgramOf(a) + Utf8(ConvertedExample(14).logoText) + ProgramOf(b));
}

TEST_F(CliFilesTest, MissingAndUnreadableInputsDoNotStopTheOthers) {
  const fs::path good1 = WriteExample("good1.alg", 4);
  const fs::path good2 = WriteExample("good2.alg", 9);
  const fs::path missing = dir_ / "missing.alg";
  const fs::path folder = dir_ / "folder.alg";
  fs::create_directory(folder);

  const RunOutput result =
      RunCli({good1.string(), missing.string(), folder.string(), good2.string()});
  EXPECT_EQ(result.status, ExitStatus::kFailure);
  EXPECT_EQ(result.out, ProgramOf(good1) + ProgramOf(good2));
  EXPECT_EQ(result.err,
            "pseudal2logo: " + ReadError(missing) + "\npseudal2logo: " + ReadError(folder) + "\n");
  EXPECT_NE(result.err.find("Impossible d'ouvrir le fichier \"" + missing.string() + "\". "),
            std::string::npos)
      << result.err;
}

TEST_F(CliFilesTest, FileWithoutReadPermissionIsReported) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
  const fs::path locked = WriteExample("locked.alg", 1);
  const fs::path good = WriteExample("good.alg", 2);
  fs::permissions(locked, fs::perms::none);
  const RunOutput result = RunCli({locked.string(), good.string()});
  fs::permissions(locked, fs::perms::owner_all);
  EXPECT_EQ(result.status, ExitStatus::kFailure);
  EXPECT_EQ(result.out, ProgramOf(good));
  EXPECT_TRUE(result.err.starts_with("pseudal2logo: Impossible d'ouvrir le fichier \"" +
                                     locked.string() + "\". "))
      << result.err;
}

TEST_F(CliFilesTest, OutputFileReceivesTheBytes) {
  const fs::path input = WriteExample("prog.alg", 6);
  const fs::path output = dir_ / "prog.lgo";
  const RunOutput result = RunCli({"-o", output.string(), input.string()});
  EXPECT_EQ(result.status, ExitStatus::kSuccess);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(ReadBytes(output), ProgramOf(input));

  // An existing file is replaced, and the listing goes out byte for byte in cp1252.
  EXPECT_EQ(
      RunCli({input.string(), "--listing", "--encoding", "cp1252", "-o", output.string()}).status,
      ExitStatus::kSuccess);
  EXPECT_EQ(ReadBytes(output), ConvertedExample(6).listingText);

  EXPECT_EQ(RunCli({"--examples", "--lf", "-o", output.string()}).status, ExitStatus::kSuccess);
  EXPECT_EQ(ReadBytes(output), RunCli({"--examples", "--lf"}).out);
}

TEST_F(CliFilesTest, OutputFileIsNotCreatedWhenTheInputFails) {
  const fs::path output = dir_ / "out.lgo";
  const RunOutput result = RunCli({"-o", output.string(), (dir_ / "missing.alg").string()});
  EXPECT_EQ(result.status, ExitStatus::kFailure);
  EXPECT_FALSE(fs::exists(output));
}

TEST_F(CliFilesTest, OutputFileThatCannotBeWritten) {
  const fs::path output = dir_ / "no_such_folder" / "out.lgo";
  const RunOutput result = RunCli({"--example", "8", "-o", output.string()});
  EXPECT_EQ(result.status, ExitStatus::kFailure);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "pseudal2logo: Impossible d'écrire le fichier \"" + output.string() +
                            "\". Le chemin d'accès spécifié est introuvable.\n");

  const RunOutput onFolder = RunCli({"--examples", "-o", dir_.string()});
  EXPECT_EQ(onFolder.status, ExitStatus::kFailure);
  EXPECT_EQ(onFolder.err, "pseudal2logo: Impossible d'écrire le fichier \"" + dir_.string() +
                              "\". Le chemin désigne un dossier, pas un fichier.\n");
}

TEST_F(CliFilesTest, OutputDirectoryGetsOneFilePerInput) {
  const fs::path a = WriteExample("in/a.alg", 7);
  const fs::path b = WriteExample("other/b.ALG", 10);
  const fs::path missing = dir_ / "in" / "c.alg";
  const fs::path out = dir_ / "out";
  fs::create_directory(out);

  const RunOutput result = RunCli({"-d", out.string(), a.string(), missing.string(), b.string()});
  EXPECT_EQ(result.status, ExitStatus::kFailure);  // the missing input, the others still written
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "pseudal2logo: " + ReadError(missing) + "\n");
  EXPECT_EQ(ReadBytes(out / "a.lgo"), ProgramOf(a));
  EXPECT_EQ(ReadBytes(out / "b.lgo"), ProgramOf(b));
  EXPECT_FALSE(fs::exists(out / "c.lgo"));

  const RunOutput listing =
      RunCli({"--listing", "--encoding", "cp1252", "-d", out.string(), a.string()});
  EXPECT_EQ(listing.status, ExitStatus::kSuccess);
  EXPECT_EQ(ReadBytes(out / "a.txt"), ConvertedExample(7).listingText);
}

TEST_F(CliFilesTest, OutputDirectoryMustExist) {
  const fs::path input = WriteExample("a.alg", 1);
  const fs::path missingDir = dir_ / "nowhere";
  const RunOutput missing = RunCli({"-d", missingDir.string(), input.string()});
  EXPECT_EQ(missing.status, ExitStatus::kFailure);
  EXPECT_EQ(missing.err,
            "pseudal2logo: le dossier \"" + missingDir.string() + "\" n'existe pas.\n");
  EXPECT_FALSE(fs::exists(missingDir));

  const RunOutput notDir = RunCli({"-d", input.string(), input.string()});
  EXPECT_EQ(notDir.status, ExitStatus::kFailure);
  EXPECT_EQ(notDir.err, "pseudal2logo: \"" + input.string() + "\" n'est pas un dossier.\n");
}

// ---------------------------------------------------------------------------------------------
// The real executable.

struct ProcessResult {
  int status = -1;
  std::string out;
};

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

ProcessResult RunShell(const std::string& command) {
  ProcessResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, count);
  const int raw = ::pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

const std::string kBinary = ShellQuoted(PSEUDAL2LOGO_PATH);

TEST(CliBinaryTest, VersionAndExitStatuses) {
  const ProcessResult version = RunShell(kBinary + " --version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "pseudal2logo 1.0.0\n");

  const ProcessResult usage = RunShell(kBinary + " --example 18 2>&1");
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.out, "pseudal2logo: numéro d'exemple invalide \"18\" (attendu : 1 à 17).\n" +
                           std::string(kHint));

  const ProcessResult missing = RunShell(kBinary + " /nonexistent/dir/x.alg 2>&1 >/dev/null");
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.out.starts_with("pseudal2logo: Impossible d'ouvrir le fichier \""))
      << missing.out;
}

TEST(CliBinaryTest, ExampleAndStandardInputThroughAPipe) {
  const ProcessResult example = RunShell(kBinary + " --example 8");
  EXPECT_EQ(example.status, 0);
  EXPECT_EQ(example.out, Utf8(ConvertedExample(8).logoText));

  const ProcessResult piped =
      RunShell(kBinary + " --example-source 16 | " + kBinary + " --encoding cp1252 -");
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(piped.out, ConvertedExample(16).logoText);
}

}  // namespace
}  // namespace tortuval::cli
