#pragma once
// The distinct names of a program, numbered as the reader meets them: later passes compare and
// look up numbers instead of reading the words again from the program text.

#include <array>
#include <cstdint>
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
  std::uint32_t InternIn(std::string_view text, std::size_t begin, std::size_t length);

  /// The number of `word`'s key, or kNoName when no word with that key was interned.
  std::uint32_t Find(std::string_view word) const;

  /// The key of name `number`.
  std::string_view Key(std::uint32_t number) const { return keys_[number]; }

  /// How many names there are.
  std::size_t Size() const { return keys_.size(); }

 private:
  // Writes WordKey(word) into `key` and returns its hash.
  std::uint64_t MakeKey(std::string_view word, std::string& key) const;
  // Intern a word of up to eight bytes, given as their little-endian number, by the cache.
  std::uint32_t InternShort(std::string_view word, std::uint64_t bytes);
  // Intern by the word's key, past the cache of recent words.
  std::uint32_t InternKey(std::string_view word);
  std::uint32_t Probe(std::string_view key, std::uint64_t hash, std::size_t& slot) const;
  void Grow();

  // A word met before, by its own bytes: most tokens repeat a short word, and its bytes then
  // give its number without making and hashing its key again.
  struct Recent {
    std::uint64_t bytes = 0;
    std::uint32_t number = 0;
    std::uint32_t size = kNoName;  // no word has this size: the entry is empty
  };
  static constexpr int kRecentBits = 9;

  std::array<Recent, std::size_t{1} << kRecentBits> recent_{};
  std::vector<std::string> keys_;
  std::vector<std::uint64_t> hashes_;  // by number
  std::vector<std::uint32_t> slots_;   // numbers by hash, kNoName for free slots
  std::string key_;
};

}  // namespace tortuval::logo
