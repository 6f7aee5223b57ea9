#pragma once
// The values of a running LOGO program: numbers kept unboxed, truth values, words and lists.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/number_text.h"

namespace tortuval::run {

class Value;
using List = std::vector<Value>;

/// One value. Numbers and truth values hold no memory of their own; words and lists are shared
/// and copied before a change (a list changed by "remplace" is the variable's own).
class Value {
 public:
  enum class Kind : unsigned char { kNone, kNumber, kBool, kWord, kList };

  Value() = default;
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
  const std::string& word() const { return *word_; }
  const List& items() const { return *list_; }
  /// The list's items, copied first when another value shares them.
  List& OwnItems();
  /// True when both values are the same list, not merely equal ones.
  bool SharesListWith(const Value& other) const { return list_ != nullptr && list_ == other.list_; }

  /// Makes this value a number in place, dropping what it held.
  void SetNumber(double number) {
    if (kind_ > Kind::kBool) *this = Value();
    kind_ = Kind::kNumber;
    number_ = number;
  }

 private:
  Value(Kind kind, double number) : kind_(kind), number_(number) {}

  Kind kind_ = Kind::kNone;
  double number_ = 0;
  std::shared_ptr<const std::string> word_;
  std::shared_ptr<List> list_;
};

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
