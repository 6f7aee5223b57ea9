#include "expr/variable_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "expr/translate_expression.h"
#include "tests/expr/variable_lists.h"
#include "tests/test_support.h"

namespace tortuval::expr {
namespace {

// "name=code" for each variable, in order, for readable comparisons.
std::vector<std::string> Shown(std::span<const Variable> variables) {
  std::vector<std::string> shown;
  for (const Variable& v : variables) shown.push_back(v.name + "=" + std::string(CodeOf(v.kind)));
  return shown;
}

// The whole list read at once, the plain way, repeats included: what the index must agree with.
// Leading spaces dropped; each entry a name up to a space and the one character after it; then
// everything up to and including the next space dropped. A name without its code is not read.
std::vector<Variable> ReadVariableList(std::string_view list, Case match, bool collapseSpaces) {
  std::string walked;
  for (char c : list) {
    if (!(collapseSpaces && c == ' ' && !walked.empty() && walked.back() == ' ')) walked += c;
  }
  std::string_view rest = walked;
  std::vector<Variable> variables;
  rest.remove_prefix(std::min(rest.size(), rest.find_first_not_of(' ')));
  while (!rest.empty()) {
    const std::size_t space = rest.find(' ');
    if (space == std::string_view::npos) break;
    const VariableKind kind =
        space + 1 < rest.size() ? KindOfCode(rest.substr(space + 1, 1)) : VariableKind::kWord;
    if (space != 0) variables.push_back(Variable{std::string(rest.substr(0, space)), kind, match});
    rest.remove_prefix(std::min(rest.size(), space + 2));
    const std::size_t next = rest.find(' ');
    if (next == std::string_view::npos) break;
    rest.remove_prefix(next + 1);
  }
  return variables;
}

std::vector<Variable> WithoutRepeats(std::vector<Variable> variables) {
  std::vector<Variable> distinct;
  for (Variable& v : variables) {
    bool seen = false;
    for (const Variable& d : distinct) seen = seen || (d.name == v.name && d.kind == v.kind);
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

// True when the list is a plain run of " name code" entries, so that it can be repeated.
bool WellFormed(std::string_view list) {
  std::string entries;
  for (const Variable& v : ReadVariableList(list, Case::kSensitive, false)) {
    entries += " " + v.name + " " + std::string(CodeOf(v.kind));
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

    const testing::VariableLists once(functions, globals);
    const std::string expected = TranslateExpression(source, kind, once.Context());

    // Every function variable again, the loop counters again, every global twice; the function
    // list also grown a few characters at a time.
    const std::string repeatedFunctions = functions + c.Get("functions") + loops + loops;
    const std::string repeatedGlobals = globals + globals;
    const testing::VariableLists repeated(repeatedFunctions, repeatedGlobals);
    EXPECT_EQ(TranslateExpression(source, kind, repeated.Context()), expected) << c.name;

    testing::VariableLists grown("", repeatedGlobals);
    for (std::size_t end = 0; end <= repeatedFunctions.size(); end += 3) {
      grown.functions.Extend(std::string_view(repeatedFunctions).substr(0, end));
    }
    grown.functions.Extend(repeatedFunctions);
    EXPECT_EQ(TranslateExpression(source, kind, grown.Context()), expected) << c.name;
  }
}

TEST(VariableIndex, AVariableNamedColonCannotGrowTheTextExponentially) {
  std::string colons;
  for (int i = 0; i < 40; ++i) colons += " : 1";
  const testing::VariableLists lists("", colons);
  const std::string result = TranslateExpression(":", ExpressionKind::kPlain, lists.Context());
  EXPECT_LT(result.size(), 16u) << result.size();
}

}  // namespace
}  // namespace tortuval::expr
