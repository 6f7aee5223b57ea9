#include "run/machine.h"

#include <chrono>
#include <cmath>

#include "base/cp1252.h"

namespace tortuval::run {
namespace {

std::string Count(std::uint64_t number) { return FormatNumber(static_cast<double>(number)); }

// A constant's value: its word, or the list written in the program with its words, numbers and
// lists.
Value ConstantOf(const Node& node) {
  if (!node.isList) return Value::Word(node.text);
  List items;
  items.reserve(node.kids.size());
  for (const Node& kid : node.kids) {
    items.push_back(kid.op == Op::kNumber ? Value::Number(kid.number) : ConstantOf(kid));
  }
  return Value::MakeList(std::move(items));
}

// Each constant's value is made once, before the run, at the number the reader gave it.
void MakeConstants(const Node& node, std::vector<Value>& constants) {
  if (node.op == Op::kConstant) {
    constants[static_cast<std::size_t>(node.constant)] = ConstantOf(node);
    return;
  }
  for (const Node& kid : node.kids) MakeConstants(kid, constants);
}

}  // namespace

std::string Message(std::string_view utf8, std::string_view argument) {
  std::string text = base::Utf8ToCp1252(utf8);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, argument);
  return text;
}

Machine::Machine(const logo::Program& program, Console& console, const RunOptions& options)
    : program_(program),
      console_(console),
      options_(options),
      constants_(static_cast<std::size_t>(program_.constantCount)),
      globals_(program_.globalNames.size()) {
  MakeConstants(program_.main, constants_);
  for (const logo::Procedure& procedure : program_.procedures) {
    MakeConstants(procedure.body, constants_);
  }
  random_.seed(options.seed ? *options.seed
                            : static_cast<std::uint64_t>(
                                  std::chrono::steady_clock::now().time_since_epoch().count()));
}

void Machine::Run() {
  if (program_.main.callsOrWaits && options_.callsOnThreadStack <= 0) {
    tasks_.push_back({&program_.main, Want::kRun, 0, 0});
    RunTasks(0);
  } else {
    Exec(program_.main);
  }
  if (leaving_ == Leaving::kStop) return;
  Flush();
}

void Machine::Fail(const Node& at, std::string message) {
  if (leaving_ == Leaving::kStop) return;
  leaving_ = Leaving::kStop;
  stop_ = RunStop{Outcome::kError, std::move(message), &at};
}

void Machine::Stop(const Node& at) {
  if (leaving_ == Leaving::kStop) return;
  leaving_ = Leaving::kStop;
  stop_ = RunStop{Outcome::kStopped, Message("Programme arrêté."), &at};
}

std::vector<int> Machine::CallLines() const {
  const std::size_t open = supportCall_ != nullptr ? supportCallDepth_ : calls_.size();
  std::vector<int> lines;
  lines.reserve(open);
  for (std::size_t i = 0; i < open; ++i) lines.push_back(calls_[i].call->line);
  return lines;
}

// ---- Conversions.

double Machine::NumberOf(const Node& at, const Value& value) {
  if (value.IsNumber()) return value.number();
  double number = 0;
  if (value.IsWord() && ParseNumber(value.word(), number)) return number;
  if (value.IsNone()) {
    Fail(at, Message("Une valeur manque."));
  } else {
    Fail(at, Message("« %s » n'est pas un nombre.", Printed(value)));
  }
  return 0;
}

bool Machine::TruthOf(const Node& at, const Value& value) {
  if (value.IsBool()) return value.truth();
  if (value.IsNumber()) return value.number() != 0;
  if (value.IsWord()) {
    if (Equal(value, Value::Bool(true))) return true;
    if (Equal(value, Value::Bool(false))) return false;
  }
  Fail(at, Message("« %s » n'est ni vrai ni faux.", Printed(value)));
  return false;
}

const List& Machine::ListOf(const Node& at, const Value& value) {
  if (value.IsList()) return value.items();
  static const List kNoItems;
  Fail(at, Message("« %s » n'est pas une liste.", Printed(value)));
  return kNoItems;
}

std::int64_t Machine::CountOf(const Node& at, const Value& value) {
  const double number = NumberOf(at, value);
  if (!(number < 9e15)) {
    Fail(at, Message("Nombre de fois trop grand (%s).", FormatNumber(number)));
    return 0;
  }
  return number <= 0 ? 0 : static_cast<std::int64_t>(number);
}

// ---- Limits.

void Machine::TickLimits(const Node& at) {
  if (steps_ > options_.limits.maxSteps) {
    Fail(at, Message("Le programme a dépassé %s pas : il ne s'arrête pas, ou il lui faut plus "
                     "de pas.",
                     Count(options_.limits.maxSteps)));
  }
  if ((steps_ & 1023) == 0 && options_.stopRequested != nullptr &&
      options_.stopRequested->load(std::memory_order_relaxed)) {
    Stop(at);
  }
}

void Machine::Charge(const Node& at, std::size_t size) {
  const std::uint64_t cost = size / 16;
  if (cost == 0) return;
  steps_ += cost - 1;
  Tick(at);
}

// Checked and counted before the list or word is made, so that a runaway program stops before
// it takes the memory.
bool Machine::AllowSize(const Node& at, std::size_t size, std::size_t made) {
  if (size > kMaxItems) {
    Fail(at, Message("Liste ou mot trop long (plus de 4 194 304 éléments)."));
    return false;
  }
  Charge(at, made);
  return leaving_ != Leaving::kStop;
}

// ---- Variables.

std::string_view Machine::NameOf(const Node& node) const {
  if (node.local && procedure_ >= 0) {
    return program_.procedures[static_cast<std::size_t>(procedure_)]
        .localNames[static_cast<std::size_t>(node.variable)];
  }
  return program_.globalNames[static_cast<std::size_t>(node.variable)];
}

const Value& Machine::Read(const Node& node) {
  const Value& value = Variable(node);
  if (value.IsNone()) Fail(node, Message("La variable « %s » n'a pas de valeur.", NameOf(node)));
  return value;
}

// ---- Instructions.

// The observer's turn before an instruction: its time to run (a page gives itself time there),
// and the stop it makes while watching.
void Machine::ObserveBefore(const Node& node) {
  // Only here, between instructions, does the observer get the thread: a front end that waits
  // there (a page) has no other place in the run to come back to.
  if (instructionsUntilWhileRunning_ == 0) {
    instructionsUntilWhileRunning_ = kInstructionsWhileRunning;
    Flush();
    options_.observer->WhileRunning(*this);
  }
  if (options_.observer->watching.load(std::memory_order_relaxed)) Observe(node);
}

void Machine::Exec(const Node& node) {
  if (node.op == Op::kBlock) {
    for (const Node& kid : node.kids) {
      Exec(kid);
      if (leaving_ != Leaving::kNo) return;
    }
    return;
  }
  if (!Begin(node)) return;
  switch (node.op) {
    case Op::kAssign:
      Assign(node);
      return;
    case Op::kDefine:
      Define(node);
      return;
    case Op::kStep:
      Step(node);
      return;
    case Op::kTest: {
      const bool tested = EvalTruth(node.kids[0]);
      if (leaving_ == Leaving::kNo) frame_.test = tested;
      return;
    }
    case Op::kIfTrue:
      IfTested(node, true);
      return;
    case Op::kIfFalse:
      IfTested(node, false);
      return;
    case Op::kIf:
      if (EvalTruth(node.kids[0]) && leaving_ == Leaving::kNo) Exec(node.kids[1]);
      return;
    case Op::kWhile:
      While(node);
      return;
    case Op::kRepeat:
      Repeat(node);
      return;
    case Op::kPrint:
      Print(node);
      return;
    case Op::kPrompt:
      Prompt(node);
      return;
    case Op::kPromptEnd:
      return;
    case Op::kClearText:
      ClearText();
      return;
    case Op::kReplace:
      Replace(node);
      return;
    case Op::kSegment:
    case Op::kPlot:
      Draw(node);
      return;
    case Op::kStartDrawing:
      Eval(node.kids[0]);
      StartDrawing(node);
      return;
    case Op::kShowDrawing:
      ShowDrawing(node, Eval(node.kids[0]));
      return;
    case Op::kReturn:
      Return(node);
      return;
    case Op::kFailure:
      Fail(node, node.text);
      return;
    case Op::kCall:
      Call(node, false);
      return;
    case Op::kBlock:  // run above, kid by kid
      return;
    // A value where an instruction is expected.
    case Op::kConstant:
    case Op::kNumber:
    case Op::kTruth:
    case Op::kVariable:
    case Op::kNegate:
    case Op::kAdd:
    case Op::kSubtract:
    case Op::kMultiply:
    case Op::kDivide:
    case Op::kRemainder:
    case Op::kQuotient:
    case Op::kPower:
    case Op::kEqual:
    case Op::kNotEqual:
    case Op::kLess:
    case Op::kGreater:
    case Op::kLessEqual:
    case Op::kGreaterEqual:
    case Op::kAnd:
    case Op::kOr:
    case Op::kMath:
    case Op::kPrimitive:
    case Op::kItem:
    case Op::kPointList:
    case Op::kRepCount:
      Fail(node, Message("Que faire de cette valeur ?"));
      return;
  }
}

void Machine::Assign(const Node& node) {
  const Node& kid = node.kids[0];
  if (Numeric(kid)) {
    const double number = EvalNumber(kid);
    if (leaving_ == Leaving::kNo) Variable(node).SetNumber(number);
  } else if (AppendsToItself(node)) {
    AppendInPlace(node);
  } else {
    Value value = Eval(kid);
    if (leaving_ == Leaving::kNo) Variable(node) = std::move(value);
  }
}

void Machine::Define(const Node& node) {
  Value& variable = Variable(node);
  switch (node.declaredType) {
    case logo::DeclaredType::kNumber:
      variable = Value::Number(0);
      return;
    case logo::DeclaredType::kWord:
      variable = Value::Word("");
      return;
    case logo::DeclaredType::kList:
      variable = Value::MakeList({});
      return;
    case logo::DeclaredType::kOther:
      return;
  }
}

void Machine::Step(const Node& node) {
  const double number = NumberOf(node, Read(node));
  if (leaving_ == Leaving::kNo) Variable(node).SetNumber(number + static_cast<double>(node.step));
}

// A TESTE inside the list of SIVRAI or SIFAUX belongs to that list: once it has run, the result
// is the one that chose it again, so a SIFAUX after "SIVRAI [ … TESTE … ]" answers the outer
// TESTE, as the algorithm's SINON answers its own SI around a nested one.
void Machine::IfTested(const Node& node, bool tested) {
  if (frame_.test != tested) return;
  Exec(node.kids[0]);
  if (leaving_ == Leaving::kNo) frame_.test = tested;
}

void Machine::While(const Node& node) {
  while (EvalTruth(node.kids[0]) && leaving_ == Leaving::kNo) {
    ExecBody(node.kids[1]);
    if (leaving_ != Leaving::kNo) return;
    Tick(node);
    if (leaving_ != Leaving::kNo) return;
    if (Watched()) [[unlikely]] ObserveTurn(node);
  }
}

// A counted loop (see the reader) runs its passes while its counter stays between its first
// value and its last one; the direction is the one its last instruction steps in.
void Machine::Repeat(const Node& node) {
  const std::int64_t count = CountOf(node.kids[0], Eval(node.kids[0]));
  const Node& body = node.kids[1];
  double first = 0;
  double last = 0;
  double direction = 0;
  if (node.countedLoop) first = NumberOf(node, Read(node));
  if (leaving_ != Leaving::kNo) return;
  repCounts_.push_back(0);
  for (std::int64_t pass = 0; pass < count; ++pass) {
    if (node.countedLoop && pass > 0) {
      const double counter = NumberOf(node, Read(node));
      if (direction * (counter - last) > 0 || leaving_ != Leaving::kNo) break;
    }
    if (pass > 0 && Watched()) [[unlikely]] {
      ObserveTurn(node);
      if (leaving_ != Leaving::kNo) break;
    }
    repCounts_.back() = static_cast<double>(pass + 1);
    ExecBody(body);
    if (leaving_ != Leaving::kNo) break;
    Tick(node);
    if (leaving_ != Leaving::kNo) break;
    if (node.countedLoop && pass == 0) {
      direction = frame_.test ? 1 : -1;
      last = first + direction * static_cast<double>(count - 1);
    }
  }
  repCounts_.pop_back();
}

void Machine::Return(const Node& node) {
  if (calls_.empty()) {
    Fail(node, Message("« %s » hors d'une procédure.", "rends"));
    return;
  }
  Value value = Eval(node.kids[0]);
  if (leaving_ != Leaving::kNo) return;
  returned_ = std::move(value);
  leaving_ = Leaving::kReturn;
}

}  // namespace tortuval::run
