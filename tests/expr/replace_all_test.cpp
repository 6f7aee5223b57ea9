#include "expr/replace_all.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/test_support.h"

namespace tortuval::expr {
namespace {

using testing::Cp;

std::string Replaced(std::string text, std::string_view from, std::string_view to,
                     Case match = Case::kInsensitive) {
  ReplaceAll(text, from, to, match);
  return text;
}

TEST(ReplaceAll, ScansLeftToRightWithoutOverlapsOrRescanning) {
  EXPECT_EQ(Replaced("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(Replaced("aaa", "aa", "b"), "ba");
  EXPECT_EQ(Replaced("x", "x", " x "), " x ");  // the inserted x is not replaced again
  EXPECT_EQ(Replaced("  ", " ", "  "), "    ");
  EXPECT_EQ(Replaced("abc", "", "z"), "abc");
  EXPECT_EQ(Replaced("abc", "c", ""), "ab");
}

TEST(ReplaceAll, ComparesInWindows1252UpperCase) {
  EXPECT_EQ(Replaced("Floor FLOOR floor", "floor", "entier"), "entier entier entier");
  EXPECT_EQ(Replaced(Cp("é É"), Cp("é"), "e"), "e e");
  EXPECT_EQ(Replaced(Cp("œ Œ š Š ž Ž ÿ Ÿ"), Cp("œ"), "oe"), Cp("oe oe š Š ž Ž ÿ Ÿ"));
  EXPECT_EQ(Replaced(Cp("ÿ"), Cp("Ÿ"), "y"), "y");
  // ß, µ and ÷ have no capitals of their own.
  EXPECT_EQ(Replaced(Cp("ß µ ÷ ×"), Cp("÷"), "/"), Cp("ß µ / ×"));
  EXPECT_EQ(Replaced(Cp("ß"), Cp("ß").substr(0, 1), "ss"), "ss");
  EXPECT_EQ(Replaced(Cp("×"), Cp("÷"), "/"), Cp("×"));
  EXPECT_EQ(Replaced("Abc", "abc", "x", Case::kSensitive), "Abc");
}

TEST(ReplaceAll, AppliesRulesInTheirOrder) {
  constexpr std::array<ReplaceRule, 2> rules = {{{">", " > "}, {" > =", " >= "}}};
  std::string text = "a>=b";
  ApplyRules(text, rules);
  EXPECT_EQ(text, "a >= b");
}

TEST(Find, HonoursTheStartPosition) {
  EXPECT_EQ(Find("abcabc", "BC", 2, Case::kInsensitive), 4u);
  EXPECT_EQ(Find("abc", "c", 4), std::string_view::npos);
  EXPECT_TRUE(Contains("xCODE=\"", "code=\"", Case::kInsensitive));
  EXPECT_FALSE(Contains("xCODE=\"", "code=\""));
}

}  // namespace
}  // namespace tortuval::expr
