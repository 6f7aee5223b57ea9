// A run in the page. The page has one thread: the run gives it time every few milliseconds, and
// waits for an answer, a step or the end of a pause by handing the thread back until the page
// says to go on (Asyncify unwinds the run's stack and winds it again). The page's side is
// Module.pageRun, in page.js.

#include <emscripten.h>
#include <emscripten/val.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/svg.h"
#include "run/runtime.h"
#include "session/current_lines.h"
#include "session/session.h"
#include "session/text_edges.h"
#include "web/page_session.h"

namespace tortuval::web {
namespace {

using emscripten::val;

// The only calls that wait: Asyncify instruments the code on their way and no other.
EM_ASYNC_JS(char*, WaitForAnswer, (const char* prompt), {
  const answer = await Module.pageRun.waitForAnswer(UTF8ToString(prompt));
  if (answer === null) return 0;
  const size = lengthBytesUTF8(answer) + 1;
  const copy = _malloc(size);
  stringToUTF8(answer, copy, size);
  return copy;
});
EM_ASYNC_JS(void, WaitForContinue, (), { await Module.pageRun.waitForContinue(); });
EM_ASYNC_JS(void, WaitAtStop, (int waiting, int delayMs), {
  await Module.pageRun.waitAtStop(waiting !== 0, delayMs);
});
EM_ASYNC_JS(void, LetPageRun, (), { await Module.pageRun.letPageRun(); });

// How long the run keeps the thread between two chances the page gets to answer a click.
constexpr double kRunSliceMs = 25;
// Nested procedure calls a run may make in the page. The browser's own stack (under 1 MB, which
// each call takes a share of in WebAssembly and in the trampolines of C++ exceptions) ends near
// 1,000 levels for a one-line recursive function, 600 for a call nested in loops and tests, where
// the desktop goes on to 10,000: past this bound the run stops with the desktop's message.
constexpr int kPageMaxDepth = 400;

val Page() { return val::module_property("pageRun"); }

val VariablesOf(const std::vector<run::WatchedVariable>& variables) {
  val list = val::array();
  for (const run::WatchedVariable& variable : variables) {
    val entry = val::object();
    entry.set("name", session::ToUtf8(variable.name));
    entry.set("value", session::ToUtf8(variable.value));
    entry.set("local", variable.local);
    list.call<void>("push", entry);
  }
  return list;
}

const char* OutcomeName(run::Outcome outcome) {
  switch (outcome) {
    case run::Outcome::kCompleted:
      return "completed";
    case run::Outcome::kError:
      return "error";
    case run::Outcome::kInputExhausted:
      return "inputExhausted";
    case run::Outcome::kStopped:
      return "stopped";
  }
  return "error";
}

class PageRun final : public run::Console, public run::RunObserver {
 public:
  explicit PageRun(const session::Session& session)
      : program_(session.SharedProgram()),
        axes_(session.Axes()),
        lines_(*program_, session) {}

  void Run() {
    run::RunOptions options;
    options.observer = this;
    options.stopRequested = &stop_;
    options.limits.maxDepth = kPageMaxDepth;
    ReadControl();
    lastSlice_ = emscripten_get_now();
    const run::RunResult result = run::RunProgram(program_->Reading(), *this, options);
    val end = val::object();
    end.set("outcome", std::string(OutcomeName(result.outcome)));
    end.set("message", session::ToUtf8(result.message));
    end.set("line", result.line);
    end.set("where", Where(result.line));
    end.set("column", result.column);
    end.set("steps", static_cast<double>(result.steps));
    end.set("variables", VariablesOf(endVariables_));
    if (result.drawing.shown || !result.drawing.Empty()) end.set("svg", Svg(result.drawing));
    Page().call<void>("ended", end);
  }

  // ---- The console.
  void Write(std::string_view text) override {
    Page().call<void>("output", session::ToUtf8(text));
  }

  std::optional<std::string> ReadAnswer(std::string_view prompt) override {
    char* answer = WaitForAnswer(session::ToUtf8(prompt).c_str());
    Resumed();
    if (answer == nullptr) return std::nullopt;
    std::string read = session::FromUtf8(answer);
    std::free(answer);
    return read;
  }

  void ClearText() override { Page().call<void>("clearText"); }

  bool KeyPressed() override {
    WaitForContinue();
    Resumed();
    return true;
  }

  void ShowDrawing(const run::Drawing& drawing) override {
    Page().call<void>("drawing", Svg(drawing));
  }

  // ---- The observer.
  void BeforeInstruction(int line, const run::RunState& state) override {
    HandOverDrawing(state);
    Page().call<void>("stopped", Where(line), VariablesOf(state.Variables()), stepping_);
    WaitAtStop(stepping_ ? 1 : 0, delayMs_);
    Resumed();
  }

  void BeforePause(int line, const run::RunState& state) override {
    HandOverDrawing(state);
    Page().call<void>("paused", Where(line), VariablesOf(state.Variables()));
  }

  void AfterRun(const run::RunState& state) override { endVariables_ = state.Variables(); }

  void WhileRunning(const run::RunState& state) override {
    if (emscripten_get_now() - lastSlice_ < kRunSliceMs) return;
    if (watching.load(std::memory_order_relaxed)) HandOverDrawing(state);
    LetPageRun();
    Resumed();
  }

 private:
  // A line of the program run, as the page shows it: its number, the algorithm's, and the strip.
  val Where(int line) const {
    val where = val::object();
    where.set("line", line);
    where.set("algorithmLine", lines_.AlgorithmLineOf(line));
    where.set("algorithmText", session::ToUtf8(lines_.AlgorithmLine(line)));
    where.set("logoText", session::ToUtf8(lines_.LogoLine(line)));
    return where;
  }

  // At the size the page shows it, so that graduations and numbers keep their size on screen.
  std::string Svg(const run::Drawing& drawing) const {
    return drawing::DrawingToSvg(drawing, drawingWidth_, drawingHeight_, axes_);
  }

  // While watched, the drawing is shown as it is made.
  void HandOverDrawing(const run::RunState& state) {
    if (state.DrawingChanges() == drawingChangesHanded_) return;
    drawingChangesHanded_ = state.DrawingChanges();
    Page().call<void>("drawing", Svg(state.DrawingSoFar()));
  }

  // Back from the page: what it asked for meanwhile.
  void Resumed() {
    ReadControl();
    lastSlice_ = emscripten_get_now();
  }

  void ReadControl() {
    const val control = Page().call<val>("control");
    stop_ = control["stop"].as<bool>();
    stepping_ = control["stepping"].as<bool>();
    delayMs_ = control["delayMs"].as<int>();
    drawingWidth_ = control["drawingWidth"].as<int>();
    drawingHeight_ = control["drawingHeight"].as<int>();
    watching = stepping_ || delayMs_ > 0;
  }

  const std::shared_ptr<const session::ReadProgram> program_;
  const std::optional<drawing::Axes> axes_;
  const session::CurrentLines lines_;  // of the program as the run started, edits aside
  std::atomic<bool> stop_{false};
  bool stepping_ = false;
  int delayMs_ = 0;
  int drawingWidth_ = 800;
  int drawingHeight_ = 600;
  double lastSlice_ = 0;
  std::uint64_t drawingChangesHanded_ = 0;
  std::vector<run::WatchedVariable> endVariables_;
};

}  // namespace

}  // namespace tortuval::web

/// Runs the program the page shows to its end; the page learns of everything through
/// Module.pageRun. Called through ccall with {async: true}: it returns at each wait.
extern "C" EMSCRIPTEN_KEEPALIVE void page_run() {
  tortuval::web::PageRun run(tortuval::web::PageSession());
  run.Run();
}
