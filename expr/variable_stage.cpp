#include "expr/variable_stage.h"

#include <array>
#include <span>
#include <vector>

#include "expr/cp1252.h"
#include "expr/replace_all.h"

namespace tortuval::expr {
namespace {

constexpr std::size_t kNone = std::string::npos;
constexpr std::string_view kLength = ".length";

bool IsWordAt(std::string_view text, std::size_t at) {
  return at < text.size() && IsWordByte(static_cast<unsigned char>(text[at]));
}

bool Matches(const Variable& variable, std::string_view word) {
  return variable.match == Case::kInsensitive || variable.name == word;
}

// Where the ".length" or " .length" read right after a list name at `at` ends, or kNone. The
// property is read as a whole word: ".lengths" is something else.
std::size_t LengthEnd(std::string_view text, std::size_t at) {
  if (at < text.size() && text[at] == ' ') ++at;
  if (text.size() - at < kLength.size() ||
      Find(text.substr(at, kLength.size()), kLength, 0, Case::kInsensitive) != 0) {
    return kNone;
  }
  const std::size_t end = at + kLength.size();
  return IsWordAt(text, end) ? kNone : end;
}

void AppendLength(std::string& out, std::string_view list) {
  out.append(" card :").append(list).push_back(' ');
}

// ---------------------------------------------------------------------------------------------
// The rules, one variable after another.

// "L.length" and "L .length" give " card :L "; they go first, before "L" is taken as an item.
void MarkListLengths(std::string& text, std::string_view list) {
  std::string out;
  std::size_t done = 0;
  std::size_t hit = Find(text, list, 0, Case::kInsensitive);
  while (hit != kNone) {
    const std::size_t end =
        IsWholeWordAt(text, hit, list.size()) ? LengthEnd(text, hit + list.size()) : kNone;
    if (end == kNone) {
      hit = Find(text, list, hit + 1, Case::kInsensitive);
      continue;
    }
    out.append(text, done, hit - done);
    AppendLength(out, list);
    done = end;
    hit = Find(text, list, done, Case::kInsensitive);
  }
  if (done == 0) return;
  out.append(text, done);
  text.swap(out);
}

void MarkList(std::string& text, const Variable& list) {
  MarkListLengths(text, list.name);
  const std::string spaced = " " + list.name + " ";
  ReplaceAll(text, spaced, " item :" + list.name + " ", Case::kInsensitive);
}

// Row a isolates the name where it stands as a whole word; row b puts the value marker before
// it; row c keeps a point behind it apart; row d undoes a doubled marker; row e takes back the
// space that row a put behind the name.
void MarkValue(std::string& text, const Variable& variable) {
  const std::string& name = variable.name;
  const Case match = variable.match;
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
    Add(" :.itemcard");  // what the rows write besides the names
  }
  void Add(std::string_view bytes) {
    for (char c : bytes) present_[UpperCp1252(static_cast<unsigned char>(c))] = true;
  }
  bool MayHold(std::string_view name) const {
    for (char c : name) {
      if (!present_[UpperCp1252(static_cast<unsigned char>(c))]) return false;
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
// - a value name rewrites only words equal to it, and every such word becomes " :" and the name
//   (rows a, b and e; with no ":" in the text rows c and d find nothing). A later value name
//   equal to the word again only changes its spelling, so the last one decides it;
// - a list name is the only name of its word, so nothing else touches that word: its length
//   form becomes " card :L ", and else the word, between two spaces, becomes "item :L";
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
      while (end < text_.size() && !IsWordAt(text_, end)) ++end;
      out_.append(text_, i, end - i);
      if (end == text_.size()) break;
      i = end;
      while (end < text_.size() && IsWordAt(text_, end)) ++end;
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
      if (functionNamed.size() + globalNamed.size() > 1) return false;
      MarkListWord(*list, start, end, next);
    } else if (value != nullptr) {
      out_.append(" :").append(value->name);
    } else {
      out_.append(word);
    }
    return true;
  }

  void MarkListWord(const Variable& list, std::size_t start, std::size_t end, std::size_t& next) {
    if (const std::size_t lengthEnd = LengthEnd(text_, end); lengthEnd != kNone) {
      AppendLength(out_, list.name);
      next = lengthEnd;
      return;
    }
    const bool spaced = start > 0 && text_[start - 1] == ' ' && end < text_.size() &&
                        text_[end] == ' ' && !SpaceTaken(list, start - 1);
    if (!spaced) {
      out_.append(text_, start, end - start);
      return;
    }
    out_.append("item :").append(list.name);
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
  if (!MarkVariablesInOnePass(text, scope)) MarkVariablesSequentially(text, scope);
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
