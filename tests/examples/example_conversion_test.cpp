// The built-in examples through the whole conversion: the worked outputs they are known by.

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <sstream>
#include <string>

#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "tests/test_support.h"

namespace tortuval::examples {
namespace {

using convert::ConversionResult;
using convert::ConvertDocument;
using testing::Cp;
using testing::LineDiff;
using testing::ReadDataTextCrlf;

// Example N as the catalogue numbers it (1 to 17).
ConversionResult Convert(int example) { return ConvertDocument(ExampleDocument(example - 1)); }

bool Holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ExampleConversion, EuclidGivesItsExactPanes) {
  const ConversionResult result = Convert(8);
  const std::string logo = ReadDataTextCrlf("examples/euclide.lgo");
  const std::string listing = ReadDataTextCrlf("examples/euclide.txt");
  EXPECT_EQ(result.logoText, logo) << LineDiff(logo, result.logoText);
  EXPECT_EQ(result.listingText, listing) << LineDiff(listing, result.listingText);
}

TEST(ExampleConversion, TableOfValuesHasItsSectionsInOrder) {
  const std::string logo = Convert(1).logoText;
  EXPECT_EQ(logo.rfind("// VARIABLES\r\nDEFINIS \"x NOMBRE\r\nDEFINIS \"y NOMBRE\r\n\r\n"
                       "// DEBUT_ALGORITHME\r\nEFFACETEXTE\r\n",
                       0),
            0u)
      << logo;
  EXPECT_TRUE(logo.ends_with("]\r\n// FIN_ALGORITHME\r\n")) << logo;
  EXPECT_FALSE(Holds(logo, "initgraph")) << logo;
  EXPECT_FALSE(Holds(logo, "grapheur")) << logo;
}

TEST(ExampleConversion, CurveDrawsSegmentsWithF1) {
  const std::string logo = Convert(7).logoText;
  EXPECT_EQ(logo.rfind("POUR F1 :x\r\nrends ( puissance :x 3 ) - 3 * ( puissance :x 2 )\r\n"
                       "FIN\r\n\r\n// VARIABLES\r\n",
                       0),
            0u)
      << logo;
  EXPECT_TRUE(Holds(logo, "\r\n// DEBUT_ALGORITHME\r\ninitgraph faux\r\n")) << logo;
  // Inside the loop, indented like the loop's other lines.
  const std::string segment = "SEGMENT3D [ :xdepart ( F1 :xdepart )  0 ] [ :xfin ( F1 :xfin )  0 ]";
  const std::size_t at = logo.find(segment);
  ASSERT_NE(at, std::string::npos) << logo;
  const std::size_t lineStart = logo.rfind('\n', at) + 1;
  const std::string indentation = logo.substr(lineStart, at - lineStart);
  EXPECT_FALSE(indentation.empty());
  EXPECT_TRUE(Holds(logo, "\r\n" + indentation + "// FIN_TANTQUE\r\n")) << logo;
  EXPECT_TRUE(logo.ends_with("\r\ngrapheur vrai\r\n// FIN_ALGORITHME\r\n")) << logo;
}

TEST(ExampleConversion, RecursiveGcdDefinesF2) {
  const std::string logo = Convert(14).logoText;
  const std::string f2 =
      "POUR F2 :p :q\r\n"
      "teste :p = 0 sivrai [ rends :q ] \r\n"
      "teste :q = 0 sivrai [ rends :p ] \r\n"
      "teste :q <= :p sivrai [ rends ( F2 :p - :q :q ) ] \r\n"
      "sifaux [ rends ( F2 :p :q - :p ) ] \r\n"
      "FIN\r\n\r\n"
      "// VARIABLES\r\n";
  EXPECT_EQ(logo.rfind(f2, 0), 0u) << LineDiff(f2, logo);
}

TEST(ExampleConversion, NormalLawDefinesF1ThenF2) {
  const std::string logo = Convert(16).logoText;
  const std::string functions =
      "POUR F1 :x\r\n"
      "rends ( 1 / ( rac2 ( 2 * PI ) ) ) * exp ( - 0,5 * :x * :x )\r\n"
      "FIN\r\n\r\n"
      "POUR F2 :w :g\r\n"
      "teste :w >= 0 sivrai [ rends entier ( :g * :w ) / :g ] \r\n"
      "teste :w < 0 sivrai [ rends - entier ( - :g * :w ) / :g ] \r\n"
      "FIN\r\n\r\n"
      "// VARIABLES\r\n";
  EXPECT_EQ(logo.rfind(functions, 0), 0u) << LineDiff(functions, logo);
}

TEST(ExampleConversion, PositionOfMinimumGetsItsTwoProcedures) {
  const std::string logo = Convert(15).logoText;
  // fctetat written first and an inactive F2: no function procedure.
  EXPECT_EQ(logo.rfind("// VARIABLES\r\n", 0), 0u) << logo;
  const std::string procedures = ReadDataTextCrlf("procedures/pos_minimum_section.txt");
  const std::string expected =
      "DEFINIS \"ntermes NOMBRE\r\n\r\n" + procedures + "// DEBUT_ALGORITHME\r\nEFFACETEXTE\r\n";
  EXPECT_TRUE(Holds(logo, expected)) << LineDiff(expected, logo);
}

TEST(ExampleConversion, CatalogueDocumentsThatShareACaptionDiffer) {
  const ConversionResult euler = Convert(11);
  const ConversionResult sum = Convert(12);
  EXPECT_EQ(euler.logoText, sum.logoText);
  EXPECT_EQ(euler.listingText, sum.listingText);
  EXPECT_NE(Convert(1).logoText, Convert(10).logoText);
  EXPECT_NE(Convert(1).listingText, Convert(10).listingText);
}

TEST(ExampleConversion, DichotomyListsItsUnbalancedLineAsStored) {
  EXPECT_TRUE(Holds(Convert(10).listingText, "\r\nTANT_QUE (b-a)>precision) FAIRE\r\n"));
}

TEST(ExampleConversion, DuchyFrameYieldsNoInstructionAndBatonsKeepsItsAccent) {
  const ConversionResult result = Convert(13);
  EXPECT_FALSE(Holds(result.logoText, "LISNOMBRE"));
  EXPECT_FALSE(Holds(result.logoText, "LISLISTE"));
  EXPECT_TRUE(Holds(result.listingText, Cp("Tracé du diagramme en bâtons")));
}

TEST(ExampleConversion, RandomNumbersConvertAlthoughItemsLackTheirBracket) {
  const ConversionResult result = Convert(17);
  EXPECT_TRUE(Holds(result.logoText, "DEFINIS \"n NOMBRE\r\n")) << result.logoText;
  EXPECT_TRUE(result.logoText.ends_with("// FIN_ALGORITHME\r\n")) << result.logoText;
  EXPECT_TRUE(Holds(result.listingText, "\r\nFIN_ALGORITHME\r\n"));
}

TEST(ExampleConversion, EveryExampleConvertsWholeWithBalancedBlocks) {
  for (int example = 1; example <= kExampleCount; ++example) {
    SCOPED_TRACE(example);
    const ConversionResult result = Convert(example);
    EXPECT_TRUE(result.logoText.ends_with("// FIN_ALGORITHME\r\n"));
    EXPECT_TRUE(Holds(result.logoText, "// DEBUT_ALGORITHME\r\n"));
    EXPECT_TRUE(result.listingText.ends_with("FIN_ALGORITHME\r\n"));
    // Every block closes: the program's last lines are not indented.
    EXPECT_TRUE(Holds(result.logoText, "\r\n// FIN_ALGORITHME\r\n") ||
                result.logoText.rfind("// FIN_ALGORITHME", 0) == 0);
  }
}

TEST(ExampleConversion, SortingReadsAndWritesWholeListItems) {
  const std::string logo = Convert(2).logoText;
  EXPECT_TRUE(Holds(logo, "remplace :listeatrier [entier ( ( randdec 0 1 ) * 20 + 1 )] [:i]\r\n"));
  EXPECT_TRUE(Holds(logo, "ECRIS item :listeatrier ( :i + 1 )\r\n"));
  EXPECT_TRUE(Holds(logo, "TESTE item :listeatrier [ :j + 1 ] < item :listeatrier [ :j ]\r\n"));
}

TEST(ExampleConversion, NormalLawKeepsItsNamesWhole) {
  const std::string logo = Convert(16).logoText;
  EXPECT_TRUE(Holds(logo, "TESTE :loi = 1\r\n"));
  EXPECT_TRUE(Holds(logo, "soit \"m :esp\r\n"));
  EXPECT_TRUE(Holds(logo, "soit \"s :sigma\r\n"));
  EXPECT_TRUE(Holds(logo, "TANT QUE :tt < 9 ET :a < :xmax [\r\n"));
}

// The names a program declares or takes as inputs: DEFINIS "x, SOIT "x, POUR f :a :b.
std::set<std::string> NamesOf(const std::string& logo) {
  std::set<std::string> names;
  std::istringstream lines(logo);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    for (std::string word; words >> word;) {
      if ((first == "DEFINIS" || first == "SOIT" || first == "soit") && word[0] == '"') {
        names.insert(word.substr(1));
        break;
      }
      if ((first == "POUR" || first == "pour") && word[0] == ':') names.insert(word.substr(1));
    }
  }
  return names;
}

// A value ":name" stands after a non-word byte and names a whole declared variable. Text in
// brackets after ECRIS and comments are the algorithm's own words and are not checked.
TEST(ExampleConversion, EveryValueIsAWholeDeclaredName) {
  for (int example = 1; example <= kExampleCount; ++example) {
    SCOPED_TRACE(example);
    const std::string logo = Convert(example).logoText;
    const std::set<std::string> names = NamesOf(logo);
    std::istringstream lines(logo);
    for (std::string line; std::getline(lines, line);) {
      const std::string code = line.substr(0, line.find("//"));
      if (code.find(" [ ") != std::string::npos && code.find("ECRIS") != std::string::npos)
        continue;
      for (std::size_t colon = code.find(':'); colon != std::string::npos;
           colon = code.find(':', colon + 1)) {
        const bool afterWord =
            colon > 0 && std::isalnum(static_cast<unsigned char>(code[colon - 1])) != 0;
        std::size_t end = colon + 1;
        while (end < code.size() &&
               (std::isalnum(static_cast<unsigned char>(code[end])) != 0 || code[end] == '_')) {
          ++end;
        }
        const std::string name = code.substr(colon + 1, end - colon - 1);
        EXPECT_FALSE(afterWord) << line;
        EXPECT_TRUE(names.count(name) != 0) << "\"" << name << "\" in " << line;
      }
    }
  }
}

}  // namespace
}  // namespace tortuval::examples
