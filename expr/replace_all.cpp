#include "expr/replace_all.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/cp1252.h"

namespace tortuval::expr {
namespace {

// The bytes whose upper case is `upper`: the byte itself when it is its own upper case, and its
// small letter when it has one. Built once from UpperCp1252, so the two always agree.
struct CaseVariants {
  unsigned char bytes[2];
  int count;
};

const CaseVariants& VariantsOf(unsigned char upper) {
  static const auto table = [] {
    std::array<CaseVariants, 256> variants{};
    for (int byte = 0; byte < 256; ++byte) {
      CaseVariants& entry = variants[base::UpperCp1252(static_cast<unsigned char>(byte))];
      // Windows-1252 has at most one small letter per capital, so two slots suffice.
      if (entry.count < 2) entry.bytes[entry.count++] = static_cast<unsigned char>(byte);
    }
    return variants;
  }();
  return table[upper];
}

unsigned char Upper(char c) { return base::kUpperCp1252[static_cast<unsigned char>(c)]; }

bool MatchesRest(const char* at, std::string_view pattern) {
  for (std::size_t k = 1; k < pattern.size(); ++k) {
    if (Upper(at[k]) != Upper(pattern[k])) return false;
  }
  return true;
}

// The next byte at or after `from` (below `end`) equal to `byte`, or `end`.
std::size_t NextByte(std::string_view text, unsigned char byte, std::size_t from, std::size_t end) {
  if (from >= end) return end;
  const void* hit = std::memchr(text.data() + from, byte, end - from);
  return hit == nullptr ? end
                        : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
}

// Expressions are short: there a plain scan costs less than setting up memchr.
constexpr std::size_t kShortText = 256;

// Candidates for the first character are found with memchr, once per case variant, which keeps
// the scan of a whole document for a rare pattern close to memory speed. The search goes window
// by window: a variant that does not occur is then looked for up to the window's end only, not
// to the end of the text at every call, which would make a series of calls quadratic.
std::size_t FindInsensitive(std::string_view text, std::string_view pattern, std::size_t from) {
  constexpr std::size_t kWindow = 4096;
  const std::size_t patternSize = pattern.size();
  if (patternSize > text.size()) return std::string_view::npos;
  const std::size_t end = text.size() - patternSize + 1;  // candidates start before this
  if (end - std::min(from, end) <= kShortText) {
    const unsigned char firstUpper = Upper(pattern[0]);
    for (std::size_t i = from; i < end; ++i) {
      if (Upper(text[i]) == firstUpper && MatchesRest(text.data() + i, pattern)) return i;
    }
    return std::string_view::npos;
  }
  const CaseVariants& first = VariantsOf(base::UpperCp1252(static_cast<unsigned char>(pattern[0])));
  for (std::size_t window = from; window < end; window += kWindow) {
    const std::size_t windowEnd = std::min(end, window + kWindow);
    std::size_t next[2] = {windowEnd, windowEnd};
    for (int v = 0; v < first.count; ++v) {
      next[v] = NextByte(text, first.bytes[v], window, windowEnd);
    }
    while (true) {
      const int v = first.count == 2 && next[1] < next[0] ? 1 : 0;
      const std::size_t candidate = next[v];
      if (candidate >= windowEnd) break;
      if (MatchesRest(text.data() + candidate, pattern)) return candidate;
      next[v] = NextByte(text, first.bytes[v], candidate + 1, windowEnd);
    }
  }
  return std::string_view::npos;
}

// A replacement no longer than what it replaces, written over the text itself: the writing
// position never passes the reading one, so nothing not yet read is overwritten, and a large text
// costs no second buffer (for blocks of tens of megabytes a fresh one means a page fault per page).
std::size_t ReplaceInPlace(std::string& text, std::string_view from, std::string_view to,
                           Searcher& searcher, std::size_t hit) {
  char* const data = text.data();
  std::size_t written = hit;  // the text before the first hit stays where it is
  std::size_t done = hit;
  std::size_t count = 0;
  while (hit != std::string::npos) {
    std::memmove(data + written, data + done, hit - done);
    written += hit - done;
    if (!to.empty()) std::memcpy(data + written, to.data(), to.size());
    written += to.size();
    done = hit + from.size();
    ++count;
    hit = searcher.Next(done);
  }
  std::memmove(data + written, data + done, text.size() - done);
  text.resize(written + text.size() - done);
  return count;
}

// The upper-case bytes a text may hold, kept a superset while rows rewrite it.
class UpperBytes {
 public:
  explicit UpperBytes(std::string_view text) { Add(text); }
  void Add(std::string_view bytes) {
    for (char c : bytes) present_[Upper(c)] = true;
  }
  bool MayHold(std::string_view pattern) const {
    for (char c : pattern) {
      if (!present_[Upper(c)]) return false;
    }
    return true;
  }

 private:
  std::array<bool, 256> present_{};
};

template <typename Replace>
void ApplyRulesThatMayMatch(std::string& text, std::span<const ReplaceRule> rules,
                            Replace replace) {
  UpperBytes present(text);
  for (const ReplaceRule& rule : rules) {
    if (present.MayHold(rule.from) && replace(text, rule) != 0) present.Add(rule.to);
  }
}

// How common a byte is in documents and expressions, in upper case: rare signs and digits 0,
// then the letters from the rarest to the most common in French, then the signs every XML
// element is made of, the space last.
int Commonness(unsigned char upper) {
  constexpr std::string_view kLettersByFrequency = "KWZXYJQHGBFVPMCDLOUNTRISAE";
  constexpr std::string_view kMarkupByFrequency = "#/<>=\" ";
  if (const std::size_t rank = kMarkupByFrequency.find(static_cast<char>(upper));
      rank != std::string_view::npos) {
    return 50 + static_cast<int>(rank);
  }
  const std::size_t rank = kLettersByFrequency.find(static_cast<char>(upper));
  return rank == std::string_view::npos ? 0 : static_cast<int>(rank) + 1;
}

bool MatchesAt(std::string_view text, std::size_t at, std::string_view pattern, Case match) {
  if (match == Case::kSensitive) return text.compare(at, pattern.size(), pattern) == 0;
  return Upper(text[at]) == Upper(pattern[0]) && MatchesRest(text.data() + at, pattern);
}

}  // namespace

std::size_t Find(std::string_view text, std::string_view pattern, std::size_t from, Case match) {
  if (from > text.size()) return std::string_view::npos;
  if (pattern.empty()) return from;
  if (match == Case::kSensitive) return text.find(pattern, from);
  return FindInsensitive(text, pattern, from);
}

Searcher::Searcher(std::string_view text, std::string_view pattern, Case match)
    : text_(text), pattern_(pattern), match_(match) {}

void Searcher::ChooseAnchor() {
  for (std::size_t k = 1; k < pattern_.size(); ++k) {
    if (Commonness(Upper(pattern_[k])) < Commonness(Upper(pattern_[anchor_]))) anchor_ = k;
  }
  const unsigned char anchor = static_cast<unsigned char>(pattern_[anchor_]);
  if (match_ == Case::kSensitive) {
    formCount_ = 1;
    forms_[0] = anchor;
  } else {
    const CaseVariants& variants = VariantsOf(base::UpperCp1252(anchor));
    formCount_ = variants.count;
    std::copy(variants.bytes, variants.bytes + variants.count, forms_);
  }
}

std::size_t Searcher::Next(std::size_t from) {
  if (pattern_.empty() || text_.size() <= kShortText) return Find(text_, pattern_, from, match_);
  if (pattern_.size() > text_.size()) return std::string_view::npos;
  const std::size_t end = text_.size() - pattern_.size() + 1;  // occurrences start before this
  if (formCount_ == 0) ChooseAnchor();
  while (from < end) {
    // The anchor byte of an occurrence at or after `from` stands at or after `from + anchor_`.
    const std::size_t anchorFrom = from + anchor_;
    const std::size_t anchorEnd = end + anchor_;
    for (int form = 0; form < formCount_; ++form) {
      if (!started_ || seen_[form] < anchorFrom) {
        seen_[form] = NextByte(text_, forms_[form], anchorFrom, anchorEnd);
      }
    }
    started_ = true;
    const std::size_t anchor = formCount_ == 2 ? std::min(seen_[0], seen_[1]) : seen_[0];
    if (anchor >= anchorEnd) break;
    const std::size_t candidate = anchor - anchor_;
    if (MatchesAt(text_, candidate, pattern_, match_)) return candidate;
    from = candidate + 1;
  }
  return std::string_view::npos;
}

std::size_t ReplaceAll(std::string& text, std::string_view from, std::string_view to, Case match) {
  if (from.empty()) return 0;
  // The searcher reads `text` as it was: replacing in place writes only behind the search.
  Searcher searcher(text, from, match);
  std::size_t hit = searcher.Next(0);
  if (hit == std::string::npos) return 0;
  if (to.size() <= from.size()) return ReplaceInPlace(text, from, to, searcher, hit);
  std::string result;
  result.reserve(text.size() + text.size() / 4);
  std::size_t done = 0;
  std::size_t count = 0;
  while (hit != std::string::npos) {
    result.append(text, done, hit - done);
    result.append(to);
    done = hit + from.size();
    ++count;
    hit = searcher.Next(done);
  }
  result.append(text, done, std::string::npos);
  text.swap(result);
  return count;
}

bool IsWholeWordAt(std::string_view text, std::size_t at, std::size_t length) {
  if (length == 0) return true;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  if (base::IsWordByte(byte(at)) && at > 0 && base::IsWordByte(byte(at - 1))) return false;
  const std::size_t after = at + length;
  return !(base::IsWordByte(byte(after - 1)) && after < text.size() &&
           base::IsWordByte(byte(after)));
}

std::size_t ReplaceWholeWords(std::string& text, std::string_view from, std::string_view to,
                              Case match) {
  if (from.empty()) return 0;
  Searcher searcher(text, from, match);
  const auto nextWholeWord = [&](std::size_t at) {
    std::size_t hit = searcher.Next(at);
    while (hit != std::string::npos && !IsWholeWordAt(text, hit, from.size())) {
      hit = searcher.Next(hit + 1);
    }
    return hit;
  };
  std::size_t hit = nextWholeWord(0);
  if (hit == std::string::npos) return 0;
  std::string result;
  result.reserve(text.size() + 16);
  std::size_t done = 0;
  std::size_t count = 0;
  while (hit != std::string::npos) {
    result.append(text, done, hit - done).append(to);
    done = hit + from.size();
    ++count;
    hit = nextWholeWord(done);
  }
  result.append(text, done, std::string::npos);
  text.swap(result);
  return count;
}

void ApplyRules(std::string& text, std::span<const ReplaceRule> rules) {
  for (const ReplaceRule& rule : rules) ReplaceAll(text, rule.from, rule.to, rule.match);
}

void ApplyRulesToShortText(std::string& text, std::span<const ReplaceRule> rules) {
  ApplyRulesThatMayMatch(text, rules, [](std::string& t, const ReplaceRule& rule) {
    return ReplaceAll(t, rule.from, rule.to, rule.match);
  });
}

void ApplyWholeWordRules(std::string& text, std::span<const ReplaceRule> rules) {
  ApplyRulesThatMayMatch(text, rules, [](std::string& t, const ReplaceRule& rule) {
    return ReplaceWholeWords(t, rule.from, rule.to, rule.match);
  });
}

}  // namespace tortuval::expr
