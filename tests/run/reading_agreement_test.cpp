// The check and the run share one reading of a program, so they agree: over the examples, the
// tests' programs and documents, generated documents and the fuzz corpora, a program the check
// finds clean never stops for a reading reason when run, and each line where a run would stop
// for one (a failure of the reading) is a finding of the check.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "logo/checker.h"
#include "logo/tree.h"
#include "run/runtime.h"
#include "tests/run/program_corpus.h"
#include "tests/run/scripted_console.h"
#include "tests/test_support.h"

namespace tortuval::run {
namespace {

struct Failure {
  int line;
  std::string text;
};

void CollectFailures(const logo::Node& node, std::vector<Failure>& failures) {
  if (node.op == logo::Op::kFailure) failures.push_back({node.line, node.text});
  for (const logo::Node& kid : node.kids) CollectFailures(kid, failures);
}

TEST(ReadingAgreement, TheCheckReportsEveryLineWhereARunStopsForAReadingReason) {
  int clean = 0;
  int stoppedForAReadingReason = 0;
  for (const Program& program : Corpus()) {
    SCOPED_TRACE(program.name);
    const logo::Reading reading = logo::ReadProgram(program.text);
    const std::vector<logo::Finding> findings = logo::CheckReading(reading);
    std::vector<Failure> failures;
    CollectFailures(reading.program.main, failures);
    for (const logo::Procedure& procedure : reading.program.procedures) {
      CollectFailures(procedure.body, failures);
    }
    const auto reported = [&](int line) {
      return std::any_of(findings.begin(), findings.end(),
                         [line](const logo::Finding& finding) { return finding.line == line; });
    };
    for (const Failure& failure : failures) {
      EXPECT_TRUE(reported(failure.line))
          << "line " << failure.line << ": " << testing::Utf8(failure.text);
    }
    if (findings.empty()) {
      ++clean;
      EXPECT_TRUE(failures.empty());
    }

    ScriptedConsole console({"3", "2", "1", "4", "5"});
    RunOptions options;
    options.seed = 1;
    options.limits.maxSteps = 200'000;
    const RunResult result = RunProgram(reading, console, options);
    const bool readingStop =
        result.outcome == Outcome::kError &&
        std::any_of(failures.begin(), failures.end(), [&](const Failure& failure) {
          return failure.line == result.line && failure.text == result.message;
        });
    if (readingStop) {
      ++stoppedForAReadingReason;
      EXPECT_FALSE(findings.empty());
      EXPECT_TRUE(reported(result.line)) << testing::Utf8(result.message);
    }
  }
  // The corpus holds both kinds.
  EXPECT_GT(clean, 20);
  EXPECT_GT(stoppedForAReadingReason, 10);
}

// What the runtime relies on to choose how to run a node, computed again from the whole tree.
bool HoldsCallOrWait(const logo::Node& node, int& wrong) {
  bool holds = node.op == logo::Op::kCall || logo::WaitsForUser(node);
  for (const logo::Node& kid : node.kids) holds = HoldsCallOrWait(kid, wrong) || holds;
  if (holds != node.callsOrWaits) ++wrong;
  return holds;
}

TEST(ReadingAgreement, EveryNodeKnowsWhetherACallOrAWaitIsInside) {
  for (const Program& program : Corpus()) {
    SCOPED_TRACE(program.name);
    const logo::Reading reading = logo::ReadProgram(program.text);
    int wrong = 0;
    HoldsCallOrWait(reading.program.main, wrong);
    for (const logo::Procedure& procedure : reading.program.procedures) {
      HoldsCallOrWait(procedure.body, wrong);
    }
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace
}  // namespace tortuval::run
