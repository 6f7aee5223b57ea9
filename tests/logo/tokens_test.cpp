// The reader's tokens: kinds, texts and places, from the dialect as the converter writes it.

#include "logo/tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "logo/reader.h"
#include "testing/document_generator.h"
#include "tests/test_support.h"

namespace tortuval::logo {
namespace {

using testing::Cp;

// Each token as "kind text@line:column", kinds by one letter.
std::string Shown(const TokenStream& stream) {
  static constexpr char kLetters[] = "wnvqo[](),";
  std::string shown;
  for (const Token& token : stream.tokens) {
    if (!shown.empty()) shown += ' ';
    shown += kLetters[static_cast<int>(token.kind)];
    if (token.kind < TokenKind::kOpenList) shown.append(token.text);
    shown += '@' + std::to_string(token.line) + ':' + std::to_string(token.column);
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
};

TEST(ReadTokens, SplitsTheDialectWithPlaces) {
  for (const TokenCase& row : kTokenCases) {
    const std::string program = Cp(row.program);
    const TokenStream stream = ReadTokens(program);
    EXPECT_EQ(testing::Utf8(Shown(stream)), row.tokens) << row.program;
  }
}

// The checker reads the compact form: it must hold the very tokens ReadTokens gives.
TEST(ReadLexemes, HoldTheTokensOfReadTokens) {
  for (const TokenCase& row : kTokenCases) {
    SCOPED_TRACE(row.program);
    const std::string program = Cp(row.program);
    const LexemeStream stream = ReadLexemes(program);
    const TokenStream tokens = ReadTokens(program);
    ASSERT_EQ(stream.lexemes.size(), tokens.tokens.size());
    for (std::size_t i = 0; i < tokens.tokens.size(); ++i) {
      const Lexeme& lexeme = stream.lexemes[i];
      const Token& token = tokens.tokens[i];
      EXPECT_EQ(lexeme.kind, token.kind);
      EXPECT_EQ(lexeme.name, token.name);
      EXPECT_EQ(stream.TextOf(lexeme), token.text);
      EXPECT_EQ(stream.PlaceOf(lexeme.begin).line, token.line);
      EXPECT_EQ(stream.PlaceOf(lexeme.begin).column, token.column);
    }
  }
}

TEST(ReadLexemes, IndexEachLineAndEachQuotedWord) {
  // a, line end, line end, line end (after the comment), b, "q
  const LexemeStream stream = ReadLexemes("a\n\n// c\nb \"q");
  EXPECT_EQ(stream.lineStarts, (std::vector<std::uint32_t>{0, 2, 3, 8}));
  EXPECT_EQ(stream.lineFirsts, (std::vector<std::uint32_t>{0, 2, 3, 4}));
  ASSERT_EQ(stream.quoted.size(), 1u);
  EXPECT_EQ(stream.quoted[0].index, 5u);
  EXPECT_EQ(stream.quoted[0].name, stream.lexemes[5].name);
  EXPECT_EQ(stream.quoted[0].wordBefore, stream.lexemes[4].name);  // b
  EXPECT_EQ(ReadLexemes("( \"q").quoted.at(0).wordBefore, kNoName);
  EXPECT_TRUE(stream.brackets.empty());
  // Each bracket and parenthesis with its index and line; a "[" also tells whether it ends its
  // line and whether it follows a word that prints it.
  const LexemeStream brackets = ReadLexemes("SIVRAI [\r\n  ( 1 ) ECRIS [ a ]\r\n]");
  using Seen = std::tuple<std::uint32_t, std::uint32_t, TokenKind, bool, bool>;
  const std::vector<Seen> expected = {
      {1, 1, TokenKind::kOpenList, false, true},    {3, 2, TokenKind::kOpenGroup, false, false},
      {5, 2, TokenKind::kCloseGroup, false, false}, {7, 2, TokenKind::kOpenList, true, false},
      {9, 2, TokenKind::kCloseList, false, false},  {11, 3, TokenKind::kCloseList, false, false}};
  std::vector<Seen> found;
  for (const BracketAt& at : brackets.brackets) {
    found.emplace_back(at.index, at.line, at.kind, at.afterTextWord, at.beforeLineEnd);
  }
  EXPECT_EQ(found, expected);
  // Procedures start and end at lines whose first word is POUR or FIN, in any case.
  EXPECT_EQ(ReadLexemes("pour f\n  ECRIS 1\nPOURQUOI fin\n Fin\nFINI\nFIN").procedureLines,
            (std::vector<std::uint32_t>{0, 3, 5}));
  // A line whose comment holds the converter's warning, with its bytes and first lexeme.
  const std::string warned = "a\nb ( 1 )  // " + std::string(kParenthesesWarningSentence) + "\r\nc";
  const std::vector<WarnedLine> expectedWarned = {
      {2, 2, static_cast<std::uint32_t>(warned.find('\n', 2) + 1), 2, 0}};
  EXPECT_EQ(ReadLexemes(warned).warnedLines, expectedWarned);
  EXPECT_TRUE(ReadLexemes("b ( 1 )  // " + std::string(kParenthesesWarningSentence).substr(1))
                  .warnedLines.empty());
  // A last line with no lexeme points past the end.
  EXPECT_EQ(ReadLexemes("a\n  // c").lineFirsts, (std::vector<std::uint32_t>{0, 2}));
}

// Words are sifted many bytes at a time: a word must end at the right byte wherever it lies
// against those blocks, whatever its length, and bytes that only look like ends must not end it.
TEST(ReadTokens, WordsEndAtTheirFirstEndingByteAtAnyDistance) {
  const std::string ending = " \t\r\n\f\v[]()+-*/%^=<>:\"";
  const std::string notEnding = std::string(".,!_?0'#&;@") + '\x01' + '\x1F' + '\xE9' + '\x7F';
  for (const std::string prefix : {"", ":"}) {  // bare words and values' names
    for (std::size_t indent = 0; indent < 18; indent += 5) {
      for (std::size_t length = 1; length <= 40; ++length) {
        const std::string word = prefix + std::string(length, 'a');
        const std::string before(indent, ' ');
        // At the very end of the text.
        EXPECT_EQ(ReadTokens(before + word).tokens.at(0).text, word) << indent << ' ' << length;
        for (const char byte : ending) {
          // A "-" between two letters belongs to the word.
          const std::string expected = byte == '-' ? word + "-b" : word;
          EXPECT_EQ(ReadTokens(before + word + byte + 'b').tokens.at(0).text, expected)
              << word << ' ' << indent << ' ' << static_cast<int>(byte);
        }
        for (const char byte : notEnding) {
          EXPECT_EQ(ReadTokens(before + word + byte + 'b').tokens.at(0).text, word + byte + 'b')
              << word << ' ' << indent << ' ' << static_cast<int>(byte);
        }
      }
    }
  }
}

TEST(ReadTokens, KeepsCommentsApart) {
  const TokenStream stream = ReadTokens("SIVRAI [ // DEBUT_SI\r\n]");
  ASSERT_EQ(stream.comments.size(), 1u);
  EXPECT_EQ(stream.comments[0].text, "// DEBUT_SI");
  EXPECT_EQ(stream.comments[0].column, 10);
  EXPECT_EQ(stream.lineCount, 2);
}

TEST(ReadProgram, FindsProceduresAndTheMainParts) {
  const Program program =
      ReadProgram("DEFINIS \"a NOMBRE\npour F2 :w :g\nrends :w\nfin\nECRIS 1\nPOUR g\n");
  ASSERT_EQ(program.procedures.size(), 2u);
  EXPECT_EQ(program.procedures[0].name, "F2");
  EXPECT_EQ(program.procedures[0].inputs, (std::vector<std::string_view>{"w", "g"}));
  EXPECT_TRUE(program.procedures[0].closed);
  EXPECT_EQ(program.stream.tokens[program.procedures[0].bodyBegin].text, "rends");
  EXPECT_FALSE(program.procedures[1].closed);
  ASSERT_EQ(program.mainParts.size(), 2u);
  EXPECT_EQ(program.stream.tokens[program.mainParts[1].first].text, "ECRIS");
}

}  // namespace
}  // namespace tortuval::logo
