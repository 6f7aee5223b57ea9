#include "logo/lexicon.h"

#include <array>
#include <bit>
#include <cstring>

#include "base/cp1252.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {
namespace {

constexpr const std::array<unsigned char, 256>& kCapitals = base::kUpperCp1252;

}  // namespace

std::uint64_t Lexicon::MakeKey(std::string_view word, std::string& key) const {
  constexpr std::uint64_t kStart = 14695981039346656037ull;
  constexpr std::uint64_t kFactor = 1099511628211ull;
  // Only "TANT QUE" holds blanks: every other word is its own key in capitals, made and hashed
  // in one pass.
  key.resize(word.size());
  std::uint64_t hash = kStart;
  for (std::size_t i = 0; i < word.size(); ++i) {
    const auto byte = static_cast<unsigned char>(word[i]);
    if (byte == ' ' || byte == '\t') {
      WordKey(word, key);
      hash = kStart;
      for (const char c : key) hash = (hash ^ static_cast<unsigned char>(c)) * kFactor;
      return hash;
    }
    key[i] = static_cast<char>(kCapitals[byte]);
    hash = (hash ^ kCapitals[byte]) * kFactor;
  }
  return hash;
}

std::uint32_t Lexicon::Probe(std::string_view key, std::uint64_t hash, std::size_t& slot) const {
  const std::size_t mask = slots_.size() - 1;
  for (slot = hash & mask;; slot = (slot + 1) & mask) {
    const std::uint32_t number = slots_[slot];
    if (number == kNoName) return kNoName;
    if (hashes_[number] == hash && keys_[number] == key) return number;
  }
}

std::uint32_t Lexicon::Intern(std::string_view word) {
  if (word.size() > kSpellingBytes) return InternKey(word);
  char bytes[kSpellingBytes] = {};
  std::memcpy(bytes, word.data(), word.size());
  return InternSpelling(LoadSpelling(bytes, word.size()));
}

std::uint32_t Lexicon::InternLong(std::string_view text, std::size_t begin, std::size_t length) {
  if (length <= kSpellingBytes && begin + kSpellingBytes <= text.size()) {
    return InternSpelling(LoadSpelling(text.data() + begin, length));
  }
  return Intern(text.substr(begin, length));
}

std::uint32_t Lexicon::AddSpelling(const Spelling& spelling, std::size_t slot) {
  char bytes[kSpellingBytes];
  for (std::size_t i = 0; i < kSpellingBytes; ++i) {
    bytes[i] = static_cast<char>(spelling.chunks[i / 8] >> (8 * (i % 8)));
  }
  const std::uint32_t number = InternKey(std::string_view(bytes, spelling.size));
  Spelling& added = spellings_[slot];
  added = spelling;
  added.number = number;
  // Kept at most half full, so that every search meets a free slot soon.
  if (++spellingCount_ * 2 > spellings_.size()) {
    std::vector<Spelling> old(spellings_.size() * 2);
    old.swap(spellings_);
    const std::size_t mask = spellings_.size() - 1;
    for (const Spelling& held : old) {
      if (held.size == kNoName) continue;
      std::size_t at = SpellingHash(held) & mask;
      while (spellings_[at].size != kNoName) at = (at + 1) & mask;
      spellings_[at] = held;
    }
  }
  return number;
}

std::uint32_t Lexicon::InternKey(std::string_view word) {
  if ((keys_.size() + 1) * 2 > slots_.size()) Grow();
  const std::uint64_t hash = MakeKey(word, key_);
  std::size_t slot = 0;
  const std::uint32_t found = Probe(key_, hash, slot);
  if (found != kNoName) return found;
  const auto number = static_cast<std::uint32_t>(keys_.size());
  keys_.push_back(key_);
  hashes_.push_back(hash);
  slots_[slot] = number;
  return number;
}

std::uint32_t Lexicon::Find(std::string_view word) const {
  if (keys_.empty()) return kNoName;
  std::string key;
  const std::uint64_t hash = MakeKey(word, key);
  std::size_t slot = 0;
  return Probe(key, hash, slot);
}

void Lexicon::Grow() {
  slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, kNoName);
  const std::size_t mask = slots_.size() - 1;
  for (std::uint32_t number = 0; number < keys_.size(); ++number) {
    std::size_t slot = hashes_[number] & mask;
    while (slots_[slot] != kNoName) slot = (slot + 1) & mask;
    slots_[slot] = number;
  }
}

}  // namespace tortuval::logo
