// Running speed of the LOGO runtime: a counted loop of assignments (statements per second), a
// list grown one append at a time, and the two examples whose loops are long.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "run/runtime.h"

namespace tortuval::bench {
namespace {

class SilentConsole : public run::Console {
 public:
  void Write(std::string_view) override {}
  std::optional<std::string> ReadAnswer(std::string_view) override { return std::nullopt; }
};

// An observer that is not watching, as the run window's is until step by step or a slower speed
// is asked for.
class IdleObserver : public run::RunObserver {
 public:
  IdleObserver() { watching = false; }
  void BeforeInstruction(int, const run::RunState&) override { benchmark::DoNotOptimize(this); }
};

// Runs `program` once an iteration; `items` pass in each run.
void TimeRuns(benchmark::State& state, const std::string& program, std::int64_t items,
              run::RunObserver* observer = nullptr) {
  SilentConsole console;
  run::RunOptions options;
  options.observer = observer;
  for (auto _ : state) {
    const run::RunResult result = run::RunProgram(program, console, options);
    if (result.outcome != run::Outcome::kCompleted) state.SkipWithError("the run did not complete");
  }
  state.SetItemsProcessed(state.iterations() * items);
}

// One assignment a pass: the loop's own step aside, one statement per pass.
std::string CountedAssignments(std::int64_t passes) {
  return "soit \"x 0\r\nREPETE " + std::to_string(passes) + " [ soit \"x :x + 1 ]\r\nECRIS :x\r\n";
}

void BM_RunCountedAssignments(benchmark::State& state) {
  TimeRuns(state, CountedAssignments(state.range(0)), state.range(0));
}
BENCHMARK(BM_RunCountedAssignments)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// The same with the run window's observer installed and idle: the cost of the step-by-step hook.
void BM_RunCountedAssignmentsObserved(benchmark::State& state) {
  IdleObserver observer;
  TimeRuns(state, CountedAssignments(state.range(0)), state.range(0), &observer);
}
BENCHMARK(BM_RunCountedAssignmentsObserved)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// A list of numbers built one append at a time, "SOIT "L PH :L :i" in a counted loop.
void BM_RunAppends(benchmark::State& state) {
  TimeRuns(state,
           "DEFINIS \"L LISTE\r\nREPETE " + std::to_string(state.range(0)) +
               " [ SOIT \"L PH :L boucle ]\r\nECRIS card :L\r\n",
           state.range(0));
}
BENCHMARK(BM_RunAppends)->Arg(20'000)->Unit(benchmark::kMillisecond);

// Procedure calls: Fibonacci by its two recursive calls (242 785 calls for 25), the greatest
// common divisors of every pair up to 300 by Euclid's recursion, and a sum nested 5 000 deep.
constexpr std::string_view kFibonacci =
    "POUR fib :n\r\nsi :n < 2 [ rends :n ]\r\nrends ( fib :n - 1 ) + ( fib :n - 2 )\r\nFIN\r\n"
    "ECRIS fib 25\r\n";
constexpr std::string_view kDivisors =
    "POUR pgcd :a :b\r\nsi :b = 0 [ rends :a ]\r\nrends pgcd :b :a % :b\r\nFIN\r\n"
    "soit \"s 0\r\nsoit \"i 1\r\nREPETE 300 [ soit \"j 1 REPETE 300 [ soit \"s :s + pgcd :i :j "
    "soit \"j :j + 1 ] soit \"i :i + 1 ]\r\nECRIS :s\r\n";
constexpr std::string_view kNestedSum =
    "POUR somme :n\r\nsi :n = 0 [ rends 0 ]\r\nrends :n + somme :n - 1\r\nFIN\r\n"
    "REPETE 20 [ ECRIS somme 5000 ]\r\n";

// Arg 1: calls on the thread's stack while few are open, as on the desktop; arg 0: every call as
// the machine's tasks, as in the page.
void BM_RunCalls(benchmark::State& state, std::string_view program) {
  SilentConsole console;
  run::RunOptions options;
  if (state.range(0) == 0) options.callsOnThreadStack = 0;
  for (auto _ : state) {
    const run::RunResult result = run::RunProgram(program, console, options);
    if (result.outcome != run::Outcome::kCompleted) state.SkipWithError("the run did not complete");
  }
}
BENCHMARK_CAPTURE(BM_RunCalls, fibonacci, kFibonacci)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RunCalls, divisors, kDivisors)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RunCalls, nested_sum, kNestedSum)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Examples 3 (200 000 draws of a point) and 13 (100 000 throws of three dice), converted once.
void BM_RunExample(benchmark::State& state) {
  const int index = static_cast<int>(state.range(0)) - 1;
  const std::string program = convert::ConvertDocument(examples::ExampleDocument(index)).logoText;
  SilentConsole console;
  run::RunOptions options;
  options.seed = 1;
  for (auto _ : state) {
    const run::RunResult result = run::RunProgram(program, console, options);
    if (result.outcome != run::Outcome::kCompleted)
      state.SkipWithError("the example did not complete");
  }
}
BENCHMARK(BM_RunExample)->Arg(3)->Arg(13)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tortuval::bench
