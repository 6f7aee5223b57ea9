#include "algorithm/expression.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "algorithm/document_tree.h"
#include "tests/algorithm/test_documents.h"
#include "tests/test_support.h"

namespace tortuval::algorithm {
namespace {

using Kind = Expression::Kind;

// The tree written back with every operator's operands in brackets: the shape read.
std::string Shape(const Expression& e) {
  switch (e.kind) {
    case Kind::kNumber:
    case Kind::kName:
      return e.text;
    case Kind::kText:
      return "'" + e.text + "'";
    case Kind::kUnary:
      return "(" + e.text + Shape(e.operands[0]) + ")";
    case Kind::kBinary:
      return "(" + Shape(e.operands[0]) + " " + e.text + " " + Shape(e.operands[1]) + ")";
    case Kind::kIndex:
      return Shape(e.operands[0]) + "[" + Shape(e.operands[1]) + "]";
    default: {
      std::string out = e.kind == Kind::kCall ? e.text : Shape(e.operands[0]) + "." + e.text;
      if (e.kind == Kind::kMember) return out;
      out += "(";
      for (std::size_t i = e.kind == Kind::kCall ? 0 : 1; i < e.operands.size(); ++i) {
        out += (out.back() == '(' ? "" : ",") + Shape(e.operands[i]);
      }
      return out + ")";
    }
  }
}

std::string ShapeOf(std::string_view text) {
  const ReadExpression read = ParseExpression(text);
  EXPECT_TRUE(read.ok()) << text << ": " << read.error;
  return Shape(read.expression);
}

TEST(Expression, OperatorsBindAsInTheScriptNotation) {
  EXPECT_EQ(ShapeOf("floor(random()*20+1)"), "floor(((random() * 20) + 1))");
  EXPECT_EQ(ShapeOf("x*x+y*y < 1"), "(((x * x) + (y * y)) < 1)");
  EXPECT_EQ(ShapeOf("u%2==0"), "((u % 2) == 0)");
  EXPECT_EQ(ShapeOf("a-b-c"), "((a - b) - c)");
  EXPECT_EQ(ShapeOf("a-(b-c)"), "(a - (b - c))");
  EXPECT_EQ(ShapeOf("-x*-2"), "((-x) * (-2))");
  EXPECT_EQ(ShapeOf("tt<9 ET a<xmax OU !fini"), "(((tt < 9) ET (a < xmax)) OU (!fini))");
  EXPECT_EQ(ShapeOf("a>=0 et b<=1"), "((a >= 0) ET (b <= 1))");  // the word in any case
  EXPECT_EQ(ShapeOf("b!=0 && c || d"), "(((b != 0) && c) || d)");
  EXPECT_EQ(ShapeOf("a!==b && a===7"), "((a !== b) && (a === 7))");
  EXPECT_EQ(ShapeOf("ETAT OU x"), "(ETAT OU x)");  // a name that starts like the word
}

TEST(Expression, ValuesListsAndMembers) {
  EXPECT_EQ(ShapeOf("listeatrier[j+1] < listeatrier[j]"),
            "(listeatrier[(j + 1)] < listeatrier[j])");
  EXPECT_EQ(ShapeOf("pow(x,3)-3*pow(x,2)"), "(pow(x,3) - (3 * pow(x,2)))");
  EXPECT_EQ(ShapeOf("Math.PI*r"), "(Math.PI * r)");
  EXPECT_EQ(ShapeOf("Math.sqrt(2)"), "Math.sqrt(2)");
  EXPECT_EQ(ShapeOf("L.length-1"), "(L.length - 1)");
  EXPECT_EQ(ShapeOf("x.toString()"), "x.toString()");
  EXPECT_EQ(ShapeOf("mot.substr(i,1)"), "mot.substr(i,1)");
  EXPECT_EQ(ShapeOf("String.fromCharCode(65+k)"), "String.fromCharCode((65 + k))");
  EXPECT_EQ(ShapeOf("PSEUDAL_SOMME(L,0,n-1)"), "PSEUDAL_SOMME(L,0,(n - 1))");
  EXPECT_EQ(ShapeOf("M[i][j]"), "M[i][j]");
  EXPECT_EQ(ShapeOf("1e-8+.5+2.25E+3"), "((1e-8 + .5) + 2.25E+3)");
  EXPECT_EQ(ShapeOf("'c\"est' + \"l'eau\""), "('c\"est' + 'l'eau')");
  EXPECT_EQ(ShapeOf("  ( ( a ) )  "), "a");
}

TEST(Expression, WhereTheTextStopsMakingSenseIsSaid) {
  const auto error = [](std::string_view text) {
    return testing::Utf8(ParseExpression(text).error);
  };
  EXPECT_EQ(error("floor("), "l'expression est incomplète (caractère 7 de « floor( »).");
  EXPECT_EQ(error("(a+b"), "il manque « ) » à la fin (caractère 5 de « (a+b »).");
  EXPECT_EQ(error("a b"), "« b » n'est pas attendu ici (caractère 3 de « a b »).");
  EXPECT_EQ(error("L[i"), "il manque « ] » à la fin (caractère 4 de « L[i »).");
  EXPECT_EQ(error("3(4)"), "seul un nom de fonction peut être appelé (caractère 3 de « 3(4) »).");
  EXPECT_EQ(error("'abc"), "un texte n'est pas refermé (caractère 1 de « 'abc »).");
  EXPECT_EQ(error("x@2"), "« @ » n'est pas attendu ici (caractère 2 de « x@2 »).");
  EXPECT_EQ(error(""), "l'expression est incomplète (caractère 1 de «  »).");
  // Nested deeper than an algorithm ever is: refused, not a crashed stack.
  EXPECT_NE(error(std::string(100000, '(') + "1"), "");
  EXPECT_NE(error(std::string(100000, '-') + "1"), "");
}

// The expression fields of a document: F1, F2's cases, and each item's.
std::vector<std::string> ExpressionsOf(const AlgorithmDocument& document) {
  std::vector<std::string> texts{document.f1, document.f2.otherwise};
  for (const CasesFunction::Case& each : document.f2.cases) {
    texts.push_back(each.condition);
    texts.push_back(each.value);
  }
  const auto walk = [&texts](const auto& self, const std::vector<Item>& items) -> void {
    for (const Item& item : items) {
      for (const std::string_view field : ExpressionFields(item)) texts.emplace_back(field);
      self(self, item.items);
    }
  };
  walk(walk, document.items);
  std::erase_if(texts, [](const std::string& text) { return text.empty(); });
  return texts;
}

// Every expression of the examples, the run's case documents and generated documents reads,
// and written back it reads as the same tree.
TEST(Expression, EveryDocumentExpressionReadsAndWritesBack) {
  int read = 0;
  for (const std::string& document : TestDocuments()) {
    for (const std::string& text : ExpressionsOf(ReadAlgorithmDocument(document))) {
      const ReadExpression first = ParseExpression(text);
      ASSERT_TRUE(first.ok()) << first.error;
      const std::string written = WriteNotation(first.expression);
      const ReadExpression again = ParseExpression(written);
      ASSERT_TRUE(again.ok()) << written << ": " << again.error;
      EXPECT_EQ(again.expression, first.expression) << text << " written " << written;
      ++read;
    }
  }
  EXPECT_GT(read, 2000);
}

}  // namespace
}  // namespace tortuval::algorithm
