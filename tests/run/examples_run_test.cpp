// The built-in examples converted and run with the answers of tests/data/run/examples.txt, and
// documents of our own making with those of tests/data/run/documents.txt: what each prints is
// compared with what its algorithm computes, worked out apart from the runtime; the random
// examples are checked by what must hold whatever was drawn. Last, the converter's programs of
// the examples and of generated documents parse.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "run/runtime.h"
#include "testing/document_generator.h"
#include "tests/run/scripted_console.h"
#include "tests/test_support.h"

namespace tortuval::run {
namespace {

using testing::Cp;
using testing::Utf8;

std::string ExampleProgram(int number) {
  return convert::ConvertDocument(examples::ExampleDocument(number - 1)).logoText;
}

std::string WithoutCr(std::string text) {
  std::erase(text, '\r');
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

struct ExampleRun {
  RunResult result;
  ScriptedConsole console;
};

ExampleRun RunWithAnswers(const std::string& program, std::vector<std::string> answers,
                          std::uint64_t seed = 7) {
  ExampleRun run{RunResult(), ScriptedConsole(std::move(answers))};
  RunOptions options;
  options.seed = seed;
  run.result = RunProgram(program, run.console, options);
  return run;
}

ExampleRun RunExample(int number, std::vector<std::string> answers, std::uint64_t seed = 7) {
  return RunWithAnswers(ExampleProgram(number), std::move(answers), seed);
}

// A case's program: a built-in example's, or that of a document of tests/data/run/documents.
std::string CaseProgram(const testing::Case& example) {
  if (example.Has("document")) {
    return convert::ConvertDocument(
               testing::ReadDataFile("run/documents/" + example.Get("document")))
        .logoText;
  }
  return ExampleProgram(std::stoi(example.Get("example")));
}

TEST(ExamplesRun, PrintWhatTheirAlgorithmsCompute) {
  std::vector<testing::Case> cases = testing::ReadCaseFile("run/examples.txt");
  for (testing::Case& document : testing::ReadCaseFile("run/documents.txt")) {
    cases.push_back(std::move(document));
  }
  for (const testing::Case& example : cases) {
    SCOPED_TRACE(example.name);
    ExampleRun run = RunWithAnswers(CaseProgram(example), testing::LinesOf(example.Get("answers")));
    EXPECT_EQ(run.result.outcome, Outcome::kCompleted) << Utf8(run.result.message);
    if (example.Has("output")) {
      EXPECT_EQ(WithoutCr(example.Get("output")), WithoutCr(run.console.output))
          << testing::LineDiff(WithoutCr(example.Get("output")), WithoutCr(run.console.output));
    }
    for (const std::string& line : testing::LinesOf(example.Get("contains"))) {
      EXPECT_NE(run.console.output.find(line), std::string::npos) << Utf8(line);
    }
    if (example.Has("segments")) {
      EXPECT_EQ(run.result.drawing.segments.size(), std::stoul(example.Get("segments")));
      EXPECT_EQ(run.result.drawing.points.size(), std::stoul(example.Get("points", "0")));
      EXPECT_TRUE(run.result.drawing.shown);
      EXPECT_EQ(run.console.drawingsShown, 1);
    }
  }
}

std::vector<double> NumbersIn(const std::string& line) {
  std::vector<double> numbers;
  std::istringstream in(line);
  for (std::string word; in >> word;) {
    std::replace(word.begin(), word.end(), ',', '.');
    numbers.push_back(std::stod(word));
  }
  return numbers;
}

TEST(ExamplesRun, BubbleSortPrintsTenDrawsThenTheSameSorted) {
  for (const std::uint64_t seed : {1, 2, 3}) {
    ExampleRun run = RunExample(2, {}, seed);
    ASSERT_EQ(run.result.outcome, Outcome::kCompleted) << Utf8(run.result.message);
    const std::vector<std::string> lines = testing::LinesOf(run.console.output);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Avant le tri :");
    EXPECT_EQ(lines[2], Cp("Après le tri :"));
    std::vector<double> before = NumbersIn(lines[1]);
    const std::vector<double> after = NumbersIn(lines[3]);
    ASSERT_EQ(before.size(), 10u);
    for (const double x : before) EXPECT_TRUE(x == std::floor(x) && x >= 1 && x <= 20) << x;
    std::sort(before.begin(), before.end());
    EXPECT_EQ(before, after);
  }
}

TEST(ExamplesRun, MonteCarloApproachesPi) {
  ExampleRun run = RunExample(3, {});
  ASSERT_EQ(run.result.outcome, Outcome::kCompleted);
  EXPECT_TRUE(std::regex_match(run.console.output, std::regex("3,1[0-9]*"))) << run.console.output;
  EXPECT_NEAR(NumbersIn(run.console.output)[0], 3.14159, 0.02);
}

TEST(ExamplesRun, DiceSumsShareTheirHundredThousandThrows) {
  ExampleRun run = RunExample(13, {});
  ASSERT_EQ(run.result.outcome, Outcome::kCompleted) << Utf8(run.result.message);
  const std::vector<std::string> lines = testing::LinesOf(run.console.output);
  ASSERT_EQ(lines.size(), 16u);
  double total = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string prefix = std::to_string(i + 3) + " -> ";
    ASSERT_EQ(lines[i].substr(0, prefix.size()), prefix);
    const double perThousand = NumbersIn(lines[i].substr(prefix.size()))[0];
    total += perThousand;
    // Three dice: the chances of 3 and 18 are 1/216, of 10 and 11 27/216.
    const int sum = static_cast<int>(i) + 3;
    const int ways[] = {1, 3, 6, 10, 15, 21, 25, 27, 27, 25, 21, 15, 10, 6, 3, 1};
    EXPECT_NEAR(perThousand, 100.0 * ways[sum - 3] / 216, 0.5) << sum;
  }
  EXPECT_NEAR(total, 100, 1e-9);
  EXPECT_EQ(run.result.drawing.segments.size(), 16u);
}

TEST(ExamplesRun, RandomWholeNumbersStayBetweenTheBoundsTenARow) {
  ExampleRun run = RunExample(17, {"25", "1", "6"});
  ASSERT_EQ(run.result.outcome, Outcome::kCompleted) << Utf8(run.result.message);
  const std::vector<std::string> lines = testing::LinesOf(run.console.output);
  const auto start = std::find(lines.begin(), lines.end(), "======");
  ASSERT_NE(start, lines.end());
  std::vector<std::size_t> rowSizes;
  for (auto line = start + 1; line != lines.end(); ++line) {
    const std::vector<double> row = NumbersIn(*line);
    rowSizes.push_back(row.size());
    for (const double x : row) EXPECT_TRUE(x == std::floor(x) && x >= 1 && x <= 6) << x;
  }
  EXPECT_EQ(rowSizes, (std::vector<std::size_t>{10, 10, 5}));
}

// Example 15 reads its list with LIRE listenombre[4], then sorts listenombre[1] to
// listenombre[ntermes] by selection. The answer's values, typed with blanks or with the editor's
// ":", go from element 4 on; the elements before are 0.
TEST(ExamplesRun, PositionOfMinimumSortsTheStretchOfTheListRead) {
  for (const std::string answer : {"5 3 8 1", "5:3:8 1"}) {
    SCOPED_TRACE(answer);
    ExampleRun run = RunExample(15, {"7", answer});
    ASSERT_EQ(run.result.outcome, Outcome::kCompleted) << Utf8(run.result.message);
    std::vector<double> list = {0, 0, 0, 0, 5, 3, 8, 1};
    std::sort(list.begin() + 1, list.end());
    EXPECT_EQ(NumbersIn(run.console.output), std::vector<double>(list.begin() + 1, list.end()))
        << run.console.output;
  }
}

}  // namespace
}  // namespace tortuval::run
