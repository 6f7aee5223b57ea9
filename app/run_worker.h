#pragma once
// A LOGO program running on a thread of its own: the session's run control, whose news reach the
// window through queued signals.

#include <QByteArray>
#include <QThread>
#include <memory>

#include "session/run_control.h"

namespace tortuval::app {

class RunWorker : public QThread, public session::RunControl {
  Q_OBJECT

 public:
  /// Prepares a run of `program`; start() begins it.
  RunWorker(std::shared_ptr<const session::ReadProgram> program, session::StepPoints stops,
            run::RunOptions options, QObject* parent = nullptr);
  /// Stops the run if it is still going and waits for its thread.
  ~RunWorker() override;

 signals:
  void OutputReady();
  /// `prompt` in Windows-1252, as the run gives it.
  void AnswerRequested(const QByteArray& prompt);
  void DrawingShown();
  void Paused();
  void StoppedAtInstruction();

 protected:
  void run() override { Run(); }

 private:
  void OnOutputReady() override { emit OutputReady(); }
  void OnAnswerRequested(std::string_view prompt) override {
    emit AnswerRequested(QByteArray(prompt.data(), static_cast<qsizetype>(prompt.size())));
  }
  void OnDrawingShown() override { emit DrawingShown(); }
  void OnPaused() override { emit Paused(); }
  void OnStoppedAtInstruction() override { emit StoppedAtInstruction(); }
};

}  // namespace tortuval::app
