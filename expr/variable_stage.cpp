#include "expr/variable_stage.h"

#include <array>
#include <span>
#include <vector>

#include "base/cp1252.h"
#include "expr/replace_all.h"

namespace tortuval::expr {
namespace {

constexpr std::size_t kNone = std::string::npos;
constexpr std::string_view kLength = ".length";
constexpr std::string_view kCharCodeAt = ".charCodeAt (";

bool Matches(const Variable& variable, std::string_view word) {
  return variable.match == Case::kInsensitive || variable.name == word;
}

bool StartsWithAnyCase(std::string_view text, std::size_t at, std::string_view pattern) {
  return text.size() - at >= pattern.size() &&
         Find(text.substr(at, pattern.size()), pattern, 0, Case::kInsensitive) == 0;
}

// Where the ".length" or " .length" read right after a name at `at` ends, or kNone. The
// property is read as a whole word: ".lengths" is something else.
std::size_t LengthEnd(std::string_view text, std::size_t at) {
  if (at < text.size() && text[at] == ' ') ++at;
  if (!StartsWithAnyCase(text, at, kLength)) return kNone;
  const std::size_t end = at + kLength.size();
  return base::IsWordByteAt(text, end) ? kNone : end;
}

// Where the ".charCodeAt (" right after a name at `at` ends (stage 5 has spaced its bracket), or
// kNone.
std::size_t CharCodeEnd(std::string_view text, std::size_t at) {
  return StartsWithAnyCase(text, at, kCharCodeAt) ? at + kCharCodeAt.size() : kNone;
}

// The length of a word or list, in brackets so that "L.length-1" stays the length less one.
void AppendLength(std::string& out, std::string_view name) {
  out.append(" ( card :").append(name).append(" ) ");
}

// The character code call opens a group that the call's own ")" closes.
void AppendCharCode(std::string& out, std::string_view name) {
  out.append(" ( PSEUDAL_CODE_CARACTERE :").append(name).push_back(' ');
}

// Appends the rewrite of a name's member read at `at` (right after the name): its length or its
// character code call. Returns where the read ends, or kNone when there is none.
std::size_t AppendMember(std::string& out, std::string_view text, std::size_t at,
                         std::string_view name) {
  if (const std::size_t end = LengthEnd(text, at); end != kNone) {
    AppendLength(out, name);
    return end;
  }
  if (const std::size_t end = CharCodeEnd(text, at); end != kNone) {
    AppendCharCode(out, name);
    return end;
  }
  return kNone;
}

// An index follows the blanks at `at`.
bool IndexFollows(std::string_view text, std::size_t at) {
  while (at < text.size() && text[at] == ' ') ++at;
  return at < text.size() && text[at] == '[';
}

// ---------------------------------------------------------------------------------------------
// The rules, one variable after another.

// "x.length" and "x .length" give " ( card :x ) ", "x.charCodeAt (" gives
// " ( PSEUDAL_CODE_CARACTERE :x "; they go first, before the name is taken as a value or item.
void MarkMembers(std::string& text, std::string_view name) {
  std::string out;
  std::size_t done = 0;
  std::size_t hit = Find(text, name, 0, Case::kInsensitive);
  while (hit != kNone) {
    const std::size_t mark = out.size();
    out.append(text, done, hit - done);
    const std::size_t end = IsWholeWordAt(text, hit, name.size())
                                ? AppendMember(out, text, hit + name.size(), name)
                                : kNone;
    if (end == kNone) {
      out.resize(mark);
      hit = Find(text, name, hit + 1, Case::kInsensitive);
      continue;
    }
    done = end;
    hit = Find(text, name, done, Case::kInsensitive);
  }
  if (done == 0) return;
  out.append(text, done);
  text.swap(out);
}

// Every " name " (compared as `match` says) is rewritten by `rewrite`, which gives its new text
// or, passing it over, an empty one; the scan goes on behind a rewritten occurrence.
template <typename Rewrite>
void RewriteSpacedName(std::string& text, std::string_view name, Case match, Rewrite rewrite) {
  std::string spaced(1, ' ');
  spaced.append(name).push_back(' ');
  std::string out;
  std::size_t done = 0;
  std::size_t hit = Find(text, spaced, 0, match);
  while (hit != kNone) {
    const std::string_view by = rewrite(hit + spaced.size());
    if (by.empty()) {
      hit = Find(text, spaced, hit + 1, match);
      continue;
    }
    out.append(text, done, hit - done).append(by);
    done = hit + spaced.size();
    hit = Find(text, spaced, done, match);
  }
  if (done == 0) return;
  out.append(text, done);
  text.swap(out);
}

// A list between spaces is its item when an index follows, else the whole list.
void MarkList(std::string& text, const Variable& list) {
  MarkMembers(text, list.name);
  const std::string item = " item :" + list.name + " ";
  const std::string whole = " :" + list.name + " ";
  RewriteSpacedName(text, list.name, Case::kInsensitive, [&](std::size_t after) {
    return std::string_view(IndexFollows(text, after) ? item : whole);
  });
}

// A value with an index is the item of a word (a function's parameter may hold one too). Row a
// then isolates the name where it stands as a whole word; row b puts the value marker before it;
// row c keeps a point behind it apart; row d undoes a doubled marker; row e takes back the space
// that row a put behind the name.
void MarkValue(std::string& text, const Variable& variable) {
  const std::string& name = variable.name;
  const Case match = variable.match;
  MarkMembers(text, name);
  const std::string item = " item :" + name + " ";
  RewriteSpacedName(text, name, match, [&](std::size_t after) {
    return IndexFollows(text, after) ? std::string_view(item) : std::string_view();
  });
  ReplaceWholeWords(text, name, " " + name + " ", match);
  ReplaceAll(text, " " + name + " ", " :" + name + " ", match);
  ReplaceAll(text, " " + name + ".", " :" + name + " .", match);
  ReplaceAll(text, ": :" + name, ":" + name, Case::kSensitive);
  ReplaceAll(text, ":" + name + " ", ":" + name, Case::kSensitive);
}

// The upper-case bytes the text may hold, kept a superset as it is rewritten: every row of a
// variable needs its name in the text, so a name with a byte outside it is passed over.
class BytesPresent {
 public:
  explicit BytesPresent(std::string_view text) {
    Add(text);
    Add(" :.()itemcardPSEUDAL_CODE_CARACTERE");  // what the rows write besides the names
  }
  void Add(std::string_view bytes) {
    for (char c : bytes) present_[base::UpperCp1252(static_cast<unsigned char>(c))] = true;
  }
  bool MayHold(std::string_view name) const {
    for (char c : name) {
      if (!present_[base::UpperCp1252(static_cast<unsigned char>(c))]) return false;
    }
    return true;
  }

 private:
  std::array<bool, 256> present_{};
};

void MarkAll(std::string& text, const VariableIndex& index) {
  BytesPresent present(text);
  for (const Variable& variable : index.Distinct()) {
    if (!present.MayHold(variable.name)) continue;
    if (variable.kind == VariableKind::kList) {
      MarkList(text, variable);
    } else {
      MarkValue(text, variable);
    }
    present.Add(variable.name);
  }
}

// ---------------------------------------------------------------------------------------------
// One pass. Under its conditions the rules above act on each whole word of the text apart:
// - a value name rewrites only words equal to it: its length and character code forms become
//   their calls, a word between spaces before an index becomes "item :x", and every other such
//   word becomes " :" and the name (rows a, b and e; with no ":" in the text rows c and d find
//   nothing). A later value name equal to the word again only changes its spelling, so the last
//   one decides it;
// - a list name is the only name of its word, so nothing else touches that word: its length
//   and character code forms become their calls, and else the word, between two spaces, becomes
//   "item :L" before an index and ":L" elsewhere;
// - the words the rows write ("item", "card", the names behind ":") are no name's word, and the
//   bytes between words are never rewritten, so each word's neighbours stay as they were.
// The one thing that joins words is the list row's scan: once it has rewritten " L ", it goes on
// behind the space that followed, so the next "L" one space further is not rewritten.

struct ListMatch {
  const Variable* list;
  std::size_t trailingSpace;
};

class OnePassMarker {
 public:
  OnePassMarker(std::string_view text, const VariableScope& scope) : text_(text), scope_(scope) {
    out_.reserve(text.size() + 32);
  }

  bool Mark(std::string& result) {
    std::size_t i = 0;
    while (i < text_.size()) {
      std::size_t end = i;
      while (end < text_.size() && !base::IsWordByteAt(text_, end)) ++end;
      out_.append(text_, i, end - i);
      if (end == text_.size()) break;
      i = end;
      while (end < text_.size() && base::IsWordByteAt(text_, end)) ++end;
      if (!MarkWord(i, end, i)) return false;
    }
    result.swap(out_);
    return true;
  }

 private:
  // Writes the word [start, end) as marked; `next` is where the scan goes on. False when the
  // word names a list and some other variable.
  bool MarkWord(std::size_t start, std::size_t end, std::size_t& next) {
    const std::string_view word = text_.substr(start, end - start);
    next = end;
    if (!scope_.functions.MayName(word) && !scope_.globals.MayName(word)) {
      out_.append(word);
      return true;
    }
    UpperInto(word, upper_);
    const std::span<const std::uint32_t> functionNamed = scope_.functions.NamedIgnoringCase(upper_);
    const std::span<const std::uint32_t> globalNamed = scope_.globals.NamedIgnoringCase(upper_);
    // A length or character code is read of any variable named so, ignoring case; when more
    // than one is, the rules rewrite the word one variable after another.
    const std::size_t named = functionNamed.size() + globalNamed.size();
    const std::size_t charCodeEnd = CharCodeEnd(text_, end);
    if (LengthEnd(text_, end) != kNone || charCodeEnd != kNone) {
      // The call takes the "(" behind it and ends in a blank: a word right behind would stand
      // after a blank that the text does not hold.
      if (named != 1 || base::IsWordByteAt(text_, charCodeEnd)) return false;
      const Variable& variable = functionNamed.empty()
                                     ? scope_.globals.Distinct()[globalNamed[0]]
                                     : scope_.functions.Distinct()[functionNamed[0]];
      next = AppendMember(out_, text_, end, variable.name);
      return true;
    }
    const Variable* list = nullptr;
    const Variable* value = nullptr;
    const auto consider = [&](const Variable& variable) {
      if (variable.kind == VariableKind::kList) {
        list = &variable;
      } else if (Matches(variable, word)) {
        value = &variable;
      }
    };
    for (std::uint32_t at : functionNamed) consider(scope_.functions.Distinct()[at]);
    for (std::uint32_t at : globalNamed) consider(scope_.globals.Distinct()[at]);

    if (list != nullptr) {
      if (named > 1) return false;
      MarkListWord(*list, start, end);
    } else if (value != nullptr) {
      MarkValueWord(*value, start, end);
    } else {
      out_.append(word);
    }
    return true;
  }

  bool Spaced(std::size_t start, std::size_t end) const {
    return start > 0 && text_[start - 1] == ' ' && end < text_.size() && text_[end] == ' ';
  }

  void MarkValueWord(const Variable& value, std::size_t start, std::size_t end) {
    out_.append(Spaced(start, end) && IndexFollows(text_, end) ? "item :" : " :")
        .append(value.name);
  }

  void MarkListWord(const Variable& list, std::size_t start, std::size_t end) {
    if (!Spaced(start, end) || SpaceTaken(list, start - 1)) {
      out_.append(text_, start, end - start);
      return;
    }
    out_.append(IndexFollows(text_, end) ? "item :" : ":").append(list.name);
    for (ListMatch& match : lastMatches_) {
      if (match.list == &list) {
        match.trailingSpace = end;
        return;
      }
    }
    lastMatches_.push_back({&list, end});
  }

  // The space at `space` ended the list's previous rewritten occurrence.
  bool SpaceTaken(const Variable& list, std::size_t space) const {
    for (const ListMatch& match : lastMatches_) {
      if (match.list == &list) return match.trailingSpace == space;
    }
    return false;
  }

  std::string_view text_;
  const VariableScope& scope_;
  std::string out_;
  std::string upper_;
  std::vector<ListMatch> lastMatches_;
};

// ---------------------------------------------------------------------------------------------
// Source strings keep their words: from a quotation mark that another one follows up to that
// next one, nothing is marked. While the names are marked, one placeholder byte stands for the
// inside of each string.

constexpr char kStringPlaceholder = '\x0e';

std::vector<std::string> HideStrings(std::string& text) {
  std::vector<std::string> strings;
  std::size_t open = text.find('"');
  if (open == kNone || text.find(kStringPlaceholder) != kNone) return strings;
  std::string out;
  std::size_t done = 0;
  for (std::size_t close = text.find('"', open + 1); close != kNone;
       close = text.find('"', open + 1)) {
    strings.emplace_back(text, open + 1, close - open - 1);
    out.append(text, done, open + 1 - done).push_back(kStringPlaceholder);
    done = close;
    open = text.find('"', close + 1);
    if (open == kNone) break;
  }
  if (strings.empty()) return strings;
  out.append(text, done);
  text.swap(out);
  return strings;
}

void RestoreStrings(std::string& text, const std::vector<std::string>& strings) {
  std::string out;
  out.reserve(text.size());
  std::size_t next = 0;
  for (const char c : text) {
    if (c == kStringPlaceholder && next < strings.size()) {
      out.append(strings[next++]);
    } else {
      out.push_back(c);
    }
  }
  text.swap(out);
}

}  // namespace

void MarkVariablesSequentially(std::string& text, const VariableScope& scope) {
  MarkAll(text, scope.functions);
  MarkAll(text, scope.globals);
}

bool MarkVariablesInOnePass(std::string& text, const VariableScope& scope) {
  if (scope.functions.HasUnusualName() || scope.globals.HasUnusualName()) return false;
  // Names compared exactly must come before names compared in any case, as they do in a
  // translation: then a later name that matches a marked word matched it before it was marked.
  if (scope.functions.Match() == Case::kInsensitive && scope.globals.Match() == Case::kSensitive &&
      !scope.functions.Distinct().empty() && !scope.globals.Distinct().empty()) {
    return false;
  }
  if (text.find(':') != kNone) return false;
  return OnePassMarker(text, scope).Mark(text);
}

void MarkVariables(std::string& text, const VariableScope& scope) {
  if (scope.functions.Distinct().empty() && scope.globals.Distinct().empty()) return;
  const std::vector<std::string> strings = HideStrings(text);
  if (!MarkVariablesInOnePass(text, scope)) MarkVariablesSequentially(text, scope);
  if (!strings.empty()) RestoreStrings(text, strings);
}

const Variable* FindVariable(std::string_view name, const VariableScope& scope) {
  std::string upper;
  UpperInto(name, upper);
  for (const VariableIndex* index : {&scope.functions, &scope.globals}) {
    for (std::uint32_t at : index->NamedIgnoringCase(upper)) {
      const Variable& variable = index->Distinct()[at];
      if (Matches(variable, name)) return &variable;
    }
  }
  return nullptr;
}

}  // namespace tortuval::expr
