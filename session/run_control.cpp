#include "session/run_control.h"

namespace tortuval::session {
namespace {

// A program that writes faster than the window shows waits once this much output is pending,
// so that the window's event queue and memory stay small.
constexpr std::size_t kMaxPendingOutput = std::size_t{1} << 14;

}  // namespace

// The program's console: called on the run's thread, it hands everything over under the lock.
class RunControl::ThreadConsole : public run::Console {
 public:
  explicit ThreadConsole(RunControl& worker) : worker_(worker) {}

  void Write(std::string_view text) override {
    std::unique_lock lock(worker_.mutex_);
    worker_.changed_.wait(
        lock, [this] { return worker_.pending_.text.size() < kMaxPendingOutput || worker_.stop_; });
    worker_.pending_.text.append(text);
    SignalOutput();
  }

  void ClearText() override {
    std::lock_guard lock(worker_.mutex_);
    worker_.pending_.text.clear();
    worker_.pending_.clearFirst = true;
    SignalOutput();
  }

  void ShowDrawing(const run::Drawing& drawing) override {
    {
      std::lock_guard lock(worker_.mutex_);
      worker_.drawing_ = drawing;
    }
    worker_.OnDrawingShown();
  }

  bool KeyPressed() override {
    std::unique_lock lock(worker_.mutex_);
    worker_.paused_ = true;
    worker_.OnPaused();
    worker_.changed_.wait(lock, [this] { return !worker_.paused_ || worker_.stop_; });
    worker_.paused_ = false;
    return true;
  }

  std::optional<std::string> ReadAnswer(std::string_view prompt) override {
    std::unique_lock lock(worker_.mutex_);
    worker_.answer_.reset();
    worker_.waitingForAnswer_ = true;
    worker_.OnAnswerRequested(prompt);
    worker_.changed_.wait(lock, [this] { return worker_.answer_ || worker_.stop_; });
    worker_.waitingForAnswer_ = false;
    if (worker_.stop_) return std::nullopt;
    std::optional<std::string> answer = std::move(worker_.answer_);
    worker_.answer_.reset();
    return answer;
  }

 private:
  // Called under the lock: one signal until the window takes the output.
  void SignalOutput() {
    if (worker_.outputSignalled_) return;
    worker_.outputSignalled_ = true;
    worker_.OnOutputReady();
  }

  RunControl& worker_;
};

RunControl::RunControl(std::shared_ptr<const ReadProgram> program, StepPoints stops,
                       run::RunOptions options)
    : program_(std::move(program)), options_(options), gate_(std::move(stops)) {
  options_.stopRequested = &stop_;
  watching = false;
}

void RunControl::BeforeInstruction(int line, const run::RunState& state) {
  AtStop(line, false, state);
}

void RunControl::BeforeLoopTurn(int line, const run::RunState& state) {
  AtStop(line, true, state);
}

void RunControl::AtStop(int line, bool turn, const run::RunState& state) {
  std::unique_lock lock(mutex_);
  const StepGate::Stop stop = gate_.Before(line, turn, state);
  if (stop == StepGate::Stop::kNone) return;
  lastStop_ = {line, state.Variables(), stop == StepGate::Stop::kStep};
  HandOverDrawing(state);  // each segment and point is seen as it is drawn
  OnStoppedAtInstruction();
  if (stop == StepGate::Stop::kSlowed) {
    // The line waits its delay, or less when a step or a stop is asked.
    changed_.wait_for(lock, std::chrono::milliseconds(gate_.DelayMs()),
                      [this] { return stop_ || gate_.StepAsked(); });
    if (!gate_.StepsAfterDelay()) return;
    lastStop_.waiting = true;
    OnStoppedAtInstruction();
  }
  changed_.wait(lock, [this] { return gate_.StepGranted() || !gate_.Stepping() || stop_; });
  UpdateWatching();
}

void RunControl::BeforePause(int line, const run::RunState& state) {
  std::lock_guard lock(mutex_);
  lastStop_ = {line, state.Variables(), false};
  // A run at full speed shows its drawing when the program asks for it, as at its end.
  if (gate_.Stepping() || gate_.DelayMs() > 0) HandOverDrawing(state);
}

void RunControl::AfterRun(const run::RunState& state) { endVariables_ = state.Variables(); }

void RunControl::HandOverDrawing(const run::RunState& state) {
  if (state.DrawingChanges() == drawingChangesHanded_ || state.DrawingSoFar().Empty()) return;
  drawingChangesHanded_ = state.DrawingChanges();
  drawing_ = state.DrawingSoFar();
  OnDrawingShown();
}

void RunControl::StopAtNext() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
    gate_.StopAtNext();
    UpdateWatching();
  }
  changed_.notify_all();
}

void RunControl::StepOne() {
  {
    std::lock_guard lock(mutex_);
    gate_.StepOne();
  }
  changed_.notify_all();
}

void RunControl::SetDelay(std::chrono::milliseconds delay) {
  {
    std::lock_guard lock(mutex_);
    gate_.SetDelay(static_cast<int>(delay.count()));
    UpdateWatching();
  }
  changed_.notify_all();
}

RunControl::Stop RunControl::TakeStop() {
  std::lock_guard lock(mutex_);
  return lastStop_;
}

RunControl::~RunControl() = default;

RunControl::Output RunControl::TakeOutput() {
  Output output;
  {
    std::lock_guard lock(mutex_);
    output = std::move(pending_);
    pending_ = {};
    outputSignalled_ = false;
  }
  changed_.notify_all();
  return output;
}

std::optional<run::Drawing> RunControl::TakeDrawing() {
  std::lock_guard lock(mutex_);
  std::optional<run::Drawing> drawing = std::move(drawing_);
  drawing_.reset();
  return drawing;
}

void RunControl::ProvideAnswer(std::string answer) {
  {
    std::lock_guard lock(mutex_);
    if (!waitingForAnswer_) return;
    answer_ = std::move(answer);
  }
  changed_.notify_all();
}

void RunControl::GoOn() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
    gate_.GoOn();
    UpdateWatching();
  }
  changed_.notify_all();
}

void RunControl::RequestStop() {
  {
    // Set under the lock, so that a read or a write about to wait sees it.
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
}

void RunControl::Run() {
  ThreadConsole console(*this);
  run::RunOptions options = options_;
  options.observer = this;
  result_ = run::RunProgram(program_->Reading(), console, options);
}

}  // namespace tortuval::session
