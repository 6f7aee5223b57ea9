#include "expr/translate_expression.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/expr/variable_lists.h"
#include "tests/test_support.h"

namespace tortuval::testing {

// Names the case in gtest's messages instead of dumping its bytes.
void PrintTo(const Case& testCase, std::ostream* out) {
  *out << "[" << testCase.name << "] (" << testCase.file << ":" << testCase.line << ")";
}

}  // namespace tortuval::testing

namespace tortuval::expr {
namespace {

using testing::Case;
using testing::Cp;

// UTF-8 with CR and LF spelled out, so line ends show in a failure message.
std::string Shown(std::string_view cp1252) {
  std::string shown;
  for (char c : testing::Utf8(cp1252)) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else {
      shown += c;
    }
  }
  return shown;
}

ExpressionKind KindOf(const Case& testCase) {
  const std::string kind = testCase.Get("kind", "plain");
  EXPECT_TRUE(kind == "plain" || kind == "f1" || kind == "f2") << "unknown kind " << kind;
  if (kind == "f1") return ExpressionKind::kF1Body;
  return kind == "f2" ? ExpressionKind::kF2Line : ExpressionKind::kPlain;
}

class ExpressionCaseTest : public ::testing::TestWithParam<Case> {};

TEST_P(ExpressionCaseTest, TranslatesExactly) {
  const Case& testCase = GetParam();
  static const std::set<std::string> kKeys = {"source",  "kind",   "functions",
                                              "globals", "result", "procedures"};
  for (const auto& [key, value] : testCase.fields) {
    EXPECT_TRUE(kKeys.count(key) != 0) << "unknown key " << key;
  }
  ASSERT_TRUE(testCase.Has("source") && testCase.Has("result")) << "a case needs source and result";

  std::vector<std::string> procedures;
  std::istringstream names(testCase.Get("procedures"));
  for (std::string name; names >> name;) procedures.push_back(name);
  const testing::VariableLists lists(testCase.Get("functions"), testCase.Get("globals"));
  ExpressionContext context = lists.Context();
  context.functionNames = procedures;
  const std::string translation =
      TranslateExpression(testCase.Get("source"), KindOf(testCase), context);

  EXPECT_EQ(Shown(translation), Shown(testCase.Get("result")));
}

std::string TestName(const ::testing::TestParamInfo<Case>& info) {
  std::string name;
  for (char c : info.param.name) {
    name += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(CaseFile, ExpressionCaseTest,
                         ::testing::ValuesIn(testing::ReadCaseFolder("expressions")), TestName);

std::string Translate(std::string_view source, std::string_view globals) {
  const testing::VariableLists lists("", globals);
  return TranslateExpression(source, ExpressionKind::kPlain, lists.Context());
}

std::string Repeat(std::string_view piece, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += piece;
  return text;
}

std::string Joined(std::string_view piece, std::string_view separator, int count) {
  std::string text(piece);
  for (int i = 1; i < count; ++i) text.append(separator).append(piece);
  return text;
}

// Equality of long texts, reported as the first difference with a little context around it.
::testing::AssertionResult SameLongText(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  const std::size_t from = at >= 30 ? at - 30 : 0;
  return ::testing::AssertionFailure()
         << "sizes " << actual.size() << " and " << expected.size() << ", first difference at "
         << at << ":\n  actual:   ..." << Shown(actual.substr(from, 60)) << "\n  expected: ..."
         << Shown(expected.substr(from, 60));
}

// Long texts: the exponent joins and the member-call rewrite each walk the text once; a cursor
// lost after a rewrite shows as a wrong piece somewhere in the middle.
TEST(TranslateExpressionLongTest, JoinsEveryExponent) {
  constexpr int kCount = 5000;
  EXPECT_TRUE(
      SameLongText(Translate(Joined("1e-8", "+", kCount), ""), Joined("1e-8", " + ", kCount)));
  EXPECT_TRUE(
      SameLongText(Translate(Joined("2e+3", "-", kCount), ""), Joined("2e+3", " - ", kCount)));
  // After the first qualifying "e ", each "une " before a digit loses its space too.
  EXPECT_TRUE(SameLongText(Translate(Repeat("3e 4 une ", kCount), ""),
                           "3e4" + Repeat(" une3e4", kCount - 1) + " une"));
}

TEST(TranslateExpressionLongTest, RewritesEveryMemberCall) {
  constexpr int kCount = 3000;
  EXPECT_TRUE(SameLongText(Translate(Joined("w.substr(i-1,n+1)", "*", kCount), " w 3 i 1 n 1"),
                           Joined("substr :w ( :i - 1 ) ( :n + 1 )", " * ", kCount)));
}

TEST(TranslateExpressionLongTest, NestsMemberCalls) {
  constexpr int kDepth = 2000;
  const std::string source =
      Repeat("String.fromCharCode(", kDepth) + "x.toString()" + Repeat(")", kDepth);
  // Each call opens a group that its own ")" closes.
  EXPECT_TRUE(SameLongText(Translate(source, " x 1"), Repeat(Cp("( caractère "), kDepth) +
                                                          "transforme :x" + Repeat(" )", kDepth)));
}

}  // namespace
}  // namespace tortuval::expr
