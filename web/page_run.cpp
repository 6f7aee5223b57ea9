// A run in the page, under the session's run model. The page has one thread: the run gives it
// time every few milliseconds, and waits for an answer, a step, a slowed line or the end of a
// pause by handing the thread back until the page resumes it (Asyncify unwinds the run's stack
// and winds it again). Every decision is the model's or this file's; page.js passes the user's
// actions in (runAction), resumes a waiting run when told to, and draws runView.

#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "drawing/svg.h"
#include "run/runtime.h"
#include "session/current_lines.h"
#include "session/run_model.h"
#include "session/session.h"
#include "session/step_gate.h"
#include "session/text_edges.h"
#include "web/page_bindings.h"
#include "web/page_session.h"

namespace tortuval::web {
namespace {

using emscripten::val;
using session::RunOrder;

// The only calls that wait: Asyncify instruments the code on their way and no other. The page
// resumes the run (Module.pageRun.resume), or the delay passes when it is not negative.
EM_ASYNC_JS(void, WaitForPage, (int delayMs), { await Module.pageRun.wait(delayMs); });
EM_ASYNC_JS(void, LetPageRun, (), { await Module.pageRun.letPageRun(); });

// How long the run keeps the thread between two chances the page gets to answer a click.
constexpr double kRunSliceMs = 25;
// The memory a run's own stacks may take in the page: a tab shares the school computer with
// others, and a recursion that never ends stops there (about 700,000 nested calls of a one-line
// function).
constexpr std::size_t kPageCallBytes = std::size_t{64} << 20;

session::RunModel& Model() {
  static session::RunModel model;
  return model;
}

// Tells the page that the model has news to draw; it draws once a frame.
void Changed() { val::module_property("pageRun").call<void>("changed"); }

class PageRun final : public run::Console, public run::RunObserver {
 public:
  PageRun(const session::Session& session, bool stepping)
      : program_(session.SharedProgram()), gate_(session::StepPoints(*program_, session)) {
    gate_.SetDelay(Model().DelayMs());
    if (stepping) gate_.StopAtNext();  // it stops before its first line
    Model().Started(session::CurrentLines(*program_, session), stepping);
    UpdateWatching();
  }

  run::RunResult Run() {
    run::RunOptions options;
    options.observer = this;
    options.stopRequested = &stop_;
    options.limits.maxCallBytes = kPageCallBytes;
    // Calls, reads and pauses run as the machine's tasks: a wait then unwinds only the
    // instructions' functions and the tasks' loop, and the functions of expressions, never on
    // the stack at a wait, run at their full speed (waiting_functions.txt leaves them out).
    options.callsOnThreadStack = 0;
    lastSlice_ = emscripten_get_now();
    return run::RunProgram(program_->Reading(), *this, options);
  }

  // Applies an order of the model; true when the run waits for what the order gives it.
  bool Apply(const RunOrder& order) {
    switch (order.kind) {
      case RunOrder::Kind::kStart:
        return false;
      case RunOrder::Kind::kStop:
        stop_ = true;
        return true;
      case RunOrder::Kind::kStopAtNext:
        gate_.StopAtNext();
        goOn_ = true;  // the program's own pause ends
        UpdateWatching();
        return waiting_ == Waiting::kDelay || waiting_ == Waiting::kPause;
      case RunOrder::Kind::kStepOne:
        gate_.StepOne();
        return waiting_ == Waiting::kStep;
      case RunOrder::Kind::kGoOn:
        gate_.GoOn();
        goOn_ = true;
        UpdateWatching();
        return waiting_ == Waiting::kStep || waiting_ == Waiting::kPause;
      case RunOrder::Kind::kAnswer:
        answer_ = order.answer;
        return waiting_ == Waiting::kAnswer;
      case RunOrder::Kind::kDelay:
        gate_.SetDelay(order.delayMs);
        UpdateWatching();
        return waiting_ == Waiting::kDelay;  // a slowed line takes the new pace at once
    }
    return false;
  }

  // ---- The console.
  void Write(std::string_view text) override {
    Model().Output(text);
    Changed();
  }

  std::optional<std::string> ReadAnswer(std::string_view prompt) override {
    answer_.reset();
    Model().Asked(prompt);
    Changed();
    WaitFor(Waiting::kAnswer, [this] { return answer_.has_value(); });
    if (stop_) return std::nullopt;
    std::optional<std::string> answer = std::move(answer_);
    answer_.reset();
    return answer;
  }

  void AnswerRefused(std::string_view message) override { Model().Refused(message); }

  void ClearText() override { Model().TextCleared(); }

  bool KeyPressed() override {
    goOn_ = false;
    Model().Paused(pauseLine_, std::move(pauseVariables_));
    Changed();
    WaitFor(Waiting::kPause, [this] { return goOn_; });
    return true;
  }

  void ShowDrawing(const run::Drawing& drawing) override {
    Model().DrawingGrew(drawing);
    Changed();
  }

  // ---- The observer.
  void BeforeInstruction(int line, const run::RunState& state) override {
    AtStop(line, false, state);
  }
  void BeforeLoopTurn(int line, const run::RunState& state) override { AtStop(line, true, state); }

  void BeforePause(int line, const run::RunState& state) override {
    HandOverDrawing(state);
    pauseLine_ = line;
    pauseVariables_ = state.Variables();
  }

  void AfterRun(const run::RunState& state) override { endVariables_ = state.Variables(); }

  void WhileRunning(const run::RunState& state) override {
    if (emscripten_get_now() - lastSlice_ < kRunSliceMs) return;
    if (watching.load(std::memory_order_relaxed)) HandOverDrawing(state);
    LetPageRun();
    lastSlice_ = emscripten_get_now();
  }

  std::vector<run::WatchedVariable> TakeEndVariables() { return std::move(endVariables_); }

 private:
  enum class Waiting { kNothing, kStep, kDelay, kAnswer, kPause };

  void UpdateWatching() { watching = gate_.Watching(); }

  // Before a line, as the gate says: step by step, it waits for a step; slowed down, it waits
  // its delay, or less when a step or a stop is asked meanwhile.
  void AtStop(int line, bool turn, const run::RunState& state) {
    const session::StepGate::Stop stop = gate_.Before(line, turn, state);
    if (stop == session::StepGate::Stop::kNone) return;
    HandOverDrawing(state);  // each segment and point is seen as it is drawn
    Model().StoppedBefore(line, state.Variables(), stop == session::StepGate::Stop::kStep);
    Changed();
    if (stop == session::StepGate::Stop::kSlowed) {
      waiting_ = Waiting::kDelay;
      WaitForPage(gate_.DelayMs());
      waiting_ = Waiting::kNothing;
      lastSlice_ = emscripten_get_now();
      if (stop_ || !gate_.StepsAfterDelay()) return;
      Model().StoppedBefore(line, state.Variables(), true);
      Changed();
    }
    WaitFor(Waiting::kStep, [this] { return gate_.StepGranted() || !gate_.Stepping(); });
    UpdateWatching();
  }

  // Hands the thread to the page until `done` holds or the run is stopped.
  template <typename Done>
  void WaitFor(Waiting what, Done done) {
    waiting_ = what;
    while (!stop_ && !done()) WaitForPage(-1);
    waiting_ = Waiting::kNothing;
    lastSlice_ = emscripten_get_now();
  }

  // While watched, the drawing is shown as it is made.
  void HandOverDrawing(const run::RunState& state) {
    if (state.DrawingChanges() == drawingChangesHanded_ || state.DrawingSoFar().Empty()) return;
    drawingChangesHanded_ = state.DrawingChanges();
    Model().DrawingGrew(state.DrawingSoFar());
    Changed();
  }

  const std::shared_ptr<const session::ReadProgram> program_;
  session::StepGate gate_;
  std::atomic<bool> stop_{false};
  bool goOn_ = false;
  Waiting waiting_ = Waiting::kNothing;
  std::optional<std::string> answer_;
  int pauseLine_ = 0;
  std::vector<run::WatchedVariable> pauseVariables_;
  double lastSlice_ = 0;
  std::uint64_t drawingChangesHanded_ = 0;
  std::vector<run::WatchedVariable> endVariables_;
};

// The run going on, if any: actions reach it while it waits.
PageRun* active = nullptr;
// The frame of the program last run: the drawing keeps it when another program is shown.
std::optional<drawing::Axes> runAxes;

// A user's action, by name: "launch", "launchStepping", "step", "continue", "speed" (`number`),
// "stop", "restart", "close", "enter" (`text`: the answer field), "programChanged".
ActionOutcome RunAction(std::string action, std::string text, int number) {
  session::RunModel& model = Model();
  session::RunOrders orders;
  if (action == "launch" || action == "launchStepping") {
    orders = model.Launch(action == "launchStepping");
  } else if (action == "step") {
    orders = model.Step();
  } else if (action == "continue") {
    orders = model.Continue();
  } else if (action == "speed") {
    orders = model.SetSpeed(number);
  } else if (action == "stop") {
    orders = model.Stop();
  } else if (action == "restart") {
    orders = model.Restart();
  } else if (action == "close") {
    orders = model.Close();
  } else if (action == "enter") {
    orders = model.Enter(session::FromUtf8(text));
  } else if (action == "programChanged") {
    orders = model.ProgramChanged();
  }
  ActionOutcome outcome;
  for (const RunOrder& order : orders) {
    if (order.kind == RunOrder::Kind::kStart) {
      outcome.start = true;
      outcome.stepping = order.stepping;
    } else if (active != nullptr && active->Apply(order)) {
      outcome.resume = true;
    }
  }
  Changed();
  return outcome;
}

// The run's end, as the model tells it.
void EndRun(const run::RunResult& result, std::vector<run::WatchedVariable> variables) {
  Model().Ended(result, std::move(variables));
  Changed();
}

std::string PhaseName(session::RunPhase phase) {
  switch (phase) {
    case session::RunPhase::kNone:
      return "none";
    case session::RunPhase::kRunning:
      return "running";
    case session::RunPhase::kStepping:
      return "stepping";
    case session::RunPhase::kAsking:
      return "asking";
    case session::RunPhase::kPausing:
      return "pausing";
    case session::RunPhase::kEnded:
      return "ended";
  }
  return "none";
}

RunView View() {
  const session::RunModel& model = Model();
  RunView view;
  view.phase = PhaseName(model.Phase());
  view.panelShown = model.PanelShown();
  view.state = session::ToUtf8(model.StateLine());
  view.error = model.StateIsError();
  view.logoLine = model.Lines().logoLine;
  view.algorithmLine = model.Lines().algorithmLine;
  view.algorithmText = session::ToUtf8(model.Lines().algorithmText);
  view.logoText = session::ToUtf8(model.Lines().logoText);
  view.question = session::ToUtf8(model.Question());
  view.answerLive = model.AnswerLive();
  view.continueLive = model.ContinueLive();
  view.stepLive = model.StepLive();
  view.stopLive = model.StopLive();
  view.restartLive = model.RestartLive();
  view.speed = model.SpeedIndex();
  view.variablesShown = model.VariablesShown();
  view.variablesVersion = static_cast<double>(model.VariablesVersion());
  view.drawingShown = model.Drawing().has_value();
  view.drawingVersion = static_cast<double>(model.DrawingVersion());
  view.transcriptWaiting = model.TranscriptWaiting();
  return view;
}

val Variables() {
  val list = val::array();
  for (const session::ShownVariable& variable : Model().Variables()) {
    list.call<void>("push", val(ShownVariable{session::ToUtf8(variable.name),
                                              session::ToUtf8(variable.value), variable.local,
                                              variable.changed, session::ToUtf8(variable.note)}));
  }
  return list;
}

val Transcript() {
  session::TranscriptUpdate update = Model().TakeTranscript();
  val pieces = val::array();
  for (const session::TranscriptUpdate::Piece& piece : update.pieces) {
    pieces.call<void>("push", val(TranscriptPiece{session::ToUtf8(piece.text), piece.typed}));
  }
  return val(TranscriptUpdate{update.clearFirst, pieces});
}

// The drawing at the size the page shows it, so that graduations and numbers keep their size.
std::string DrawingSvg(int width, int height) {
  const std::optional<run::Drawing>& drawing = Model().Drawing();
  if (!drawing) return {};
  return drawing::DrawingToSvg(*drawing, width, height, runAxes);
}

}  // namespace

EMSCRIPTEN_BINDINGS(tortuval_page_run) {
  emscripten::function("runAction", &RunAction);
  emscripten::function("runView", &View);
  emscripten::function("runVariables", &Variables);
  emscripten::function("runTranscript", &Transcript);
  emscripten::function("runDrawingSvg", &DrawingSvg);
  emscripten::function("keptOutputBytes",
                       +[] { return static_cast<double>(session::RunModel::kKeptOutputBytes); });
}

}  // namespace tortuval::web

/// Runs the program the page shows to its end, stepped from its first line when `stepping`.
/// Called through ccall with {async: true}: it returns at each wait.
extern "C" EMSCRIPTEN_KEEPALIVE void page_run(int stepping) {
  using namespace tortuval::web;
  runAxes = PageSession().Axes();
  PageRun run(PageSession(), stepping != 0);
  active = &run;
  const tortuval::run::RunResult result = run.Run();
  active = nullptr;
  EndRun(result, run.TakeEndVariables());
}
