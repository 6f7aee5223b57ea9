#include "run/value.h"

#include "base/cp1252.h"

namespace tortuval::run {

Value Value::Word(std::string text) {
  Value value(Kind::kWord, 0);
  value.shared_ = new SharedWord(std::move(text));
  return value;
}

Value Value::MakeList(List items) {
  Value value(Kind::kList, 0);
  value.shared_ = new SharedList(std::move(items));
  return value;
}

List& Value::OwnItems() {
  if (shared_->holders > 1) {
    auto* own = new SharedList(static_cast<const SharedList*>(shared_)->items);
    --shared_->holders;
    shared_ = own;
  }
  return static_cast<SharedList*>(shared_)->items;
}

void Value::Free() {
  if (kind_ == Kind::kWord) {
    delete static_cast<SharedWord*>(shared_);
  } else {
    delete static_cast<SharedList*>(shared_);
  }
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
