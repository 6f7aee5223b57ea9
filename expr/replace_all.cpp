#include "expr/replace_all.h"

#include <cstring>

#include "expr/cp1252.h"

namespace tortuval::expr {
namespace {

std::size_t FindInsensitive(std::string_view text, std::string_view pattern, std::size_t from) {
  const std::size_t patternSize = pattern.size();
  if (patternSize > text.size()) return std::string_view::npos;
  const auto first = UpperCp1252(static_cast<unsigned char>(pattern[0]));
  const std::size_t last = text.size() - patternSize;
  for (std::size_t i = from; i <= last; ++i) {
    if (UpperCp1252(static_cast<unsigned char>(text[i])) != first) continue;
    std::size_t k = 1;
    while (k < patternSize && UpperCp1252(static_cast<unsigned char>(text[i + k])) ==
                                  UpperCp1252(static_cast<unsigned char>(pattern[k]))) {
      ++k;
    }
    if (k == patternSize) return i;
  }
  return std::string_view::npos;
}

}  // namespace

std::size_t Find(std::string_view text, std::string_view pattern, std::size_t from, Case match) {
  if (from > text.size()) return std::string_view::npos;
  if (pattern.empty()) return from;
  if (match == Case::kSensitive) return text.find(pattern, from);
  return FindInsensitive(text, pattern, from);
}

std::size_t ReplaceAll(std::string& text, std::string_view from, std::string_view to, Case match) {
  if (from.empty()) return 0;
  std::size_t hit = Find(text, from, 0, match);
  if (hit == std::string::npos) return 0;
  std::string result;
  result.reserve(text.size() + (to.size() > from.size() ? text.size() / 4 : 0));
  std::size_t done = 0;
  std::size_t count = 0;
  while (hit != std::string::npos) {
    result.append(text, done, hit - done);
    result.append(to);
    done = hit + from.size();
    ++count;
    hit = Find(text, from, done, match);
  }
  result.append(text, done, std::string::npos);
  text.swap(result);
  return count;
}

void ApplyRules(std::string& text, std::span<const ReplaceRule> rules) {
  for (const ReplaceRule& rule : rules) ReplaceAll(text, rule.from, rule.to, rule.match);
}

}  // namespace tortuval::expr
