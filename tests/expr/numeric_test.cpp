#include "expr/numeric.h"

#include <gtest/gtest.h>

#include <limits>
#include <string_view>

namespace tortuval::expr {
namespace {

struct IsNumberRow {
  std::string_view text;
  bool number;
};

TEST(IsNumberTest, FollowsTheGrammar) {
  constexpr IsNumberRow kRows[] = {
      {"", false},
      // A sign or "$" with nothing behind it.
      {"-", false},
      {"+", false},
      {"$", false},
      {"-$", false},
      {"10", true},
      {"-3", true},
      {"+7", true},
      {"0,5", true},
      {"1.5", true},
      {".5", true},
      {"5.", true},
      {".", false},
      {",", false},
      {"1,5,3", false},
      {"1,5.3", false},
      {"1e5", true},
      {"1E+5", true},
      {"1E-5", true},
      {"1e-5", true},
      {"-2,5e+3", true},
      {"1E", true},
      {"1E+", true},
      {"E5", true},
      {"E", false},
      {"2E+3E4", false},
      {"1E5.3", false},
      {"1E+-5", false},
      {"1-5", false},
      {"--5", false},
      {"5-", false},
      {" 5", false},
      {"5 ", false},
      {"1 5", false},
      {"n", false},
      {"1x", false},
      {"$1F", true},
      {"-$ff", true},
      {"+$a0", true},
      {"$1F.8", true},
      {"$1F,8", true},
      {"$.8", true},
      {"$G", false},
      {"$1F.8.0", false},
      {"$1 F", false},
      {"$-1", false},
      {"$1E+5", false},
  };
  for (const IsNumberRow& row : kRows) {
    EXPECT_EQ(IsNumber(row.text), row.number) << "\"" << row.text << "\"";
  }
}

struct ValueRow {
  std::string_view text;
  double value;
};

TEST(NumberValueTest, ReadsEveryAcceptedForm) {
  constexpr ValueRow kRows[] = {
      {"10", 10.0},
      {"-3", -3.0},
      {"+7", 7.0},
      {"0,5", 0.5},
      {"1.5", 1.5},
      {".5", 0.5},
      {",25", 0.25},
      {"5.", 5.0},
      {"1e5", 1e5},
      {"1E+5", 1e5},
      {"1E-5", 1e-5},
      {"-2,5e+3", -2500.0},
      {"+1.25E-2", 0.0125},
      {"007", 7.0},
      {"2E007", 2e7},
      // Empty digit runs count as 0.
      {"1E", 1.0},
      {"1E-", 1.0},
      {"E5", 0.0},
      {"-E5", 0.0},
      {"$1F", 31.0},
      {"-$ff", -255.0},
      {"$1F.8", 31.5},
      {"$1f,4", 31.25},
      {"$.8", 0.5},
      {"$10.", 16.0},
  };
  for (const ValueRow& row : kRows) {
    EXPECT_DOUBLE_EQ(NumberValue(row.text), row.value) << "\"" << row.text << "\"";
  }
}

TEST(NumberValueTest, SaturatesOutOfRange) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  EXPECT_EQ(NumberValue("1E400"), kInfinity);
  EXPECT_EQ(NumberValue("-1E400"), -kInfinity);
  EXPECT_EQ(NumberValue("1E-400"), 0.0);
  EXPECT_EQ(NumberValue("1E99999999999999999999"), kInfinity);
  EXPECT_EQ(NumberValue("1E-99999999999999999999"), 0.0);
  // The mantissa's digits move the point: these stay within range.
  EXPECT_DOUBLE_EQ(NumberValue("0,000001E+310"), 1e304);
  EXPECT_DOUBLE_EQ(NumberValue("100000E-310"), 1e-305);
  EXPECT_DOUBLE_EQ(NumberValue("0,0000000001E+310"), 1e300);
  EXPECT_EQ(NumberValue("0E99999"), 0.0);
}

TEST(NumberValueTest, GivesZeroForTextsThatAreNoNumber) {
  EXPECT_EQ(NumberValue(""), 0.0);
  EXPECT_EQ(NumberValue("n"), 0.0);
  EXPECT_EQ(NumberValue("1-5"), 0.0);
  EXPECT_EQ(NumberValue("$G"), 0.0);
}

}  // namespace
}  // namespace tortuval::expr
