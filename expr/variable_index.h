#pragma once
// The declared variables of a " name code name code…" list, read as the expression translator
// walks them, kept up to date while the list grows so that no call reads the whole list again.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "expr/replace_all.h"

namespace tortuval::expr {

/// One declared variable as the translator's variable stage sees it.
struct Variable {
  std::string name;
  char code;   ///< '1' number, '2' list, anything else (even none) a word
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

  /// The variables in walk order, each (name, code) once. For an ordinary name a second walk
  /// changes nothing, so repeated loop variables cost nothing; a name holding ":" would double
  /// every colon at each further walk, growing the text exponentially, so it is walked once too.
  std::span<const Variable> Distinct() const { return distinct_; }

 private:
  enum class Phase { kLeadingSpaces, kEntry, kSkipToSpace };

  void Walk();
  void Record(std::string name, char code);

  Case match_;
  bool collapse_;
  std::size_t consumed_ = 0;  // bytes of the raw list already appended to `walked_`
  std::string walked_;        // the list as walked (collapsed where asked)
  std::size_t position_ = 0;  // where the walk stands in `walked_`
  Phase phase_ = Phase::kLeadingSpaces;
  bool provisional_ = false;  // the last entry lacks its code: the next append may bring it
  std::vector<Variable> distinct_;
  std::unordered_set<std::string> seen_;
};

/// All variables of a list text in walk order, repeats included: the plain reading, against which
/// the index is checked.
std::vector<Variable> ReadVariableList(std::string_view list, Case match, bool collapseSpaces);

}  // namespace tortuval::expr
