#pragma once
// The words of a LOGO program text, each with the place where it starts.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "logo/lexicon.h"

namespace tortuval::logo {

enum class TokenKind : std::uint8_t {
  kWord,        ///< a bare word: a primitive, a procedure, an infix word (ET, OU, div), "TANT QUE"
  kNumber,      ///< "12", "0,5", "2.5", "1e-8", "1E6"
  kValue,       ///< ":name"; the text keeps the colon
  kQuoted,      ///< "\"word"; the text keeps the quotation mark
  kOperator,    ///< + - * / % ^ = <> < > <= >=
  kOpenList,    ///< [
  kCloseList,   ///< ]
  kOpenGroup,   ///< (
  kCloseGroup,  ///< )
  kLineEnd,     ///< the end of a line (LF; a CR before it is a blank)
};

/// One token; `text` points into the program text, which must outlive it.
struct Token {
  TokenKind kind;
  /// The number in TokenStream::names of a word's key, of a value's or quoted word's name, or
  /// of a sign; kNoName for the other kinds.
  std::uint32_t name;
  std::string_view text;
  int line;    ///< from 1
  int column;  ///< from 1, in bytes
};

/// The sentence the converter writes in the comment of a line whose built-ins kept parentheses
/// that the user must remove.
inline constexpr std::string_view kParenthesesWarningSentence =
    "Des parenth\xE8ses doivent \xEAtre supprim\xE9"
    "es sur cette ligne.";

/// A "//" comment, from its slashes to the end of its line (CR excluded).
struct Comment {
  std::string_view text;
  int line;
  int column;
};

/// A line whose comment holds kParenthesesWarningSentence, told while its bytes are at hand,
/// with what the check of the line needs.
struct WarnedLine {
  std::uint32_t line;         ///< from 1
  std::uint32_t start;        ///< the offset of its first byte
  std::uint32_t end;          ///< the offset past its line end, or the end of the text
  std::uint32_t firstLexeme;  ///< the index of its first lexeme
  std::uint32_t comment;      ///< the index of its comment in the comments
  friend bool operator==(const WarnedLine&, const WarnedLine&) = default;
};

/// The tokens of a program in their order, and its comments apart: nothing reads a comment as
/// code, but the converter's warnings are written in them.
struct TokenStream {
  std::vector<Token> tokens;
  std::vector<Comment> comments;
  Lexicon names;
  int lineCount = 0;
};

/// Splits a program (Windows-1252, CR LF or LF line ends, any bytes) into tokens. "TANT QUE" on
/// one line becomes one word token whose text runs from "TANT" to "QUE".
TokenStream ReadTokens(std::string_view program);

/// A token in the reader's compact form, for passes over whole programs: its place is a byte
/// offset, and its line and column are worked out only when a message needs them.
struct Lexeme {
  /// Leaves the fields unset, so that the reader can size its buffer without writing to it.
  Lexeme() {}  // NOLINT: not "= default", which would zero them on resize
  Lexeme(std::uint32_t begin, std::uint32_t length, std::uint32_t name, TokenKind kind)
      : begin(begin), length(length), name(name), kind(kind) {}

  std::uint32_t begin;   ///< offset of its first byte in the program text
  std::uint32_t length;  ///< in bytes
  std::uint32_t name;    ///< as Token::name
  TokenKind kind;

};

/// Where a bracket or parenthesis stands among the lexemes, with what the bracket balance needs
/// to know of its neighbours: it then visits the brackets alone.
struct BracketAt {
  std::uint32_t index;  ///< in LexemeStream::lexemes
  std::uint32_t line;   ///< from 1
  TokenKind kind;       ///< kOpenList, kCloseList, kOpenGroup or kCloseGroup
  /// For a "[": it follows a primitive that prints its first input (the list is text).
  bool afterTextWord = false;
  /// For a "[": a line end follows it.
  bool beforeLineEnd = false;

};

/// A quoted word, and the word just before it (how names are introduced: SOIT "x, DEFINIS "x).
struct QuotedAt {
  std::uint32_t index;  ///< in LexemeStream::lexemes
  std::uint32_t name;   ///< the quoted word's name
  /// The name of the lexeme before it when that is a bare word; kNoName otherwise.
  std::uint32_t wordBefore;

};

/// A line and a column, both from 1 (the column in bytes).
struct Place {
  int line;
  int column;
};

/// The same tokens as ReadTokens gives, in the compact form, with the comments and names.
struct LexemeStream {
  std::string_view text;  ///< the program text, which must outlive the stream
  std::vector<Lexeme> lexemes;
  std::vector<Comment> comments;
  std::vector<std::uint32_t> lineStarts;  ///< the offset of each line's first byte, by line - 1
  /// By line - 1: the index of the line's first lexeme (its line end when it holds no other),
  /// or the lexeme count when the text ends on that line before any.
  std::vector<std::uint32_t> lineFirsts;
  std::vector<QuotedAt> quoted;  ///< the quoted words, in order
  /// The brackets and parentheses, in order: each one's index and line (from 1).
  std::vector<BracketAt> brackets;
  /// The lines (from 0) whose first lexeme is the word POUR or FIN in any case, in order: where
  /// procedures start and end.
  std::vector<std::uint32_t> procedureLines;
  std::vector<WarnedLine> warnedLines;  ///< in order
  Lexicon names;

  /// The bytes of `lexeme`.
  std::string_view TextOf(const Lexeme& lexeme) const {
    return text.substr(lexeme.begin, lexeme.length);
  }

  /// The line and column of the byte at `offset`.
  Place PlaceOf(std::uint32_t offset) const;
};

/// Reads a program as ReadTokens does, into the compact form. Texts of 4 GiB or more are refused
/// with an error: offsets are 32-bit.
LexemeStream ReadLexemes(std::string_view program);

/// The tokens of a stream read in the compact form, with their texts and places.
TokenStream TokensOf(LexemeStream lexemes);

/// The name behind the colon of a value or the quotation mark of a quoted word.
inline std::string_view NameOf(const Token& token) { return token.text.substr(1); }

}  // namespace tortuval::logo
