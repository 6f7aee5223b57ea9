#include "base/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace tortuval::base {
namespace {

TEST(Cp1252, RoundTripsEveryByteThroughUtf8) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, MapsTheHighControlsRange) {
  EXPECT_EQ(Cp1252ToUtf8("\x80\x9C\x81"), "€œ\xC2\x81");
  EXPECT_EQ(CodePointToCp1252(0x2019), 0x92);
  EXPECT_EQ(CodePointToCp1252(0x3B1), -1);  // α
}

TEST(Cp1252, TurnsWhatItLacksOrCannotReadIntoQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("α-ω"), "?-?");
  EXPECT_EQ(Utf8ToCp1252("😀"), "?");
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");            // cut short
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");       // overlong
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");  // a surrogate
  EXPECT_EQ(Utf8ToCp1252("\xE9t\xE9"), "?t?");     // Windows-1252 bytes are not UTF-8
}

}  // namespace
}  // namespace tortuval::base
