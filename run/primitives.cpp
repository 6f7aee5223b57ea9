// What the primitives that give values compute. How their inputs are read is the vocabulary's
// (logo/vocabulary.cpp); the instructions are run by the machine itself (machine.cpp).

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "base/cp1252.h"
#include "run/machine.h"
#include "run/random_draws.h"

namespace tortuval::run {
namespace {

constexpr std::size_t kMaxItems = Machine::kMaxItems;

// Words and numbers are both words to the list primitives; a number's word is its printed form.
std::string WordOf(const Value& value) { return Printed(value); }

// ---- Reads.

Value ReadNumber(Machine& machine, const Node& node, Value*, int) {
  return Value::Number(machine.ReadNumber(node));
}

// A typed word that reads as a number is kept as the number.
Value WordOrNumber(std::string word) {
  double number = 0;
  if (ParseNumber(word, number)) return Value::Number(number);
  return Value::Word(std::move(word));
}

Value ReadList(Machine& machine, const Node& node, Value*, int) {
  const std::string answer = machine.ReadAnswer(node);
  List items;
  std::size_t at = 0;
  while (at < answer.size()) {
    while (at < answer.size() && (answer[at] == ' ' || answer[at] == '\t')) ++at;
    std::size_t end = at;
    while (end < answer.size() && answer[end] != ' ' && answer[end] != '\t') ++end;
    if (end > at) items.push_back(WordOrNumber(answer.substr(at, end - at)));
    at = end;
  }
  if (!machine.AllowSize(node, items.size())) return {};
  return Value::MakeList(std::move(items));
}

// ---- Lists and words.

// A joined word is the number it reads as only when that number is written the same way: a
// piece such as "2," (of "2,75" taken apart character by character) stays a word, so that the
// next piece joined to it is not lost ("2," then "7" is "2,7", not "27").
Value JoinedWord(std::string word) {
  double number = 0;
  if (ParseNumber(word, number) && FormatNumber(number) == word) return Value::Number(number);
  return Value::Word(std::move(word));
}

// PH: the items of both inputs in one list (a word is one item).
Value Sentence(Machine& machine, const Node& node, Value* inputs, int count) {
  std::size_t size = 0;
  for (int i = 0; i < count; ++i) size += inputs[i].IsList() ? inputs[i].items().size() : 1;
  if (!machine.AllowSize(node, size)) return {};
  List items;
  items.reserve(size);
  for (int i = 0; i < count; ++i) {
    if (inputs[i].IsList()) {
      const List& more = inputs[i].items();
      items.insert(items.end(), more.begin(), more.end());
    } else {
      items.push_back(inputs[i]);
    }
  }
  return Value::MakeList(std::move(items));
}

// LISTEVARS from to count: `count` numbers evenly spaced from `from` to `to`.
Value SpacedNumbers(Machine& machine, const Node& node, Value* inputs, int) {
  const double from = machine.NumberOf(node, inputs[0]);
  const double to = machine.NumberOf(node, inputs[1]);
  const std::int64_t count = machine.CountOf(node, inputs[2]);
  if (machine.Failed() ||
      !machine.AllowSize(node,
                         static_cast<std::size_t>(std::min<std::int64_t>(count, kMaxItems + 1)))) {
    return {};
  }
  List items;
  items.reserve(static_cast<std::size_t>(count));
  for (std::int64_t i = 0; i < count; ++i) {
    const double step = count == 1 ? 0 : (to - from) / static_cast<double>(count - 1);
    items.push_back(Value::Number(from + step * static_cast<double>(i)));
  }
  return Value::MakeList(std::move(items));
}

std::size_t LengthOf(const Value& value) {
  return value.IsList() ? value.items().size() : WordOf(value).size();
}

Value Count(Machine&, const Node&, Value* inputs, int) {
  return Value::Number(static_cast<double>(LengthOf(inputs[0])));
}

// The items [from, to) of a list or the bytes of a word, as a value of the same kind.
Value Part(Machine& machine, const Node& node, const Value& value, std::size_t from,
           std::size_t to) {
  if (value.IsList()) {
    const List& items = value.items();
    machine.Charge(node, to - from);
    return Value::MakeList(List(items.begin() + static_cast<std::ptrdiff_t>(from),
                                items.begin() + static_cast<std::ptrdiff_t>(to)));
  }
  return WordOrNumber(WordOf(value).substr(from, to - from));
}

// False (the run stopped) for an empty list or word.
bool HasItems(Machine& machine, const Node& node, const Value& value,
              std::string_view primitive) {
  if (LengthOf(value) != 0) return true;
  machine.Fail(node, Message(value.IsList() ? "« %s » ne s'applique pas à une liste vide."
                                            : "« %s » ne s'applique pas à un mot vide.",
                             primitive));
  return false;
}

Value First(Machine& machine, const Node& node, Value* inputs, int) {
  if (!HasItems(machine, node, inputs[0], "premier")) return {};
  if (inputs[0].IsList()) return inputs[0].items().front();
  return Part(machine, node, inputs[0], 0, 1);
}

Value Last(Machine& machine, const Node& node, Value* inputs, int) {
  if (!HasItems(machine, node, inputs[0], "dernier")) return {};
  if (inputs[0].IsList()) return inputs[0].items().back();
  const std::size_t size = LengthOf(inputs[0]);
  return Part(machine, node, inputs[0], size - 1, size);
}

Value ButFirst(Machine& machine, const Node& node, Value* inputs, int) {
  if (!HasItems(machine, node, inputs[0], "saufpremier")) return {};
  return Part(machine, node, inputs[0], 1, LengthOf(inputs[0]));
}

// scinde L k: the list of two parts, the items before position k and those from k on
// (positions from 1, k kept between 1 and one past the end).
Value Split(Machine& machine, const Node& node, Value* inputs, int) {
  const std::size_t size = LengthOf(inputs[0]);
  double k = std::floor(machine.NumberOf(node, inputs[1]));
  if (std::isnan(k)) k = 1;
  const auto at = static_cast<std::size_t>(std::clamp(k - 1, 0.0, static_cast<double>(size)));
  return Value::MakeList(
      List{Part(machine, node, inputs[0], 0, at), Part(machine, node, inputs[0], at, size)});
}

Value Join(Machine& machine, const Node& node, Value* inputs, int) {
  const std::string first = WordOf(inputs[0]);
  const std::string second = WordOf(inputs[1]);
  if (!machine.AllowSize(node, first.size() + second.size())) return {};
  return JoinedWord(first + second);
}

Value ToWord(Machine&, const Node&, Value* inputs, int) { return Value::Word(WordOf(inputs[0])); }

Value Character(Machine& machine, const Node& node, Value* inputs, int) {
  const double code = machine.NumberOf(node, inputs[0]);
  if (code != std::floor(code) || code < 1 || code > 255) {
    machine.Fail(node,
                 Message("« caractère » attend un code de 1 à 255, pas %s.", FormatNumber(code)));
    return {};
  }
  return Value::Word(std::string(1, static_cast<char>(static_cast<int>(code))));
}

// ---- Sums and statistics of a list of numbers.

std::vector<double> NumbersOf(Machine& machine, const Node& node, const Value& value) {
  std::vector<double> numbers;
  for (const Value& item : machine.ListOf(node, value))
    numbers.push_back(machine.NumberOf(node, item));
  return numbers;
}

Value Sum(Machine& machine, const Node& node, Value* inputs, int) {
  double sum = 0;
  for (const double x : NumbersOf(machine, node, inputs[0])) sum += x;
  return Value::Number(sum);
}

Value Product(Machine& machine, const Node& node, Value* inputs, int) {
  double product = 1;
  for (const double x : NumbersOf(machine, node, inputs[0])) product *= x;
  return Value::Number(product);
}

// The variance of the population (divided by the count), as the source notation's own.
double VarianceOf(Machine& machine, const Node& node, const Value& value) {
  const std::vector<double> numbers = NumbersOf(machine, node, value);
  if (numbers.empty()) {
    machine.Fail(node, Message("La variance d'une liste vide n'existe pas."));
    return 0;
  }
  double mean = 0;
  for (const double x : numbers) mean += x;
  mean /= static_cast<double>(numbers.size());
  double sum = 0;
  for (const double x : numbers) sum += (x - mean) * (x - mean);
  return sum / static_cast<double>(numbers.size());
}

Value Variance(Machine& machine, const Node& node, Value* inputs, int) {
  return Value::Number(VarianceOf(machine, node, inputs[0]));
}

Value Deviation(Machine& machine, const Node& node, Value* inputs, int) {
  return Value::Number(std::sqrt(VarianceOf(machine, node, inputs[0])));
}

// trieitems L order: the numbers of L sorted, rising for "<", falling for ">".
Value SortItems(Machine& machine, const Node& node, Value* inputs, int) {
  std::vector<double> numbers = NumbersOf(machine, node, inputs[0]);
  machine.Charge(node, numbers.size() * 4);
  if (machine.NumberOf(node, inputs[1]) < 0) {
    std::sort(numbers.begin(), numbers.end(), std::greater<>());
  } else {
    std::sort(numbers.begin(), numbers.end());
  }
  List items;
  items.reserve(numbers.size());
  for (const double x : numbers) items.push_back(Value::Number(x));
  return Value::MakeList(std::move(items));
}

// ---- Numbers.

Value Not(Machine& machine, const Node& node, Value* inputs, int) {
  return Value::Bool(!machine.TruthOf(node, inputs[0]));
}
Value KeyPressed(Machine& machine, const Node& node, Value*, int) {
  return Value::Bool(machine.KeyPressed(node));
}

Value Power(Machine& machine, const Node& node, Value* inputs, int) {
  return Value::Number(
      std::pow(machine.NumberOf(node, inputs[0]), machine.NumberOf(node, inputs[1])));
}

// randdec a b: a real number drawn evenly in [a, b).
Value RandomReal(Machine& machine, const Node& node, Value* inputs, int) {
  const double from = machine.NumberOf(node, inputs[0]);
  const double to = machine.NumberOf(node, inputs[1]);
  return Value::Number(from + (to - from) * DrawUnit(machine.Random()));
}

// random n: a whole number from 0 to n - 1; ( random a b ): from a to b, both included.
Value RandomWhole(Machine& machine, const Node& node, Value* inputs, int count) {
  double from = 0;
  double to = 0;
  if (count == 1) {
    to = std::floor(machine.NumberOf(node, inputs[0])) - 1;
  } else {
    from = std::ceil(machine.NumberOf(node, inputs[0]));
    to = std::floor(machine.NumberOf(node, inputs[1]));
  }
  if (!(to >= from)) {  // NaN bounds too
    machine.Fail(node, Message("« random » n'a aucun nombre entier à tirer entre ses bornes."));
    return {};
  }
  // Past 2^53 a double no longer holds every whole number of the range.
  if (to - from > 9e15) {
    machine.Fail(node, Message("Trop de nombres entiers à tirer pour « random » (%s).",
                               FormatNumber(to - from + 1)));
    return {};
  }
  const auto wholes = static_cast<std::uint64_t>(to - from) + 1;
  return Value::Number(from + static_cast<double>(DrawWhole(machine.Random(), wholes)));
}

double Floor(Machine&, const Node&, double x) { return std::floor(x); }
double Round(Machine&, const Node&, double x) {
  return std::floor(x + 0.5);
}  // halves upwards, as the source
double Abs(Machine&, const Node&, double x) { return std::fabs(x); }
double Cos(Machine&, const Node&, double x) { return std::cos(x); }
double Sin(Machine&, const Node&, double x) { return std::sin(x); }
double Tan(Machine&, const Node&, double x) { return std::tan(x); }
double Arctan(Machine&, const Node&, double x) { return std::atan(x); }
double Exp(Machine&, const Node&, double x) { return std::exp(x); }

double Sqrt(Machine& machine, const Node& node, double x) {
  if (x < 0) machine.Fail(node, Message("« rac2 » d'un nombre négatif (%s).", FormatNumber(x)));
  return std::sqrt(x);
}
double Log(Machine& machine, const Node& node, double x) {
  if (x <= 0)
    machine.Fail(node, Message("« log » d'un nombre négatif ou nul (%s).", FormatNumber(x)));
  return std::log(x);
}
double Arccos(Machine& machine, const Node& node, double x) {
  if (x < -1 || x > 1)
    machine.Fail(node, Message("« arccos » d'un nombre hors de [-1 ; 1] (%s).", FormatNumber(x)));
  return std::acos(x);
}
double Arcsin(Machine& machine, const Node& node, double x) {
  if (x < -1 || x > 1)
    machine.Fail(node, Message("« arcsin » d'un nombre hors de [-1 ; 1] (%s).", FormatNumber(x)));
  return std::asin(x);
}

// What each operation of the vocabulary computes, in the order of Operation.
struct OperationRow {
  Operation operation;
  PrimitiveFunction function = nullptr;
  MathFunction math = nullptr;
};

using enum Operation;

constexpr OperationRow kOperations[] = {
    {kNone},
    {kReadNumber, ReadNumber},
    {kReadList, ReadList},
    {kSentence, Sentence},
    {kSpacedNumbers, SpacedNumbers},
    {kNot, Not},
    {kKeyPressed, KeyPressed},
    {kCount, Count},
    {kFirst, First},
    {kLast, Last},
    {kButFirst, ButFirst},
    {kSplit, Split},
    {kJoin, Join},
    {kToWord, ToWord},
    {kCharacter, Character},
    {kSum, Sum},
    {kProduct, Product},
    {kVariance, Variance},
    {kDeviation, Deviation},
    {kSortItems, SortItems},
    {kRaise, Power},
    {kRandomReal, RandomReal},
    {kRandomWhole, RandomWhole},
    {kFloor, nullptr, Floor},
    {kRound, nullptr, Round},
    {kAbs, nullptr, Abs},
    {kSqrt, nullptr, Sqrt},
    {kExp, nullptr, Exp},
    {kLog, nullptr, Log},
    {kCos, nullptr, Cos},
    {kSin, nullptr, Sin},
    {kTan, nullptr, Tan},
    {kArccos, nullptr, Arccos},
    {kArcsin, nullptr, Arcsin},
    {kArctan, nullptr, Arctan},
};

constexpr bool InOperationOrder() {
  for (std::size_t i = 0; i < std::size(kOperations); ++i) {
    if (static_cast<std::size_t>(kOperations[i].operation) != i) return false;
  }
  return std::size(kOperations) == static_cast<std::size_t>(kArctan) + 1;
}
static_assert(InOperationOrder(), "the operation rows follow Operation");

}  // namespace

PrimitiveFunction FunctionOf(Operation operation) {
  return kOperations[static_cast<std::size_t>(operation)].function;
}

MathFunction MathOf(Operation operation) {
  return kOperations[static_cast<std::size_t>(operation)].math;
}

}  // namespace tortuval::run
