#pragma once
// Words looked up as WordKey compares them (Windows-1252 capitals, each run of blanks as one
// space, none at either end) straight from the program text: no key is made per word.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tortuval::logo {

/// The hash of WordKey(word), computed without making it.
std::uint64_t WordHash(std::string_view word);

/// True when WordKey(a) == WordKey(b).
bool SameWord(std::string_view a, std::string_view b);

/// A set of words, each with a number, by open addressing. The words are views: the texts they
/// point into must outlive the table.
class WordTable {
 public:
  /// Adds `word` with `value`; a word already there keeps its first value.
  void Insert(std::string_view word, int value = 0);

  /// The value of `word`, or null; `hash` is WordHash(word).
  const int* Find(std::string_view word, std::uint64_t hash) const;
  const int* Find(std::string_view word) const { return Find(word, WordHash(word)); }

  bool Contains(std::string_view word) const { return Find(word) != nullptr; }

 private:
  struct Slot {
    std::uint64_t hash = 0;
    std::string_view word;
    int value = 0;
    bool used = false;
  };

  void Grow();

  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

}  // namespace tortuval::logo
