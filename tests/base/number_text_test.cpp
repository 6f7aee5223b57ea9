// The one number reader, the same in the desktop and the page: what it takes, and the values out
// of a double's reach that it refuses rather than turning into an infinity or a zero.

#include "base/number_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace tortuval::base {
namespace {

TEST(ParseNumberTest, TakesTheWaysProgramsAndAnswersWriteNumbers) {
  const std::pair<const char*, double> cases[] = {
      {"12", 12},    {"-0,5", -0.5},   {"2.5", 2.5},  {"1E6", 1e6},  {".5", 0.5},
      {"0e999", 0},  {"0,000", 0},     {"1e308", 1e308},
      {"4.9e-324", std::numeric_limits<double>::denorm_min()},  // the smallest, not zero
  };
  for (const auto& [text, expected] : cases) {
    double number = -1;
    EXPECT_TRUE(ParseNumber(text, number)) << text;
    EXPECT_EQ(number, expected) << text;
  }
}

TEST(ParseNumberTest, RefusesWhatIsNoNumberOrOutOfReach) {
  for (const char* text : {"", "+1", "inf", "-inf", "nan", "1e400", "-1e400", "1e-400", "2x",
                           "1,5,2", "douze"}) {
    double number = 7;
    EXPECT_FALSE(ParseNumber(text, number)) << text;
  }
}

TEST(ReadDecimalTest, StopsAfterTheNumberAndLeavesAnOutOfRangeValueUnchanged) {
  const std::string text = "2.5e3 suite";
  double number = 0;
  auto read = ReadDecimal(text.data(), text.data() + text.size(), number);
  EXPECT_EQ(read.ec, std::errc());
  EXPECT_EQ(read.ptr, text.data() + 5);
  EXPECT_EQ(number, 2500);

  const std::string huge = "9e999";
  read = ReadDecimal(huge.data(), huge.data() + huge.size(), number);
  EXPECT_EQ(read.ec, std::errc::result_out_of_range);
  EXPECT_EQ(number, 2500);
}

}  // namespace
}  // namespace tortuval::base
