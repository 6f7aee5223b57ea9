#include "logo/lexicon.h"

#include <array>
#include <bit>
#include <cstring>

#include "expr/cp1252.h"
#include "logo/vocabulary.h"

namespace tortuval::logo {
namespace {

constexpr const std::array<unsigned char, 256>& kCapitals = expr::kUpperCp1252;

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
  if (word.size() > sizeof(std::uint64_t)) return InternKey(word);
  std::uint64_t bytes = 0;
  for (std::size_t i = 0; i < word.size(); ++i) {
    bytes |= std::uint64_t{static_cast<unsigned char>(word[i])} << (8 * i);
  }
  return InternShort(word, bytes);
}

std::uint32_t Lexicon::InternIn(std::string_view text, std::size_t begin, std::size_t length) {
  const std::string_view word = text.substr(begin, length);
  if constexpr (std::endian::native == std::endian::little) {
    // Eight bytes are loaded at once wherever the text has them, and the word's own kept.
    if (length <= sizeof(std::uint64_t) && begin + sizeof(std::uint64_t) <= text.size()) {
      std::uint64_t bytes = 0;
      std::memcpy(&bytes, text.data() + begin, sizeof bytes);
      if (length < sizeof bytes) bytes &= (std::uint64_t{1} << (8 * length)) - 1;
      return InternShort(word, bytes);
    }
  }
  return Intern(word);
}

std::uint32_t Lexicon::InternShort(std::string_view word, std::uint64_t bytes) {
  constexpr std::uint64_t kSpread = 0x9E3779B97F4A7C15ull;
  Recent& recent = recent_[((bytes ^ word.size()) * kSpread) >> (64 - kRecentBits)];
  if (recent.bytes == bytes && recent.size == word.size()) return recent.number;
  const std::uint32_t number = InternKey(word);
  recent = Recent{bytes, number, static_cast<std::uint32_t>(word.size())};
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
