#include "expr/repair_text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/cp1252.h"
#include "expr/replace_all.h"

namespace tortuval::expr {
namespace {

enum class RowKind {
  kReplace,                 // a plain replace-all
  kBeforeContinuationByte,  // case-sensitive, only where a UTF-8 continuation byte (80-BF) follows
  kNumericReferences,       // "&#NN;" and "&#xHH;" become their character
};

struct RepairRow {
  RowKind kind;
  std::string_view from;
  std::string_view to;
};

// Windows-1252 bytes: C3 "Ã", A9 "©", B4 "´", E0 "à", A8 "¨", AA "ª", E2 "â", 82 "‚", AC "¬",
// C2 "Â", A7 "§", E9 "é", F4 "ô", E8 "è", EA "ê", 80 "€", E7 "ç".
// The editor saves UTF-8; read as 8-bit text each accented letter arrives as two characters.
constexpr std::array kRepairRows = {
    RepairRow{RowKind::kReplace, "\xC3\xA9", "\xE9"},             // Ã© → é
    RepairRow{RowKind::kReplace, "\xC3\xB4", "\xF4"},             // Ã´ → ô
    RepairRow{RowKind::kBeforeContinuationByte, "\xC3", "\xE0"},  // Ã → à (lead byte C3)
    RepairRow{RowKind::kReplace, "\xE0\xA8", "\xE8"},             // à¨ → è
    RepairRow{RowKind::kReplace, "\xE0\xAA", "\xEA"},             // àª → ê
    RepairRow{RowKind::kReplace, "\xE2\x82\xAC", "\x80"},         // â‚¬ → €
    RepairRow{RowKind::kBeforeContinuationByte, "\xC2", ""},      // Â (lead byte C2) dropped
    RepairRow{RowKind::kReplace, "\xE0\xA7", "\xE7"},             // à§ → ç
    RepairRow{RowKind::kNumericReferences, "", ""},               // &#47; &#x2F; → /
    RepairRow{RowKind::kReplace, "&lt;=", " <= "},
    RepairRow{RowKind::kReplace, "&lt;", " < "},
    RepairRow{RowKind::kReplace, "&gt;=", " >= "},  // as other XML tools write ">="
    RepairRow{RowKind::kReplace, "&gt;", " > "},
    RepairRow{RowKind::kReplace, "&", " & "},
    RepairRow{RowKind::kReplace, "sqrt", " rac2 "},
};

bool IsContinuationByte(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x80 && byte <= 0xBF;
}

// A lone "Ã" or "Â" is a correctly encoded letter ("âge" read case-insensitively would lose
// its "â"), so only a lead byte that a continuation byte follows is a mis-decoded pair.
void ReplaceBeforeContinuationByte(std::string& text, char from, std::string_view to) {
  std::size_t hit = text.find(from);
  if (hit == std::string::npos) return;
  std::string result;
  result.reserve(text.size());
  std::size_t done = 0;
  for (; hit != std::string::npos; hit = text.find(from, hit + 1)) {
    if (hit + 1 >= text.size() || !IsContinuationByte(text[hit + 1])) continue;
    result.append(text, done, hit - done);
    result.append(to);
    done = hit + 1;
  }
  result.append(text, done, std::string::npos);
  text.swap(result);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a reference "&#NN;" or "&#xHH;" at `at`; returns its length and sets `byte`, or returns 0
// when there is none or its character must stay written as a reference: control characters,
// characters Windows-1252 lacks, and the four that would change how the document is read.
std::size_t ReadNumericReference(std::string_view text, std::size_t at, char& byte) {
  if (text.compare(at, 2, "&#") != 0) return 0;
  std::size_t i = at + 2;
  const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
  if (hex) ++i;
  const std::size_t digitsStart = i;
  std::uint32_t value = 0;
  while (i < text.size() && i - digitsStart < 8) {
    const int digit = hex ? HexValue(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) break;
    value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    ++i;
  }
  if (i == digitsStart || i >= text.size() || text[i] != ';') return 0;
  const bool control = value < 0x20 || (value >= 0x7F && value < 0xA0);
  if (control || value == '"' || value == '#' || value == '&' || value == '<') return 0;
  const int cp1252 = base::CodePointToCp1252(value);
  if (cp1252 < 0) return 0;
  byte = static_cast<char>(cp1252);
  return i + 1 - at;
}

void ReplaceNumericReferences(std::string& text) {
  std::size_t hit = text.find("&#");
  if (hit == std::string::npos) return;
  std::string result;
  result.reserve(text.size());
  std::size_t done = 0;
  while (hit != std::string::npos) {
    char byte = 0;
    const std::size_t length = ReadNumericReference(text, hit, byte);
    if (length == 0) {
      hit = text.find("&#", hit + 1);
      continue;
    }
    result.append(text, done, hit - done);
    result += byte;
    done = hit + length;
    hit = text.find("&#", done);
  }
  result.append(text, done, std::string::npos);
  text.swap(result);
}

}  // namespace

std::string RepairText(std::string text) {
  for (const RepairRow& row : kRepairRows) {
    switch (row.kind) {
      case RowKind::kReplace:
        ReplaceAll(text, row.from, row.to, Case::kInsensitive);
        break;
      case RowKind::kBeforeContinuationByte:
        ReplaceBeforeContinuationByte(text, row.from[0], row.to);
        break;
      case RowKind::kNumericReferences:
        ReplaceNumericReferences(text);
        break;
    }
  }
  return text;
}

}  // namespace tortuval::expr
