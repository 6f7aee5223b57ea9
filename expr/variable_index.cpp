#include "expr/variable_index.h"

#include "base/cp1252.h"

namespace tortuval::expr {
namespace {

// Appends `text`, counting every run of spaces as one space.
void AppendCollapsed(std::string& walked, std::string_view text) {
  for (char c : text) {
    if (c == ' ' && !walked.empty() && walked.back() == ' ') continue;
    walked += c;
  }
}

}  // namespace

bool IsPlainWordName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    if (!base::IsWordByte(static_cast<unsigned char>(c))) return false;
  }
  std::string upper;
  UpperInto(name, upper);
  return upper != "ITEM" && upper != "CARD" && upper != "LENGTH" && upper != "CHARCODEAT" &&
         upper != "PSEUDAL_CODE_CARACTERE";
}

void UpperInto(std::string_view text, std::string& upper) {
  upper.resize(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    upper[i] = static_cast<char>(base::UpperCp1252(static_cast<unsigned char>(text[i])));
  }
}

std::span<const std::uint32_t> VariableIndex::NamedIgnoringCase(std::string_view upperName) const {
  const auto found = byUpperName_.find(upperName);
  if (found == byUpperName_.end()) return {};
  return found->second;
}

void VariableIndex::Reset() {
  consumed_ = 0;
  walked_.clear();
  position_ = 0;
  phase_ = Phase::kLeadingSpaces;
  provisional_ = false;
  distinct_.clear();
  seen_.clear();
  byUpperName_.clear();
  unusualNames_ = 0;
  firstBytes_.fill(false);
  lengths_ = 0;
}

void VariableIndex::Extend(std::string_view text) {
  if (text.size() < consumed_) Reset();  // the list was replaced without a Reset
  if (text.size() == consumed_) return;
  const std::string_view appended = text.substr(consumed_);
  consumed_ = text.size();
  if (collapse_) {
    AppendCollapsed(walked_, appended);
  } else {
    walked_.append(appended);
  }
  if (provisional_) {
    // The entry read without its code is read again now that more text follows it.
    const Variable& last = distinct_.back();
    seen_.erase(last.name + '\n' + std::string(CodeOf(last.kind)));
    std::string upper;
    UpperInto(last.name, upper);
    const auto sameName = byUpperName_.find(upper);
    sameName->second.pop_back();
    if (sameName->second.empty()) byUpperName_.erase(sameName);
    if (!IsPlainWordName(last.name)) --unusualNames_;
    distinct_.pop_back();
    provisional_ = false;
  }
  Walk();
}

void VariableIndex::Record(std::string name, VariableKind kind) {
  // An entry without a name would glue ":" to every word; it is skipped.
  if (name.empty()) return;
  std::string key = name;
  key += '\n';
  key += CodeOf(kind);
  if (!seen_.insert(std::move(key)).second) return;
  std::string upper;
  UpperInto(name, upper);
  firstBytes_[static_cast<unsigned char>(upper[0])] = true;
  lengths_ |= LengthBit(name.size());
  byUpperName_[std::move(upper)].push_back(static_cast<std::uint32_t>(distinct_.size()));
  if (!IsPlainWordName(name)) ++unusualNames_;
  distinct_.push_back(Variable{std::move(name), kind, match_});
}

// The walk: leading spaces dropped; then each entry is a name up to a space and the one
// character after it; after that code, everything up to and including the next space is dropped.
// Where the text ends, the walk waits for more.
void VariableIndex::Walk() {
  const std::string_view text = walked_;
  while (true) {
    switch (phase_) {
      case Phase::kLeadingSpaces:
        while (position_ < text.size() && text[position_] == ' ') ++position_;
        if (position_ == text.size()) return;
        phase_ = Phase::kEntry;
        break;
      case Phase::kEntry: {
        const std::size_t space = text.find(' ', position_);
        if (space == std::string_view::npos) return;
        std::string name(text.substr(position_, space - position_));
        if (space + 1 == text.size()) {
          // A name without its code yet; kept as a word until the list grows.
          const std::size_t before = distinct_.size();
          Record(std::move(name), VariableKind::kWord);
          provisional_ = distinct_.size() != before;
          return;
        }
        Record(std::move(name), KindOfCode(text.substr(space + 1, 1)));
        position_ = space + 2;
        phase_ = Phase::kSkipToSpace;
        break;
      }
      case Phase::kSkipToSpace: {
        const std::size_t space = text.find(' ', position_);
        if (space == std::string_view::npos) return;
        position_ = space + 1;
        phase_ = Phase::kEntry;
        break;
      }
    }
  }
}

}  // namespace tortuval::expr
