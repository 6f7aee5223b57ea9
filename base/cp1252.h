#pragma once
// Windows-1252, the 8-bit code page in which every source-side text is held.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tortuval::base {

/// Upper case of one Windows-1252 byte: a-z, à-þ (but not ÷), š œ ž ÿ have capitals; ß and µ do
/// not.
constexpr unsigned char UpperCp1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A:
      return 0x8A;  // š
    case 0x9C:
      return 0x8C;  // œ
    case 0x9E:
      return 0x8E;  // ž
    case 0xFF:
      return 0x9F;  // ÿ
    default:
      return c;
  }
}

/// UpperCp1252 as a table, for scans that upper-case every byte.
inline constexpr std::array<unsigned char, 256> kUpperCp1252 = [] {
  std::array<unsigned char, 256> upper{};
  for (int byte = 0; byte < 256; ++byte)
    upper[byte] = UpperCp1252(static_cast<unsigned char>(byte));
  return upper;
}();

/// A byte of a word: an ASCII letter or digit, "_", or a Windows-1252 letter. Names are matched
/// only where they stand as whole words, between bytes that are not word bytes.
constexpr bool IsWordByte(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_') {
    return true;
  }
  switch (c) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
    case 0x9A:
    case 0x9C:
    case 0x9E:
    case 0x9F:
    case 0xAA:
    case 0xB5:
    case 0xBA:
      return true;
    default:
      return c >= 0xC0 && c != 0xD7 && c != 0xF7;
  }
}

/// True when both texts are the same once in Windows-1252 upper case: the one case-insensitive
/// comparison of words.
constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (UpperCp1252(static_cast<unsigned char>(a[i])) !=
        UpperCp1252(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

/// True when `text` has a word byte at `at` (false past its end).
constexpr bool IsWordByteAt(std::string_view text, std::size_t at) {
  return at < text.size() && IsWordByte(static_cast<unsigned char>(text[at]));
}

/// The Unicode code point of a Windows-1252 byte; the five undefined bytes map to U+0081 and the
/// like.
char32_t Cp1252ToCodePoint(unsigned char byte);

/// The Windows-1252 byte of a code point, or -1 when the code page lacks it.
int CodePointToCp1252(char32_t codePoint);

/// Windows-1252 text as UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

/// The byte length of the well-formed UTF-8 sequence at `i`, or 0 when it is malformed (overlong
/// forms, surrogates and values past U+10FFFF are malformed too).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

/// Whether `text` is well-formed UTF-8 throughout.
bool IsWellFormedUtf8(std::string_view text);

/// UTF-8 text as Windows-1252; a character the code page lacks, or a malformed sequence, becomes
/// "?".
std::string Utf8ToCp1252(std::string_view text);

/// Appends the UTF-8 form of a code point.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace tortuval::base
