// The machine's lists: reading an item, replacing one, and growing a list where it is.

#include <cmath>

#include "run/machine.h"

namespace tortuval::run {
namespace {

// The largest list position a program may write: beyond it a program is running away.
constexpr double kMaxPosition = 4'194'303;

}  // namespace

// SOIT "L PH :L x: the list in L and x joined, the usual way to grow a list one item at a time.
bool Machine::AppendsToItself(const Node& node) {
  const Node& value = node.kids[0];
  return value.op == Op::kPrimitive && value.operation == Operation::kSentence &&
         value.kids.size() == 2 && value.kids[0].op == Op::kVariable &&
         logo::SameVariable(value.kids[0], node);
}

// When nothing but the variable holds its list, the list grows where it is instead of being
// copied whole at each append. Inputs are read in the same order as any call of PH; a list that
// the second input changed or shares goes the usual way.
void Machine::AppendInPlace(const Node& node) {
  const Node& join = node.kids[0];
  Value list = Eval(join.kids[0]);
  Value more = Eval(join.kids[1]);
  if (leaving_ != Leaving::kNo) return;
  AppendWith(node, std::move(list), std::move(more));
}

void Machine::AppendWith(const Node& node, Value list, Value more) {
  const Node& join = node.kids[0];
  Value& variable = Variable(node);
  if (!list.IsList() || !variable.SharesListWith(list)) {
    Value inputs[2] = {std::move(list), std::move(more)};
    Value joined = FunctionOf(Operation::kSentence)(*this, join, inputs, 2);
    if (leaving_ == Leaving::kNo) Variable(node) = std::move(joined);
    return;
  }
  // The list grows where it is: only the items added cost steps, not those already there.
  const std::size_t added = more.IsList() ? more.items().size() : 1;
  if (!AllowSize(join, list.items().size() + added, added)) return;
  variable = Value();  // the list's one other holder, so that it may grow where it is
  List& items = list.OwnItems();
  if (more.IsList()) {
    const List moreItems = more.items();  // a copy: `more` may be this very list
    items.insert(items.end(), moreItems.begin(), moreItems.end());
  } else {
    items.push_back(std::move(more));
  }
  Variable(node) = std::move(list);
}

void Machine::Replace(const Node& node) {
  Value value = Eval(node.kids[0]);
  const double index = EvalNumber(node.kids[1]);
  if (leaving_ != Leaving::kNo) return;
  ReplaceWith(node, std::move(value), index);
}

void Machine::ReplaceWith(const Node& node, Value value, double index) {
  Value& list = Variable(node);
  if (list.IsNone()) list = Value::MakeList({});
  if (!list.IsList()) {
    Fail(node, Message("« %s » n'est pas une liste.", NameOf(node)));
    return;
  }
  const std::size_t at = PositionOf(node, index, list.items().size(), true);
  if (leaving_ != Leaving::kNo) return;
  List& items = list.OwnItems();
  if (at >= items.size()) {
    Charge(node, at + 1 - items.size());
    // Positions skipped over get 0, the filler the converter itself writes before a read
    // into a list position.
    items.resize(at + 1, Value::Number(0));
  }
  items[at] = std::move(value);
}

// The place of the item at `index` (as the node counts positions) in `size` items; an error
// (and 0) when there is none.
std::size_t Machine::PositionOf(const Node& node, double index, std::size_t size,
                                bool forWrite) {
  const double at = node.position == logo::Position::kBracketedFromZero ? index : index - 1;
  if (at != std::floor(at)) {
    Fail(node, Message("La position %s n'est pas un nombre entier.", FormatNumber(index)));
    return 0;
  }
  if (at < 0 || (forWrite ? at > kMaxPosition : at >= static_cast<double>(size))) {
    Fail(node, Message("La position " + std::string(forWrite ? "" : "lue ") +
                           "%s est hors de la liste (" + FormatNumber(static_cast<double>(size)) +
                           " éléments).",
                       FormatNumber(index)));
    return 0;
  }
  return static_cast<std::size_t>(at);
}

Value Machine::Item(const Node& node) {
  const double index = EvalNumber(node.kids[1]);
  const Node& source = node.kids[0];
  // A variable's list is read where it lies, without a copy.
  if (source.op == Op::kVariable) return ItemAt(node, index, Read(source));
  return ItemAt(node, index, Eval(source));
}

Value Machine::ItemAt(const Node& node, double index, const Value& list) {
  if (leaving_ != Leaving::kNo) return {};
  if (list.IsList()) {
    const std::size_t at = PositionOf(node, index, list.items().size(), false);
    if (leaving_ != Leaving::kNo) return {};
    return list.items()[at];
  }
  const std::string word = Printed(list);
  const std::size_t at = PositionOf(node, index, word.size(), false);
  if (leaving_ != Leaving::kNo) return {};
  return Value::Word(word.substr(at, 1));
}

}  // namespace tortuval::run
