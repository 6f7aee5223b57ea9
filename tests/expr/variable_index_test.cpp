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
      " x 1 L 2 s 3", " i 1 j 1 i 1 j 1 i 2",
      " a b 1 c 1",   // a name holding a space shifts the walk
      "  1 x 1",      // a nameless entry first
      " x 1  1 y 1",  // and in the middle
      " x  1 y   2",  // runs of spaces
      " lonely",      // a name without its code
      " x 1 y ",      "",
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

ExpressionContext ContextOf(std::string_view functions, std::string_view globals) {
  ExpressionContext context;
  context.functionVariables = functions;
  context.globalVariables = globals;
  return context;
}

// True when the list is a plain run of " name code" entries, so that it can be repeated.
bool WellFormed(std::string_view list) {
  std::string entries;
  for (const Variable& v : ReadVariableList(list, Case::kSensitive, false)) {
    entries += " " + v.name + " " + std::string(1, v.code);
  }
  return entries == list;
}

// Walking a variable a second time changes nothing, so lists that repeat their variables, as a
// long function does with its loop counters, translate as the lists without the repeats.
TEST(VariableIndex, RepeatedVariablesTranslateAsTheListsWithoutRepeats) {
  const auto cases = testing::ReadCaseFolder("expressions");
  ASSERT_FALSE(cases.empty());
  const std::string loops = " i 1 j 1 k 1";
  for (const testing::Case& c : cases) {
    if (!WellFormed(c.Get("functions")) || !WellFormed(c.Get("globals"))) continue;
    const std::string source = c.Get("source");
    const ExpressionKind kind = c.Get("kind") == "f2"   ? ExpressionKind::kF2Line
                                : c.Get("kind") == "f1" ? ExpressionKind::kF1Body
                                                        : ExpressionKind::kPlain;
    const std::string functions = c.Get("functions") + loops;
    const std::string globals = c.Get("globals");
    const bool warningBefore = c.Get("warning-before", "no") == "yes";

    const Translation expected =
        TranslateExpression(source, kind, ContextOf(functions, globals), warningBefore);

    // Every function variable again, the loop counters again, every global twice; read from
    // the texts and from indexes grown entry by entry.
    const std::string repeatedFunctions = functions + c.Get("functions") + loops + loops;
    const std::string repeatedGlobals = globals + globals;
    const Translation repeated = TranslateExpression(
        source, kind, ContextOf(repeatedFunctions, repeatedGlobals), warningBefore);
    EXPECT_EQ(repeated.text, expected.text) << c.name;
    EXPECT_EQ(repeated.parenthesesWarning, expected.parenthesesWarning) << c.name;

    VariableIndex functionIndex(Case::kSensitive, true);
    VariableIndex globalIndex(Case::kInsensitive, false);
    for (std::size_t end = 0; end <= repeatedFunctions.size(); end += 3) {
      functionIndex.Extend(std::string_view(repeatedFunctions).substr(0, end));
    }
    functionIndex.Extend(repeatedFunctions);
    globalIndex.Extend(repeatedGlobals);
    ExpressionContext indexed = ContextOf(repeatedFunctions, repeatedGlobals);
    indexed.functionIndex = &functionIndex;
    indexed.globalIndex = &globalIndex;
    EXPECT_EQ(TranslateExpression(source, kind, indexed, warningBefore).text, expected.text)
        << c.name;
  }
}

TEST(VariableIndex, AVariableNamedColonCannotGrowTheTextExponentially) {
  std::string colons;
  for (int i = 0; i < 40; ++i) colons += " : 1";
  const std::string result =
      TranslateExpression(":", ExpressionKind::kPlain, ContextOf("", colons), false).text;
  EXPECT_LT(result.size(), 16u) << result.size();
}

}  // namespace
}  // namespace tortuval::expr
