// The reader's tree: procedures and main parts, precedence, places, the converter's leftovers
// read, and what cannot be read as failures at their places.

#include "logo/reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/test_support.h"

namespace tortuval::logo {
namespace {

using testing::Cp;
using testing::Utf8;

// The tree in prefix form: operators by their sign or a short name, variables by name.
std::string Shown(const Program& program, const Procedure* procedure, const Node& node) {
  static const char* const kNames[] = {
      "",       "",       "",         "",        "neg",       "+",        "-",      "*",
      "/",      "%",      "div",      "^",       "=",         "<>",       "<",      ">",
      "<=",     ">=",     "et",       "ou",      "math",      "prim",     "item",   "point",
      "boucle", "call",   "failure",  "block",   "definis",   "soit",     "ecris",  "ecl",
      "effl",   "efface", "remplace", "tantque", "teste",     "sivrai",   "sifaux", "si",
      "repete", "step",   "segment",  "plot",    "initgraph", "grapheur", "rends"};
  const auto variable = [&](const Node& at) {
    return at.local ? procedure->localNames[static_cast<std::size_t>(at.variable)]
                    : program.globalNames[static_cast<std::size_t>(at.variable)];
  };
  const std::string leftover = node.leftover != Leftover::kNone ? " leftover" : "";
  switch (node.op) {
    case Op::kConstant:
      if (!node.isList) return '"' + node.text + '"' + leftover;
      break;
    case Op::kTruth:
      return (node.truth ? "1" : "0") + leftover;
    case Op::kNumber: {
      std::ostringstream number;
      number << node.number;
      return number.str() + leftover;
    }
    case Op::kVariable:
      return ':' + variable(node);
    case Op::kFailure:
      return "(failure " + std::to_string(node.line) + ':' + std::to_string(node.column) + ')';
    default:
      break;
  }
  std::string shown =
      node.op == Op::kConstant ? "(list" : '(' + std::string(kNames[static_cast<int>(node.op)]);
  if (node.op == Op::kAssign || node.op == Op::kDefine || node.op == Op::kStep ||
      node.op == Op::kReplace) {
    shown += ' ' + variable(node);
  }
  shown += leftover;
  for (const Node& kid : node.kids) shown += ' ' + Shown(program, procedure, kid);
  return shown + ')';
}

std::string MainOf(const std::string& text) {
  const Reading reading = ReadProgram(text);
  std::string shown;
  for (const Node& node : reading.program.main.kids) {
    shown += (shown.empty() ? "" : " ") + Shown(reading.program, nullptr, node);
  }
  return Utf8(shown);
}

TEST(ReadProgram, ReadsExpressionsByPrecedence) {
  EXPECT_EQ(MainOf("soit \"x 1 + 2 * 3 ^ 2 - - 4 / 2"),
            "(soit x (- (+ 1 (* 2 (^ 3 2))) (/ (neg 4) 2)))");
  EXPECT_EQ(MainOf("TESTE :a = 1 OU :b < 2 ET non :c"),
            "(teste (ou (= :a 1) (et (< :b 2) (prim :c))))");
  // A primitive of one input written with its input in parentheses takes that group alone.
  EXPECT_EQ(MainOf("ECRIS rac2 ( 9 ) + 7"), "(ecris (+ (math 9) 7))");
  EXPECT_EQ(MainOf("ECRIS ( random 1 6 ) item :L [ :i ]"), "(ecris (prim 1 6)) (failure 1:22)");
}

TEST(ReadProgram, FindsProceduresTheirLocalsAndTheMainParts) {
  const std::string text =
      Cp("DEFINIS \"a NOMBRE\npour F2 :w :g\nDEFINIS \"t NOMBRE\nsoit \"t :w\nsoit \"a :t\nrends "
         ":g\nfin\n"
         "ECRIS F2 1 2\nPOUR g\n");
  const Reading reading = ReadProgram(text);
  const Program& program = reading.program;
  ASSERT_EQ(program.procedures.size(), 2u);
  const Procedure& f2 = program.procedures[0];
  EXPECT_EQ(f2.name, "F2");
  EXPECT_EQ(f2.inputCount, 2);
  EXPECT_EQ(f2.localNames, (std::vector<std::string>{"w", "g", "t"}));
  EXPECT_TRUE(f2.closed);
  EXPECT_EQ(Shown(program, &f2, f2.body), "(block (definis t) (soit t :w) (soit a :t) (rends :g))");
  EXPECT_FALSE(program.procedures[1].closed);
  // The main part stops at the open procedure, with a failure at its POUR.
  EXPECT_EQ(MainOf(text), "(definis a) (ecris (call 1 2)) (failure 9:1)");
  EXPECT_EQ(program.globalNames, (std::vector<std::string>{"a"}));
}

TEST(ReadProgram, ReadsTheConvertersLeftovers) {
  EXPECT_EQ(MainOf("ECRIS :mot.length"), "(ecris (prim leftover :mot))");
  EXPECT_EQ(MainOf("ECRIS 1e - 8"), "(ecris 1e-08 leftover)");
  EXPECT_EQ(MainOf("PLOT [ 3 - 4  0 ]"), "(plot (point leftover 3 (neg 4) 0))");
  EXPECT_EQ(MainOf("PLOT [ 3 - 4 5  0 ]"), "(plot (point (- 3 4) 5 0))");
  EXPECT_EQ(MainOf("ECRIS \"deux mots \" ECRIS \"un \""),
            "(ecris \"deux mots\" leftover) (ecris \"un\")");
  EXPECT_EQ(MainOf("pour fact :n\nrends :n\nfin\nECRIS PSEUDAL_FACTORIELLE 3"),
            "(ecris (call leftover 3))");
  EXPECT_EQ(MainOf("SOIT \"i 1\nREPETE 3 [\nsoit \"i 9\nTESTE 1\nSIVRAI INC :i SIFAUX DEC :i\n]"),
            "(soit i 1) (repete leftover 3 (block (soit i 9) (teste 1) (sivrai (step i)) "
            "(sifaux (step i))))");
}

// What cannot be read is a failure at its place, once per instruction, and a finding there; the
// rest of the program is read.
TEST(ReadProgram, ReportsWhatCannotBeReadAndGoesOn) {
  const std::string text = "ECRIS 1 +\nECRIS foo bar\nECRIS 2\nSIVRAI [ ECRIS 1\n";
  const Reading reading = ReadProgram(text);
  EXPECT_EQ(MainOf(text),
            "(failure 1:9) (ecris (failure 2:7)) (failure 2:11) (ecris 2) (failure 4:8)");
  std::vector<std::string> places;
  for (const Finding& finding : reading.findings) {
    places.push_back(std::to_string(finding.line) + ':' + std::to_string(finding.column));
  }
  // Each unknown word of a line is reported.
  EXPECT_EQ(places, (std::vector<std::string>{"1:9", "2:7", "2:11", "4:8"}));
}

}  // namespace
}  // namespace tortuval::logo
