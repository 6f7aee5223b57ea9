#include "logo/names.h"

#include "base/cp1252.h"

namespace tortuval::logo {

void WordKey(std::string_view word, std::string& key) {
  key.clear();
  bool blank = false;
  for (const char c : word) {
    if (c == ' ' || c == '\t') {
      blank = true;
      continue;
    }
    if (blank && !key.empty()) key.push_back(' ');
    blank = false;
    key.push_back(static_cast<char>(base::UpperCp1252(static_cast<unsigned char>(c))));
  }
}

std::uint32_t Names::Intern(std::string_view text) {
  if (const auto found = numbers_.find(text); found != numbers_.end()) return found->second;
  const auto number = static_cast<std::uint32_t>(texts_.size());
  texts_.emplace_back(text);
  numbers_.emplace(texts_.back(), number);
  return number;
}

std::uint32_t Names::InternWord(std::string_view word) {
  if (const auto found = spellings_.find(word); found != spellings_.end()) return found->second;
  WordKey(word, key_);
  const std::uint32_t number = Intern(key_);
  spellings_.emplace(word, number);
  return number;
}

std::uint32_t Names::Find(std::string_view text) const {
  const auto found = numbers_.find(text);
  return found == numbers_.end() ? kNoName : found->second;
}

}  // namespace tortuval::logo
