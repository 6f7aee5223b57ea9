#pragma once
// What each byte of a program is to the lexer: its classes, in a table of 256 entries built at
// compile time.

#include <array>
#include <cstdint>

#include "base/cp1252.h"

namespace tortuval::logo::lexer_bytes {

constexpr bool IsBlankByte(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes that end a bare word or a value name. A "-" is one too, except between two letters:
// the support procedures call "écart-type".
constexpr bool EndsWordByte(char c) {
  switch (c) {
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case '\f':
    case '\v':
    case '[':
    case ']':
    case '(':
    case ')':
    case '+':
    case '-':
    case '*':
    case '/':
    case '%':
    case '^':
    case '=':
    case '<':
    case '>':
    case ':':
    case '"':
      return true;
    default:
      return false;
  }
}

// What each byte is to the lexer, looked up once per byte in the word loops.
enum ByteClass : std::uint8_t {
  kBlankByte = 1,   // a blank other than the line end
  kLetterByte = 2,  // a letter: a word byte that is no digit and no "_"
  kEndsWord = 4,    // ends a bare word or a value name
  kEndsQuoted = 8,  // ends a quoted word: a blank, a line end or a bracket
};

constexpr std::array<std::uint8_t, 256> kByteClasses = [] {
  std::array<std::uint8_t, 256> classes{};
  for (int byte = 0; byte < 256; ++byte) {
    const auto c = static_cast<char>(byte);
    std::uint8_t bits = 0;
    if (IsBlankByte(c)) bits |= kBlankByte;
    if (base::IsWordByte(static_cast<unsigned char>(byte)) && !IsDigit(c) && c != '_') {
      bits |= kLetterByte;
    }
    if (EndsWordByte(c)) bits |= kEndsWord;
    if (IsBlankByte(c) || c == '\n' || c == '[' || c == ']' || c == '(' || c == ')') {
      bits |= kEndsQuoted;
    }
    classes[static_cast<std::size_t>(byte)] = bits;
  }
  return classes;
}();

inline bool Is(char c, ByteClass byteClass) {
  return (kByteClasses[static_cast<unsigned char>(c)] & byteClass) != 0;
}
inline bool IsLetter(char c) { return Is(c, kLetterByte); }
inline bool EndsWord(char c) { return Is(c, kEndsWord); }
inline bool EndsQuoted(char c) { return Is(c, kEndsQuoted); }

}  // namespace tortuval::logo::lexer_bytes
