// The run as the front ends show it: where a step stops (the algorithm's lines of a document, the
// instructions of a program opened as it is), and the run model's states, orders and marks.

#include "session/run_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "session/step_gate.h"
#include "session/step_points.h"
#include "tests/run/scripted_console.h"

namespace tortuval::session {
namespace {

using Kind = RunOrder::Kind;

std::vector<Kind> Kinds(const RunOrders& orders) {
  std::vector<Kind> kinds;
  for (const RunOrder& order : orders) kinds.push_back(order.kind);
  return kinds;
}

// Runs a session's program watched, and keeps the algorithm line (or the LOGO line, for a program
// opened as it is) of each stop, with the value of one variable there.
class StopRecorder : public run::RunObserver {
 public:
  StopRecorder(const ReadProgram& program, const Session& session, std::string variable)
      : stops_(program, session), session_(session), variable_(std::move(variable)) {}

  void BeforeInstruction(int line, const run::RunState& state) override {
    Stop(line, false, state);
  }
  void BeforeLoopTurn(int line, const run::RunState& state) override { Stop(line, true, state); }

  std::vector<int> lines;
  std::vector<std::string> values;

 private:
  void Stop(int line, bool turn, const run::RunState& state) {
    if (!stops_.StopsAt(line, turn, state.CallDepth())) return;
    lines.push_back(session_.IsDocument() ? session_.AlgorithmLine(line) : line);
    for (const run::WatchedVariable& watched : state.Variables()) {
      if (watched.name == variable_) values.push_back(watched.value);
    }
  }

  StepPoints stops_;
  const Session& session_;
  std::string variable_;
};

struct Stops {
  std::vector<int> lines;
  std::vector<std::string> values;
};

Stops Stepped(const Session& session, std::vector<std::string> answers,
              std::string variable = "") {
  const std::shared_ptr<const ReadProgram> program = session.SharedProgram();
  StopRecorder recorder(*program, session, std::move(variable));
  run::ScriptedConsole console(std::move(answers));
  run::RunOptions options;
  options.observer = &recorder;
  options.seed = 1;
  session.Run(console, options);
  return {recorder.lines, recorder.values};
}

TEST(StepPoints, EuclidStopsOnceAtEachAlgorithmLineThatRuns) {
  const Stops euclid = Stepped(Session::OfExample(7), {"12", "18"});
  EXPECT_EQ(euclid.lines, (std::vector<int>{7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 14, 16, 17,
                                            18, 14, 16, 17, 18, 14, 20}));
}

TEST(StepPoints, ACountedLoopStopsAtItsHeaderEachTurnWithItsCounterSet) {
  // The bubble sort's first loop: its header, then its three lines, each turn.
  const Stops sort = Stepped(Session::OfExample(1), {}, "i");
  ASSERT_GE(sort.lines.size(), 9u);
  EXPECT_EQ(std::vector<int>(sort.lines.begin(), sort.lines.begin() + 9),
            (std::vector<int>{8, 9, 11, 12, 13, 9, 11, 12, 13}));
  EXPECT_EQ(sort.values[1], "1");
  EXPECT_EQ(sort.values[5], "2");
  // Never the loop's end, never the declarations.
  for (const int line : sort.lines) {
    EXPECT_TRUE(line >= 8 && line != 14 && line != 25 && line != 26 && line != 33) << line;
  }
}

TEST(StepPoints, AFunctionTheListingDoesNotShowIsPartOfItsCallersLine) {
  // Example 7's curve calls F1 twice a segment: no stop of its own, never on the description.
  const Stops curve = Stepped(Session::OfExample(6), {});
  ASSERT_GE(curve.lines.size(), 8u);
  EXPECT_EQ(std::vector<int>(curve.lines.begin(), curve.lines.begin() + 8),
            (std::vector<int>{7, 8, 9, 11, 12, 13, 9, 11}));
}

TEST(StepPoints, AProgramOpenedAsItIsStopsAtEachInstruction) {
  const Session program =
      Session::OfProgram("p.lgo", "SOIT \"n 0\r\nREPETE 2 [ SOIT \"n :n + 1 ]\r\nECRIS :n\r\n");
  EXPECT_EQ(Stepped(program, {}).lines, (std::vector<int>{1, 2, 2, 2, 3}));
}

// A run standing after the instruction at `lineRun`, in the main instructions.
class StandingState : public run::RunState {
 public:
  std::vector<run::WatchedVariable> Variables() const override { return {}; }
  const run::Drawing& DrawingSoFar() const override { return drawing_; }
  std::uint64_t DrawingChanges() const override { return 0; }
  int LineRun() const override { return lineRun; }
  int lineRun = 0;

 private:
  run::Drawing drawing_;
};

TEST(StepGate, AStepAskedMidLineStopsAtTheNextLineAndASlowedLineCanBecomeAStep) {
  using Stop = StepGate::Stop;
  const Session euclid = Session::OfExample(7);
  StepGate gate(StepPoints(*euclid.SharedProgram(), euclid));
  StandingState state;
  // Asked while "SOIT "A LISNOMBRE" (LOGO 9, LIRE A) reads: the rest of LIRE A passes.
  state.lineRun = 9;
  gate.StopAtNext();
  EXPECT_TRUE(gate.Watching());
  EXPECT_EQ(gate.Before(10, false, state), Stop::kNone);
  EXPECT_EQ(gate.Before(11, false, state), Stop::kNone);
  EXPECT_EQ(gate.Before(12, false, state), Stop::kStep);  // LIRE B
  EXPECT_FALSE(gate.StepGranted());
  gate.StepOne();
  EXPECT_TRUE(gate.StepGranted());
  EXPECT_EQ(gate.Before(13, false, state), Stop::kNone);
  EXPECT_EQ(gate.Before(16, false, state), Stop::kStep);
  EXPECT_FALSE(gate.StepGranted());

  gate.GoOn();
  gate.SetDelay(100);
  EXPECT_EQ(gate.Before(17, false, state), Stop::kSlowed);
  EXPECT_FALSE(gate.StepsAfterDelay());
  EXPECT_EQ(gate.Before(18, false, state), Stop::kSlowed);
  gate.StopAtNext();  // during the delay
  EXPECT_TRUE(gate.StepsAfterDelay());
  EXPECT_TRUE(gate.Stepping());
  gate.GoOn();
  gate.SetDelay(0);
  EXPECT_FALSE(gate.Watching());
}

// ---- The model.

run::RunResult Ending(run::Outcome outcome, int line = 0, std::vector<int> calls = {}) {
  run::RunResult result;
  result.outcome = outcome;
  result.line = line;
  result.callLines = std::move(calls);
  if (outcome == run::Outcome::kError) result.message = "Division par z\xe9ro.";
  return result;
}

class RunModelTest : public ::testing::Test {
 protected:
  // A run of example 8 begun: the model as the front end leaves it after a kStart.
  void Begin(bool stepping = false) {
    EXPECT_EQ(Kinds(model.Launch(stepping)), std::vector<Kind>{Kind::kStart});
    const Session euclid = Session::OfExample(7);
    model.Started(CurrentLines(*euclid.SharedProgram(), euclid), stepping);
  }
  RunModel model;
};

TEST_F(RunModelTest, AQuestionKeepsTheAnswerLiveAndAStepWaitsForItsAnswer) {
  Begin();
  EXPECT_EQ(model.Phase(), RunPhase::kRunning);
  model.Output("Avant");
  model.Asked("Tape un nombre.");
  EXPECT_EQ(model.Phase(), RunPhase::kAsking);
  EXPECT_TRUE(model.AnswerLive());
  EXPECT_FALSE(model.ContinueLive());

  EXPECT_TRUE(model.Step().empty());  // the question stays
  EXPECT_EQ(model.Phase(), RunPhase::kAsking);
  const RunOrders orders = model.Enter("12");
  EXPECT_EQ(Kinds(orders), (std::vector<Kind>{Kind::kStopAtNext, Kind::kAnswer}));
  EXPECT_EQ(orders[1].answer, "12");
  EXPECT_EQ(model.Phase(), RunPhase::kRunning);
  EXPECT_FALSE(model.AnswerLive());

  // The exchange joins the transcript on a line of its own, the answer set apart.
  const TranscriptUpdate transcript = model.TakeTranscript();
  ASSERT_EQ(transcript.pieces.size(), 2u);
  EXPECT_EQ(transcript.pieces[0].text, "Avant\nTape un nombre. ");
  EXPECT_FALSE(transcript.pieces[0].typed);
  EXPECT_EQ(transcript.pieces[1].text, "12\n");
  EXPECT_TRUE(transcript.pieces[1].typed);
  EXPECT_FALSE(model.TranscriptWaiting());
}

TEST_F(RunModelTest, StepsContinueAndEnterWhileStopped) {
  Begin(true);
  model.StoppedBefore(8, {{"A", "0", false}}, true);
  EXPECT_EQ(model.Phase(), RunPhase::kStepping);
  EXPECT_TRUE(model.ContinueLive());
  EXPECT_EQ(model.Lines().logoLine, 8);
  EXPECT_EQ(model.Lines().algorithmLine, 7);
  EXPECT_EQ(Kinds(model.Enter("")), std::vector<Kind>{Kind::kStepOne});
  EXPECT_EQ(model.Phase(), RunPhase::kRunning);

  model.StoppedBefore(12, {{"A", "12", false}, {"n", "1", true}}, true);
  EXPECT_TRUE(model.Variables()[0].changed);
  EXPECT_TRUE(model.Variables()[0].note.empty());
  EXPECT_FALSE(model.Variables()[1].note.empty());  // a local says so
  model.StoppedBefore(13, {{"A", "12", false}}, true);
  EXPECT_FALSE(model.Variables()[0].changed);
  EXPECT_EQ(Kinds(model.Continue()), std::vector<Kind>{Kind::kGoOn});
  EXPECT_FALSE(model.Stepping());
  EXPECT_EQ(model.Lines().logoLine, 0);  // at full speed no line is named
  EXPECT_TRUE(model.Continue().empty());
  // A question after Continue is answered with no step.
  model.Asked("");
  EXPECT_EQ(Kinds(model.Answer("18")), std::vector<Kind>{Kind::kAnswer});
}

TEST_F(RunModelTest, APauseEndsWithContinueOrEnter) {
  Begin();
  model.Paused(21, {});
  EXPECT_EQ(model.Phase(), RunPhase::kPausing);
  EXPECT_FALSE(model.VariablesShown());  // full speed: the table stays as it was
  EXPECT_EQ(Kinds(model.Enter("")), std::vector<Kind>{Kind::kGoOn});
  model.Paused(21, {});
  EXPECT_EQ(Kinds(model.Step()), std::vector<Kind>{Kind::kStopAtNext});
  EXPECT_EQ(model.Phase(), RunPhase::kRunning);
}

TEST_F(RunModelTest, ARunEndsFirstWhenAnotherProgramIsShown) {
  EXPECT_TRUE(model.ProgramChanged().empty());  // no run: nothing to stop
  Begin(true);
  model.StoppedBefore(8, {}, true);
  EXPECT_EQ(Kinds(model.ProgramChanged()), std::vector<Kind>{Kind::kStop});
  model.Ended(Ending(run::Outcome::kStopped), {});
  EXPECT_EQ(model.Phase(), RunPhase::kEnded);
  EXPECT_FALSE(model.Active());
  EXPECT_EQ(model.Lines().logoLine, 0);
  const std::string changed = model.StateLine();

  Begin();
  EXPECT_EQ(Kinds(model.Stop()), std::vector<Kind>{Kind::kStop});
  model.Ended(Ending(run::Outcome::kStopped), {});
  EXPECT_NE(model.StateLine(), changed);  // a stop asked for is told apart
  // Once ended: "Relancer" runs anew, "Pas à pas" runs anew stepping.
  EXPECT_TRUE(model.Stop().empty());
  const RunOrders step = model.Step();
  ASSERT_EQ(Kinds(step), std::vector<Kind>{Kind::kStart});
  EXPECT_TRUE(step[0].stepping);
  EXPECT_EQ(Kinds(model.Restart()), std::vector<Kind>{Kind::kStart});
}

TEST_F(RunModelTest, RelancerDuringAQuestionStopsThatRunFirst) {
  Begin();
  model.Asked("Tape un nombre.");
  EXPECT_EQ(Kinds(model.Restart()), (std::vector<Kind>{Kind::kStop, Kind::kStart}));
  EXPECT_EQ(Kinds(model.Close()), std::vector<Kind>{Kind::kStop});
  EXPECT_FALSE(model.PanelShown());
}

TEST_F(RunModelTest, AnErrorInAFunctionWithoutALineShowsItsCallersLine) {
  const Session curve = Session::OfExample(6);
  model.Launch(false);
  model.Started(CurrentLines(*curve.SharedProgram(), curve), false);
  // Line 2 is F1's body, written by the converter; line 17 draws the segment that called it.
  model.Ended(Ending(run::Outcome::kError, 2, {17}), {});
  EXPECT_TRUE(model.StateIsError());
  EXPECT_EQ(model.Lines().logoLine, 2);
  EXPECT_EQ(model.Lines().algorithmLine, 12);
}

TEST_F(RunModelTest, OutputTheViewDoesNotTakeIsKeptToItsLastMegabyte) {
  Begin();
  const std::string line(1000, 'x');
  for (int i = 0; i < 3000; ++i) model.Output(line + "\n");
  const TranscriptUpdate transcript = model.TakeTranscript();
  EXPECT_TRUE(transcript.clearFirst);
  std::size_t kept = 0;
  for (const auto& piece : transcript.pieces) kept += piece.text.size();
  EXPECT_GE(kept, RunModel::kKeptOutputBytes);
  EXPECT_LE(kept, 2 * RunModel::kKeptOutputBytes);
  EXPECT_EQ(transcript.pieces.back().text.back(), '\n');
}

TEST_F(RunModelTest, SpeedGivesItsDelay) {
  const RunOrders orders = model.SetSpeed(3);
  ASSERT_EQ(Kinds(orders), std::vector<Kind>{Kind::kDelay});
  EXPECT_EQ(orders[0].delayMs, 500);
  EXPECT_EQ(model.SetSpeed(99)[0].delayMs, 500);
  EXPECT_EQ(model.SetSpeed(0)[0].delayMs, 0);
}

}  // namespace
}  // namespace tortuval::session
