#pragma once
// Replace-all, the one text operation the conversion is built on.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tortuval::expr {

enum class Case { kInsensitive, kSensitive };

/// One row of an ordered rewrite table: every `from` becomes `to`.
struct ReplaceRule {
  std::string_view from;
  std::string_view to;
  Case match = Case::kInsensitive;
};

/// Position of the first `pattern` at or after `from`, or npos. Case-insensitive matching
/// compares both sides in Windows-1252 upper case.
std::size_t Find(std::string_view text, std::string_view pattern, std::size_t from = 0,
                 Case match = Case::kSensitive);

/// Successive searches for one pattern in one long text, each from where the last one left off
/// or further on. It looks for the pattern's least common byte (a sign rather than a letter, a
/// rare letter rather than a frequent one) in each case form, remembering where each form was
/// seen, so a whole scan reads each byte of the text a bounded number of times.
class Searcher {
 public:
  Searcher(std::string_view text, std::string_view pattern, Case match);

  /// The first occurrence at or after `from`, or npos; `from` never goes back between calls.
  std::size_t Next(std::size_t from);

 private:
  void ChooseAnchor();

  std::string_view text_;
  std::string_view pattern_;
  Case match_;
  std::size_t anchor_ = 0;  // the position in the pattern of the byte looked for
  int formCount_ = 0;
  unsigned char forms_[2] = {};
  std::size_t seen_[2] = {};  // where each form of the anchor byte occurs next
  bool started_ = false;
};

/// True when `text` holds `pattern` (case-sensitive unless told otherwise).
inline bool Contains(std::string_view text, std::string_view pattern,
                     Case match = Case::kSensitive) {
  return Find(text, pattern, 0, match) != std::string_view::npos;
}

/// Replaces every occurrence of `from`, left to right without overlaps; the inserted text is
/// written exactly as given and never rescanned. Returns the number of replacements.
std::size_t ReplaceAll(std::string& text, std::string_view from, std::string_view to,
                       Case match = Case::kInsensitive);

/// True when the `length` bytes at `at` stand as a whole word: when they begin with a word byte
/// the byte before is not one (or the text starts there), when they end with one the byte after
/// is not one (or the text ends there).
bool IsWholeWordAt(std::string_view text, std::size_t at, std::size_t length);

/// ReplaceAll for the occurrences of `from` that stand as whole words; the others are passed over.
std::size_t ReplaceWholeWords(std::string& text, std::string_view from, std::string_view to,
                              Case match = Case::kInsensitive);

/// Applies the rows one after the other, each to the result of the previous one.
void ApplyRules(std::string& text, std::span<const ReplaceRule> rules);

/// ApplyRules for short texts such as expressions, where most rows find nothing: a row holding a
/// byte that the text cannot hold is passed over without a search. Same result.
void ApplyRulesToShortText(std::string& text, std::span<const ReplaceRule> rules);

/// ApplyRulesToShortText with whole-word matching (ReplaceWholeWords) for every row.
void ApplyWholeWordRules(std::string& text, std::span<const ReplaceRule> rules);

}  // namespace tortuval::expr
