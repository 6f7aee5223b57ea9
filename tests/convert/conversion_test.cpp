// Runs the worked conversions kept as data: each case gives a document (or its code values)
// and the exact LOGO program and listing expected.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "convert/conversion.h"
#include "tests/test_support.h"

namespace tortuval::convert {
namespace {

using testing::Case;
using testing::LineDiff;

// A one-line document whose items carry their own code value as readable line.
std::string DocumentOf(const Case& c) {
  if (c.Has("document")) return c.Get("document");
  std::string document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Algo>" + c.Get("header");
  std::istringstream items(c.Get("items"));
  std::string code;
  while (std::getline(items, code)) {
    if (!code.empty() && code.back() == '\r') code.pop_back();
    document += "<item algoitem=\"" + code + "\" code=\"" + code + "\" />";
  }
  return document + "</Algo>";
}

class ConversionCases : public ::testing::TestWithParam<std::string> {};

TEST_P(ConversionCases, GiveExactPanes) {
  const auto cases = testing::ReadCaseFile("conversions/" + GetParam());
  ASSERT_FALSE(cases.empty());
  for (const Case& c : cases) {
    SCOPED_TRACE(GetParam() + ":" + std::to_string(c.line) + " [" + c.name + "]");
    const ConversionResult result = ConvertDocument(DocumentOf(c));
    if (c.Has("logo")) {
      EXPECT_EQ(result.logoText, c.Get("logo")) << LineDiff(c.Get("logo"), result.logoText);
    }
    if (c.Has("listing")) {
      EXPECT_EQ(result.listingText, c.Get("listing"))
          << LineDiff(c.Get("listing"), result.listingText);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Files, ConversionCases,
                         ::testing::Values("sections.txt", "statements.txt", "blocks.txt",
                                           "functions.txt", "graphics.txt"),
                         [](const auto& info) {
                           return info.param.substr(0, info.param.find('.'));
                         });

}  // namespace
}  // namespace tortuval::convert
