#pragma once
// A LOGO program running on a thread of its own: its output, prompts and drawing reach the
// window through queued signals, and its reads wait for the answer typed in the window.

#include <QString>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>

#include "run/runtime.h"

namespace tortuval::app {

class RunWorker : public QThread {
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
  /// Lets a paused program go on; ignored when it is not paused.
  void Continue();
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

 protected:
  void run() override;

 private:
  class ThreadConsole;
  friend class ThreadConsole;

  const std::string program_;
  run::RunOptions options_;
  std::atomic<bool> stop_{false};

  std::mutex mutex_;
  std::condition_variable changed_;  // an answer came, output was taken, or stop was asked
  Output pending_;
  bool outputSignalled_ = false;
  bool waitingForAnswer_ = false;
  bool paused_ = false;
  std::optional<std::string> answer_;
  std::optional<run::Drawing> drawing_;

  run::RunResult result_;
};

}  // namespace tortuval::app
