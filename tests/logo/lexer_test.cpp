// The lexer's tokens: kinds, texts and places, from the dialect as the converter writes it.

#include "logo/lexer.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace tortuval::logo {
namespace {

using testing::Cp;

// Each token as "kind text@line:column", kinds by one letter.
std::string Shown(const Tokens& read) {
  static constexpr char kLetters[] = "wnvqo[](),";
  std::string shown;
  for (const Token& token : read.tokens) {
    if (!shown.empty()) shown += ' ';
    shown += kLetters[static_cast<int>(token.kind)];
    if (token.kind < TokenKind::kOpenList) shown.append(read.TextOf(token));
    shown += '@' + std::to_string(token.line) + ':' + std::to_string(read.ColumnOf(token));
  }
  return shown;
}

struct TokenCase {
  const char* program;
  const char* tokens;
};

const TokenCase kTokenCases[] = {
    {"soit \"h 0,5 * 1e-8 / 2.5",
     "wsoit@1:1 q\"h@1:6 n0,5@1:9 o*@1:13 n1e-8@1:15 o/@1:20 n2.5@1:22"},
    {"rends -:n - 5", "wrends@1:1 o-@1:7 v:n@1:8 o-@1:11 n5@1:13"},
    {"a<=b<>c>=d", "wa@1:1 o<=@1:2 wb@1:4 o<>@1:5 wc@1:7 o>=@1:8 wd@1:10"},
    {"tant  QUE non(touche?) []",
     "wtant  QUE@1:1 wnon@1:11 (@1:14 wtouche?@1:15 )@1:22 [@1:24 ]@1:25"},
    {"rends écart-type :l", "wrends@1:1 wécart-type@1:7 v:l@1:18"},
    {"x\r\n  // note ( [\r\n\ty 2x", "wx@1:1 ,@1:3 ,@2:15 wy@3:2 w2x@3:4"},
    {"ECRIS :mot.length \"", "wECRIS@1:1 v:mot.length@1:7 q\"@1:19"},
    // A list given to ECRIS is text: its "//" is no comment.
    {"ECRIS [ a // b ] // c", "wECRIS@1:1 [@1:7 wa@1:9 o/@1:11 o/@1:12 wb@1:14 ]@1:16"},
};

TEST(ReadTokens, SplitsTheDialectWithPlaces) {
  for (const TokenCase& row : kTokenCases) {
    const std::string program = Cp(row.program);
    EXPECT_EQ(testing::Utf8(Shown(ReadTokens(program))), row.tokens) << row.program;
  }
}

// A word ends at the first byte that ends words, whatever its length; bytes that only look like
// ends do not end it, and a "-" between two letters belongs to it.
TEST(ReadTokens, WordsEndAtTheirFirstEndingByte) {
  const std::string ending = " \t\r\n\f\v[]()+-*/%^=<>:\"";
  const std::string notEnding = std::string(".,!_?0'#&;@") + '\x01' + '\x1F' + '\xE9' + '\x7F';
  for (const std::string prefix : {"", ":"}) {  // bare words and values' names
    for (const std::size_t length : {1, 7, 8, 9, 24, 40}) {
      const std::string word = prefix + std::string(length, 'a');
      const auto first = [](const std::string& text) {
        const Tokens read = ReadTokens(text);
        return std::string(read.TextOf(read.tokens.at(0)));
      };
      EXPECT_EQ(first(word), word);
      for (const char byte : ending) {
        EXPECT_EQ(first(word + byte + 'b'), byte == '-' ? word + "-b" : word)
            << word << ' ' << static_cast<int>(byte);
      }
      for (const char byte : notEnding) {
        EXPECT_EQ(first(word + byte + 'b'), word + byte + 'b')
            << word << ' ' << static_cast<int>(byte);
      }
    }
  }
}

// Words are numbered by their key, any case and blanks alike; variables by their exact name, as
// the source algorithm tells x from X.
TEST(ReadTokens, NamesWordsByKeyAndVariablesExactly) {
  const Tokens read = ReadTokens("soit SOIT Soit tant que TANT  QUE :x :X \"x");
  const std::vector<Token>& tokens = read.tokens;
  EXPECT_EQ(tokens[0].name, tokens[1].name);
  EXPECT_EQ(tokens[0].name, tokens[2].name);
  EXPECT_EQ(read.names.Text(tokens[3].name), "TANT QUE");
  EXPECT_EQ(tokens[3].name, tokens[4].name);
  EXPECT_NE(tokens[5].name, tokens[6].name);
  EXPECT_EQ(tokens[5].name, tokens[7].name);
}

TEST(ReadTokens, KeepsCommentsApartAndTellsTheWarnedOnes) {
  const std::string text = "SIVRAI [ // DEBUT_SI\r\n]\r\nb ( 1 )  // " +
                           std::string(kParenthesesWarningSentence) + "\r\n";
  const Tokens read = ReadTokens(text);
  ASSERT_EQ(read.comments.size(), 2u);
  EXPECT_EQ(read.comments[0].text, "// DEBUT_SI");
  EXPECT_EQ(read.comments[0].column, 10);
  EXPECT_FALSE(read.comments[0].warns);
  EXPECT_EQ(read.comments[1].line, 3);
  EXPECT_TRUE(read.comments[1].warns);
  EXPECT_EQ(read.lineStarts.size(), 4u);
}

}  // namespace
}  // namespace tortuval::logo
