#include "logo/word_table.h"

#include <array>

#include "base/cp1252.h"

namespace tortuval::logo {
namespace {

constexpr const std::array<unsigned char, 256>& kCapitals = base::kUpperCp1252;

bool IsKeyBlank(char c) { return c == ' ' || c == '\t'; }

// The bytes of WordKey(word), one at a time: capitals, and one space for a run of blanks between
// two other bytes.
class KeyBytes {
 public:
  explicit KeyBytes(std::string_view word) : word_(word) {
    while (at_ < word_.size() && IsKeyBlank(word_[at_])) ++at_;
  }

  // The next byte, or -1 at the end.
  int Next() {
    if (at_ == word_.size()) return -1;
    const char c = word_[at_];
    if (!IsKeyBlank(c)) {
      ++at_;
      return kCapitals[static_cast<unsigned char>(c)];
    }
    while (at_ < word_.size() && IsKeyBlank(word_[at_])) ++at_;
    return at_ == word_.size() ? -1 : ' ';
  }

 private:
  std::string_view word_;
  std::size_t at_ = 0;
};

constexpr std::uint64_t kHashStart = 14695981039346656037ull;
constexpr std::uint64_t kHashFactor = 1099511628211ull;

}  // namespace

std::uint64_t WordHash(std::string_view word) {
  // Nearly every word has no blank: its bytes are hashed directly, and a blank sends the whole
  // word through KeyBytes.
  std::uint64_t hash = kHashStart;
  for (const char c : word) {
    if (IsKeyBlank(c)) {
      hash = kHashStart;
      KeyBytes bytes(word);
      for (int b = bytes.Next(); b >= 0; b = bytes.Next()) {
        hash = (hash ^ static_cast<std::uint64_t>(b)) * kHashFactor;
      }
      return hash;
    }
    hash = (hash ^ kCapitals[static_cast<unsigned char>(c)]) * kHashFactor;
  }
  return hash;
}

bool SameWord(std::string_view a, std::string_view b) {
  KeyBytes left(a);
  KeyBytes right(b);
  for (;;) {
    const int l = left.Next();
    if (l != right.Next()) return false;
    if (l < 0) return true;
  }
}

void WordTable::Insert(std::string_view word, int value) {
  if ((count_ + 1) * 2 > slots_.size()) Grow();
  const std::uint64_t hash = WordHash(word);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    Slot& slot = slots_[at];
    if (!slot.used) {
      slot = Slot{hash, word, value, true};
      ++count_;
      return;
    }
    if (slot.hash == hash && SameWord(slot.word, word)) return;
  }
}

const int* WordTable::Find(std::string_view word, std::uint64_t hash) const {
  if (count_ == 0) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (!slot.used) return nullptr;
    if (slot.hash == hash && SameWord(slot.word, word)) return &slot.value;
  }
}

void WordTable::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (!slot.used) continue;
    std::size_t at = slot.hash & mask;
    while (slots_[at].used) at = (at + 1) & mask;
    slots_[at] = slot;
  }
}

}  // namespace tortuval::logo
