#pragma once
// What a watched run does before an instruction: pass, pass after a delay (slowed down), or wait
// for a step. It holds what the user's orders set (stepping, a stop asked before the next line,
// a step granted, the delay) and where the run last stopped; the desktop's run thread (under its
// lock) and the page's run each wait as the gate says, in their own way.

#include <utility>

#include "run/runtime.h"
#include "session/step_points.h"

namespace tortuval::session {

class StepGate {
 public:
  /// A gate stopping where `stops` says, passing every line until an order comes.
  explicit StepGate(StepPoints stops) : stops_(std::move(stops)) {}

  enum class Stop {
    kNone,    ///< the instruction runs at once
    kSlowed,  ///< it runs after the delay, or a step waits there if one is asked meanwhile
    kStep,    ///< it waits for a step (StepGranted) or for the run to go on (!Stepping)
  };
  /// Before the instruction at `line`, a loop's next turn when `turn`. A kStep clears the step
  /// granted before.
  Stop Before(int line, bool turn, const run::RunState& state);
  /// After a slowed line's delay: true when a step was asked meanwhile, and the line now waits
  /// for a step as after kStep.
  bool StepsAfterDelay();

  // ---- The orders.
  /// A running program stops before its next line.
  void StopAtNext();
  /// The line waiting for a step runs.
  void StepOne() { stepGranted_ = stepping_; }
  /// Stepping ends; the run goes on at its speed.
  void GoOn();
  void SetDelay(int delayMs) { delayMs_ = delayMs; }

  bool Stepping() const { return stepping_; }
  bool StepAsked() const { return stopAtNext_; }
  bool StepGranted() const { return stepGranted_; }
  int DelayMs() const { return delayMs_; }
  /// Whether the run must be told of each instruction.
  bool Watching() const { return stepping_ || stopAtNext_ || delayMs_ > 0; }

 private:
  StepPoints stops_;
  bool stepping_ = false;
  bool stopAtNext_ = false;
  bool stepGranted_ = false;
  bool cameUnwatched_ = false;  // the run went on unwatched: its last stop is no guide
  int delayMs_ = 0;
};

}  // namespace tortuval::session
