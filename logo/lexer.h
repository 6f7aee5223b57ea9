#pragma once
// The words of a LOGO program text, each with the place where it starts, and its comments.

#include <cstdint>
#include <string_view>
#include <vector>

#include "logo/names.h"

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

/// One token. `name` numbers a word's key or a sign; the exact name of a value or quoted word.
struct Token {
  TokenKind kind;
  std::uint32_t name;
  std::uint32_t begin;   ///< the offset of its first byte in the program text
  std::uint32_t length;  ///< in bytes
  std::uint32_t line;    ///< from 1
};

/// The sentence an earlier converter wrote in the comment of a line whose built-ins kept
/// parentheses that the user must remove.
inline constexpr std::string_view kParenthesesWarningSentence =
    "Des parenth\xE8ses doivent \xEAtre supprim\xE9"
    "es sur cette ligne.";

/// A "//" comment, from its slashes to the end of its line (CR excluded).
struct Comment {
  std::string_view text;
  int line;
  int column;
  bool warns;  ///< it holds kParenthesesWarningSentence
};

/// The tokens of a program in their order, and its comments apart: nothing reads a comment as
/// code, but the converter's warnings are written in them.
struct Tokens {
  std::string_view text;  ///< the program text, which must outlive the tokens
  std::vector<Token> tokens;
  std::vector<Comment> comments;
  std::vector<std::uint32_t> lineStarts;  ///< the offset of each line's first byte, by line - 1
  Names names;

  std::string_view TextOf(const Token& token) const {
    return text.substr(token.begin, token.length);
  }
  /// The column (from 1, in bytes) of the token's first byte.
  int ColumnOf(const Token& token) const {
    return static_cast<int>(token.begin - lineStarts[token.line - 1]) + 1;
  }
};

/// Splits a program (Windows-1252, CR LF or LF line ends, any bytes) into tokens. "TANT QUE" on
/// one line becomes one word token whose text runs from "TANT" to "QUE". Texts of 4 GiB or more
/// are refused with an error: offsets are 32-bit.
Tokens ReadTokens(std::string_view program);

}  // namespace tortuval::logo
