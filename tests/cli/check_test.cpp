// pseudal2logo --check: the findings of converted programs and of .lgo files, the summary, the
// exit status; and the count a plain conversion writes on standard error.

#include <gtest/gtest.h>

#include <string>

#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "tests/cli/cli_test_support.h"
#include "tests/test_support.h"

namespace tortuval::cli {
namespace {

using tortuval::testing::Cp;
using tortuval::testing::Utf8;

class CliCheckTest : public tortuval::testing::ScratchDirTest {};

// "soit "x y + 1": y is declared nowhere, so the program holds a bare word on line 1.
constexpr std::string_view kUndeclared =
    R"(<Algo><item algoitem="x" code="5#x#y+1#pasliste"/></Algo>)";

// Example 16 leaves its counted loops by moving their counters past the end, which runs here
// but not as written in the user's LOGO.
TEST_F(CliCheckTest, BuiltInExamplesNeedNothingButExample16sLoops) {
  for (int number = 1; number <= examples::kExampleCount; ++number) {
    const RunOutput run = RunCli({"--check", "--example", std::to_string(number)});
    EXPECT_EQ(run.err, "");
    if (number == 16) {
      EXPECT_EQ(run.status, ExitStatus::kFailure);
      EXPECT_EQ(testing::CountOf(run.out, Utf8(Cp("à retoucher pour votre LOGO"))), 2u) << run.out;
      EXPECT_TRUE(run.out.ends_with(Utf8(Cp("Programme vérifié : 2 lignes à revoir.\r\n"))));
      continue;
    }
    EXPECT_EQ(run.status, ExitStatus::kSuccess) << number << run.out;
    EXPECT_EQ(run.out, Utf8(Cp("Programme vérifié : aucune remarque.\r\n"))) << number;
  }
}

// A document's findings name the algorithm's line first, as a compiler points at the source,
// then the place in the LOGO program; a .lgo file's name its own lines (below).
TEST_F(CliCheckTest, FindingsAreFileAndAlgorithmLineThenASummary) {
  const std::string document = Write("algo.alg", kUndeclared).string();
  const RunOutput run = RunCli({"--check", "--lf", document});
  EXPECT_EQ(run.status, ExitStatus::kFailure);
  EXPECT_EQ(run.out,
            document + Utf8(Cp(":1: « y » n'est ni une primitive ni une procédure du programme : "
                               "corrigez le nom, ou définissez la procédure avec POUR … FIN. "
                               "(programme LOGO, ligne 1, colonne 9)\nProgramme vérifié : 1 "
                               "ligne à revoir.\n")));
  EXPECT_EQ(run.err, "");
}

// Recent versions of the editor write each item's code before its text; the findings still
// name the lines of the three "modulo" items, 8, 9 and 11, in either order.
TEST_F(CliCheckTest, FindingsNameTheAlgorithmLineWhicheverAttributeComesFirst) {
  std::string document = R"(<?xml version="1.0" encoding="UTF-8"?>
<Algo>
<description texte="" courant=""/>
<fonction fctetat="inactif" fctcode=""/>
<repere repetat="inactif" repcode="-10#10#-10#10#2#2"/>
<item code="100#declarationsvariables" algoitem="VARIABLES">
<item code="1#NOMBRE#x" algoitem="x EST_DU_TYPE NOMBRE"/>
</item>
<item code="101#debutalgo" algoitem="DEBUT_ALGORITHME">
<item code="5#x#3#pasliste" algoitem="x PREND_LA_VALEUR 3"/>
<item code="6#x&gt;0" algoitem="SI (x&gt;0) ALORS">
<item code="7#debutsi" algoitem="DEBUT_SI"/>
<item code="5#x#x modulo 2#pasliste" algoitem="x PREND_LA_VALEUR x modulo 2"/>
<item code="5#x#x modulo 3#pasliste" algoitem="x PREND_LA_VALEUR x modulo 3"/>
<item code="8#finsi" algoitem="FIN_SI"/>
</item>
<item code="5#x#x modulo 4#pasliste" algoitem="x PREND_LA_VALEUR x modulo 4"/>
</item>
<item code="102#finalgo" algoitem="FIN_ALGORITHME"/>
</Algo>
)";
  for (const bool codeFirst : {true, false}) {
    if (!codeFirst) {
      // <item code="C" algoitem="T" → <item algoitem="T" code="C"
      for (std::size_t at = document.find("<item code=\""); at != std::string::npos;
           at = document.find("<item code=\"", at + 1)) {
        const std::size_t code = at + 6;
        const std::size_t text = document.find(" algoitem=\"", code);
        const std::size_t textEnd = document.find('"', text + 11) + 1;
        document.replace(code, textEnd - code,
                         document.substr(text + 1, textEnd - text - 1) + " " +
                             document.substr(code, text - code));
      }
    }
    SCOPED_TRACE(document);
    const std::string path = Write("algo.alg", document).string();
    const RunOutput run = RunCli({"--check", "--lf", path});
    std::vector<std::string> places;
    for (const std::string& line : SplitAfter(run.out, "\n")) {
      if (line.find("modulo") != std::string::npos) {
        places.push_back(line.substr(path.size(), line.find(": ") - path.size()));
      }
    }
    EXPECT_EQ(places, (std::vector<std::string>{":8", ":9", ":11"})) << run.out;
  }
}

TEST_F(CliCheckTest, AProgramFileIsCheckedAsItIs) {
  // The same line in an .lgo file, one line further down.
  const std::string program = Write("p.lgo", "DEFINIS \"x NOMBRE\r\nsoit \"x y + 1\r\n").string();
  const RunOutput run = RunCli({"--check", program});
  EXPECT_EQ(run.status, ExitStatus::kFailure);
  EXPECT_EQ(run.out.rfind(program + ":2:9: ", 0), 0u) << run.out;
  const std::string clean = Write("q.lgo", "DEFINIS \"x NOMBRE\r\nsoit \"x 1\r\n").string();
  EXPECT_EQ(RunCli({"--check", clean}).status, ExitStatus::kSuccess);
}

// An input that could not be read is no program checked: no summary says it was (there used to
// be "Programme vérifié : aucune remarque."); one read beside it is summed up alone.
TEST_F(CliCheckTest, AnUnreadableInputStaysAFailureWithItsMessageAndNoSummary) {
  const RunOutput run = RunCli({"--check", (dir_ / "absent.alg").string()});
  EXPECT_EQ(run.status, ExitStatus::kFailure);
  EXPECT_NE(run.err, "");
  EXPECT_EQ(run.out, "");
  const std::string clean = Write("q.lgo", "DEFINIS \"x NOMBRE\r\nsoit \"x 1\r\n").string();
  const RunOutput both = RunCli({"--check", (dir_ / "absent.alg").string(), clean});
  EXPECT_EQ(both.status, ExitStatus::kFailure);
  EXPECT_EQ(both.out, Utf8(Cp("Programme vérifié : aucune remarque.\r\n")));
}

TEST_F(CliCheckTest, APlainConversionCountsItsFindingsOnStandardError) {
  const std::string document = Write("algo.alg", kUndeclared).string();
  const RunOutput run = RunCli({document});
  EXPECT_EQ(run.status, ExitStatus::kSuccess);
  EXPECT_EQ(run.out, Utf8(convert::ConvertDocument(kUndeclared).logoText));
  EXPECT_EQ(run.err, Utf8(Cp("pseudal2logo: " + document +
                             " : 1 ligne du programme est à revoir (pseudal2logo --check).\n")));
  // The listing is not a program: nothing to count.
  EXPECT_EQ(RunCli({"--listing", document}).err, "");
}

TEST(CliCheckOptionsTest, CheckCombinesWithInputsAndExamplesOnly) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{"--check", "--listing", "f.alg"},
                                             {"--check", "-d", ".", "f.alg"},
                                             {"--check", "--examples"},
                                             {"--check", "--example-source", "3"}}) {
    const RunOutput run = RunCli(args);
    EXPECT_EQ(run.status, ExitStatus::kUsageError) << args[1];
    EXPECT_TRUE(run.err.ends_with(std::string(kHint))) << run.err;
  }
}

}  // namespace
}  // namespace tortuval::cli
