#include "base/number_text.h"

#include <charconv>

namespace tortuval::base {

bool ParseNumber(std::string_view text, double& number) {
  if (text.empty() || text.size() > 64) return false;
  char buffer[65] = {};
  std::size_t length = 0;
  for (const char c : text) buffer[length++] = c == ',' ? '.' : c;
  const char* begin = buffer;
  const char* end = buffer + length;
  if (*begin == '+') return false;
  // from_chars reads "inf" and "nan" too; a number starts with a digit, a point or a minus.
  const char first = *begin == '-' && length > 1 ? begin[1] : *begin;
  if (!((first >= '0' && first <= '9') || first == '.')) return false;
  const auto [stop, error] = std::from_chars(begin, end, number);
  return error == std::errc() && stop == end;
}

}  // namespace tortuval::base
