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

/// A program read, ready to run: its tree, and the values of the constants it writes (by
/// Node::slot of each constant node).
struct Code {
  logo::Program program;
  std::vector<Value> constants;
};

class Machine;

/// A primitive that computes a value from its inputs (count of them at `inputs`).
using PrimitiveFunction = Value (*)(Machine& machine, Value* inputs, int count);
/// A primitive of one number; it may stop the run through the machine.
using MathFunction = double (*)(Machine& machine, double x);

/// What the runtime computes for an operation of the vocabulary.
PrimitiveFunction FunctionOf(Operation operation);
MathFunction MathOf(Operation operation);

/// Why a run stopped before its end: raised inside the machine, caught once by RunProgram.
struct RunStop {
  Outcome outcome;
  std::string message;  ///< Windows-1252
  int line;
};

/// A French message (UTF-8 in the source) in Windows-1252, with "%s" replaced by `argument`
/// (already Windows-1252).
std::string Message(std::string_view utf8, std::string_view argument = {});

/// Runs one parsed program.
class Machine : public RunState {
 public:
  Machine(const Code& code, Console& console, const RunOptions& options);

  /// Runs the main instructions; raises RunStop when the run does not complete.
  void Run();

  /// Stops the run with an error at the line being run.
  [[noreturn]] void Fail(std::string message) const;

  /// The value as a number (a word that reads as one too), else an error.
  double NumberOf(const Value& value) const;
  /// The value as a truth value (vrai, faux, a number other than 0), else an error.
  bool TruthOf(const Value& value) const;
  /// The value as a list, else an error.
  const List& ListOf(const Value& value) const;
  /// The value as a whole number for a count, else an error.
  std::int64_t CountOf(const Value& value) const;

  /// The answer to a read, with the current prompt; stops the run when none comes.
  std::string ReadAnswer();
  /// A number read: an answer that is not a number is refused and asked again.
  double ReadNumber();
  /// "touche?", as the console tells it.
  bool KeyPressed();
  /// Counts work proportional to `size` (items or bytes made) against the step budget.
  void Charge(std::size_t size);
  /// Checks that a list or word of `size` items or bytes may be made, and charges for it.
  void AllowSize(std::size_t size);
  /// The longest list or word a program may make: beyond it a program is running away.
  static constexpr std::size_t kMaxItems = std::size_t{1} << 22;
  std::mt19937_64& Random() { return random_; }
  /// The pass of the innermost répète, from 1.
  double RepCount() const;

  const Drawing& drawing() const { return drawing_; }
  std::uint64_t steps() const { return steps_; }
  /// Hands the output kept so far to the console.
  void Flush();

  std::vector<WatchedVariable> Variables() const override;

 private:
  struct Frame {
    std::size_t base = 0;
    bool test = false;
  };

  void Exec(const Node& node);
  Value Eval(const Node& node);
  double EvalNumber(const Node& node);
  bool EvalTruth(const Node& node);
  bool Compare(const Node& node);

  Value Call(const Node& node, bool valueWanted);
  bool Numeric(const Node& node);
  Value Sum(const Node& node);
  Value Item(const Node& node);
  bool AppendsToItself(const Node& node);
  void AppendInPlace(const Node& node);
  void Replace(const Node& node);
  void Repeat(const Node& node);
  void Print(const Node& node);
  Point PointOf(const Node& node);

  Value& Variable(const Node& node) {
    return node.local ? stack_[frame_.base + static_cast<std::size_t>(node.slot)]
                      : globals_[static_cast<std::size_t>(node.slot)];
  }
  const Value& Read(const Node& node);
  std::string_view NameOf(const Node& node) const;
  std::size_t Position(const Node& node, double index, std::size_t size, bool forWrite) const;
  void Tick();
  void Observe(const Node& node);
  void Write(std::string_view text);

  const Code& code_;
  Console& console_;
  const RunOptions& options_;
  std::vector<Value> globals_;
  std::vector<Value> stack_;
  Frame frame_;
  int depth_ = 0;
  int procedure_ = -1;  // the running procedure, for the names of its locals
  bool returning_ = false;
  Value returned_;
  std::vector<double> repCounts_;
  std::uint64_t steps_ = 0;
  mutable int line_ = 0;
  std::string output_;
  std::size_t outputBytes_ = 0;
  std::string prompt_;
  Drawing drawing_;
  std::mt19937_64 random_;
  const char* stackLimit_ = nullptr;  // below this address the native stack is nearly full
};

}  // namespace tortuval::run
