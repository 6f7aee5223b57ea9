#include "run/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "base/cp1252.h"

namespace tortuval::run {

Value Value::Word(std::string text) {
  Value value(Kind::kWord, 0);
  value.word_ = std::make_shared<const std::string>(std::move(text));
  return value;
}

Value Value::MakeList(List items) {
  Value value(Kind::kList, 0);
  value.list_ = std::make_shared<List>(std::move(items));
  return value;
}

List& Value::OwnItems() {
  if (list_.use_count() > 1) list_ = std::make_shared<List>(*list_);
  return *list_;
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

void AppendPrinted(const Value& value, std::string& out, bool bracketLists) {
  switch (value.kind()) {
    case Value::Kind::kNone:
      break;
    case Value::Kind::kNumber:
      out += FormatNumber(value.number());
      break;
    case Value::Kind::kBool:
      out += value.truth() ? "vrai" : "faux";
      break;
    case Value::Kind::kWord:
      out += value.word();
      break;
    case Value::Kind::kList: {
      if (bracketLists) out.push_back('[');
      bool first = true;
      for (const Value& item : value.items()) {
        if (!first) out.push_back(' ');
        first = false;
        AppendPrinted(item, out, true);
      }
      if (bracketLists) out.push_back(']');
      break;
    }
  }
}

std::string Printed(const Value& value) {
  std::string out;
  AppendPrinted(value, out);
  return out;
}

namespace {

bool AsNumber(const Value& value, double& number) {
  if (value.IsNumber()) {
    number = value.number();
    return true;
  }
  return value.IsWord() && ParseNumber(value.word(), number);
}

}  // namespace

bool Equal(const Value& a, const Value& b) {
  double x = 0;
  double y = 0;
  if (AsNumber(a, x) && AsNumber(b, y)) return x == y;
  if (a.IsBool() || b.IsBool()) {
    const Value& other = a.IsBool() ? b : a;
    const bool truth = a.IsBool() ? a.truth() : b.truth();
    if (other.IsBool()) return other.truth() == truth;
    return other.IsWord() && base::EqualIgnoringCase(other.word(), truth ? "vrai" : "faux");
  }
  if (a.IsList() && b.IsList()) {
    const List& left = a.items();
    const List& right = b.items();
    if (left.size() != right.size()) return false;
    for (std::size_t i = 0; i < left.size(); ++i) {
      if (!Equal(left[i], right[i])) return false;
    }
    return true;
  }
  if (a.IsWord() && b.IsWord()) return a.word() == b.word();
  return false;
}

}  // namespace tortuval::run
