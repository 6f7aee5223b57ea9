// pseudal2logo on the built-in examples: --example, --example-source and --examples, in each
// encoding and line-end form.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examples/example_catalogue.h"
#include "tests/cli/cli_test_support.h"
#include "tests/test_support.h"

namespace tortuval::cli {
namespace {

using tortuval::testing::Cp;
using tortuval::testing::Utf8;

TEST(CliExampleTest, EachExampleConvertsToItsProgramInUtf8) {
  for (int number = 1; number <= examples::kExampleCount; ++number) {
    const RunOutput result = RunCli({"--example", std::to_string(number)});
    EXPECT_EQ(result.status, ExitStatus::kSuccess) << "example " << number;
    EXPECT_EQ(result.err, "") << "example " << number;
    EXPECT_EQ(result.out, Utf8(ConvertedExample(number).logoText))
        << "example " << number << "\n"
        << tortuval::testing::LineDiff(Utf8(ConvertedExample(number).logoText), result.out);
  }
}

TEST(CliExampleTest, Cp1252OutputIsExactlyThePaneText) {
  for (int number : {5, 8, 16}) {
    const std::string n = std::to_string(number);
    EXPECT_EQ(RunCli({"--example", n, "--encoding", "cp1252"}).out,
              ConvertedExample(number).logoText)
        << "example " << number;
    EXPECT_EQ(RunCli({"--encoding", "cp1252", "--listing", "--example", n}).out,
              ConvertedExample(number).listingText)
        << "example " << number;
  }
}

TEST(CliExampleTest, ListingAndLfLineEnds) {
  const std::string& listing = ConvertedExample(8).listingText;
  EXPECT_EQ(RunCli({"--listing", "--example", "8"}).out, Utf8(listing));

  const RunOutput lf = RunCli({"--lf", "--example", "8", "--encoding", "cp1252"});
  EXPECT_EQ(lf.out.find('\r'), std::string::npos);
  std::string restored;
  for (char c : lf.out) restored += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(restored, ConvertedExample(8).logoText);
}

TEST(CliExampleTest, ExampleSourceIsTheDocumentText) {
  EXPECT_EQ(RunCli({"--example-source", "8", "--encoding", "cp1252"}).out,
            examples::ExampleDocument(7));
  EXPECT_EQ(RunCli({"--example-source", "17"}).out, Utf8(examples::ExampleDocument(16)));

  // The two documents are the same, character for character.
  const RunOutput eleven = RunCli({"--example-source", "11"});
  const RunOutput twelve = RunCli({"--example-source", "12"});
  EXPECT_EQ(twelve.status, ExitStatus::kSuccess);
  EXPECT_FALSE(twelve.out.empty());
  EXPECT_EQ(twelve.out, eleven.out);
}

TEST(CliExampleTest, ExampleSourceFedBackGivesTheSameProgram) {
  for (int number : {5, 6, 8, 13}) {
    const std::string n = std::to_string(number);
    for (const char* encoding : {"utf-8", "cp1252"}) {
      const RunOutput source = RunCli({"--example-source", n, "--encoding", encoding});
      const RunOutput converted = RunCli({"--encoding", "cp1252"}, source.out);
      EXPECT_EQ(converted.status, ExitStatus::kSuccess);
      EXPECT_EQ(converted.out, ConvertedExample(number).logoText)
          << "example " << number << " saved as " << encoding << "\n"
          << tortuval::testing::LineDiff(Utf8(ConvertedExample(number).logoText),
                                         Utf8(converted.out));
    }
  }
}

TEST(CliExampleTest, ExamplesListsNumberTabCaption) {
  const RunOutput result = RunCli({"--examples"});
  EXPECT_EQ(result.status, ExitStatus::kSuccess);
  EXPECT_EQ(result.err, "");
  const std::vector<std::string> lines = SplitAfter(result.out, "\r\n");
  ASSERT_EQ(lines.size(), 17u) << result.out;
  for (int number = 1; number <= 17; ++number) {
    EXPECT_TRUE(lines[number - 1].starts_with(std::to_string(number) + "\t")) << lines[number - 1];
  }
  EXPECT_EQ(lines[0], "1\tprof_dichotomie.");
  EXPECT_EQ(lines[4], "5\tprof_intégrale_trapèze.");
  EXPECT_EQ(lines[9], "10\tprof_dichotomie.");
  EXPECT_EQ(lines[14], "15\tfonction pos_minimum");
  EXPECT_EQ(lines[15], "16\tloi_normale_centrée.");

  const RunOutput lf = RunCli({"--examples", "--lf"});
  EXPECT_EQ(lf.out.find('\r'), std::string::npos);
  EXPECT_EQ(SplitAfter(lf.out, "\n"), lines);

  const RunOutput cp = RunCli({"--examples", "--encoding", "cp1252"});
  EXPECT_EQ(SplitAfter(cp.out, "\r\n").at(4), Cp("5\tprof_intégrale_trapèze."));
}

}  // namespace
}  // namespace tortuval::cli
