#pragma once
// The distinct names of a program, numbered as the reader meets them: later passes compare and
// look up numbers instead of reading the words again from the program text.

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tortuval::logo {

/// The number of no name: tokens other than words, values, quoted words and signs.
inline constexpr std::uint32_t kNoName = 0xFFFFFFFF;

/// Names by their key (WordKey: capitals, each run of blanks as one space), each numbered from 0.
class Lexicon {
 public:
  /// The number of `word`'s key, given on its first meeting.
  std::uint32_t Intern(std::string_view word);

  /// Intern(text.substr(begin, length)), reading a short word's bytes from `text` at once.
  [[gnu::always_inline]] std::uint32_t InternIn(std::string_view text, std::size_t begin,
                                                std::size_t length) {
    // Most words have at most eight bytes: their path is kept short enough to be inlined.
    if constexpr (std::endian::native == std::endian::little) {
      if (length <= 8 && begin + 8 <= text.size()) {
        std::uint64_t eight;
        std::memcpy(&eight, text.data() + begin, 8);
        return InternShort(eight & kLowBytes[length], length);
      }
    }
    if (length <= 8 && begin + kSpellingBytes <= text.size()) {
      return InternShort(Chunk(text.data() + begin, length, 0), length);
    }
    return InternLong(text, begin, length);
  }

  /// The number of `word`'s key, or kNoName when no word with that key was interned.
  std::uint32_t Find(std::string_view word) const;

  /// The key of name `number`.
  std::string_view Key(std::uint32_t number) const { return keys_[number]; }

  /// How many names there are.
  std::size_t Size() const { return keys_.size(); }

 private:
  // A word's own bytes, up to 24 of them, as three numbers with zeros past its end: most
  // tokens repeat a word already met, and its bytes then give its number without making and
  // hashing its key again.
  static constexpr std::size_t kSpellingBytes = 24;
  // By length: the mask that keeps that many low bytes of eight.
  static constexpr std::array<std::uint64_t, 9> kLowBytes = {0,
                                                             0xFF,
                                                             0xFFFF,
                                                             0xFFFFFF,
                                                             0xFFFFFFFF,
                                                             0xFFFFFFFFFFull,
                                                             0xFFFFFFFFFFFFull,
                                                             0xFFFFFFFFFFFFFFull,
                                                             0xFFFFFFFFFFFFFFFFull};
  struct Spelling {
    std::array<std::uint64_t, 3> chunks{};
    std::uint32_t size = kNoName;  // no word has this size: the slot is free
    std::uint32_t number = 0;
  };

  // The spelling of the `size` bytes at `bytes`, 24 of which may be read.
  static Spelling LoadSpelling(const char* bytes, std::size_t size) {
    Spelling spelling;
    spelling.size = static_cast<std::uint32_t>(size);
    spelling.chunks = {Chunk(bytes, size, 0), Chunk(bytes, size, 1), Chunk(bytes, size, 2)};
    return spelling;
  }

  // Bytes [8 * chunk, 8 * chunk + 8) of the word, the first in the lowest bits.
  static std::uint64_t Chunk(const char* bytes, std::size_t size, std::size_t chunk) {
    if (size <= chunk * 8) return 0;
    std::uint64_t eight = 0;
    if constexpr (std::endian::native == std::endian::little) {
      std::memcpy(&eight, bytes + chunk * 8, 8);
    } else {
      for (std::size_t i = 8; i-- > 0;) {
        eight = eight << 8 | static_cast<unsigned char>(bytes[chunk * 8 + i]);
      }
    }
    const std::size_t kept = size - chunk * 8;
    return kept < 8 ? eight & ((std::uint64_t{1} << (8 * kept)) - 1) : eight;
  }

  std::uint32_t InternSpelling(const Spelling& spelling) {
    const std::size_t mask = spellings_.size() - 1;
    for (std::size_t slot = SpellingHash(spelling) & mask;; slot = (slot + 1) & mask) {
      const Spelling& held = spellings_[slot];
      if (held.chunks[0] == spelling.chunks[0] && held.size == spelling.size &&
          held.chunks[1] == spelling.chunks[1] && held.chunks[2] == spelling.chunks[2]) {
        return held.number;
      }
      if (held.size == kNoName) return AddSpelling(spelling, slot);
    }
  }

  // InternSpelling for a word of up to eight bytes, whose other chunks are zeros.
  [[gnu::always_inline]] std::uint32_t InternShort(std::uint64_t bytes, std::size_t size) {
    const std::size_t mask = spellings_.size() - 1;
    for (std::size_t slot = ShortHash(bytes, size) & mask;; slot = (slot + 1) & mask) {
      const Spelling& held = spellings_[slot];
      if (held.chunks[0] == bytes && held.size == size) return held.number;
      if (held.size == kNoName) {
        Spelling spelling;
        spelling.chunks[0] = bytes;
        spelling.size = static_cast<std::uint32_t>(size);
        return AddSpelling(spelling, slot);
      }
    }
  }

  static std::size_t ShortHash(std::uint64_t bytes, std::size_t size) {
    constexpr std::uint64_t kSpread = 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(((bytes ^ size) * kSpread) >> 32);
  }

  static std::size_t SpellingHash(const Spelling& spelling) {
    // Equal to ShortHash for a spelling of up to eight bytes.
    return ShortHash(spelling.chunks[0] ^ (spelling.chunks[1] * 31) ^ (spelling.chunks[2] * 131),
                     spelling.size);
  }

  // InternIn for the words it does not inline.
  std::uint32_t InternLong(std::string_view text, std::size_t begin, std::size_t length);
  // Interns a spelling met for the first time, which belongs in `slot`.
  std::uint32_t AddSpelling(const Spelling& spelling, std::size_t slot);
  // Writes WordKey(word) into `key` and returns its hash.
  std::uint64_t MakeKey(std::string_view word, std::string& key) const;
  // Intern by the word's key, past the spellings.
  std::uint32_t InternKey(std::string_view word);
  std::uint32_t Probe(std::string_view key, std::uint64_t hash, std::size_t& slot) const;
  void Grow();

  std::vector<Spelling> spellings_ = std::vector<Spelling>(64);  // by SpellingHash
  std::size_t spellingCount_ = 0;
  std::vector<std::string> keys_;
  std::vector<std::uint64_t> hashes_;  // by number
  std::vector<std::uint32_t> slots_;   // numbers by hash, kNoName for free slots
  std::string key_;
};

}  // namespace tortuval::logo
