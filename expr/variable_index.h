#pragma once
// The declared variables of a " name code name code…" list, read as the expression translator
// walks them, kept up to date while the list grows so that no call reads the whole list again.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/cp1252.h"
#include "expr/replace_all.h"

namespace tortuval::expr {

/// What a declared variable holds. In the text form of the lists its one-character code says it:
/// "1" a number, "2" a list, "3" (or any other code, even none) a word. A name that no list
/// declares is of unknown kind.
enum class VariableKind { kNumber, kList, kWord, kUnknown };

/// The kind a code of the text form stands for.
constexpr VariableKind KindOfCode(std::string_view code) {
  if (code == "1") return VariableKind::kNumber;
  if (code == "2") return VariableKind::kList;
  return VariableKind::kWord;
}

/// The code written for a kind in the text form ("1", "2" or "3").
constexpr std::string_view CodeOf(VariableKind kind) {
  switch (kind) {
    case VariableKind::kNumber:
      return "1";
    case VariableKind::kList:
      return "2";
    default:
      return "3";
  }
}

/// One declared variable as the translator's variable stage sees it.
struct Variable {
  std::string name;
  VariableKind kind;
  Case match;  ///< how the name is compared when its value marker is put in place
};

/// Reads a variable list incrementally: the list may only grow by appending until Reset.
class VariableIndex {
 public:
  /// `collapseSpaces`: runs of spaces count as one, as they do in a function's list.
  VariableIndex(Case match, bool collapseSpaces) : match_(match), collapse_(collapseSpaces) {}

  /// Forgets everything read; the list starts again empty.
  void Reset();

  /// Reads what was appended to the list since the last call (`text` is the whole list).
  void Extend(std::string_view text);

  /// The variables in walk order, each (name, kind) once. For an ordinary name a second walk
  /// changes nothing, so repeated loop variables cost nothing; a name holding ":" would double
  /// every colon at each further walk, growing the text exponentially, so it is walked once too.
  std::span<const Variable> Distinct() const { return distinct_; }

  /// The positions in Distinct() of the variables named `upperName` ignoring case (the name
  /// given in Windows-1252 upper case), in walk order.
  std::span<const std::uint32_t> NamedIgnoringCase(std::string_view upperName) const;

  /// How the translator compares this list's names.
  Case Match() const { return match_; }

  /// False when no name can equal `word` ignoring case, told from its first byte and its length
  /// alone: most words of an expression are ruled out without a look-up.
  bool MayName(std::string_view word) const {
    return !word.empty() && firstBytes_[base::UpperCp1252(static_cast<unsigned char>(word[0]))] &&
           (lengths_ & LengthBit(word.size())) != 0;
  }

  /// True when some name is not a plain word (see IsPlainWordName).
  bool HasUnusualName() const { return unusualNames_ != 0; }

 private:
  enum class Phase { kLeadingSpaces, kEntry, kSkipToSpace };

  void Walk();
  void Record(std::string name, VariableKind kind);

  Case match_;
  bool collapse_;
  std::size_t consumed_ = 0;  // bytes of the raw list already appended to `walked_`
  std::string walked_;        // the list as walked (collapsed where asked)
  std::size_t position_ = 0;  // where the walk stands in `walked_`
  Phase phase_ = Phase::kLeadingSpaces;
  bool provisional_ = false;  // the last entry lacks its code: the next append may bring it
  std::vector<Variable> distinct_;
  std::unordered_set<std::string> seen_;

  struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  std::unordered_map<std::string, std::vector<std::uint32_t>, StringHash, std::equal_to<>>
      byUpperName_;
  std::size_t unusualNames_ = 0;
  // What MayName tests: kept a superset of the names' first bytes (upper case) and lengths.
  static std::uint64_t LengthBit(std::size_t length) {
    return std::uint64_t{1} << (length < 63 ? length : 63);
  }
  std::array<bool, 256> firstBytes_{};
  std::uint64_t lengths_ = 0;
};

/// A name made of word bytes only that is none of "item", "card", "length", "charCodeAt" and
/// "PSEUDAL_CODE_CARACTERE" (ignoring case): the words that the variable stage writes or reads
/// around names. Only such names can be
/// marked word by word in one pass over an expression.
bool IsPlainWordName(std::string_view name);

/// `text` in Windows-1252 upper case, written into `upper`.
void UpperInto(std::string_view text, std::string& upper);

}  // namespace tortuval::expr
