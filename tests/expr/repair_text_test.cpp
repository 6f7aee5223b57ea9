#include "expr/repair_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/test_support.h"

namespace tortuval::expr {
namespace {

using testing::Cp;

struct RepairCase {
  std::string source;  // UTF-8 here; the repair sees its Windows-1252 bytes
  std::string repaired;
};

void ExpectRepairs(const std::vector<RepairCase>& cases) {
  for (const RepairCase& c : cases) {
    EXPECT_EQ(testing::Utf8(RepairText(Cp(c.source))), c.repaired) << c.source;
  }
}

TEST(RepairText, UndoesMisDecodedLetters) {
  ExpectRepairs({
      {"Ã©tÃ©", "été"},
      {"cÃ´tÃ©", "côté"},
      {"trÃ¨s", "très"},
      {"garÃ§on", "garçon"},
      {"10 â‚¬", "10 €"},
      {"90Â°", "90°"},
      {"Ã\u00A0 la", "à\u00A0 la"},  // à keeps its no-break space
      {"Ã®le", "à®le"},              // a letter without a row keeps row 3's form
  });
}

TEST(RepairText, LeavesCorrectlyEncodedLettersAlone) {
  ExpectRepairs({
      {"âge", "âge"},
      {"bâtons", "bâtons"},
      {"ãb Ã", "ãb Ã"},
      {"Âme", "Âme"},
      {"déjà vu", "déjà vu"},
  });
}

TEST(RepairText, RewritesComparisonsAmpersandsAndSquareRoots) {
  ExpectRepairs({
      {"x&lt;=2", "x <= 2"},
      {"x&LT;2", "x < 2"},
      {"a&gt;b", "a > b"},
      {"x&gt;=0", "x >= 0"},
      {"a&amp;b", "a & amp;b"},
      {"&quot;t&quot;", " & quot;t & quot;"},
      {"SQRT(x)+sqrt(y)", " rac2 (x)+ rac2 (y)"},
  });
}

TEST(RepairText, DecodesNumericReferencesOfPrintableCharacters) {
  ExpectRepairs({
      {"a&#x2F;b", "a/b"},
      {"a&#X2f;b &#47;", "a/b /"},
      {"&#233;t&#xE9;", "été"},
      {"&#x20AC;", "€"},
      // Control characters, characters the code page lacks and those that would change how
      // the document is read stay written, then get their ampersand spaced.
      {"&#xa;", " & #xa;"},
      {"&#x3B1;", " & #x3B1;"},
      {"&#34;&#35;&#38;&#60;", " & #34; & #35; & #38; & #60;"},
      {"&#;&#x;&#12", " & #; & #x; & #12"},
      {"&#99999999999;", " & #99999999999;"},
  });
}

}  // namespace
}  // namespace tortuval::expr
