#include "expr/numeric.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

#include "base/number_text.h"

namespace tortuval::expr {
namespace {

constexpr std::size_t kNone = std::string::npos;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsCapitalHexLetter(char c) { return c >= 'A' && c <= 'F'; }

bool AllDigits(std::string_view text) { return std::all_of(text.begin(), text.end(), IsDigit); }

bool AllHexDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return IsDigit(c) || IsCapitalHexLetter(c); });
}

bool EraseFirst(std::string& text, char c) {
  const std::size_t at = text.find(c);
  if (at == kNone) return false;
  text.erase(at, 1);
  return true;
}

void EraseAll(std::string& text, char c) { std::erase(text, c); }

// B is the text behind its sign and "$", upper-cased (a to z only).
bool IsDecimalBody(const std::string& b) {
  // Every mark may appear once: with one of each taken out, only digits may remain.
  std::string t = b;
  EraseFirst(t, 'E');
  EraseAll(t, ' ');
  EraseFirst(t, '+');
  EraseFirst(t, '-');
  EraseFirst(t, ',');
  EraseFirst(t, '.');
  if (t.empty() || t.find_first_of(",.E") != kNone) return false;
  if (!AllDigits(t)) return false;

  // The marks must also stand in their places: separator in the mantissa, sign behind the "E".
  std::string_view mantissa = b;
  std::string_view exponent;
  if (const std::size_t at = b.find("E+"); at != kNone) {
    mantissa = mantissa.substr(0, at);
    exponent = std::string_view(b).substr(at + 2);
  } else if (const std::size_t at = b.find("E-"); at != kNone) {
    mantissa = mantissa.substr(0, at);
    exponent = std::string_view(b).substr(at + 2);
  } else if (const std::size_t at = b.find('E'); at != kNone) {
    mantissa = mantissa.substr(0, at);
    exponent = std::string_view(b).substr(at + 1);
  }
  if (!AllDigits(exponent)) return false;
  std::string digits(mantissa);
  if (!EraseFirst(digits, ',')) EraseFirst(digits, '.');
  return AllDigits(digits);
}

bool IsHexBody(const std::string& b) {
  std::string t = b;
  EraseAll(t, ' ');
  EraseFirst(t, ',');
  EraseFirst(t, '.');
  if (t.empty() || t.find_first_of(",.") != kNone) return false;
  if (!AllHexDigits(t)) return false;
  std::string digits = b;
  if (!EraseFirst(digits, ',')) EraseFirst(digits, '.');
  return AllHexDigits(digits);
}

int HexDigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

// Hexadecimal digits with an optional "," or "." and hexadecimal fraction digits.
double HexValue(std::string_view body) {
  double value = 0.0;
  std::size_t i = 0;
  for (; i < body.size() && body[i] != ',' && body[i] != '.'; ++i) {
    value = value * 16.0 + HexDigitValue(body[i]);
  }
  double scale = 1.0 / 16.0;
  for (++i; i < body.size(); ++i) {
    value += HexDigitValue(body[i]) * scale;
    scale /= 16.0;
  }
  return value;
}

std::string_view TakeDigits(std::string_view text, std::size_t& at) {
  const std::size_t start = at;
  while (at < text.size() && IsDigit(text[at])) ++at;
  return text.substr(start, at - start);
}

// Digits, an optional "," or "." and digits, an optional exponent; empty digit runs count as 0.
// The value is read by base::ReadDecimal from a normalised copy ("12.5e-3"), which no locale
// setting can disturb.
double DecimalValue(std::string_view body) {
  std::size_t at = 0;
  const std::string_view whole = TakeDigits(body, at);
  std::string_view fraction;
  if (at < body.size() && (body[at] == ',' || body[at] == '.')) {
    ++at;
    fraction = TakeDigits(body, at);
  }
  bool negativeExponent = false;
  std::string_view exponent;
  if (at < body.size() && (body[at] == 'E' || body[at] == 'e')) {
    ++at;
    if (at < body.size() && (body[at] == '+' || body[at] == '-'))
      negativeExponent = body[at++] == '-';
    exponent = TakeDigits(body, at);
  }
  exponent.remove_prefix(std::min(exponent.size(), exponent.find_first_not_of('0')));
  // Beyond nine digits the exponent is out of any double's reach either way.
  constexpr std::string_view kHugeExponent = "999999999";
  if (exponent.size() > kHugeExponent.size()) exponent = kHugeExponent;

  std::string normal;
  normal.reserve(whole.size() + fraction.size() + exponent.size() + 6);
  normal.append(whole.empty() ? "0" : whole).push_back('.');
  normal.append(fraction.empty() ? "0" : fraction).push_back('e');
  if (negativeExponent) normal.push_back('-');
  normal.append(exponent.empty() ? "0" : exponent);

  double value = 0.0;
  const auto [end, error] = base::ReadDecimal(normal.data(), normal.data() + normal.size(), value);
  if (error != std::errc::result_out_of_range) return value;

  // Out of range: the place of the first significant digit tells overflow from underflow.
  const std::string digits = std::string(whole).append(fraction);
  const std::size_t firstSignificant = digits.find_first_not_of('0');
  if (firstSignificant == kNone) return 0.0;
  long long magnitude =
      static_cast<long long>(whole.size()) - static_cast<long long>(firstSignificant);
  long long exponentValue = 0;
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), exponentValue);
  magnitude += negativeExponent ? -exponentValue : exponentValue;
  return magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

}  // namespace

bool IsNumber(std::string_view text) {
  if (text.empty()) return false;
  std::size_t start = 0;
  bool hex = false;
  if (text[0] == '-' || text[0] == '+') {
    start = 1;
    if (text.size() >= 2 && text[1] == '$') {
      hex = true;
      start = 2;
    }
  } else if (text[0] == '$') {
    hex = true;
    start = 1;
  }
  if (text.size() <= start) return false;

  std::string b(text.substr(start));
  for (char& c : b) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return hex ? IsHexBody(b) : IsDecimalBody(b);
}

double NumberValue(std::string_view text) {
  if (!IsNumber(text)) return 0.0;
  const bool negative = text[0] == '-';
  if (text[0] == '-' || text[0] == '+') text.remove_prefix(1);
  const double magnitude = text[0] == '$' ? HexValue(text.substr(1)) : DecimalValue(text);
  return negative ? -magnitude : magnitude;
}

}  // namespace tortuval::expr
