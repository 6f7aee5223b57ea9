#include "session/step_gate.h"

namespace tortuval::session {

StepGate::Stop StepGate::Before(int line, bool turn, const run::RunState& state) {
  if (cameUnwatched_) {
    cameUnwatched_ = false;
    stops_.CameFrom(state.LineRun(), state.CallDepth());
  }
  if (!stops_.StopsAt(line, turn, state.CallDepth())) return Stop::kNone;
  if (stopAtNext_) {
    stopAtNext_ = false;
    stepping_ = true;
  }
  if (stepping_) {
    stepGranted_ = false;
    return Stop::kStep;
  }
  return delayMs_ > 0 ? Stop::kSlowed : Stop::kNone;
}

bool StepGate::StepsAfterDelay() {
  if (!stopAtNext_) return false;
  stopAtNext_ = false;
  stepping_ = true;
  stepGranted_ = false;
  return true;
}

void StepGate::StopAtNext() {
  if (stepping_) return;
  stopAtNext_ = true;
  // At full speed the run was not watched: where it stands now is where it came from.
  cameUnwatched_ = delayMs_ == 0;
}

void StepGate::GoOn() {
  stepping_ = false;
  stopAtNext_ = false;
}

}  // namespace tortuval::session
