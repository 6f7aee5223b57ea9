#pragma once
// The state of one run and the evaluator over the tree: variables in slots, the frames of the
// procedure calls, the output, the reads, the drawing and the limits.

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "logo/tree.h"
#include "run/runtime.h"
#include "run/value.h"

namespace tortuval::run {

using logo::Node;
using logo::Op;
using logo::Operation;

class Machine;

/// A primitive that computes a value from its inputs (count of them at `inputs`); `at` is its
/// node, where the run stops when it fails.
using PrimitiveFunction = Value (*)(Machine& machine, const Node& at, Value* inputs, int count);
/// A primitive of one number; it may stop the run through the machine, at its node `at`.
using MathFunction = double (*)(Machine& machine, const Node& at, double x);

/// What the runtime computes for an operation of the vocabulary.
PrimitiveFunction FunctionOf(Operation operation);
MathFunction MathOf(Operation operation);

/// Why a run stopped before its end: recorded once, where it happens; the run then leaves every
/// instruction and call open, and RunProgram reports it.
struct RunStop {
  Outcome outcome;
  std::string message;  ///< Windows-1252
  const Node* at;       ///< the node being run or computed when it stopped
};

/// A French message (UTF-8 in the source) in Windows-1252, with "%s" replaced by `argument`
/// (already Windows-1252).
std::string Message(std::string_view utf8, std::string_view argument = {});

/// Runs one program read. Each way a run stops names the node `at` where it stops: the
/// instruction or expression being run.
///
/// The program runs straight through, by the C++ functions below, while the calls open are few
/// (RunOptions::callsOnThreadStack): the program's text bounds how deep each call's own C++
/// frames go. A deeper call, and every node that holds a call or a wait for the user inside it,
/// runs as tasks on stacks the machine keeps in memory (machine_tasks.cpp), with the evaluation
/// pending around each call: how deep a recursion goes is bounded by that memory
/// (Limits::maxCallBytes), not by the thread's stack. A stop, an error or a "rends" is a state
/// (`leaving_`) that every instruction and task looks at before going on: no C++ exception
/// travels through a run.
class Machine : public RunState {
 public:
  /// The program read is neither changed nor copied: it must outlive the machine.
  Machine(const logo::Program& program, Console& console, const RunOptions& options);

  /// Runs the main instructions, to their end or to the first stop (see Stopped()).
  void Run();
  /// Why the run stopped before its end; null when it completed.
  const RunStop* Stopped() const { return leaving_ == Leaving::kStop ? &stop_ : nullptr; }
  /// Whether the run is stopping: what a computation gives then is not used.
  bool Failed() const { return leaving_ == Leaving::kStop; }

  /// Stops the run with an error at `at`; the first stop is the one kept.
  void Fail(const Node& at, std::string message);

  /// The value as a number (a word that reads as one too), else an error and 0.
  double NumberOf(const Node& at, const Value& value);
  /// The value as a truth value (vrai, faux, a number other than 0), else an error and false.
  bool TruthOf(const Node& at, const Value& value);
  /// The value as a list, else an error and the empty list.
  const List& ListOf(const Node& at, const Value& value);
  /// The value as a whole number for a count, else an error and 0.
  std::int64_t CountOf(const Node& at, const Value& value);

  /// The answer to a read, with the current prompt; stops the run when none comes.
  std::string ReadAnswer(const Node& at);
  /// A number read: an answer that is not a number is refused and asked again.
  double ReadNumber(const Node& at);
  /// "touche?", as the console tells it.
  bool KeyPressed(const Node& at);
  /// Counts work proportional to `size` (items or bytes made) against the step budget.
  void Charge(const Node& at, std::size_t size);
  /// Checks that a list or word of `size` items or bytes may be made, and charges for the `made`
  /// of them that are new (all of them unless told); false (the run stopped) when it may not.
  bool AllowSize(const Node& at, std::size_t size) { return AllowSize(at, size, size); }
  bool AllowSize(const Node& at, std::size_t size, std::size_t made);
  /// The longest list or word a program may make: beyond it a program is running away.
  static constexpr std::size_t kMaxItems = std::size_t{1} << 22;
  std::mt19937_64& Random() { return random_; }

  const Drawing& drawing() const { return drawing_; }
  std::uint64_t steps() const { return steps_; }
  /// Hands the output kept so far to the console.
  void Flush();

  std::vector<WatchedVariable> Variables() const override;
  const Drawing& DrawingSoFar() const override { return drawing_; }
  std::uint64_t DrawingChanges() const override { return drawingChanges_; }
  int CallDepth() const override { return static_cast<int>(calls_.size()); }
  int LineRun() const override { return lineRun_; }

  /// The call, in the program's own code, of the support procedure being run; null outside one.
  /// A support procedure runs as one instruction of its caller: a stop inside it is the call's.
  const Node* SupportCall() const { return supportCall_; }
  /// The name of the procedure that SupportCall calls.
  const std::string& ProcedureName(const Node& call) const {
    return program_.procedures[static_cast<std::size_t>(call.procedure)].name;
  }
  /// The lines of the calls open now, outermost first; a support procedure's own calls left out.
  std::vector<int> CallLines() const;

 private:
  struct Frame {
    std::size_t base = 0;
    bool test = false;
  };
  // What makes the run leave the instructions it is in.
  enum class Leaving : std::uint8_t {
    kNo,
    kReturn,  // "rends": up to the procedure's call, which takes `returned_`
    kStop,    // an error or a stop: the whole run, `stop_` telling why
  };

  // ---- Instructions run straight through (machine.cpp; the console's in machine_console.cpp,
  // the drawing's in machine_drawing.cpp, the lists' in machine_lists.cpp).
  void Exec(const Node& node);
  // A loop's body: its instructions run from the loop itself, one call fewer at each turn.
  void ExecBody(const Node& body) {
    if (body.op != Op::kBlock) return Exec(body);
    for (const Node& kid : body.kids) {
      Exec(kid);
      if (leaving_ != Leaving::kNo) return;
    }
  }
  // What every instruction does before it runs: its step counted, the observer told; false when
  // the run stops there.
  bool Begin(const Node& node) {
    Tick(node);
    if (options_.observer != nullptr) [[unlikely]] {
      if (--instructionsUntilWhileRunning_ == 0 ||
          options_.observer->watching.load(std::memory_order_relaxed)) [[unlikely]] {
        ObserveBefore(node);
      }
      lineRun_ = node.line;  // only an observer asks for it
    }
    return leaving_ != Leaving::kStop;
  }
  void ObserveBefore(const Node& node);
  void Assign(const Node& node);
  void Define(const Node& node);
  void Step(const Node& node);
  void IfTested(const Node& node, bool tested);
  void While(const Node& node);
  void Repeat(const Node& node);
  void Return(const Node& node);
  void Print(const Node& node);
  void PrintText(const Node& node, std::string_view text);
  void Prompt(const Node& node);
  void ClearText();
  bool MayDraw(const Node& node);
  void Draw(const Node& node);
  void AddDrawn(const Node& node, Point from, Point to);
  void StartDrawing(const Node& node);
  void ShowDrawing(const Node& node, const Value& shown);
  void AppendInPlace(const Node& node);
  void AppendWith(const Node& node, Value list, Value more);
  bool AppendsToItself(const Node& node);
  void Replace(const Node& node);
  void ReplaceWith(const Node& node, Value value, double index);

  // ---- Expressions computed straight through (machine_expressions.cpp; Item in
  // machine_lists.cpp, PointOf in machine_drawing.cpp), and what they share with the tasks.
  Value Eval(const Node& node);
  double EvalNumber(const Node& node);
  bool EvalTruth(const Node& node);
  bool Numeric(const Node& node);
  Value Primitive(const Node& node);
  Value Item(const Node& node);
  Value ItemAt(const Node& node, double index, const Value& list);
  double RepCount(const Node& node);
  Point PointOf(const Node& node);
  Point PointOfValue(const Node& node, const Value& list);
  Point PointOfList(const Node& node, const double* coordinates, int count);
  Value SumOf(const Node& node, const Value& a, const Value& b);
  double Arithmetic(const Node& node, double a, double b);
  bool CompareValues(const Node& node, const Value& a, const Value& b);

  // ---- The nodes that hold a call or a wait, run as tasks (machine_tasks.cpp, expressions in
  // machine_task_expressions.cpp).
  // How a task's node is wanted: run as an instruction, computed as Eval, EvalNumber, EvalTruth
  // or PointOf would compute it, or computed as Eval for the "rends" whose place it took.
  enum class Want : std::uint8_t { kRun, kValue, kNumber, kTruth, kPoint, kReturn };
  // The stages of a call's task.
  enum : std::uint8_t { kCallStart, kCallBegun, kCallInputs, kCallInputComputed, kCallBodyRun };
  struct Task {
    const Node* node;
    Want want;
    std::uint8_t stage;   // how far the node has come
    std::uint32_t count;  // a block's next instruction, the inputs computed so far
  };
  // An open call of a user procedure: what its end gives back to its caller.
  struct CallRecord {
    const Node* call;
    Frame callerFrame;
    int callerProcedure;
    bool entersSupport;
    std::uint32_t tasks;      // the call's own task is tasks_[tasks - 1]
    std::uint32_t values;     // values_ before it
    std::uint32_t repCounts;  // repCounts_ before it
    std::uint32_t loops;      // loops_ before it
  };
  struct Loop {  // a REPETE run as a task
    std::int64_t count;
    std::int64_t pass;
    double first;
    double last;
    double direction;
  };
  void RunTasks(std::size_t floor);
  // Computes `node` as wanted: at once when it holds no call or wait, else as a task of its own.
  bool Need(const Node& node, Want want) {
    if (!node.callsOrWaits) return NeedNow(node, want);
    tasks_.push_back({&node, want, 0, 0});
    return false;
  }
  bool NeedNow(const Node& node, Want want);
  void Deliver(const Node& node, Want want, Value value);
  void DeliverNumber(const Node& node, Want want, double number);
  void DeliverTruth(const Node& node, Want want, bool truth);
  // A point computed for a task, as its two numbers.
  void PushPoint(Point point) {
    values_.push_back(Value::Number(point.x));
    values_.push_back(Value::Number(point.y));
  }
  Value TakeValue() {
    Value value = std::move(values_.back());
    values_.pop_back();
    return value;
  }
  void StepInstruction(Task& task, std::size_t at);
  void StepRepeat(Task& task, std::size_t at);
  void StepExpression(Task& task, std::size_t at);

  // ---- Procedure calls, on the thread's stack or as tasks (machine_calls.cpp).
  Value Call(const Node& node, bool valueWanted);
  Value CallAsTask(const Node& node, bool valueWanted);
  void StepCall(Task& task, std::size_t at);
  void EndCall(Task& task);
  void LeaveToCall();
  // Whether the run's memory has room for one more call; else the run stops there.
  bool CallFits(const Node& node) {
    return (calls_.size() & 15) != 0 || CallMemoryLeft(node);
  }
  bool CallMemoryLeft(const Node& node);
  std::size_t CallBytes() const;
  void EnterCall(const Node& node, std::size_t base, std::size_t taskCount);
  void LeaveCall();

  Value& Variable(const Node& node) {
    return node.local ? stack_[frame_.base + static_cast<std::size_t>(node.variable)]
                      : globals_[static_cast<std::size_t>(node.variable)];
  }
  const Value& Read(const Node& node);
  std::string_view NameOf(const Node& node) const;
  std::size_t PositionOf(const Node& node, double index, std::size_t size, bool forWrite);
  // Counts a step; every 1024 steps, and past the budget, looks at the limits.
  void Tick(const Node& at) {
    if ((++steps_ & 1023) == 0 || steps_ > options_.limits.maxSteps) [[unlikely]] TickLimits(at);
  }
  void TickLimits(const Node& at);
  void Observe(const Node& node);
  // Before a loop's next turn, when watched; the test stays out of the call on the loops' path.
  bool Watched() const {
    return options_.observer != nullptr &&
           options_.observer->watching.load(std::memory_order_relaxed);
  }
  void ObserveTurn(const Node& loop);
  void Write(const Node& at, std::string_view text);
  void Stop(const Node& at);
  bool StopRequested() const {
    return options_.stopRequested != nullptr && options_.stopRequested->load();
  }

  const logo::Program& program_;
  Console& console_;
  const RunOptions& options_;
  std::vector<Value> constants_;  // by Node::constant, made once before the run
  std::vector<Value> globals_;
  std::vector<Value> stack_;  // the locals of the open calls
  Frame frame_;
  int lineRun_ = 0;  // of the last instruction started
  int procedure_ = -1;  // the running procedure, for the names of its locals
  Leaving leaving_ = Leaving::kNo;
  Value returned_;
  RunStop stop_{Outcome::kCompleted, {}, nullptr};
  std::vector<Task> tasks_;
  std::vector<Value> values_;  // what tasks computed, for the task that wanted it
  std::vector<CallRecord> calls_;  // left as they were when the run stops
  std::vector<Loop> loops_;
  std::vector<double> repCounts_;
  std::uint64_t steps_ = 0;
  std::string output_;
  std::size_t outputBytes_ = 0;
  std::string prompt_;
  Drawing drawing_;
  std::uint64_t drawingChanges_ = 0;
  // While a support procedure runs: the call that entered it, and where its caller's locals are.
  const Node* supportCall_ = nullptr;
  std::size_t supportCallDepth_ = 0;  // calls open outside the support procedure
  int callerProcedure_ = -1;
  std::size_t callerBase_ = 0;
  std::mt19937_64 random_;
  static constexpr int kInstructionsWhileRunning = 1024;
  int instructionsUntilWhileRunning_ = kInstructionsWhileRunning;
};

// ---- The frames of calls, on the thread's stack or as tasks: inline, on both ways' paths.

// The new frame, its inputs already at `base` on the locals' stack; `taskCount` tasks are below
// the body's.
inline void Machine::EnterCall(const Node& node, std::size_t base, std::size_t taskCount) {
  const logo::Procedure& procedure = program_.procedures[static_cast<std::size_t>(node.procedure)];
  if (stack_.size() < base + static_cast<std::size_t>(procedure.localCount)) {
    stack_.resize(base + static_cast<std::size_t>(procedure.localCount));
  }
  // The program's own code entering a support procedure: until it returns, the run is at the
  // call, as watched and as stopped.
  const bool entersSupport = supportCall_ == nullptr && procedure.support;
  calls_.push_back({&node, frame_, procedure_, entersSupport,
                    static_cast<std::uint32_t>(taskCount),
                    static_cast<std::uint32_t>(values_.size()),
                    static_cast<std::uint32_t>(repCounts_.size()),
                    static_cast<std::uint32_t>(loops_.size())});
  if (entersSupport) {
    supportCall_ = &node;
    supportCallDepth_ = calls_.size() - 1;
    callerProcedure_ = procedure_;
    callerBase_ = frame_.base;
  }
  frame_ = Frame{base, false};
  procedure_ = node.procedure;
}

// The frame of the call on top taken away, its caller's back.
inline void Machine::LeaveCall() {
  const CallRecord& record = calls_.back();
  stack_.resize(frame_.base);
  frame_ = record.callerFrame;
  procedure_ = record.callerProcedure;
  if (record.entersSupport) supportCall_ = nullptr;
  calls_.pop_back();
}

}  // namespace tortuval::run
