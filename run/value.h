#pragma once
// The values of a running LOGO program: numbers kept unboxed, truth values, words and lists.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/number_text.h"

namespace tortuval::run {

class Value;
using List = std::vector<Value>;

/// One value, 16 bytes. Numbers and truth values hold no memory of their own; words and lists
/// are shared and copied before a change (a list changed by "remplace" is the variable's own).
/// The count of a word's or a list's holders is not atomic: a run's values stay on its thread.
class Value {
 public:
  enum class Kind : unsigned char { kNone, kNumber, kBool, kWord, kList };

  Value() = default;
  Value(const Value& other) {
    CopyFrom(other);
    if (Shares()) ++shared_->holders;
  }
  Value(Value&& other) noexcept {
    CopyFrom(other);
    other.kind_ = Kind::kNone;
  }
  // Taken whole before what this value held is let go: the value assigned may live inside it
  // (an item of this value's own list).
  Value& operator=(const Value& other) {
    Value copy(other);
    Swap(copy);
    return *this;
  }
  Value& operator=(Value&& other) noexcept {
    Value taken(std::move(other));
    Swap(taken);
    return *this;
  }
  ~Value() { Release(); }

  static Value Number(double number) { return Value(Kind::kNumber, number); }
  static Value Bool(bool truth) { return Value(Kind::kBool, truth ? 1 : 0); }
  static Value Word(std::string text);
  static Value MakeList(List items);

  Kind kind() const { return kind_; }
  bool IsNone() const { return kind_ == Kind::kNone; }
  bool IsNumber() const { return kind_ == Kind::kNumber; }
  bool IsList() const { return kind_ == Kind::kList; }
  bool IsWord() const { return kind_ == Kind::kWord; }
  bool IsBool() const { return kind_ == Kind::kBool; }

  double number() const { return number_; }
  bool truth() const { return number_ != 0; }
  const std::string& word() const { return static_cast<const SharedWord*>(shared_)->text; }
  const List& items() const { return static_cast<const SharedList*>(shared_)->items; }
  /// The list's items, copied first when another value shares them.
  List& OwnItems();
  /// True when both values are the same list, not merely equal ones.
  bool SharesListWith(const Value& other) const {
    return kind_ == Kind::kList && other.kind_ == Kind::kList && shared_ == other.shared_;
  }

  /// Makes this value a number in place, dropping what it held.
  void SetNumber(double number) {
    Release();
    kind_ = Kind::kNumber;
    number_ = number;
  }

 private:
  // A word or a list, with the count of the values that hold it.
  struct Shared {
    std::size_t holders = 1;
  };
  struct SharedWord : Shared {
    explicit SharedWord(std::string word) : text(std::move(word)) {}
    std::string text;
  };
  struct SharedList : Shared {
    explicit SharedList(List list) : items(std::move(list)) {}
    List items;
  };

  Value(Kind kind, double number) : kind_(kind), number_(number) {}
  bool Shares() const { return kind_ > Kind::kBool; }
  void Swap(Value& other) noexcept {
    Value held;
    held.CopyFrom(*this);
    CopyFrom(other);
    other.CopyFrom(held);
    held.kind_ = Kind::kNone;
  }
  void CopyFrom(const Value& other) {
    kind_ = other.kind_;
    if (other.Shares()) {
      shared_ = other.shared_;
    } else {
      number_ = other.number_;
    }
  }
  void Release() {
    if (Shares() && --shared_->holders == 0) Free();
  }
  void Free();  // the last holder of a word or a list frees it

  Kind kind_ = Kind::kNone;
  union {
    double number_ = 0;
    Shared* shared_;
  };
};

static_assert(sizeof(Value) == 16, "a value is a kind and a number or a pointer");

using base::FormatNumber;
using base::ParseNumber;

/// Appends the printed form of a value; a list's items are separated by one space, inner lists
/// in brackets, the outer list without them.
void AppendPrinted(const Value& value, std::string& out, bool bracketLists = false);

/// The printed form of a value.
std::string Printed(const Value& value);

/// Whether two values are equal: numbers (and words that read as numbers) by value, truth
/// values with the words "vrai" and "faux", words by their bytes, lists item by item.
bool Equal(const Value& a, const Value& b);

}  // namespace tortuval::run
