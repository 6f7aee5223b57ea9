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
      globals_(code.program.globalNames.size()),
      stackLimit_(StackLimit()) {
  random_.seed(options.seed ? *options.seed
                            : static_cast<std::uint64_t>(
                                  std::chrono::steady_clock::now().time_since_epoch().count()));
}

void Machine::Run() {
  Exec(code_.program.main);
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

// ---- Limits.

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

double Machine::RepCount() const {
  if (repCounts_.empty()) Fail(Message("« boucle » hors d'une répétition."));
  return repCounts_.back();
}

// ---- Variables.

std::string_view Machine::NameOf(const Node& node) const {
  if (node.local && procedure_ >= 0) {
    return code_.program.procedures[static_cast<std::size_t>(procedure_)]
        .localNames[static_cast<std::size_t>(node.slot)];
  }
  return code_.program.globalNames[static_cast<std::size_t>(node.slot)];
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
  if (options_.observer != nullptr && options_.observer->watching.load(std::memory_order_relaxed))
      [[unlikely]] {
    Observe(node);
  }
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
      prompt_ = node.kids[0].op == Op::kConstant && !node.kids[0].flag
                    ? node.kids[0].text
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
      Fail(node.text);
    default:
      Fail(Message("Que faire de cette valeur ?"));
  }
}

void Machine::Print(const Node& node) {
  const Node& kid = node.kids[0];
  if (kid.op == Op::kConstant && !kid.flag) {
    Write(kid.text);
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
  const logo::Procedure& procedure = code_.program.procedures[static_cast<std::size_t>(node.slot)];
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

}  // namespace tortuval::run
