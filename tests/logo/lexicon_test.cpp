// Names numbered by their key: the checker's look-ups rely on two spellings of one key sharing a
// number, and on different keys never doing so.

#include "logo/lexicon.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "logo/tokens.h"
#include "logo/word_table.h"
#include "tests/test_support.h"

namespace tortuval::logo {
namespace {

using testing::Cp;

struct SpellingCase {
  const char* first;
  const char* second;
  bool same;
};

const SpellingCase kSpellingCases[] = {
    {"soit", "SOIT", true},
    {"Soit", "sOiT", true},
    {"écart-type", "ÉCART-TYPE", true},
    {"tant que", "TANT QUE", true},
    {"tant \t que", "TANT QUE", true},
    {"  tant que ", "TANT QUE", true},
    {"tantque", "TANT QUE", false},
    {"soit", "soi", false},
    {"x1", "x_1", false},
    {"-", "+", false},
    {"", "", true},
    {"", " ", true},
};

TEST(LexiconTest, SpellingsOfOneKeyShareANumber) {
  for (const SpellingCase& row : kSpellingCases) {
    SCOPED_TRACE(std::string(row.first) + " / " + row.second);
    Lexicon lexicon;
    const std::string first = Cp(row.first);
    const std::string second = Cp(row.second);
    const std::uint32_t number = lexicon.Intern(first);
    EXPECT_EQ(lexicon.Find(second) == number, row.same);
    EXPECT_EQ(lexicon.Intern(second) == number, row.same);
    EXPECT_EQ(SameWord(first, second), row.same);
    EXPECT_EQ(WordHash(first) == WordHash(second), row.same);
  }
}

// The lexer reads words in place, eight bytes at a time and masked to their length: a word
// must get the number of its key at every length around those chunks, near the end of the
// text too, and a word differing in its last byte must not.
TEST(LexiconTest, WordsReadInPlaceGetTheNumberOfTheirKey) {
  const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789abcd";
  for (const std::size_t length : {1, 7, 8, 9, 15, 16, 17, 23, 24, 25, 40}) {
    SCOPED_TRACE(length);
    const std::string word = letters.substr(0, length);
    std::string upper = word;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string other = word;
    other.back() = '_';
    const std::string text = word + " " + other + " " + upper;
    Lexicon lexicon;
    const std::uint32_t number = lexicon.InternIn(text, 0, length);
    EXPECT_EQ(lexicon.InternIn(text, text.size() - length, length), number);
    EXPECT_NE(lexicon.InternIn(text, length + 1, length), number);
    EXPECT_EQ(lexicon.Intern(upper), number);
    EXPECT_EQ(lexicon.Key(number), upper);
  }
}

TEST(LexiconTest, NumbersStayWhileTheTableGrows) {
  Lexicon lexicon;
  for (int i = 0; i < 5000; ++i) {
    ASSERT_EQ(lexicon.Intern("nom" + std::to_string(i)), static_cast<std::uint32_t>(i));
  }
  for (int i = 0; i < 5000; ++i) {
    ASSERT_EQ(lexicon.Find("NOM" + std::to_string(i)), static_cast<std::uint32_t>(i));
  }
  EXPECT_EQ(lexicon.Find("nom5000"), kNoName);
  EXPECT_EQ(lexicon.Key(42), "NOM42");
  EXPECT_EQ(lexicon.Size(), 5000u);
}

TEST(LexiconTest, TokensCarryTheNumberOfTheirName) {
  const TokenStream stream = ReadTokens("soit \"x :X + 1\nSOIT \"y tant  que :y");
  const Lexicon& names = stream.names;
  const auto& t = stream.tokens;
  EXPECT_EQ(t[0].name, names.Find("SOIT"));
  EXPECT_EQ(t[1].name, names.Find("x"));
  EXPECT_EQ(t[2].name, t[1].name);  // the value :X names the quoted "x
  EXPECT_EQ(t[3].name, names.Find("+"));
  EXPECT_EQ(t[4].name, kNoName);  // a number
  EXPECT_EQ(t[5].name, kNoName);  // the line end
  EXPECT_EQ(t[6].name, t[0].name);
  EXPECT_EQ(t[8].name, names.Find("TANT QUE"));
  EXPECT_EQ(names.Find("QUE"), kNoName);
}

TEST(WordTableTest, AWordKeepsItsFirstValue) {
  // The table holds views: the words live here for as long as it does.
  std::vector<std::string> words;
  for (int i = 0; i < 100; ++i)
    words.push_back("p" + std::string(static_cast<std::size_t>(i), 'a'));
  words.push_back("P" + std::string(7, 'A'));
  WordTable table;
  for (std::size_t i = 0; i < words.size(); ++i) table.Insert(words[i], static_cast<int>(i));
  ASSERT_NE(table.Find(words.back()), nullptr);
  EXPECT_EQ(*table.Find(words.back()), 7);
  EXPECT_FALSE(table.Contains("q"));
}

}  // namespace
}  // namespace tortuval::logo
