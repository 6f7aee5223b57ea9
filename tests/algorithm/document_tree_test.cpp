#include "algorithm/document_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/listing.h"
#include "examples/example_catalogue.h"
#include "expr/repair_text.h"
#include "tests/algorithm/test_documents.h"
#include "tests/test_support.h"

namespace tortuval::algorithm {
namespace {

using testing::Cp;

std::vector<const Item*> InOrder(const std::vector<Item>& items) {
  std::vector<const Item*> all;
  for (const Item& item : items) {
    all.push_back(&item);
    for (const Item* inner : InOrder(item.items)) all.push_back(inner);
  }
  return all;
}

TEST(DocumentTree, EuclidReadsAsItsBlocksNestIt) {
  const AlgorithmDocument euclid = ReadAlgorithmDocument(examples::ExampleDocument(7));
  EXPECT_EQ(euclid.description, Cp("PGCD de deux entiers positifs par la méthode d'Euclide"));
  EXPECT_EQ(euclid.descriptionLine, 1);
  ASSERT_EQ(euclid.items.size(), 3u);  // VARIABLES, DEBUT_ALGORITHME, FIN_ALGORITHME
  const Item& variables = euclid.items[0];
  EXPECT_TRUE(variables.Is(Instruction::kVariables));
  ASSERT_EQ(variables.items.size(), 3u);
  EXPECT_EQ(variables.items[2].fields, (std::vector<std::string>{"NOMBRE", "R"}));
  EXPECT_EQ(variables.items[2].text, "R EST_DU_TYPE NOMBRE");
  EXPECT_EQ(variables.items[2].line, 5);

  const Item& algorithm = euclid.items[1];
  ASSERT_EQ(algorithm.items.size(), 9u);
  EXPECT_EQ(algorithm.items[2].text, "AFFICHER \"Le PGCD de \"");  // &quot; decoded
  EXPECT_EQ(algorithm.items[2].fields, (std::vector<std::string>{"Le PGCD de ", "0"}));
  const Item& loop = algorithm.items[7];
  EXPECT_TRUE(loop.Is(Instruction::kWhile));
  EXPECT_EQ(loop.Field(0), "B!=0");
  EXPECT_EQ(loop.line, 14);
  ASSERT_EQ(loop.items.size(), 5u);  // DEBUT_TANT_QUE, three assignments, FIN_TANT_QUE
  EXPECT_EQ(loop.items[1].fields, (std::vector<std::string>{"R", "A%B", "pasliste"}));
  EXPECT_EQ(loop.items[4].line, 19);
  EXPECT_TRUE(euclid.items[2].Is(Instruction::kAlgorithmEnd));
  EXPECT_EQ(euclid.items[2].line, 21);
}

TEST(DocumentTree, FunctionsAndFrameAreRead) {
  const AlgorithmDocument gcd = ReadAlgorithmDocument(examples::ExampleDocument(13));
  EXPECT_TRUE(gcd.f2.active);
  EXPECT_EQ(gcd.f2.parameters, (std::vector<std::string>{"p", "q"}));
  ASSERT_EQ(gcd.f2.cases.size(), 3u);
  EXPECT_EQ(gcd.f2.cases[0].condition, "p==0");
  EXPECT_EQ(gcd.f2.cases[0].value, "q");
  EXPECT_EQ(gcd.f2.cases[2].condition, "q<=p");  // &lt; decoded
  EXPECT_EQ(gcd.f2.cases[2].value, "F2(p-q,q)");
  EXPECT_EQ(gcd.f2.otherwise, "F2(p,q-p)");
  EXPECT_FALSE(gcd.f1Active);

  const AlgorithmDocument curve = ReadAlgorithmDocument(examples::ExampleDocument(6));
  EXPECT_TRUE(curve.f1Active);
  EXPECT_EQ(curve.f1, "pow(x,3)-3*pow(x,2)");
  EXPECT_TRUE(curve.frame.active);
  EXPECT_FALSE(gcd.frame.active);

  const AlgorithmDocument framed = ReadAlgorithmDocument(
      "<Algo><repere repetat=\"actif\" repcode=\"-2#19#0#15#0.5#1\" /></Algo>");
  EXPECT_EQ(framed.frame.xMin, -2);
  EXPECT_EQ(framed.frame.xMax, 19);
  EXPECT_EQ(framed.frame.yMax, 15);
  EXPECT_EQ(framed.frame.xStep, 0.5);
}

// Every item of every document stands at the line the listing gives it, its readable text
// nested as the document nests it.
TEST(DocumentTree, ItemsStandAtTheirListingLines) {
  for (const std::string& document : TestDocuments()) {
    const AlgorithmDocument read = ReadAlgorithmDocument(document);
    std::vector<int> listingLines;
    convert::ListSourceLines(expr::RepairText(document), &listingLines);
    std::vector<int> lines;
    if (read.descriptionLine > 0) lines.push_back(read.descriptionLine);
    for (const Item* item : InOrder(read.items)) lines.push_back(item->line);
    EXPECT_EQ(lines, listingLines) << document.substr(0, 300);
  }
}

// Every item self-closing, each block between its marks: nested as the editor nests them.
TEST(DocumentTree, FlatBlocksAreNestedByTheirMarks) {
  const AlgorithmDocument flat = ReadAlgorithmDocument(
      "<Algo><item algoitem=\"POUR\" code=\"12#i#1#3\"/>"
      "<item algoitem=\"DEBUT_POUR\" code=\"13#debutpour\"/>"
      "<item algoitem=\"SI\" code=\"6#i==2\"/><item algoitem=\"DEBUT_SI\" code=\"7#debutsi\"/>"
      "<item algoitem=\"PAUSE\" code=\"18#pause\"/><item algoitem=\"FIN_SI\" code=\"8#finsi\"/>"
      "<item algoitem=\"SINON\" code=\"9#sinon\"/>"
      "<item algoitem=\"DEBUT_SINON\" code=\"10#debutsinon\"/>"
      "<item algoitem=\"FIN_SINON\" code=\"11#finsinon\"/>"
      "<item algoitem=\"FIN_POUR\" code=\"14#finpour\"/>"
      "<item algoitem=\"AFFICHER\" code=\"4#fin#1\"/></Algo>");
  ASSERT_EQ(flat.items.size(), 2u);
  const Item& loop = flat.items[0];
  ASSERT_EQ(loop.items.size(), 4u);  // DEBUT_POUR, SI, SINON, FIN_POUR
  EXPECT_TRUE(loop.items[1].Is(Instruction::kIf));
  ASSERT_EQ(loop.items[1].items.size(), 3u);
  EXPECT_TRUE(loop.items[1].items[1].Is(Instruction::kPause));
  EXPECT_TRUE(loop.items[2].Is(Instruction::kElse));
  EXPECT_EQ(loop.items[2].items.size(), 2u);
  EXPECT_EQ(flat.items[1].line, 11);
}

TEST(DocumentTree, ACutOrOddDocumentKeepsWhatItHas) {
  // Cut inside a block: the block keeps the items read; an unknown element and text are passed
  // over; entities by number give their characters.
  const AlgorithmDocument cut = ReadAlgorithmDocument(
      "<?xml version=\"1.0\"?><Algo><autre x=\"1\"/>du texte<item algoitem=\"TANT_QUE (x&lt;3)\" "
      "code=\"15#x&#60;3\"><item algoitem=\"x PREND_LA_VALEUR x+1\" code=\"5#x#x+1#pasliste\"/>");
  ASSERT_EQ(cut.items.size(), 1u);
  EXPECT_EQ(cut.items[0].text, "TANT_QUE (x<3)");
  EXPECT_EQ(cut.items[0].Field(0), "x<3");
  ASSERT_EQ(cut.items[0].items.size(), 1u);
  EXPECT_EQ(cut.items[0].items[0].Field(1), "x+1");
  EXPECT_EQ(cut.items[0].items[0].Field(7), "");

  // A closing tag too many, and a code that is no number.
  const AlgorithmDocument odd = ReadAlgorithmDocument(
      "</item><item algoitem=\"?\" code=\"abc#1\"/><item algoitem=\"PAUSE\" code=\"18#pause\"/>");
  ASSERT_EQ(odd.items.size(), 2u);
  EXPECT_EQ(odd.items[0].code, 0);
  EXPECT_TRUE(odd.items[1].Is(Instruction::kPause));
  EXPECT_EQ(odd.items[1].line, 2);
}

}  // namespace
}  // namespace tortuval::algorithm
