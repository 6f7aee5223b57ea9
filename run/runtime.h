#pragma once
// Runs a LOGO program of the dialect that Tortuval writes: its text output, its answers to
// prompts and its drawing. No Qt: the window, the command line, the tests and the fuzzers share it.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/drawing.h"

namespace tortuval::logo {
struct Reading;
}  // namespace tortuval::logo

namespace tortuval::run {

// What a program draws is a drawing::Drawing, which the runtime fills under these names.
using drawing::Drawing;
using drawing::Point;

/// Where a running program writes and reads. Called on the thread that runs the program.
class Console {
 public:
  virtual ~Console() = default;

  /// Appends program output (Windows-1252 bytes; "\n" ends a line).
  virtual void Write(std::string_view text) = 0;

  /// The answer to one read (LISNOMBRE, LISLISTE), given the prompt that ECL … EFFL shows at
  /// that moment (Windows-1252, possibly empty); nullopt when no answer will come (input run
  /// out, or the run was stopped while waiting).
  virtual std::optional<std::string> ReadAnswer(std::string_view prompt) = 0;

  /// EFFACETEXTE: the output written so far is to be cleared.
  virtual void ClearText() {}

  /// An answer was refused (a number read that is not a number): the read asks again, with
  /// `message` (Windows-1252) as its prompt.
  virtual void AnswerRefused(std::string_view message) { (void)message; }

  /// "touche?": whether a key was pressed. The converter writes a pause as `tant que
  /// non(touche?) []`: a console with a person before it waits here until they go on. By default
  /// nothing waits.
  virtual bool KeyPressed() { return true; }

  /// "grapheur vrai": the drawing made so far is to be shown.
  virtual void ShowDrawing(const Drawing& drawing) { (void)drawing; }
};

/// A variable as a paused run shows it.
struct WatchedVariable {
  std::string name;    ///< Windows-1252
  std::string value;   ///< printed as ECRIS prints it, lists in brackets; empty when it has none
  bool local = false;  ///< a local of the procedure being run, else a global
};

/// What a run shows of itself before an instruction.
class RunState {
 public:
  virtual ~RunState() = default;
  /// The globals in the order the program names them, then the locals of the procedure being
  /// run; made on request, so that watching costs nothing until it looks.
  virtual std::vector<WatchedVariable> Variables() const = 0;
  /// The drawing made so far, shown or not.
  virtual const Drawing& DrawingSoFar() const = 0;
  /// A count that changes whenever the drawing does (a segment or a point drawn, initgraph).
  virtual std::uint64_t DrawingChanges() const = 0;
  /// How many procedure calls of the program's own are open (0 in the main instructions).
  virtual int CallDepth() const { return 0; }
  /// The line of the instruction that started last, before the one the observer is told of: where
  /// a run watched again after running unwatched comes from.
  virtual int LineRun() const { return 0; }
};

/// Watches a run instruction by instruction, on the run's thread: it may look at the run and
/// wait before letting the instruction run (step by step, or slowed down to be watched).
class RunObserver {
 public:
  virtual ~RunObserver() = default;
  /// Before the instruction at `line` (from 1) runs, while `watching`; returns when it may run.
  virtual void BeforeInstruction(int line, const RunState& state) = 0;
  /// While `watching`, before a loop's next turn: the test of TANT QUE after the first, each
  /// turn of REPETE after the first (a counted loop's counter already stepped). The loop's own
  /// line is `line`. A REPETE turn that does not happen is not told.
  virtual void BeforeLoopTurn(int line, const RunState& state) { (void)line, (void)state; }
  /// Before a pause ("touche?") at `line` waits, whether watching or not.
  virtual void BeforePause(int line, const RunState& state) { (void)line, (void)state; }
  /// Once the run has ended, however it ended: the state it ended in.
  virtual void AfterRun(const RunState& state) { (void)state; }
  /// Every 1024 instructions, watching or not, before the instruction and with the output written
  /// so far handed to the console: a front end that shares the run's thread (a page) gives
  /// itself time there.
  virtual void WhileRunning(const RunState& state) { (void)state; }

  /// Read before each instruction, from the run's thread: while it is false the observer is not
  /// called, and costs a plain run next to nothing. Set from any thread.
  std::atomic<bool> watching{true};
};

/// What stops a run that would not end by itself.
struct Limits {
  std::uint64_t maxSteps = 100'000'000;  ///< instructions and procedure calls executed
  /// The memory the run's own stacks may take: the calls open, with their locals and the
  /// evaluation pending around each. It bounds how deep a recursion goes (about 3.3 million nested
  /// calls of a one-line function with the default) and stops one that never ends.
  std::size_t maxCallBytes = std::size_t{256} << 20;
  std::size_t maxOutputBytes = std::size_t{64} << 20;
};

/// How one run is made.
struct RunOptions {
  Limits limits;
  /// The seed of random and randdec; none means a seed taken from the clock.
  std::optional<std::uint64_t> seed;
  /// Set from another thread to stop the run; checked between instructions.
  const std::atomic<bool>* stopRequested = nullptr;
  /// Told of each instruction before it runs; none for a plain run.
  RunObserver* observer = nullptr;
  /// Calls nested up to this depth run on the thread's own stack, the quicker way; deeper ones
  /// run on the stacks the machine keeps in memory, as deep as Limits::maxCallBytes allows. With
  /// 0, every call, read and pause runs there, and waits with none of the C++ functions of
  /// expressions on the thread's stack (what a page that waits by unwinding its stack needs).
  int callsOnThreadStack = 64;
};

enum class Outcome {
  kCompleted,       ///< the program ran to its end
  kError,           ///< a run-time error (or a text that cannot be run), see message and line
  kInputExhausted,  ///< a read found no answer
  kStopped,         ///< stopped from outside (RunOptions::stopRequested)
};

/// The end of a run.
struct RunResult {
  Outcome outcome = Outcome::kCompleted;
  /// French, Windows-1252, without the line: what went wrong; empty after a complete run.
  std::string message;
  /// Line of the program text (from 1) where it went wrong, 0 when none; inside a support
  /// procedure, the line of its call (and an error's message starts with the procedure's name).
  int line = 0;
  int column = 0;  ///< column (from 1, in bytes) of the instruction or value that went wrong
  /// The lines (from 1) of the procedure calls still open when the run stopped, outermost
  /// first: a front end names the caller's line when the stop's own line has no meaning for
  /// the user (a function the converter wrote on its own). Empty after a complete run.
  std::vector<int> callLines;
  Drawing drawing;
  std::uint64_t steps = 0;
};

/// Runs `program` (Windows-1252, CR LF or LF line ends, any bytes) to its end or to the first
/// error. Never throws on any program text, never runs past the limits. Reads the text and runs
/// the reading, as the overload below.
RunResult RunProgram(std::string_view program, Console& console, const RunOptions& options = {});

/// Runs a program already read (logo::ReadProgram), so that one reading serves both the check
/// (logo::CheckReading) and the run. The reading is neither changed nor copied, and may be run
/// again; it, and the text it was read from, must outlive the call. Never throws, never runs
/// past the limits.
RunResult RunProgram(const logo::Reading& reading, Console& console,
                     const RunOptions& options = {});

}  // namespace tortuval::run
