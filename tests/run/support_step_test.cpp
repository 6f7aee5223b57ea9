// The converter's support procedures run as one instruction of their caller: a watched run never
// stops inside one nor shows its locals, and a run that fails inside one fails at the call, the
// procedure named in the message. The program's own procedures are watched as any code.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "library/support_procedures.h"
#include "run/runtime.h"
#include "tests/run/scripted_console.h"
#include "tests/test_support.h"

namespace tortuval::run {
namespace {

using testing::Utf8;

// Each stop as "LINE name=value …" (locals marked with a dot), and the state the run ended in.
struct Recorder : RunObserver {
  static std::string Seen(int line, const RunState& state) {
    std::string seen = std::to_string(line);
    for (const WatchedVariable& variable : state.Variables()) {
      seen += ' ' + std::string(variable.local ? "." : "") + variable.name + '=' + variable.value;
    }
    return seen;
  }
  void BeforeInstruction(int line, const RunState& state) override {
    stops.push_back(Seen(line, state));
    drawn.push_back(state.DrawingSoFar().segments.size());
  }
  void AfterRun(const RunState& state) override { end = Seen(0, state); }
  std::vector<std::string> stops;
  std::vector<std::size_t> drawn;
  std::string end;
};

// PSEUDAL_SOMME as the converter writes it, then `mainPart`; `first` gets the number of the
// main part's first line.
std::string WithSum(const std::string& mainPart, int& first) {
  std::string text;
  library::AppendSupportProcedure(library::FindSupportProcedure("PSEUDAL_SOMME")->position, "",
                                  text);
  first = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  return text + mainPart;
}

TEST(SupportSteps, ASupportProcedureIsOneStepAndTheProgramsOwnAreSteppedInto) {
  int m = 0;
  const std::string program = WithSum(
      "POUR double :x\nrends :x * 2\nFIN\nDEFINIS \"L LISTE\nsoit \"L [ 1 2 3 ]\n"
      "soit \"s PSEUDAL_SOMME :L 0 2\nECRIS double :s\n",
      m);
  Recorder recorder;
  ScriptedConsole console;
  RunOptions options;
  options.observer = &recorder;
  const RunResult result = RunProgram(program, console, options);
  ASSERT_EQ(result.outcome, Outcome::kCompleted) << Utf8(result.message);
  EXPECT_EQ(console.output, "12");
  EXPECT_EQ(recorder.stops,
            (std::vector<std::string>{
                std::to_string(m + 3) + " L= s=", std::to_string(m + 4) + " L=[] s=",
                std::to_string(m + 5) + " L=[1 2 3] s=", std::to_string(m + 6) + " L=[1 2 3] s=6",
                std::to_string(m + 1) + " L=[1 2 3] s=6 .x=6"}));
  EXPECT_EQ(recorder.end, "0 L=[1 2 3] s=6");
}

TEST(SupportSteps, AFailureInsideOneIsAtItsCallWithItsName) {
  int m = 0;
  const std::string program = WithSum(
      "POUR total :M\nrends PSEUDAL_SOMME :M 0 2\nFIN\n"
      "soit \"L [ 1 douze 3 ]\nECRIS [ avant ]\nECRIS total :L\n",
      m);
  Recorder recorder;
  ScriptedConsole console;
  RunOptions options;
  options.observer = &recorder;
  const RunResult result = RunProgram(program, console, options);
  EXPECT_EQ(result.outcome, Outcome::kError);
  EXPECT_EQ(Utf8(result.message), "PSEUDAL_SOMME : « douze » n'est pas un nombre.");
  EXPECT_EQ(result.line, m + 1);  // the call in the procedure "total"
  EXPECT_EQ(console.output, "avant");
  // The run ends in "total", whose locals show, not the support procedure's.
  EXPECT_EQ(recorder.end, "0 L=[1 douze 3] .M=[1 douze 3]");

  // Unwatched, the same: the command line reports the call's line.
  ScriptedConsole plain;
  const RunResult unwatched = RunProgram(program, plain);
  EXPECT_EQ(unwatched.line, result.line);
  EXPECT_EQ(unwatched.message, result.message);
}

// A watched run sees the drawing grow before each instruction, shown or not.
TEST(SupportSteps, TheDrawingSoFarIsSeenAtEachStop) {
  Recorder recorder;
  ScriptedConsole console;
  RunOptions options;
  options.observer = &recorder;
  RunProgram(
      "initgraph faux\nSEGMENT3D [ 0 0 0 ] [ 1 1 0 ]\nSEGMENT3D [ 1 1 0 ] [ 2 0 0 ]\n"
      "ECRIS 1\n",
      console, options);
  EXPECT_EQ(recorder.drawn, (std::vector<std::size_t>{0, 0, 1, 2}));
}

}  // namespace
}  // namespace tortuval::run
