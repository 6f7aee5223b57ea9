#pragma once
// A LOGO program running on a thread of its own: its output, prompts and drawing reach the
// window through queued signals, its reads wait for the answer typed in the window, and it can
// be run step by step or slowed down, stopping before an instruction with its variables shown.

#include <QString>
#include <QThread>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "run/runtime.h"

namespace tortuval::app {

class RunWorker : public QThread, public run::RunObserver {
  Q_OBJECT

 public:
  /// Output the window has not taken yet.
  struct Output {
    bool clearFirst = false;  ///< EFFACETEXTE ran since the last take: clear what is shown
    std::string text;         ///< Windows-1252, "\n" line ends
  };

  /// Prepares a run of `program` (Windows-1252); start() begins it.
  RunWorker(std::string program, run::RunOptions options, QObject* parent = nullptr);
  /// Stops the run if it is still going and waits for its thread.
  ~RunWorker() override;

  /// Takes the output written since the last take.
  Output TakeOutput();
  /// The drawing last shown by "grapheur vrai", once; nullopt when none was shown since.
  std::optional<run::Drawing> TakeDrawing();
  /// Answers the read that is waiting; ignored when none is.
  void ProvideAnswer(std::string answer);
  /// Asks the run to stop at its next instruction, or at once when it waits for an answer.
  void RequestStop();
  /// Lets a paused program go on, at its speed; ends step by step.
  void Continue();
  /// Step by step: a running program stops before its next instruction; a stopped one runs one
  /// instruction and stops before the next.
  void Step();
  /// The pause before each instruction when not step by step; zero runs at full speed.
  void SetDelay(std::chrono::milliseconds delay);

  /// Where the program last stopped before an instruction, and its variables then.
  struct Stop {
    int line = 0;
    std::vector<run::WatchedVariable> variables;
    bool waiting = false;  ///< step by step: it waits for Step or Continue; else it passes
  };
  Stop TakeStop();
  /// How the run ended; read only after the thread has finished.
  const run::RunResult& Result() const { return result_; }

 signals:
  /// New output waits in TakeOutput (signalled once until taken).
  void OutputReady();
  /// A read waits for an answer; `prompt` is what ECL … EFFL shows at that moment.
  void AnswerRequested(const QString& prompt);
  /// "grapheur vrai" ran: TakeDrawing has the drawing.
  void DrawingShown();
  /// The program pauses (`tant que non(touche?) []`) until Continue.
  void Paused();
  /// The program stopped, or slowed down, before an instruction: TakeStop tells where.
  void StoppedAtInstruction();

 protected:
  void run() override;

 private:
  class ThreadConsole;
  friend class ThreadConsole;

  // Whether the observer has anything to do: read at each instruction without the lock.
  void UpdateWatching() { watching = stepping_ || pauseRequested_ || delay_.count() > 0; }

  // Step by step or slowed down: shows the stop and waits (on the run's thread).
  void BeforeInstruction(int line, const run::RunState& state) override;

  const std::string program_;
  run::RunOptions options_;
  std::atomic<bool> stop_{false};

  std::mutex mutex_;
  std::condition_variable changed_;  // an answer came, output was taken, or stop was asked
  Output pending_;
  bool outputSignalled_ = false;
  bool waitingForAnswer_ = false;
  bool paused_ = false;
  bool stepping_ = false;        // stopped before an instruction, step by step
  bool pauseRequested_ = false;  // stop before the next instruction
  bool stepGranted_ = false;     // let the instruction stopped at run
  std::chrono::milliseconds delay_{0};
  Stop lastStop_;
  std::optional<std::string> answer_;
  std::optional<run::Drawing> drawing_;

  run::RunResult result_;
};

}  // namespace tortuval::app
