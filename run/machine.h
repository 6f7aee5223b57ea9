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

/// Why a run stopped before its end: raised inside the machine, caught once by RunProgram.
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
class Machine : public RunState {
 public:
  /// The program read is neither changed nor copied: it must outlive the machine.
  Machine(const logo::Program& program, Console& console, const RunOptions& options);

  /// Runs the main instructions; raises RunStop when the run does not complete.
  void Run();

  /// Stops the run with an error at `at`.
  [[noreturn]] void Fail(const Node& at, std::string message) const;

  /// The value as a number (a word that reads as one too), else an error.
  double NumberOf(const Node& at, const Value& value) const;
  /// The value as a truth value (vrai, faux, a number other than 0), else an error.
  bool TruthOf(const Node& at, const Value& value) const;
  /// The value as a list, else an error.
  const List& ListOf(const Node& at, const Value& value) const;
  /// The value as a whole number for a count, else an error.
  std::int64_t CountOf(const Node& at, const Value& value) const;

  /// The answer to a read, with the current prompt; stops the run when none comes.
  std::string ReadAnswer(const Node& at);
  /// A number read: an answer that is not a number is refused and asked again.
  double ReadNumber(const Node& at);
  /// "touche?", as the console tells it.
  bool KeyPressed(const Node& at);
  /// Counts work proportional to `size` (items or bytes made) against the step budget.
  void Charge(const Node& at, std::size_t size);
  /// Checks that a list or word of `size` items or bytes may be made, and charges for it.
  void AllowSize(const Node& at, std::size_t size);
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
  int CallDepth() const override { return depth_; }
  int LineRun() const override { return lineRun_; }

  /// The call, in the program's own code, of the support procedure being run; null outside one.
  /// A support procedure runs as one instruction of its caller: a stop inside it is the call's.
  const Node* SupportCall() const { return supportCall_; }
  /// The name of the procedure that SupportCall calls.
  const std::string& ProcedureName(const Node& call) const {
    return program_.procedures[static_cast<std::size_t>(call.procedure)].name;
  }
  /// The lines of the calls open now, outermost first; a support procedure's own calls left out.
  std::vector<int> CallLines() const {
    const std::size_t open = supportCall_ != nullptr ? supportCallDepth_ : callLines_.size();
    return {callLines_.begin(), callLines_.begin() + static_cast<std::ptrdiff_t>(open)};
  }

 private:
  struct Frame {
    std::size_t base = 0;
    bool test = false;
  };

  // ---- Instructions (machine.cpp; the console's in machine_console.cpp, the drawing's in
  // machine_drawing.cpp, the lists' in machine_lists.cpp).
  void Exec(const Node& node);
  void Assign(const Node& node);
  void Define(const Node& node);
  void Step(const Node& node);
  void IfTested(const Node& node, bool tested);
  void While(const Node& node);
  void Repeat(const Node& node);
  void Return(const Node& node);
  Value Call(const Node& node, bool valueWanted);
  void Print(const Node& node);
  void Prompt(const Node& node);
  void ClearText();
  void Draw(const Node& node);
  void StartDrawing(const Node& node);
  void ShowDrawing(const Node& node);
  void AppendInPlace(const Node& node);
  bool AppendsToItself(const Node& node);
  void Replace(const Node& node);

  // ---- Expressions (machine_expressions.cpp; Item in machine_lists.cpp, PointOf in
  // machine_drawing.cpp).
  Value Eval(const Node& node);
  double EvalNumber(const Node& node);
  bool EvalTruth(const Node& node);
  bool Compare(const Node& node);
  bool Numeric(const Node& node);
  Value Sum(const Node& node);
  Value Primitive(const Node& node);
  Value Item(const Node& node);
  double RepCount(const Node& node) const;
  Point PointOf(const Node& node);

  Value& Variable(const Node& node) {
    return node.local ? stack_[frame_.base + static_cast<std::size_t>(node.variable)]
                      : globals_[static_cast<std::size_t>(node.variable)];
  }
  const Value& Read(const Node& node);
  std::string_view NameOf(const Node& node) const;
  std::size_t PositionOf(const Node& node, double index, std::size_t size, bool forWrite) const;
  void Tick(const Node& at);
  void Observe(const Node& node);
  // Before a loop's next turn, when watched; the test stays out of the call on the loops' path.
  bool Watched() const {
    return options_.observer != nullptr &&
           options_.observer->watching.load(std::memory_order_relaxed);
  }
  void ObserveTurn(const Node& loop);
  void Write(const Node& at, std::string_view text);
  [[noreturn]] void Stop(const Node& at) const;

  const logo::Program& program_;
  Console& console_;
  const RunOptions& options_;
  std::vector<Value> constants_;  // by Node::constant, made once before the run
  std::vector<Value> globals_;
  std::vector<Value> stack_;
  Frame frame_;
  int depth_ = 0;
  int lineRun_ = 0;  // of the last instruction started
  std::vector<int> callLines_;  // the line of each open call; left as it was when a stop unwinds
  int procedure_ = -1;  // the running procedure, for the names of its locals
  bool returning_ = false;
  Value returned_;
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
  const char* stackLimit_ = nullptr;  // below this address the native stack is nearly full
  static constexpr int kInstructionsWhileRunning = 1024;
  int instructionsUntilWhileRunning_ = kInstructionsWhileRunning;
};

}  // namespace tortuval::run
