#include "base/number_text.h"

#include <cmath>
#include <cstdio>

#include <fast_float/fast_float.h>

namespace tortuval::base {

std::from_chars_result ReadDecimal(const char* first, const char* last, double& number) {
  double value = 0;
  const fast_float::from_chars_result read = fast_float::from_chars(first, last, value);
  if (read.ec != std::errc()) return {read.ptr, read.ec};
  // The reader gives an infinity for a value past the largest double and zero for one below the
  // smallest: both are out of range, unless the text was zero or spelled an infinity itself.
  const bool spelledInfinity = std::isinf(value) && [&] {
    for (const char* c = first; c != read.ptr; ++c) {
      if (*c == 'i' || *c == 'I') return true;
    }
    return false;
  }();
  bool nonZeroDigit = false;
  for (const char* c = first; c != read.ptr && *c != 'e' && *c != 'E'; ++c) {
    nonZeroDigit = nonZeroDigit || (*c >= '1' && *c <= '9');
  }
  if ((std::isinf(value) && !spelledInfinity) || (value == 0 && nonZeroDigit)) {
    return {read.ptr, std::errc::result_out_of_range};
  }
  number = value;
  return {read.ptr, std::errc()};
}

bool ParseNumber(std::string_view text, double& number) {
  if (text.empty() || text.size() > 64) return false;
  char buffer[65] = {};
  std::size_t length = 0;
  for (const char c : text) buffer[length++] = c == ',' ? '.' : c;
  const char* begin = buffer;
  const char* end = buffer + length;
  if (*begin == '+') return false;
  // The reader takes "inf" and "nan" too; a number starts with a digit, a point or a minus.
  const char first = *begin == '-' && length > 1 ? begin[1] : *begin;
  if (!((first >= '0' && first <= '9') || first == '.')) return false;
  const auto [stop, error] = ReadDecimal(begin, end, number);
  return error == std::errc() && stop == end;
}

std::string FormatNumber(double number) {
  if (std::isnan(number)) return "NaN";
  if (std::isinf(number)) return number > 0 ? "Infinity" : "-Infinity";
  if (number == 0) return "0";  // also -0
  char buffer[40];
  if (number == std::floor(number) && std::fabs(number) < 1e15) {
    std::snprintf(buffer, sizeof buffer, "%.0f", number);
    return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%.15g", number);
  std::string text(buffer);
  // "1.5e-08" is written "1,5E-8": the comma of the source's decimals, the exponent as the
  // program text writes it.
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.') {
      out.push_back(',');
    } else if (c == 'e') {
      out.push_back('E');
      std::size_t at = i + 1;
      if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        if (text[at] == '-') out.push_back('-');
        ++at;
      }
      while (at + 1 < text.size() && text[at] == '0') ++at;
      out.append(text, at, std::string::npos);
      break;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace tortuval::base
