#pragma once
// A run on a thread of its own, driven from another one (a window's): its output, prompts and
// drawing are handed over under a lock, its reads wait for the answer given from outside, and it
// can be run step by step or slowed down, stopping before an instruction with its variables
// shown. The front end learns of each event through the hooks it implements.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/runtime.h"
#include "session/session.h"
#include "session/step_gate.h"

namespace tortuval::session {

class RunControl : public run::RunObserver {
 public:
  /// Output the front end has not taken yet.
  struct Output {
    bool clearFirst = false;  ///< EFFACETEXTE ran since the last take: clear what is shown
    std::string text;         ///< Windows-1252, "\n" line ends
  };

  /// Where the program last stopped before an instruction, and its variables then.
  struct Stop {
    int line = 0;
    std::vector<run::WatchedVariable> variables;
    bool waiting = false;  ///< step by step: it waits for StepOne or GoOn; else it passes
  };

  /// Prepares a run of `program`, stopping where `stops` says; Run, on the run's thread, makes it.
  RunControl(std::shared_ptr<const ReadProgram> program, StepPoints stops,
             run::RunOptions options);
  ~RunControl() override;

  /// Runs the program to its end, on the calling thread: the run's thread.
  void Run();

  /// Takes the output written since the last take.
  Output TakeOutput();
  /// The drawing last shown by "grapheur vrai", once; nullopt when none was shown since.
  std::optional<run::Drawing> TakeDrawing();
  /// Answers the read that is waiting; ignored when none is.
  void ProvideAnswer(std::string answer);
  /// Asks the run to stop at its next instruction, or at once when it waits for an answer.
  void RequestStop();
  /// Lets a paused program go on, at its speed; ends step by step.
  void GoOn();
  /// A running program stops before its next line and waits there; a pause ends.
  void StopAtNext();
  /// The program waiting before a line runs it and stops before the next.
  void StepOne();
  /// The pause before each instruction when not step by step; zero runs at full speed.
  void SetDelay(std::chrono::milliseconds delay);
  /// Where the program last stopped: before an instruction, or at a pause (not waiting).
  Stop TakeStop();
  /// How the run ended; read only once Run has returned.
  const run::RunResult& Result() const { return result_; }
  /// The variables as the run left them, however it ended; read only once Run has returned.
  const std::vector<run::WatchedVariable>& EndVariables() const { return endVariables_; }

 protected:
  // Called on the run's thread, some under the lock: they must only pass the news on.
  /// New output waits in TakeOutput (told once until taken).
  virtual void OnOutputReady() = 0;
  /// A read waits for an answer; `prompt` (Windows-1252) is what ECL … EFFL shows at that moment.
  virtual void OnAnswerRequested(std::string_view prompt) = 0;
  /// "grapheur vrai" ran, or the drawing grew while the run is watched: TakeDrawing has it.
  virtual void OnDrawingShown() = 0;
  /// The program pauses (`tant que non(touche?) []`) until GoOn; TakeStop tells where.
  virtual void OnPaused() = 0;
  /// The program stopped, or slowed down, before an instruction: TakeStop tells where.
  virtual void OnStoppedAtInstruction() = 0;

 private:
  class ThreadConsole;
  friend class ThreadConsole;

  // Whether the observer has anything to do: read at each instruction without the lock.
  void UpdateWatching() { watching = gate_.Watching(); }

  // Step by step or slowed down: shows the stop and waits (on the run's thread).
  void BeforeInstruction(int line, const run::RunState& state) override;
  void BeforeLoopTurn(int line, const run::RunState& state) override;
  void AtStop(int line, bool turn, const run::RunState& state);
  void BeforePause(int line, const run::RunState& state) override;
  void AfterRun(const run::RunState& state) override;
  // Hands over the drawing when it changed since last handed (under the lock).
  void HandOverDrawing(const run::RunState& state);

  const std::shared_ptr<const ReadProgram> program_;
  run::RunOptions options_;
  std::atomic<bool> stop_{false};

  std::mutex mutex_;
  std::condition_variable changed_;  // an answer came, output was taken, or stop was asked
  Output pending_;
  bool outputSignalled_ = false;
  bool waitingForAnswer_ = false;
  bool paused_ = false;
  StepGate gate_;
  Stop lastStop_;
  std::optional<std::string> answer_;
  std::optional<run::Drawing> drawing_;
  std::uint64_t drawingChangesHanded_ = 0;

  std::vector<run::WatchedVariable> endVariables_;

  run::RunResult result_;
};

}  // namespace tortuval::session
