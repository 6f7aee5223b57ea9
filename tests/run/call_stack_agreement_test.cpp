// A call runs on the thread's stack while few calls are open, and as tasks on the machine's own
// stacks past that: both ways give the same run. Every program of the corpus, and programs that
// put calls in every place a value or an instruction can be, run both ways with the same
// answers, watched and not: same output, prompts, stops where the observer was told, steps,
// end and drawing.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/runtime.h"
#include "tests/run/program_corpus.h"
#include "tests/run/scripted_console.h"
#include "tests/test_support.h"

namespace tortuval::run {
namespace {

// Notes each stop the run would make for a person watching: its line and how deep it is.
class StopRecorder : public RunObserver {
 public:
  void BeforeInstruction(int line, const RunState& state) override {
    stops += std::to_string(line) + ':' + std::to_string(state.CallDepth()) + ' ';
  }
  void BeforeLoopTurn(int line, const RunState& state) override {
    stops += std::to_string(line) + '@' + std::to_string(state.CallDepth()) + ' ';
  }
  void AfterRun(const RunState& state) override {
    for (const WatchedVariable& variable : state.Variables()) {
      ends += variable.name + '=' + variable.value + (variable.local ? "* " : " ");
    }
  }
  std::string stops;
  std::string ends;
};

// Everything a run shows, printed for comparison.
std::string Shown(const std::string& program, int callsOnThreadStack, std::uint64_t maxSteps,
                  bool watched) {
  ScriptedConsole console({"3", "2", "1", "4", "5", "x", "6"});
  StopRecorder recorder;
  recorder.watching = watched;
  RunOptions options;
  options.seed = 1;
  options.limits.maxSteps = maxSteps;
  options.observer = &recorder;
  options.callsOnThreadStack = callsOnThreadStack;
  const RunResult result = RunProgram(program, console, options);
  std::string shown = "output: " + console.output + "\nprompts:";
  for (const std::string& prompt : console.prompts) shown += " [" + prompt + ']';
  shown += "\nend: " + std::to_string(static_cast<int>(result.outcome)) + ' ' + result.message +
           " at " + std::to_string(result.line) + ':' + std::to_string(result.column) + " calls";
  for (const int line : result.callLines) shown += ' ' + std::to_string(line);
  shown += "\nsteps: " + std::to_string(result.steps) + "\ndrawing:";
  for (const auto& segment : result.drawing.segments) {
    shown += ' ' + std::to_string(segment.from.x) + ',' + std::to_string(segment.from.y) + '-' +
             std::to_string(segment.to.x) + ',' + std::to_string(segment.to.y);
  }
  for (const auto& point : result.drawing.points) {
    shown += " p" + std::to_string(point.x) + ',' + std::to_string(point.y);
  }
  return shown + "\nstops: " + recorder.stops + "\nvariables: " + recorder.ends;
}

// A call in each place: instruction inputs, loop tests and counts, operands of every operator,
// primitive inputs, item positions and lists, points, truth values, early returns from loops,
// errors and reads inside calls, calls nested in calls' inputs.
const char* const kCallsEverywhere[] = {
    "POUR un\nrends 1\nFIN\nPOUR f :x\nrends :x * 2\nFIN\n"
    "soit \"a f 3 + f un\nECRIS :a\nECRISLIGNE f f f un\nECRIS - f 2\nECRIS f 2 - f 1\n"
    "ECRIS ( f 3 ) / ( f un - 2 )\nECRIS f 5 % f 2\nECRIS f 2 ^ f un\nECRIS f 7 div f 2\n"
    "ECRIS rac2 f 8\nECRIS \"mot + f 1\nECRIS ( f 1 ) + \"mot\nsoit \"L [ ]\n"
    "REPETE f 2 [ soit \"L PH :L f boucle ]\nECRIS :L\nECRIS item :L f un\n"
    "ECRIS item [ 5 6 7 8 9 ] [ f 1 ]\nremplace :L [ f 1 ] f 10\nECRIS :L\n",

    "POUR vrai? :x\nrends :x > 2\nFIN\nPOUR g :n\nsoit \"i 0\n"
    "TANT QUE vrai [ soit \"i :i + 1 si :i = :n [ rends :i * 10 ] ]\nFIN\n"
    "ECRIS g 4\nsi vrai? 3 [ ECRIS \"oui ]\nTESTE vrai? 1\nSIVRAI [ ECRIS \"v ]\n"
    "SIFAUX [ ECRIS \"f TESTE vrai? g 1 ]\nSIVRAI [ ECRIS \"v2 ]\n"
    "ECRIS ( vrai? 3 ) ET ( vrai? 1 )\nECRIS ( vrai? 1 ) OU ( vrai? 5 )\n"
    "ECRIS ( vrai? 3 ) = ( vrai? 4 )\nsoit \"k 0\nTANT QUE :k < g 2 [ soit \"k :k + 7 ]\nECRIS "
    ":k\n",

    "POUR pt :x\nrends [ 1 2 ]\nFIN\nPOUR d :x\nrends :x + 1\nFIN\ninitgraph d 0\n"
    "SEGMENT3D [ d 1 d 2 0 ] [ 3 d 3 0 ]\nPLOT pt 1\nSEGMENT3D pt 0 [ d 4 5 ]\n"
    "grapheur d 0\nPLOT PH [ d 7 ] [ 8 ]\nPLOT [ d 1 ]\n",

    "POUR lit\nrends lisnombre\nFIN\nPOUR ajoute :x\nsoit \"s :s + :x\nFIN\nsoit \"s 0\n"
    "REPETE 3 [ ajoute lit ]\nECRIS :s\nECL d 1 EFFL\nECRIS lit\nPOUR d :x\nrends :x\nFIN\n",

    "POUR casse :n\nsi :n = 0 [ rends 1 / :n ]\nrends 1 + casse :n - 1\nFIN\nECRIS casse 5\n",
    "POUR rien :n\nECRIS :n\nFIN\nECRIS 1 + rien 2\n",
    "POUR f :n\nrends :n\nFIN\nsoit \"i 1\nREPETE 5 [ ECRIS f :i soit \"i :i + 1 ]\n",
    "POUR fact :n\nsi :n < 2 [ rends 1 ]\nrends :n * fact :n - 1\nFIN\n"
    "REPETE 3 [ ECRIS fact boucle + 3 ]\nrends 4\n",
    "POUR p :n\nrends p :n + 1\nFIN\nECRIS p 1\n",
    // A failure before a call in the same expression: the call is not made, not even counted.
    "POUR f :x\nrends :x\nFIN\nSEGMENT3D [ 1 ( f 2 ) 0 ] [ :rien ( f 3 ) 0 ]\n",
    "POUR f :x\nrends :x\nFIN\nECRIS \"unmotdeplusdeseizelettres + :rien + f 1\n",
    // Past the step budget at the end of a pass (its 4 steps after the loop's first one bring
    // it to 200,001 there), nothing more is counted.
    "POUR f :x\nrends :x\nFIN\nREPETE 1000000 [ soit \"x f boucle ]\nECRIS :x\n",
    "POUR f :x\nrends :x\nFIN\nsoit \"x 0\nTANT QUE vrai [ soit \"x f :x ]\n",
    "POUR pgcd :a :b\nsi :b = 0 [ rends :a ]\nrends pgcd :b :a % :b\nFIN\nsoit \"s 0\nsoit \"i 1\n"
    "REPETE 30 [ soit \"j 1 REPETE 30 [ soit \"s :s + pgcd :i :j soit \"j :j + 1 ] "
    "soit \"i :i + 1 ]\nECRIS :s\n",
};

TEST(CallStackAgreement, CallsRunTheSameOnTheThreadsStackAndAsTasks) {
  std::vector<Program> programs = Corpus();
  for (const char* text : kCallsEverywhere) programs.push_back({text, text});
  int withCalls = 0;
  for (const Program& program : programs) {
    SCOPED_TRACE(program.name);
    // Watched, within a budget that most programs stay in; then unwatched, within budgets that
    // stop many in the middle of a loop, at each of the steps a pass of a short loop takes.
    for (const std::uint64_t maxSteps : {200'000, 20'000, 20'001, 20'002, 20'003}) {
      const bool watched = maxSteps == 200'000;
      const std::string usual =
          Shown(program.text, RunOptions().callsOnThreadStack, maxSteps, watched);
      EXPECT_EQ(usual, Shown(program.text, 0, maxSteps, watched));
      EXPECT_EQ(usual, Shown(program.text, 1, maxSteps, watched));
    }
    if (program.text.find("rends") != std::string::npos) ++withCalls;
  }
  EXPECT_GT(withCalls, 30);
}

}  // namespace
}  // namespace tortuval::run
