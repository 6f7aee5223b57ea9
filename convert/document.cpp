#include "convert/document.h"

#include <array>
#include <cstring>
#include <span>

#include "expr/replace_all.h"
#include "library/instructions.h"

namespace tortuval::convert {
namespace {

using expr::ReplaceRule;

using library::Instruction;
using library::kMarker;

// The two function elements become items whatever attribute the editor wrote first.
constexpr library::SpelledText kF1Element = library::Spell("<code=\"", Instruction::kF1, "# ");
constexpr library::SpelledText kF2Element = library::Spell("<code=\"", Instruction::kF2, "# ");

// Order matters: the editor's 20 becomes 3 before its 51 becomes 20, so the two never meet.
// The first row masks the drawing frame's "repcode", whose value reads like an input item.
// The left side is the editor's numbering, the right side the internal one.
constexpr std::array<ReplaceRule, 18> kRenumbering = {{
    {"repcode", "rep****"},
    {"code=\"20#", kMarker<Instruction::kValueOutput>.View()},
    {"code=\"50#", kMarker<Instruction::kPoint>.View()},
    {"code=\"51#", kMarker<Instruction::kSegment>.View()},
    {"code=\"52#", kMarker<Instruction::kGraphics>.View()},
    {"code=\"100#", kMarker<Instruction::kVariablesSection>.View()},
    {"code=\"101#", kMarker<Instruction::kAlgorithmStart>.View()},
    {"code=\"102#", kMarker<Instruction::kAlgorithmEnd>.View()},
    {"code=\"200#", kMarker<Instruction::kFunctionSection>.View()},
    {"code=\"201#", kMarker<Instruction::kFunctionHeader>.View()},
    {"code=\"202#", kMarker<Instruction::kFunctionVariables>.View()},
    {"code=\"203#", kMarker<Instruction::kFunctionBody>.View()},
    {"code=\"204#", kMarker<Instruction::kFunctionEnd>.View()},
    {"code=\"205#", kMarker<Instruction::kFunctionResult>.View()},
    {"code=\"206#", kMarker<Instruction::kProcedureCall>.View()},
    {"<fonction ", kF1Element.View()},
    {"<F2 ", kF2Element.View()},
    {"& quot;", "'"},
}};

constexpr std::string_view kCodeMarker = "code=\"";

// Rows 2 to 15 of the renumbering each rewrite one `code="N#` marker. Applied one after the other
// they cost thirteen scans of the whole document; one scan that tries the rows in their order at
// each marker gives the same text, because
// - two of their matches never overlap (each starts with the marker, whose "c" occurs nowhere
//   else in a match), so the order of the rows decides nothing about where they match;
// - what a row writes is a marker too, whose number is never that of a later row (the internal
//   numbers are at most 34, the editor's in these rows from 50 on once its 20 is done), and no
//   match can start inside the written text or straddle its start, so a later row finds no new
//   match in it; the scan steps past it anyway.
constexpr std::size_t kFirstNumberRow = 1;
constexpr std::size_t kNumberRowCount = 14;

constexpr bool NumberRowsShareTheMarker() {
  for (std::size_t row = kFirstNumberRow; row < kFirstNumberRow + kNumberRowCount; ++row) {
    const ReplaceRule& rule = kRenumbering[row];
    if (!rule.from.starts_with(kCodeMarker) || !rule.to.starts_with(kCodeMarker) ||
        !rule.from.ends_with('#') || !rule.to.ends_with('#') || rule.to.size() > rule.from.size() ||
        rule.match != expr::Case::kInsensitive) {
      return false;
    }
    const char digit = rule.from[kCodeMarker.size()];
    if (digit < '0' || digit > '9') return false;
    for (const std::string_view text : {rule.from, rule.to}) {
      if (text.find_first_of("cC", 1) != std::string_view::npos) return false;
    }
    for (std::size_t later = row + 1; later < kFirstNumberRow + kNumberRowCount; ++later) {
      if (rule.to == kRenumbering[later].from) return false;
    }
  }
  return true;
}
static_assert(NumberRowsShareTheMarker(), "the single scan relies on these rows' shape");

// The rows' effect in one left-to-right scan over the markers (see above). No row writes more
// than it matches, so the new text is written over the old one behind the reading position.
void ReplaceNumbersInOneScan(std::string& document, std::span<const ReplaceRule> rows) {
  constexpr auto kAnyCase = expr::Case::kInsensitive;
  char* const data = document.data();
  const std::string_view text(document);
  std::size_t written = 0;
  std::size_t done = 0;
  expr::Searcher markers(text, kCodeMarker, kAnyCase);
  for (std::size_t hit = markers.Next(0); hit != std::string::npos;) {
    std::size_t next = hit + 1;
    // Every row's number starts right after the marker; most markers match no row at all.
    const std::size_t digit = hit + kCodeMarker.size();
    const bool numbered = digit < text.size() && text[digit] >= '0' && text[digit] <= '9';
    for (const ReplaceRule& rule : numbered ? rows : rows.first(0)) {
      // The marker matched already; what follows it in a row, digits and "#", has no case.
      const std::string_view number = rule.from.substr(kCodeMarker.size());
      if (text.compare(digit, number.size(), number) == 0) {
        std::memmove(data + written, data + done, hit - done);
        written += hit - done;
        std::memcpy(data + written, rule.to.data(), rule.to.size());
        written += rule.to.size();
        done = hit + rule.from.size();
        next = done;
        break;
      }
    }
    hit = markers.Next(next);
  }
  std::memmove(data + written, data + done, text.size() - done);
  document.resize(written + text.size() - done);
}

// The internal number whose digits and "#" start `text`, or 0.
int LeadingInstructionNumber(std::string_view text) {
  int value = 0;
  std::size_t i = 0;
  // Digits of a known number: no leading zero, at most two digits.
  while (i < text.size() && i < 3 && text[i] >= '0' && text[i] <= '9') {
    if (i == 0 && text[i] == '0') return 0;
    value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (i == 0 || i > 2 || i >= text.size() || text[i] != '#') return 0;
  return value <= library::kHighestInstruction ? value : 0;
}

}  // namespace

void Renumber(std::string& document) {
  const std::span<const ReplaceRule> rows(kRenumbering);
  expr::ApplyRules(document, rows.first(kFirstNumberRow));
  ReplaceNumbersInOneScan(document, rows.subspan(kFirstNumberRow, kNumberRowCount));
  expr::ApplyRules(document, rows.subspan(kFirstNumberRow + kNumberRowCount));
}

bool InstructionCursor::FindNextInstruction() {
  // The earliest marker of any known number is the first marker followed by a known number.
  for (std::size_t hit = document_.find(kCodeMarker, position_); hit != std::string_view::npos;
       hit = document_.find(kCodeMarker, hit + 1)) {
    const std::size_t digits = hit + kCodeMarker.size();
    const int number = LeadingInstructionNumber(document_.substr(digits));
    if (number != 0) {
      number_ = number;
      position_ = digits;
      done_ = false;
      return true;
    }
  }
  number_ = 0;
  position_ = document_.size();
  done_ = true;
  return false;
}

std::string_view InstructionCursor::CutItem() {
  if (done_) return {};
  if (!library::IsElement(Number())) {
    const std::size_t quote = document_.find('"', position_);
    if (quote == std::string_view::npos) return {};
    const std::string_view item = document_.substr(position_, quote + 1 - position_);
    position_ = quote + 1;
    return item;
  }
  const std::size_t close = document_.find("/>", position_);
  if (close == std::string_view::npos) {
    position_ = std::min(position_ + 1, document_.size());
    return {};
  }
  const std::size_t start = position_;
  position_ = close + 2;
  const std::size_t quote = document_.substr(start, close - start).rfind('"');
  if (quote == std::string_view::npos) return {};
  return document_.substr(start, quote + 1);
}

ItemFields::ItemFields(std::string_view item) : rest_(item) {
  const std::size_t hash = rest_.find('#');
  if (hash != std::string_view::npos) rest_.remove_prefix(hash + 1);
}

std::string_view ItemFields::Next() {
  const std::size_t hash = rest_.find('#');
  if (hash == std::string_view::npos) {
    const std::string_view field = Last();
    rest_ = {};
    return field;
  }
  const std::string_view field = rest_.substr(0, hash);
  rest_.remove_prefix(hash + 1);
  return field;
}

std::string_view ItemFields::Last() { return rest_.substr(0, rest_.find('"')); }

}  // namespace tortuval::convert
