#include "run/value.h"

#include <vector>

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

// Lists inside lists are let go, printed and compared with stacks of their own, not by recursion:
// a program may nest a list a million deep, which would take as many C++ frames.

void Value::Free() {
  if (kind_ == Kind::kWord) {
    delete static_cast<SharedWord*>(shared_);
    return;
  }
  std::vector<SharedList*> unheld;  // lists whose last holder was let go, still to free
  for (auto* list = static_cast<SharedList*>(shared_); list != nullptr;) {
    for (Value& item : list->items) {
      if (item.kind_ == Kind::kList && item.shared_->holders == 1) {
        unheld.push_back(static_cast<SharedList*>(item.shared_));
        item.kind_ = Kind::kNone;  // its list is freed from `unheld`, not from here
      }
    }
    delete list;
    list = nullptr;
    if (!unheld.empty()) {
      list = unheld.back();
      unheld.pop_back();
    }
  }
}

namespace {

void AppendScalar(const Value& value, std::string& out) {
  switch (value.kind()) {
    case Value::Kind::kNone:
    case Value::Kind::kList:
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
  }
}

}  // namespace

void AppendPrinted(const Value& value, std::string& out, bool bracketLists) {
  if (!value.IsList()) return AppendScalar(value, out);
  struct Open {
    const List* items;
    std::size_t next;
  };
  std::vector<Open> open{{&value.items(), 0}};
  if (bracketLists) out.push_back('[');
  while (!open.empty()) {
    Open& list = open.back();
    if (list.next == list.items->size()) {
      open.pop_back();
      if (!open.empty() || bracketLists) out.push_back(']');
      continue;
    }
    const Value& item = (*list.items)[list.next];
    if (list.next++ > 0) out.push_back(' ');
    if (item.IsList()) {
      out.push_back('[');
      open.push_back({&item.items(), 0});  // `list` is not used after this
    } else {
      AppendScalar(item, out);
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

namespace {

// Equal for all but two lists.
bool EqualScalars(const Value& a, const Value& b) {
  double x = 0;
  double y = 0;
  if (AsNumber(a, x) && AsNumber(b, y)) return x == y;
  if (a.IsBool() || b.IsBool()) {
    const Value& other = a.IsBool() ? b : a;
    const bool truth = a.IsBool() ? a.truth() : b.truth();
    if (other.IsBool()) return other.truth() == truth;
    return other.IsWord() && base::EqualIgnoringCase(other.word(), truth ? "vrai" : "faux");
  }
  if (a.IsWord() && b.IsWord()) return a.word() == b.word();
  return false;
}

}  // namespace

bool Equal(const Value& a, const Value& b) {
  if (!a.IsList() || !b.IsList()) return EqualScalars(a, b);
  struct Pair {
    const List* left;
    const List* right;
    std::size_t next;
  };
  std::vector<Pair> open;
  const auto enter = [&open](const List& left, const List& right) {
    if (left.size() != right.size()) return false;
    open.push_back({&left, &right, 0});
    return true;
  };
  if (!enter(a.items(), b.items())) return false;
  while (!open.empty()) {
    Pair& pair = open.back();
    if (pair.next == pair.left->size()) {
      open.pop_back();
      continue;
    }
    const Value& x = (*pair.left)[pair.next];
    const Value& y = (*pair.right)[pair.next];
    ++pair.next;
    if (x.IsList() && y.IsList()) {
      if (!enter(x.items(), y.items())) return false;
    } else if (!EqualScalars(x, y)) {
      return false;
    }
  }
  return true;
}

}  // namespace tortuval::run
