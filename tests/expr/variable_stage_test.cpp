#include "expr/variable_stage.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/expr/variable_lists.h"
#include "tests/test_support.h"

namespace tortuval::expr {
namespace {

using testing::Cp;

using Lists = testing::VariableLists;

std::string Sequential(std::string text, const Lists& lists) {
  MarkVariablesSequentially(text, lists.Scope());
  return text;
}

std::string Marked(std::string text, const Lists& lists) {
  MarkVariables(text, lists.Scope());
  return text;
}

// Texts built from names, their case variants, the words the stage itself writes and the
// separators that matter to it; names declared in both lists, repeated, as lists and as values.
TEST(VariableStage, OnePassGivesWhatTheRulesGive) {
  const std::vector<std::string> words = {"x",  "X",  "L",    "l",    "xy",     "i",
                                          "n2", "nb", "item", "card", "length", Cp("été"),
                                          "1e", "0",  "Lx",   "iL"};
  const std::vector<std::string> separators = {
      " ",  "  ", ".",    "(", ")", "'", ".length", " .length", ".LENGTH ", ".charCodeAt (",
      " [", "+",  "\r\n", ":", "[", ""};
  const std::vector<std::string> names = {"x",  "X",  "L",       "l",    "xy",     "i",
                                          "n2", "nb", Cp("été"), "item", "length", "a:b"};
  std::mt19937 random(20261207);
  const auto pick = [&random](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
  };
  const auto list = [&](int count) {
    std::string text;
    for (int k = 0; k < count; ++k) {
      // Unusual names are rare, as in real documents, so most cases take the one pass.
      std::string name = pick(names);
      if (!IsPlainWordName(name) && random() % 4 != 0) name = "x";
      text += " " + name + " " + std::string(1, "1232"[random() % 4]);
    }
    return text;
  };

  int onePass = 0;
  constexpr int kCases = 20000;
  for (int c = 0; c < kCases; ++c) {
    std::string text = " ";
    const int length = static_cast<int>(random() % 8);
    for (int k = 0; k < length; ++k) text += pick(words) + pick(separators);
    text += " ";
    const std::string functionList = list(static_cast<int>(random() % 4));
    const std::string globalList = list(static_cast<int>(random() % 4));
    const Lists lists(functionList, globalList);

    std::string fast = text;
    const std::string expected = Sequential(text, lists);
    if (MarkVariablesInOnePass(fast, lists.Scope())) {
      ++onePass;
      ASSERT_EQ(fast, expected) << "text [" << text << "] functions [" << functionList
                                << "] globals [" << globalList << "]";
    } else {
      ASSERT_EQ(fast, text) << "a refused text is left alone";
    }
    ASSERT_EQ(Marked(text, lists), expected) << text;
  }
  // The comparison means something only if the one pass took most texts.
  EXPECT_GT(onePass, kCases / 2);
}

TEST(VariableStage, WholeWordsOnly) {
  const Lists lists(" x 1", " i 1 L 2 e 1");
  EXPECT_EQ(Marked(" entier ( x ) ", lists), " entier (  :x ) ");
  EXPECT_EQ(Marked(" xi + i2 + i ", lists), " xi + i2 +  :i ");
  EXPECT_EQ(Marked(" 1e - 8 + e ", lists), " 1e - 8 +  :e ");
  EXPECT_EQ(Marked(" L [ i ] + L.length + L ", lists), " item :L [  :i ] +  ( card :L )  + :L ");
}

TEST(VariableStage, NamesTheOnePassCannotTakeStillFollowTheRules) {
  // A variable named like a word the stage writes, a name holding a colon, a colon in the text,
  // a name that is a list and a number at once: the rules decide, rewrite by rewrite.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {" L 2 item 1", " L "},  {" L 2 card 1", " L.length "}, {" L 2 length 1", " L.length "},
      {" a:b 1", " a:b + a "}, {" x 1", " 'x : y' "},         {" L 2 l 1", " L [ l ] "},
  };
  for (const auto& [globals, text] : cases) {
    const Lists lists("", globals);
    std::string untouched = text;
    EXPECT_FALSE(MarkVariablesInOnePass(untouched, lists.Scope())) << globals << text;
    EXPECT_EQ(Marked(text, lists), Sequential(text, lists)) << globals << text;
  }
  EXPECT_EQ(Marked(" L [ 1 ]", Lists("", " L 2 item 1")), "  :item :L [ 1 ]");
}

TEST(VariableStage, FindsAVariableAsTheStageComparesIt) {
  const Lists lists(" x 1 n 3", " X 2 N 1 y 3");
  EXPECT_EQ(FindVariable("x", lists.Scope())->kind, VariableKind::kNumber);
  EXPECT_EQ(FindVariable("X", lists.Scope())->kind, VariableKind::kList);
  EXPECT_EQ(FindVariable("n", lists.Scope())->kind, VariableKind::kWord);
  EXPECT_EQ(FindVariable("Y", lists.Scope())->kind, VariableKind::kWord);
  EXPECT_EQ(FindVariable("z", lists.Scope()), nullptr);
}

}  // namespace
}  // namespace tortuval::expr
