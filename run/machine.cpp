#include "run/machine.h"

#include <pthread.h>

#include <chrono>
#include <cmath>

#include "base/cp1252.h"

namespace tortuval::run {
namespace {

// The most segments and points one drawing keeps.
constexpr std::size_t kMaxDrawn = std::size_t{1} << 22;
// A call needs this much native stack left, with room for what the sanitizers add.
constexpr std::size_t kStackReserve = std::size_t{256} << 10;
// The largest list position a program may write: beyond it a program is running away.
constexpr double kMaxPosition = 4'194'303;

const char* StackLimit() {
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return nullptr;
  void* address = nullptr;
  std::size_t size = 0;
  const bool known = pthread_attr_getstack(&attributes, &address, &size) == 0;
  pthread_attr_destroy(&attributes);
  if (!known || size <= 2 * kStackReserve) return nullptr;
  return static_cast<const char*>(address) + kStackReserve;
}

std::string Count(std::uint64_t number) { return FormatNumber(static_cast<double>(number)); }

}  // namespace

std::string Message(std::string_view utf8, std::string_view argument) {
  std::string text = base::Utf8ToCp1252(utf8);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, argument);
  return text;
}

Machine::Machine(const Code& code, Console& console, const RunOptions& options)
    : code_(code),
      console_(console),
      options_(options),
      globals_(code.globalNames.size()),
      stackLimit_(StackLimit()) {
  random_.seed(options.seed ? *options.seed
                            : static_cast<std::uint64_t>(
                                  std::chrono::steady_clock::now().time_since_epoch().count()));
}

void Machine::Run() {
  Exec(code_.main);
  if (returning_) Fail(Message("« rends » hors d'une procédure."));
  Flush();
}

void Machine::Fail(std::string message) const {
  throw RunStop{Outcome::kError, std::move(message), line_};
}

// ---- Conversions.

double Machine::NumberOf(const Value& value) const {
  if (value.IsNumber()) return value.number();
  double number = 0;
  if (value.IsWord() && ParseNumber(value.word(), number)) return number;
  if (value.IsNone()) Fail(Message("Une valeur manque."));
  Fail(Message("« %s » n'est pas un nombre.", Printed(value)));
}

bool Machine::TruthOf(const Value& value) const {
  if (value.IsBool()) return value.truth();
  if (value.IsNumber()) return value.number() != 0;
  if (value.IsWord()) {
    if (Equal(value, Value::Bool(true))) return true;
    if (Equal(value, Value::Bool(false))) return false;
  }
  Fail(Message("« %s » n'est ni vrai ni faux.", Printed(value)));
}

const List& Machine::ListOf(const Value& value) const {
  if (!value.IsList()) Fail(Message("« %s » n'est pas une liste.", Printed(value)));
  return value.items();
}

std::int64_t Machine::CountOf(const Value& value) const {
  const double number = NumberOf(value);
  if (!(number < 9e15)) Fail(Message("Nombre de fois trop grand (%s).", FormatNumber(number)));
  return number <= 0 ? 0 : static_cast<std::int64_t>(number);
}

// ---- Limits, output and reads.

void Machine::Tick() {
  if (++steps_ > options_.limits.maxSteps) {
    throw RunStop{Outcome::kError,
                  Message("Le programme a dépassé %s pas : il ne s'arrête pas, ou il lui faut plus "
                          "de pas.",
                          Count(options_.limits.maxSteps)),
                  line_};
  }
  if ((steps_ & 1023) == 0 && options_.stopRequested != nullptr &&
      options_.stopRequested->load(std::memory_order_relaxed)) {
    throw RunStop{Outcome::kStopped, Message("Programme arrêté."), line_};
  }
}

void Machine::Charge(std::size_t size) {
  const std::uint64_t cost = size / 16;
  if (cost == 0) return;
  steps_ += cost - 1;
  Tick();
}

// Checked and counted before the list or word is made, so that a runaway program stops before
// it takes the memory.
void Machine::AllowSize(std::size_t size) {
  if (size > kMaxItems) Fail(Message("Liste ou mot trop long (plus de 4 194 304 éléments)."));
  Charge(size);
}

void Machine::Write(std::string_view text) {
  outputBytes_ += text.size();
  if (outputBytes_ > options_.limits.maxOutputBytes) {
    Fail(Message("Le programme a écrit plus de %s octets.", Count(options_.limits.maxOutputBytes)));
  }
  output_ += text;
}

void Machine::Flush() {
  if (output_.empty()) return;
  console_.Write(output_);
  output_.clear();
}

std::string Machine::ReadAnswer() {
  Flush();
  std::optional<std::string> answer = console_.ReadAnswer(prompt_);
  if (!answer) {
    if (options_.stopRequested != nullptr && options_.stopRequested->load()) {
      throw RunStop{Outcome::kStopped, Message("Programme arrêté."), line_};
    }
    throw RunStop{Outcome::kInputExhausted, Message("Il n'y a plus de réponse à lire."), line_};
  }
  std::string text = std::move(*answer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                           text.back() == '\t')) {
    text.pop_back();
  }
  const std::size_t start = text.find_first_not_of(" \t");
  return start == std::string::npos ? std::string() : text.substr(start);
}

double Machine::RepCount() const {
  if (repCounts_.empty()) Fail(Message("« boucle » hors d'une répétition."));
  return repCounts_.back();
}

// ---- Variables.

std::string_view Machine::NameOf(const Node& node) const {
  if (node.local && procedure_ >= 0) {
    return code_.procedures[static_cast<std::size_t>(procedure_)]
        .localNames[static_cast<std::size_t>(node.slot)];
  }
  return code_.globalNames[static_cast<std::size_t>(node.slot)];
}

const Value& Machine::Read(const Node& node) {
  const Value& value = Variable(node);
  if (value.IsNone()) {
    line_ = node.line;
    Fail(Message("La variable « %s » n'a pas de valeur.", NameOf(node)));
  }
  return value;
}

// ---- Instructions.

void Machine::Exec(const Node& node) {
  if (node.op == Op::kBlock) {
    for (const Node& kid : node.kids) {
      Exec(kid);
      if (returning_) return;
    }
    return;
  }
  line_ = node.line;
  Tick();
  switch (node.op) {
    case Op::kCall:
      Call(node, false);
      return;
    case Op::kAssign: {
      const Node& kid = node.kids[0];
      if (Numeric(kid)) {
        const double number = EvalNumber(kid);
        Variable(node).SetNumber(number);
      } else if (AppendsToItself(node)) {
        AppendInPlace(node);
      } else {
        Value value = Eval(kid);
        Variable(node) = std::move(value);
      }
      return;
    }
    case Op::kDefine: {
      Value& variable = Variable(node);
      if (node.number == 0) variable = Value::Number(0);
      if (node.number == 1) variable = Value::Word("");
      if (node.number == 2) variable = Value::MakeList({});
      return;
    }
    case Op::kStep: {
      const double number = NumberOf(Read(node));
      Variable(node).SetNumber(number + node.number);
      return;
    }
    case Op::kTest:
      frame_.test = EvalTruth(node.kids[0]);
      return;
    // A TESTE inside the list of SIVRAI or SIFAUX belongs to that list: once it has run, the
    // result is the one that chose it again, so a SIFAUX after "SIVRAI [ … TESTE … ]" answers
    // the outer TESTE, as the algorithm's SINON answers its own SI around a nested one.
    case Op::kIfTrue:
      if (frame_.test) {
        Exec(node.kids[0]);
        frame_.test = true;
      }
      return;
    case Op::kIfFalse:
      if (!frame_.test) {
        Exec(node.kids[0]);
        frame_.test = false;
      }
      return;
    case Op::kIf:
      if (EvalTruth(node.kids[0])) Exec(node.kids[1]);
      return;
    case Op::kWhile:
      while (EvalTruth(node.kids[0])) {
        Exec(node.kids[1]);
        if (returning_) return;
        line_ = node.line;
        Tick();
      }
      return;
    case Op::kRepeat:
      Repeat(node);
      return;
    case Op::kPrint:
      Print(node);
      return;
    case Op::kPrompt:
      prompt_ = node.kids[0].op == Op::kConstant && node.kids[0].value.IsWord()
                    ? node.kids[0].value.word()
                    : Printed(Eval(node.kids[0]));
      return;
    case Op::kPromptEnd:
      return;
    case Op::kClearText:
      output_.clear();
      console_.ClearText();
      return;
    case Op::kReplace:
      Replace(node);
      return;
    case Op::kSegment:
    case Op::kPlot: {
      if (drawing_.segments.size() + drawing_.points.size() >= kMaxDrawn) {
        Fail(Message("Le dessin a trop d'éléments (plus de %s).", Count(kMaxDrawn)));
      }
      const Point from = PointOf(node.kids[0]);
      if (node.op == Op::kPlot) {
        drawing_.points.push_back(from);
      } else {
        drawing_.segments.push_back({from, PointOf(node.kids[1])});
      }
      drawing_.started = true;
      return;
    }
    case Op::kStartDrawing:
      Eval(node.kids[0]);
      drawing_ = Drawing();
      drawing_.started = true;
      return;
    case Op::kShowDrawing:
      if (TruthOf(Eval(node.kids[0]))) {
        drawing_.shown = true;
        Flush();
        console_.ShowDrawing(drawing_);
      }
      return;
    case Op::kReturn:
      if (depth_ == 0) Fail(Message("« %s » hors d'une procédure.", "rends"));
      returned_ = Eval(node.kids[0]);
      returning_ = true;
      return;
    case Op::kFailure:
      Fail(node.value.word());
    default:
      Fail(Message("Que faire de cette valeur ?"));
  }
}

void Machine::Print(const Node& node) {
  const Node& kid = node.kids[0];
  if (kid.op == Op::kConstant && kid.value.IsWord()) {
    Write(kid.value.word());
  } else if (kid.op != Op::kVariable && kid.op != Op::kMath && Numeric(kid)) {
    Write(FormatNumber(EvalNumber(kid)));
  } else {
    Write(Printed(Eval(kid)));
  }
  if (node.flag) {
    Write("\n");
    Flush();
  } else if (output_.size() > 4096) {
    Flush();
  }
}

// A counted loop (see the parser) runs its passes while its counter stays between its first
// value and its last one; the direction is the one its last instruction steps in.
void Machine::Repeat(const Node& node) {
  const std::int64_t count = CountOf(Eval(node.kids[0]));
  const Node& body = node.kids[1];
  repCounts_.push_back(0);
  double first = 0;
  double last = 0;
  double direction = 0;
  if (node.flag) first = NumberOf(Read(node));
  for (std::int64_t pass = 0; pass < count; ++pass) {
    if (node.flag && pass > 0) {
      const double counter = NumberOf(Read(node));
      if (direction * (counter - last) > 0) break;
    }
    repCounts_.back() = static_cast<double>(pass + 1);
    Exec(body);
    if (returning_) break;
    line_ = node.line;
    Tick();
    if (node.flag && pass == 0) {
      direction = frame_.test ? 1 : -1;
      last = first + direction * static_cast<double>(count - 1);
    }
  }
  repCounts_.pop_back();
}

// SOIT "L PH :L x: the list in L and x joined, the usual way to grow a list one item at a time.
bool Machine::AppendsToItself(const Node& node) {
  const Node& value = node.kids[0];
  return value.op == Op::kPrimitive && value.builtin->name == "PH" && value.kids.size() == 2 &&
         value.kids[0].op == Op::kVariable && value.kids[0].slot == node.slot &&
         value.kids[0].local == node.local;
}

// When nothing but the variable holds its list, the list grows where it is instead of being
// copied whole at each append. Inputs are read in the same order as any call of PH; a list that
// the second input changed or shares goes the usual way.
void Machine::AppendInPlace(const Node& node) {
  const Node& join = node.kids[0];
  Value list = Eval(join.kids[0]);
  Value more = Eval(join.kids[1]);
  line_ = join.line;
  Value& variable = Variable(node);
  if (!list.IsList() || !variable.SharesListWith(list)) {
    Value inputs[2] = {std::move(list), std::move(more)};
    variable = join.builtin->function(*this, inputs, 2);
    return;
  }
  AllowSize(list.items().size() + (more.IsList() ? more.items().size() : 1));
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
  line_ = node.line;
  Value& list = Variable(node);
  if (list.IsNone()) list = Value::MakeList({});
  if (!list.IsList()) Fail(Message("« %s » n'est pas une liste.", NameOf(node)));
  const std::size_t at = Position(node, index, list.items().size(), true);
  List& items = list.OwnItems();
  if (at >= items.size()) {
    Charge(at + 1 - items.size());
    // Positions skipped over get 0, the filler the converter itself writes before a read
    // into a list position.
    items.resize(at + 1, Value::Number(0));
  }
  items[at] = std::move(value);
}

std::size_t Machine::Position(const Node& node, double index, std::size_t size,
                              bool forWrite) const {
  const double at = node.flag ? index : index - 1;
  if (at != std::floor(at)) {
    Fail(Message("La position %s n'est pas un nombre entier.", FormatNumber(index)));
  }
  if (at < 0 || (forWrite ? at > kMaxPosition : at >= static_cast<double>(size))) {
    Fail(Message("La position " + std::string(forWrite ? "" : "lue ") +
                     "%s est hors de la liste (" + FormatNumber(static_cast<double>(size)) +
                     " éléments).",
                 FormatNumber(index)));
  }
  return static_cast<std::size_t>(at);
}

Point Machine::PointOf(const Node& node) {
  double coordinates[2] = {0, 0};
  int count = 0;
  if (node.op == Op::kPointList) {
    for (const Node& kid : node.kids) {
      const double number = EvalNumber(kid);
      if (count < 2) coordinates[count] = number;
      ++count;
    }
  } else {
    for (const Value& item : ListOf(Eval(node))) {
      const double number = NumberOf(item);
      if (count < 2) coordinates[count] = number;
      ++count;
    }
  }
  line_ = node.line;
  if (count < 2 || count > 3) {
    Fail(Message("Un point s'écrit [ x y z ] : %s coordonnées ici.",
                 Count(static_cast<std::uint64_t>(count))));
  }
  return {coordinates[0], coordinates[1]};
}

// ---- Procedures.

Value Machine::Call(const Node& node, bool valueWanted) {
  const ProcedureCode& procedure = code_.procedures[static_cast<std::size_t>(node.slot)];
  line_ = node.line;
  Tick();
  if (depth_ >= options_.limits.maxDepth ||
      (stackLimit_ != nullptr &&
       static_cast<const char*>(__builtin_frame_address(0)) < stackLimit_)) {
    Fail(Message("Trop d'appels imbriqués de « %s » : la récursion ne s'arrête pas ?",
                 procedure.name));
  }
  // The inputs go where the new frame starts: calls made while they are evaluated have
  // returned, and taken their own frames away, before the next one is pushed.
  const std::size_t base = stack_.size();
  for (const Node& kid : node.kids) {
    Value value = Eval(kid);
    stack_.push_back(std::move(value));
  }
  stack_.resize(base + static_cast<std::size_t>(procedure.localCount));
  const Frame saved = frame_;
  const int savedProcedure = procedure_;
  frame_ = Frame{base, false};
  procedure_ = node.slot;
  ++depth_;
  Exec(procedure.body);
  --depth_;
  frame_ = saved;
  procedure_ = savedProcedure;
  stack_.resize(base);
  line_ = node.line;
  if (!returning_) {
    if (valueWanted) Fail(Message("« %s » n'a pas rendu de valeur.", procedure.name));
    return Value();
  }
  returning_ = false;
  return std::move(returned_);
}

// ---- Expressions.

Value Machine::Eval(const Node& node) {
  switch (node.op) {
    case Op::kConstant:
      return node.value;
    case Op::kNumber:
      return Value::Number(node.number);
    case Op::kVariable:
      return Read(node);
    case Op::kAdd:
      if (!Numeric(node)) return Sum(node);
      [[fallthrough]];
    case Op::kNegate:
    case Op::kSubtract:
    case Op::kMultiply:
    case Op::kDivide:
    case Op::kRemainder:
    case Op::kQuotient:
    case Op::kPower:
    case Op::kMath:
      return Value::Number(EvalNumber(node));
    case Op::kEqual:
    case Op::kNotEqual:
    case Op::kLess:
    case Op::kGreater:
    case Op::kLessEqual:
    case Op::kGreaterEqual:
    case Op::kAnd:
    case Op::kOr:
      return Value::Bool(EvalTruth(node));
    case Op::kPrimitive: {
      Value inputs[4];
      int count = 0;
      for (const Node& kid : node.kids) {
        if (count == 4) break;
        inputs[count++] = Eval(kid);
      }
      line_ = node.line;
      return node.builtin->function(*this, inputs, count);
    }
    case Op::kItem:
      return Item(node);
    case Op::kPointList: {
      List items;
      for (const Node& kid : node.kids) items.push_back(Eval(kid));
      return Value::MakeList(std::move(items));
    }
    case Op::kRepCount:
      return Value::Number(RepCount());
    case Op::kCall:
      return Call(node, true);
    case Op::kFailure:
      line_ = node.line;
      Fail(node.value.word());
    default:
      line_ = node.line;
      Fail(Message("Cette instruction ne rend pas de valeur."));
  }
}

// Whether an expression gives a number without being evaluated as a value: "+" looks at what
// its variables hold, so that adding numbers keeps its fast way.
bool Machine::Numeric(const Node& node) {
  switch (node.op) {
    case Op::kNumber:
    case Op::kMath:
      return true;
    case Op::kVariable:
      return Variable(node).IsNumber();
    case Op::kAdd:
      return Numeric(node.kids[0]) && Numeric(node.kids[1]);
    default:
      return node.op >= Op::kNegate && node.op <= Op::kPower;
  }
}

// "+" adds numbers; with a word that is no number on either side it joins the two printed
// values, as the source notation does with its strings ("x = " + x, lettre + envers).
Value Machine::Sum(const Node& node) {
  const Value a = Eval(node.kids[0]);
  const Value b = Eval(node.kids[1]);
  if (a.IsNumber() && b.IsNumber()) return Value::Number(a.number() + b.number());
  double ignored = 0;
  const auto isText = [&](const Value& value) {
    return value.IsWord() && !ParseNumber(value.word(), ignored);
  };
  line_ = node.line;
  if (isText(a) || isText(b)) {
    std::string joined = Printed(a);
    std::string second = Printed(b);
    AllowSize(joined.size() + second.size());
    joined += second;
    return Value::Word(std::move(joined));
  }
  return Value::Number(NumberOf(a) + NumberOf(b));
}

Value Machine::Item(const Node& node) {
  const double index = EvalNumber(node.kids[1]);
  const Node& source = node.kids[0];
  // A variable's list is read where it lies, without a copy.
  Value held;
  const Value* list = nullptr;
  if (source.op == Op::kVariable) {
    list = &Read(source);
  } else {
    held = Eval(source);
    list = &held;
  }
  line_ = node.line;
  if (list->IsList()) {
    return list->items()[Position(node, index, list->items().size(), false)];
  }
  const std::string word = Printed(*list);
  const std::size_t at = Position(node, index, word.size(), false);
  return Value::Word(word.substr(at, 1));
}

double Machine::EvalNumber(const Node& node) {
  switch (node.op) {
    case Op::kNumber:
      return node.number;
    case Op::kVariable: {
      const Value& value = Variable(node);
      if (value.IsNumber()) return value.number();
      line_ = node.line;
      return NumberOf(Read(node));
    }
    case Op::kNegate:
      return -EvalNumber(node.kids[0]);
    case Op::kAdd:
      return EvalNumber(node.kids[0]) + EvalNumber(node.kids[1]);
    case Op::kSubtract:
      return EvalNumber(node.kids[0]) - EvalNumber(node.kids[1]);
    case Op::kMultiply:
      return EvalNumber(node.kids[0]) * EvalNumber(node.kids[1]);
    case Op::kPower:
      return std::pow(EvalNumber(node.kids[0]), EvalNumber(node.kids[1]));
    case Op::kDivide:
    case Op::kRemainder:
    case Op::kQuotient: {
      const double a = EvalNumber(node.kids[0]);
      const double b = EvalNumber(node.kids[1]);
      if (b == 0) {
        line_ = node.line;
        Fail(Message("Division par zéro."));
      }
      if (node.op == Op::kDivide) return a / b;
      return node.op == Op::kRemainder ? std::fmod(a, b) : std::trunc(a / b);
    }
    case Op::kMath: {
      const double x = EvalNumber(node.kids[0]);
      line_ = node.line;
      return node.builtin->math(*this, x);
    }
    default: {
      const Value value = Eval(node);
      line_ = node.line;
      return NumberOf(value);
    }
  }
}

bool Machine::EvalTruth(const Node& node) {
  switch (node.op) {
    case Op::kAnd:
      return EvalTruth(node.kids[0]) && EvalTruth(node.kids[1]);
    case Op::kOr:
      return EvalTruth(node.kids[0]) || EvalTruth(node.kids[1]);
    case Op::kEqual:
    case Op::kNotEqual:
    case Op::kLess:
    case Op::kGreater:
    case Op::kLessEqual:
    case Op::kGreaterEqual:
      return Compare(node);
    default: {
      const Value value = Eval(node);
      line_ = node.line;
      return TruthOf(value);
    }
  }
}

bool Machine::Compare(const Node& node) {
  const Value a = Eval(node.kids[0]);
  const Value b = Eval(node.kids[1]);
  line_ = node.line;
  if (node.op == Op::kEqual) return Equal(a, b);
  if (node.op == Op::kNotEqual) return !Equal(a, b);
  double x = 0;
  double y = 0;
  int order = 0;
  const bool numbers = (a.IsNumber() || (a.IsWord() && ParseNumber(a.word(), x))) &&
                       (b.IsNumber() || (b.IsWord() && ParseNumber(b.word(), y)));
  if (numbers) {
    if (a.IsNumber()) x = a.number();
    if (b.IsNumber()) y = b.number();
    order = x < y ? -1 : x > y ? 1 : 0;
  } else if (a.IsWord() && b.IsWord()) {
    order = a.word().compare(b.word());
  } else {
    x = NumberOf(a);
    y = NumberOf(b);
    order = x < y ? -1 : x > y ? 1 : 0;
  }
  switch (node.op) {
    case Op::kLess:
      return order < 0;
    case Op::kGreater:
      return order > 0;
    case Op::kLessEqual:
      return order <= 0 && !(numbers && (std::isnan(x) || std::isnan(y)));
    default:
      return order >= 0 && !(numbers && (std::isnan(x) || std::isnan(y)));
  }
}

}  // namespace tortuval::run
