#include "convert/document.h"

#include <array>

#include "expr/replace_all.h"

namespace tortuval::convert {
namespace {

using expr::ReplaceRule;

// Order matters: the editor's 20 becomes 3 before its 51 becomes 20, so the two never meet.
// The first row masks the drawing frame's "repcode", whose value reads like instruction 2.
constexpr std::array<ReplaceRule, 17> kRenumbering = {{
    {"repcode", "rep****"},
    {"code=\"20#", "code=\"3#"},
    {"code=\"50#", "code=\"33#"},
    {"code=\"51#", "code=\"20#"},
    {"code=\"52#", "code=\"21#"},
    {"code=\"100#", "code=\"22#"},
    {"code=\"101#", "code=\"23#"},
    {"code=\"102#", "code=\"24#"},
    {"code=\"200#", "code=\"25#"},
    {"code=\"201#", "code=\"26#"},
    {"code=\"202#", "code=\"27#"},
    {"code=\"203#", "code=\"28#"},
    {"code=\"204#", "code=\"29#"},
    {"code=\"205#", "code=\"30#"},
    // The two function elements become items whatever attribute the editor wrote first.
    {"<fonction ", "<code=\"31# "},
    {"<F2 ", "<code=\"32# "},
    {"& quot;", "'"},
}};

constexpr std::string_view kCodeMarker = "code=\"";
constexpr int kHighestInstruction = 33;

// The internal number whose digits and "#" start `text`, or 0.
int LeadingInstructionNumber(std::string_view text) {
  int value = 0;
  std::size_t i = 0;
  // Digits of a number from 1 to 33: no leading zero, at most two digits.
  while (i < text.size() && i < 3 && text[i] >= '0' && text[i] <= '9') {
    if (i == 0 && text[i] == '0') return 0;
    value = value * 10 + (text[i] - '0');
    ++i;
  }
  if (i == 0 || i > 2 || i >= text.size() || text[i] != '#') return 0;
  return value <= kHighestInstruction ? value : 0;
}

}  // namespace

void Renumber(std::string& document) { expr::ApplyRules(document, kRenumbering); }

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
  if (number_ < 30) {
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
