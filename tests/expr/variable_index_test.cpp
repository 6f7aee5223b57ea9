#include "expr/variable_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expr/translate_expression.h"
#include "tests/test_support.h"

namespace tortuval::expr {
namespace {

// "name=code" for each variable, in order, for readable comparisons.
std::vector<std::string> Shown(std::span<const Variable> variables) {
  std::vector<std::string> shown;
  for (const Variable& v : variables) shown.push_back(v.name + "=" + std::string(1, v.code));
  return shown;
}

std::vector<Variable> WithoutRepeats(std::vector<Variable> variables) {
  std::vector<Variable> distinct;
  for (Variable& v : variables) {
    bool seen = false;
    for (const Variable& d : distinct) seen = seen || (d.name == v.name && d.code == v.code);
    if (!seen) distinct.push_back(std::move(v));
  }
  return distinct;
}

TEST(VariableIndex, ReadsAGrowingListAsTheWholeListReads) {
  const std::vector<std::string> lists = {
      " x 1 L 2 s 3",
      " i 1 j 1 i 1 j 1 i 2",
      " a b 1 c 1",     // a name holding a space shifts the walk
      "  1 x 1",        // a nameless entry first
      " x 1  1 y 1",    // and in the middle
      " x  1 y   2",    // runs of spaces
      " lonely",        // a name without its code
      " x 1 y ",
      "",
  };
  for (const std::string& list : lists) {
    for (const bool collapse : {false, true}) {
      const auto whole = Shown(WithoutRepeats(ReadVariableList(list, Case::kSensitive, collapse)));
      // Grown one character at a time, then in two pieces at every cut.
      VariableIndex growing(Case::kSensitive, collapse);
      for (std::size_t end = 0; end <= list.size(); ++end) growing.Extend(list.substr(0, end));
      EXPECT_EQ(Shown(growing.Distinct()), whole) << "[" << list << "] " << collapse;
      for (std::size_t cut = 0; cut <= list.size(); ++cut) {
        VariableIndex twoPieces(Case::kSensitive, collapse);
        twoPieces.Extend(list.substr(0, cut));
        twoPieces.Extend(list);
        EXPECT_EQ(Shown(twoPieces.Distinct()), whole) << "[" << list << "] cut " << cut;
      }
    }
  }
}

TEST(VariableIndex, StartsAgainAfterReset) {
  VariableIndex index(Case::kInsensitive, false);
  index.Extend(" x 1 y 2");
  index.Reset();
  index.Extend(" z 3");
  EXPECT_EQ(Shown(index.Distinct()), std::vector<std::string>{"z=3"});
}

// Walking a variable a second time changes nothing, so translating with the repeats left out
// (as the converter's indexes do) gives what the lists as written give.
TEST(VariableIndex, RepeatedVariablesTranslateAsTheListsAsWritten) {
  const auto cases = testing::ReadCaseFile("expressions.txt");
  ASSERT_FALSE(cases.empty());
  const std::string loops = " i 1 j 1 k 1";
  for (const testing::Case& c : cases) {
    const std::string source = c.Get("source");
    const int mode = std::stoi(c.Get("mode", "0"));
    const int instruction = std::stoi(c.Get("instruction", "0"));
    // Every function variable again, loop variables in between, every global twice.
    const std::string functions = c.Get("functions") + loops + c.Get("functions") + loops;
    const std::string globals = c.Get("globals") + c.Get("globals");

    ExpressionContext asWritten{instruction, functions, globals};
    bool warningAsWritten = c.Get("warning-before", "no") == "yes";
    const std::string expected = TranslateExpression(source, mode, asWritten, warningAsWritten);

    VariableIndex functionIndex(Case::kSensitive, true);
    VariableIndex globalIndex(Case::kInsensitive, false);
    functionIndex.Extend(functions);
    globalIndex.Extend(globals);
    ExpressionContext indexed{instruction, functions, globals, &functionIndex, &globalIndex};
    bool warningIndexed = c.Get("warning-before", "no") == "yes";
    EXPECT_EQ(TranslateExpression(source, mode, indexed, warningIndexed), expected) << c.name;
    EXPECT_EQ(warningIndexed, warningAsWritten) << c.name;
  }
}

}  // namespace
}  // namespace tortuval::expr
