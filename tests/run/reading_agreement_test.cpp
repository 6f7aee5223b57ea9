// The check and the run share one reading of a program, so they agree: over the examples, the
// tests' programs and documents, generated documents and the fuzz corpora, a program the check
// finds clean never stops for a reading reason when run, and each line where a run would stop
// for one (a failure of the reading) is a finding of the check.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "logo/checker.h"
#include "run/runtime.h"
#include "testing/document_generator.h"
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

struct Program {
  std::string name;
  std::string text;
};

std::vector<Program> Corpus() {
  std::vector<Program> programs;
  for (int index = 0; index < examples::kExampleCount; ++index) {
    programs.push_back({"example " + std::to_string(index + 1),
                        convert::ConvertDocument(examples::ExampleDocument(index)).logoText});
  }
  for (const testing::Case& row : testing::ReadCaseFolder("conversions")) {
    if (row.Has("logo")) programs.push_back({row.file + ' ' + row.name, row.Get("logo")});
  }
  const std::filesystem::path data(TORTUVAL_TEST_DATA_DIR);
  for (const auto& entry : std::filesystem::directory_iterator(data / "run" / "documents")) {
    programs.push_back(
        {entry.path().filename().string(),
         convert::ConvertDocument(testing::ReadFileBytes(entry.path().string())).logoText});
  }
  for (const char* folder : {"logo", "run"}) {
    const std::filesystem::path corpus =
        data.parent_path().parent_path() / "fuzz" / "corpus" / folder;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
      programs.push_back({"fuzz " + entry.path().filename().string(),
                          testing::ReadFileBytes(entry.path().string())});
    }
  }
  for (std::uint32_t seed = 1; seed <= 12; ++seed) {
    generator::GeneratorOptions options;
    options.targetBytes = 12000;
    options.seed = seed;
    options.withCountedLoops = seed % 3 != 0;
    options.withFunctions = seed % 4 != 0;
    programs.push_back({"generated " + std::to_string(seed),
                        convert::ConvertDocument(generator::GenerateDocument(options)).logoText});
  }
  return programs;
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

}  // namespace
}  // namespace tortuval::run
