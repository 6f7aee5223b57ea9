// pseudal2logo --run: the answers from --input, --input-file and standard input, the exit
// statuses, run-time errors with their line, the step budget, the drawing written as SVG, and
// the usage errors of the run's options.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli/logo_run.h"
#include "examples/example_catalogue.h"
#include "tests/cli/cli_test_support.h"
#include "tests/test_support.h"

namespace tortuval::cli {
namespace {

using tortuval::testing::CountOf;
using tortuval::testing::ReadFileBytes;
using tortuval::testing::ScratchDirTest;

// Euclid's algorithm (example 8) on 12 and 18: the four texts, both numbers, and 6.
const std::string kEuclid12And18 = "Le PGCD de 12 et 18 est : 6\n";

// Runs forever unless something stops it.
const std::string kEndlessProgram =
    "DEFINIS \"x NOMBRE\nSOIT \"x 0\nTANT QUE 1 = 1 [\n  soit \"x :x + 1\n]\n";

// Reads outside an empty list on line 3, after one line of output.
const std::string kFaultyProgram =
    "DEFINIS \"L LISTE\nECRISLIGNE [avant]\nECRISLIGNE item :L [ 5 ]\nECRISLIGNE [après]\n";

class CliRunProgramTest : public ScratchDirTest {};

// The values of attribute `name` in each element of `svg` that starts with `start`.
std::vector<double> AttributeValues(const std::string& svg, const std::string& start,
                                    const std::string& name) {
  std::vector<double> values;
  for (std::size_t at = svg.find(start); at != std::string::npos; at = svg.find(start, at + 1)) {
    const std::size_t attribute = svg.find(" " + name + "=\"", at);
    if (attribute < svg.find('>', at)) {
      values.push_back(std::stod(svg.substr(attribute + name.size() + 3)));
    }
  }
  return values;
}

TEST_F(CliRunProgramTest, AnswersComeFromInputInputFileOrStandardInput) {
  const RunOutput words = RunCli({"--run", "--example", "8", "--input", " 12  18 "});
  EXPECT_EQ(words.status, ExitStatus::kSuccess) << words.err;
  EXPECT_EQ(words.out, kEuclid12And18);
  EXPECT_EQ(words.err, "");

  const RunOutput lines = RunCli({"--run", "--example=8", "--input", "12\n18"});
  EXPECT_EQ(lines.out, kEuclid12And18);

  const std::string answers = Write("reponses.txt", "12\r\n18\r\n").string();
  const RunOutput file = RunCli({"--run", "--example", "8", "--input-file", answers});
  EXPECT_EQ(file.status, ExitStatus::kSuccess) << file.err;
  EXPECT_EQ(file.out, kEuclid12And18);

  // Standard input that no one types: no prompts on standard error.
  const RunOutput piped = RunCli({"--run", "--example", "8"}, "12\n18\n");
  EXPECT_EQ(piped.status, ExitStatus::kSuccess) << piped.err;
  EXPECT_EQ(piped.out, kEuclid12And18);
  EXPECT_EQ(piped.err, "");

  // Someone at a terminal sees each question on standard error, after the output so far.
  std::istringstream typed("12\n18\n");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(cli::Run({"--run", "--example", "8"}, typed, out, err, true), ExitStatus::kSuccess);
  EXPECT_EQ(out.str(), kEuclid12And18);
  EXPECT_EQ(err.str(), "Tape un nombre. Tape un nombre. ");
}

// A list read (example 15's LIRE listenombre[4]) asks for numbers and, like a number read,
// asks again with the reason when an answer holds something else.
TEST_F(CliRunProgramTest, AListReadRefusesWhatIsNoNumberAtATerminal) {
  std::istringstream typed("7\ndouze\n5:3:8 1\n");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(cli::Run({"--run", "--example", "15"}, typed, out, err, true), ExitStatus::kSuccess);
  EXPECT_EQ(out.str(), "0 0 0 1 3 5 8 \n");
  EXPECT_EQ(err.str(),
            "Tape un nombre. Tape un nombre. « douze » n'est pas un nombre : tapez un nombre. ");
}

TEST_F(CliRunProgramTest, AnswersRunningOutEndTheRunWithStatusOne) {
  const RunOutput run = RunCli({"--run", "--example", "8", "--input", "12"});
  EXPECT_EQ(run.status, ExitStatus::kFailure);
  EXPECT_EQ(run.out, "");
  // The algorithm's line first (LIRE B, line 8 of the listing), then the program's.
  EXPECT_EQ(run.err, "exemple-8:8: Il n'y a plus de réponse à lire. (programme LOGO, ligne 13)\n");
}

TEST_F(CliRunProgramTest, DocumentAndProgramFilesRun) {
  // A document is converted first; a .lgo file is run as it is, and its errors name its lines.
  const std::string document = Write("euclide.alg", examples::ExampleDocument(7)).string();
  const RunOutput converted = RunCli({"--run", "--input", "12 18", document});
  EXPECT_EQ(converted.status, ExitStatus::kSuccess) << converted.err;
  EXPECT_EQ(converted.out, kEuclid12And18);

  const std::string program = Write("faute.lgo", kFaultyProgram).string();
  const RunOutput faulty = RunCli({"--run", program});
  EXPECT_EQ(faulty.status, ExitStatus::kFailure);
  EXPECT_EQ(faulty.out, "avant\n");
  EXPECT_TRUE(faulty.err.starts_with(program + ":3: ")) << faulty.err;
  EXPECT_TRUE(faulty.err.ends_with("\n"));
}

// A word in the list given to PSEUDAL_SOMME: the error is the call's, in the algorithm (line 9 of
// the listing) and the program, with the procedure's name.
TEST_F(CliRunProgramTest, ASupportProcedureFailsAtTheLineThatCallsIt) {
  const std::string document =
      Write("somme.alg",
            R"doc(<?xml version="1.0" encoding="UTF-8"?><Algo><description courant="" texte=""/>
<extension extnom="inactif"/><fonction fctetat="inactif" fctcode=""/>
<F2 F2defaut="" F2etat="inactif" F2para="" F2lignes=""/>
<repere repetat="inactif" repcode="-10#10#-10#10#2#2"/>
<item code="100#declarationsvariables" algoitem="VARIABLES">
<item code="1#LISTE#L" algoitem="L EST_DU_TYPE LISTE"/>
<item code="1#CHAINE#m" algoitem="m EST_DU_TYPE CHAINE"/>
<item code="1#NOMBRE#s" algoitem="s EST_DU_TYPE NOMBRE"/></item>
<item code="101#debutalgo" algoitem="DEBUT_ALGORITHME">
<item code="5#L#3#1" algoitem="L[1] PREND_LA_VALEUR 3"/>
<item code="5#m#&quot;douze&quot;#pasliste" algoitem="m PREND_LA_VALEUR &quot;douze&quot;"/>
<item code="5#L#m#2" algoitem="L[2] PREND_LA_VALEUR m"/>
<item code="5#s#PSEUDAL_SOMME(L,1,2)#pasliste" algoitem="s PREND_LA_VALEUR PSEUDAL_SOMME(L,1,2)"/>
<item code="3#s#1#pasliste" algoitem="AFFICHER s"/></item>
<item code="102#finalgo" algoitem="FIN_ALGORITHME"/></Algo>)doc")
          .string();
  const RunOutput run = RunCli({"--run", document});
  EXPECT_EQ(run.status, ExitStatus::kFailure);
  const RunOutput program = RunCli({document});
  const std::vector<std::string> lines = SplitAfter(program.out, "\r\n");
  const auto call = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.find("PSEUDAL_SOMME :L") != std::string::npos;
  });
  ASSERT_NE(call, lines.end()) << program.out;
  EXPECT_EQ(run.err,
            document +
                ":9: PSEUDAL_SOMME : « douze » n'est pas un nombre. (programme LOGO, ligne " +
                std::to_string(call - lines.begin() + 1) + ")\n");
}

// F1 has no line of its own in the listing (the description is line 1): a division by zero
// inside it is the error of the line that called it, "b PREND_LA_VALEUR F1(a)", line 7.
TEST_F(CliRunProgramTest, AFailureInsideF1IsAtTheLineThatCallsIt) {
  const std::string document =
      Write("inverse.alg",
            R"doc(<?xml version="1.0" encoding="UTF-8"?><Algo><description texte="Inverse" courant=""/>
<fonction fctcode="1/x" fctetat="actif"/>
<item code="100#declarationsvariables" algoitem="VARIABLES">
<item code="1#NOMBRE#a" algoitem="a EST_DU_TYPE NOMBRE"/>
<item code="1#NOMBRE#b" algoitem="b EST_DU_TYPE NOMBRE"/></item>
<item code="101#debutalgo" algoitem="DEBUT_ALGORITHME">
<item code="2#a#pasliste" algoitem="LIRE a"/>
<item code="5#b#F1(a)#pasliste" algoitem="b PREND_LA_VALEUR F1(a)"/>
<item code="3#b#1#pasliste" algoitem="AFFICHER b"/></item>
<item code="102#finalgo" algoitem="FIN_ALGORITHME"/></Algo>)doc")
          .string();
  EXPECT_EQ(RunCli({"--run", document, "--input", "4"}).out, "0,25\n");
  const RunOutput run = RunCli({"--run", document, "--input", "0"});
  EXPECT_EQ(run.status, ExitStatus::kFailure);
  const std::vector<std::string> lines = SplitAfter(RunCli({document}).out, "\r\n");
  ASSERT_GE(lines.size(), 2u);
  ASSERT_EQ(lines[1], "rends 1 / :x");
  EXPECT_EQ(run.err, document + ":7: Division par zéro. (programme LOGO, ligne 2)\n");
}

TEST_F(CliRunProgramTest, StepBudgetStopsAnEndlessLoop) {
  const std::string program = Write("sans_fin.lgo", kEndlessProgram).string();
  const RunOutput run = RunCli({"--run", "--max-steps", "5000", program});
  EXPECT_EQ(run.status, ExitStatus::kFailure);
  EXPECT_TRUE(run.err.starts_with(program + ":")) << run.err;
  EXPECT_NE(run.err.find("5000"), std::string::npos) << run.err;
}

TEST_F(CliRunProgramTest, DrawingIsWrittenAsSvg) {
  // Example 13 draws one vertical segment per sum of three dice, 3 to 18; the seed makes the
  // run repeatable.
  const std::string svg = (dir_ / "des.svg").string();
  const RunOutput first = RunCli({"--run", "--example", "13", "--seed", "7", "--drawing", svg});
  EXPECT_EQ(first.status, ExitStatus::kSuccess) << first.err;
  const std::string picture = ReadFileBytes(svg);
  EXPECT_EQ(CountOf(picture, "<line x1="), 16u);
  EXPECT_EQ(CountOf(picture, "<circle "), 0u);
  EXPECT_EQ(CountOf(first.out, "\n"), 16u);
  const RunOutput second = RunCli({"--run", "--example", "13", "--seed", "7"});
  EXPECT_EQ(second.out, first.out);
}

// Example 7's document frames its curve: x from -2 to 4 and y from -10 to 10, numbered at each
// step; a program that draws nothing writes no file and says so; only SVG is written.
TEST_F(CliRunProgramTest, DrawingsTakeTheDocumentsFrameAndNothingDrawnWritesNothing) {
  const std::string svg = (dir_ / "courbe.svg").string();
  const RunOutput curve = RunCli({"--run", "--example", "7", "--drawing", svg});
  EXPECT_EQ(curve.status, ExitStatus::kSuccess) << curve.err;
  const std::string picture = ReadFileBytes(svg);
  // The curve runs past y = -10 and y = 10 at its two ends: it is cut at the frame's edges (pixels
  // 24 to 776 across, 14 to 580 down), and 53 of its 60 segments show.
  EXPECT_EQ(CountOf(picture, "<line x1="), 53u);
  std::vector<double> across = AttributeValues(picture, "<line x1=", "x1");
  std::vector<double> down = AttributeValues(picture, "<line x1=", "y1");
  for (const double x : AttributeValues(picture, "<line x1=", "x2")) across.push_back(x);
  for (const double y : AttributeValues(picture, "<line x1=", "y2")) down.push_back(y);
  EXPECT_GE(*std::min_element(across.begin(), across.end()), 24);
  EXPECT_LE(*std::max_element(across.begin(), across.end()), 776);
  EXPECT_EQ(*std::min_element(down.begin(), down.end()), 14);
  EXPECT_EQ(*std::max_element(down.begin(), down.end()), 580);
  for (const char* number :
       {"\"middle\">-2</text>", "\"middle\">4</text>", "\"end\">-10</text>", "\"end\">10</text>"}) {
    EXPECT_EQ(CountOf(picture, number), 1u) << number;
  }

  const std::string nothing = (dir_ / "rien.svg").string();
  const RunOutput euclid =
      RunCli({"--run", "--example", "8", "--input", "12 18", "--drawing", nothing});
  EXPECT_EQ(euclid.status, ExitStatus::kSuccess);
  EXPECT_FALSE(std::filesystem::exists(nothing));
  EXPECT_NE(euclid.err.find("le programme n'a rien dessiné"), std::string::npos) << euclid.err;

  const RunOutput png = RunCli({"--run", "--example", "7", "--drawing", "courbe.png"});
  EXPECT_EQ(png.status, ExitStatus::kUsageError);
  EXPECT_NE(png.err.find("nom qui finit par .svg"), std::string::npos) << png.err;
}

struct RunUsageRow {
  std::vector<std::string> args;
  std::string message;
};

TEST(CliRunUsageTest, WrongCombinationsAreUsageErrors) {
  const std::vector<RunUsageRow> rows = {
      {{"--input", "1", "a.alg"}, "l'option \"--input\" ne s'applique qu'avec \"--run\"."},
      {{"--drawing", "d.svg", "--example", "7"},
       "l'option \"--drawing\" ne s'applique qu'avec \"--run\"."},
      {{"--max-steps", "9", "a.alg"}, "l'option \"--max-steps\" ne s'applique qu'avec \"--run\"."},
      {{"--run", "--input", "1", "--input-file", "r.txt", "a.alg"},
       "les options \"--input\" et \"--input-file\" ne peuvent pas être utilisées ensemble."},
      {{"--run", "a.alg", "b.alg"}, "l'option \"--run\" n'exécute qu'un seul document."},
      {{"--run", "--check", "a.alg"},
       "les options \"--run\" et \"--check\" ne peuvent pas être utilisées ensemble."},
      {{"--run", "--listing", "a.alg"},
       "les options \"--run\" et \"--listing\" ne peuvent pas être utilisées ensemble."},
      {{"--run", "-d", "out", "a.alg"},
       "les options \"--run\" et \"-d\" ne peuvent pas être utilisées ensemble."},
      {{"--run", "--examples"},
       "l'option \"--run\" ne s'applique qu'à un document ou à --example."},
      {{"--run", "--max-steps", "0", "a.alg"},
       "nombre de pas invalide \"0\" (attendu : un entier positif)."},
      {{"--run", "--seed", "-3", "a.alg"},
       "graine invalide \"-3\" (attendu : un entier positif ou nul)."},
  };
  for (const RunUsageRow& row : rows) {
    const RunOutput result = RunCli(row.args);
    EXPECT_EQ(result.status, ExitStatus::kUsageError) << row.message;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "pseudal2logo: " + row.message + "\n" + std::string(kHint));
  }
}

TEST(CliRunUsageTest, HelpDescribesTheRunOptions) {
  const std::string help = RunCli({"--help"}).out;
  for (const char* option : {"--run", "--input TEXTE", "--input-file FICHIER", "--drawing FICHIER",
                             "--max-steps N", "--seed N"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option << " is not described";
  }
}

TEST(SplitAnswersTest, WordsUnlessTheTextHoldsLines) {
  EXPECT_EQ(SplitAnswers(" 12\t18  "), (std::vector<std::string>{"12", "18"}));
  EXPECT_EQ(SplitAnswers("1 2 3\n\nfin\r\n"), (std::vector<std::string>{"1 2 3", "", "fin"}));
  EXPECT_EQ(SplitAnswers("   "), std::vector<std::string>{});
}

}  // namespace
}  // namespace tortuval::cli
