// The session under the front ends: how an opened text is taken, the algorithm's line of each
// program line through hand edits, and one reading shared by the check and the runs.

#include "session/session.h"

#include <gtest/gtest.h>

#include <string>

#include "base/cp1252.h"
#include "run/runtime.h"
#include "session/reports.h"

namespace tortuval::session {
namespace {

constexpr std::string_view kDocument =
    R"(<Algo><description texte="Deux" courant=""/>)"
    R"(<item code="100#declarationsvariables" algoitem="VARIABLES">)"
    R"(<item code="1#NOMBRE#x" algoitem="x EST_DU_TYPE NOMBRE"/></item>)"
    R"(<item code="101#debutalgo" algoitem="DEBUT_ALGORITHME">)"
    R"(<item code="5#x#x modulo 2#pasliste" algoitem="x PREND_LA_VALEUR x modulo 2"/></item>)"
    R"(<item code="102#finalgo" algoitem="FIN_ALGORITHME"/></Algo>)";

constexpr std::string_view kProgram = "ECRIS 1 + 1\r\n";

class Recorder : public run::Console {
 public:
  void Write(std::string_view text) override { output += text; }
  std::optional<std::string> ReadAnswer(std::string_view) override { return std::nullopt; }
  std::string output;
};

TEST(Session, AFileIsADocumentOrByItsNameAProgram) {
  const Session program = Session::OfBytes("dessin.lgo", kProgram);
  EXPECT_FALSE(program.IsDocument());
  EXPECT_EQ(program.Program(), kProgram);
  EXPECT_EQ(program.Listing(), "");

  const Session forced = Session::OfBytes("dessin.lgo", kDocument, Session::OpenAs::kDocument);
  EXPECT_TRUE(forced.IsDocument());
  EXPECT_NE(forced.Program().find("// DEBUT_ALGORITHME"), std::string::npos);

  // A text with no instruction is a document with its fault, and nothing to check.
  const Session notes = Session::OfBytes("notes.txt", "rien ici");
  EXPECT_EQ(notes.Fault(), convert::DocumentFault::kNoInstruction);
  EXPECT_NE(notes.FaultMessage().find("notes.txt"), std::string::npos);
  EXPECT_EQ(notes.Summary(), "");

  // The window opens a document first, and a saved program when its ".lgo" name says so.
  constexpr auto kElseProgram = Session::OpenAs::kDocumentElseSavedProgram;
  const Session saved = Session::OfBytes("dessin.lgo", kProgram, kElseProgram);
  EXPECT_FALSE(saved.IsDocument());
  EXPECT_EQ(saved.Program(), kProgram);
  EXPECT_EQ(saved.Fault(), convert::DocumentFault::kNone);
  EXPECT_TRUE(Session::OfBytes("renommé.lgo", kDocument, kElseProgram).IsDocument());
  const Session refused = Session::OfBytes("notes.txt", kProgram, kElseProgram);
  EXPECT_TRUE(refused.IsDocument());
  EXPECT_EQ(refused.Fault(), convert::DocumentFault::kNoInstruction);
}

// The check and the runs share one reading until the program changes; a run keeps its own.
TEST(Session, TheProgramIsReadOnceForTheCheckAndTheRun) {
  Session session = Session::OfProgram("p.lgo", std::string(kProgram));
  const auto read = session.SharedProgram();
  EXPECT_TRUE(session.Findings().empty());
  EXPECT_EQ(session.SharedProgram(), read);
  Recorder console;
  EXPECT_EQ(session.Run(console).outcome, run::Outcome::kCompleted);
  EXPECT_EQ(console.output, "2");

  session.EditProgram("ECRIS modulo\r\n");
  EXPECT_NE(session.SharedProgram(), read);
  EXPECT_EQ(read->Text(), kProgram);
  EXPECT_EQ(session.LinesToReview(), 1);
  EXPECT_EQ(session.Summary(), base::Utf8ToCp1252("Programme vérifié : 1 ligne à revoir."));
}

// The line map follows the program's lines: a hand edit keeps it by number, and a finding or a
// run error names the algorithm's line first.
TEST(Session, FindingsAndRunEndsNameTheAlgorithmLine) {
  Session session = Session::OfDocument("algo.alg", std::string(kDocument));
  ASSERT_EQ(session.Findings().size(), 1u);
  const logo::Finding finding = session.Findings().front();
  EXPECT_EQ(session.AlgorithmLine(finding.line), 5);
  EXPECT_EQ(FindingLine(session, finding).rfind("algo.alg:5: ", 0), 0u);

  session.EditProgram(session.Program() + "ECRIS 1\r\n");
  EXPECT_EQ(session.AlgorithmLine(finding.line), 5);
  EXPECT_EQ(session.AlgorithmLine(static_cast<int>(session.Program().size())), 0);

  Recorder console;
  const run::RunResult result = session.Run(console);
  ASSERT_EQ(result.outcome, run::Outcome::kError);
  EXPECT_EQ(RunEndLine(session, result),
            "algo.alg:5: " + result.message + " (programme LOGO, ligne " +
                std::to_string(finding.line) + ")");
}

// F1's lines have no algorithm line: a run that stops inside F1, called by g, called by the
// algorithm, names the innermost call that has one, "RENVOYER F1(t)" (listing line 8).
TEST(Session, ARunStoppedInsideF1NamesTheInnermostCallingLine) {
  const Session session = Session::OfDocument(
      "appels.alg",
      R"a(<Algo><description texte="Deux" courant=""/><fonction fctcode="1/x" fctetat="actif"/>)a"
      R"a(<item code="100#declarationsvariables" algoitem="VARIABLES">)a"
      R"a(<item code="1#NOMBRE#b" algoitem="b EST_DU_TYPE NOMBRE"/></item>)a"
      R"a(<item code="200#declarationfonctions" algoitem="FONCTIONS_UTILISEES">)a"
      R"a(<item code="201#g#t" algoitem="FONCTION g(t)">)a"
      R"a(<item code="202#declarationsvariablesfonction" algoitem="VARIABLES_FONCTION"/>)a"
      R"a(<item code="203#debutfonction" algoitem="DEBUT_FONCTION"/>)a"
      R"a(<item code="205#F1(t)" algoitem="RENVOYER F1(t)"/>)a"
      R"a(<item code="204#finfonction" algoitem="FIN_FONCTION"/></item></item>)a"
      R"a(<item code="101#debutalgo" algoitem="DEBUT_ALGORITHME">)a"
      R"a(<item code="5#b#g(0)#pasliste" algoitem="b PREND_LA_VALEUR g(0)"/></item>)a"
      R"a(<item code="102#finalgo" algoitem="FIN_ALGORITHME"/></Algo>)a");
  Recorder console;
  const run::RunResult result = session.Run(console);
  ASSERT_EQ(result.outcome, run::Outcome::kError);
  ASSERT_EQ(result.callLines.size(), 2u);
  EXPECT_EQ(session.AlgorithmLine(result.line), 0);
  EXPECT_EQ(session.AlgorithmLineOfStop(result.line, result.callLines), 8);
  EXPECT_EQ(session.AlgorithmLineOfStop(result.line, {result.callLines.front()}), 11);
  EXPECT_EQ(session.AlgorithmLineOfStop(result.line, {}), 0);
  EXPECT_EQ(RunEndLine(session, result).rfind("appels.alg:8: ", 0), 0u);
}

}  // namespace
}  // namespace tortuval::session
