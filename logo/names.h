#pragma once
// The distinct names of a program, numbered as they are met: later passes compare numbers
// instead of words. Words of the dialect are interned by their key (any case, any blanks),
// variable names by their exact bytes, as the source algorithm tells its variables apart.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tortuval::logo {

/// The number of no name.
inline constexpr std::uint32_t kNoName = 0xFFFFFFFF;

/// The word in capitals (Windows-1252) with each run of blanks as one space and none at either
/// end: "tant  que" gives "TANT QUE".
void WordKey(std::string_view word, std::string& key);

class Names {
 public:
  /// The number of `text`, given on its first meeting.
  std::uint32_t Intern(std::string_view text);
  /// The number of WordKey(word).
  std::uint32_t InternWord(std::string_view word);
  /// The number of `text`, or kNoName when it was never interned.
  std::uint32_t Find(std::string_view text) const;

  std::string_view Text(std::uint32_t number) const { return texts_[number]; }
  std::size_t Size() const { return texts_.size(); }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>()(text);
    }
  };
  std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> numbers_;
  std::deque<std::string> texts_;  // a deque: the views Text gives stay valid as it grows
  // Most words repeat one spelling: each spelling met gives its key's number at once.
  std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> spellings_;
  std::string key_;
};

}  // namespace tortuval::logo
