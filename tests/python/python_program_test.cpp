#include "python/python_program.h"

#include <gtest/gtest.h>

#include <string>

#include "algorithm/document_tree.h"
#include "examples/example_catalogue.h"
#include "python/python_expression.h"
#include "tests/test_support.h"

namespace tortuval::python {
namespace {

using testing::Cp;

// The program's own lines, after its helpers: what a teacher reads as the algorithm.
std::string Body(const PythonProgram& program) {
  const std::size_t start = program.text.rfind("\n\n\n");
  return program.text.substr(start == std::string::npos ? 0 : start + 3);
}

std::string Document(std::string_view items) {
  return Cp("<?xml version=\"1.0\"?><Algo><description texte=\"essai\"/>") + std::string(items) +
         "</Algo>";
}

TEST(PythonProgram, EuclidReadsAsTheAlgorithm) {
  const PythonProgram program =
      WritePython(algorithm::ReadAlgorithmDocument(examples::ExampleDocument(7)), "euclide");
  EXPECT_EQ(Body(program),
            "A = 0\nB = 0\nR = 0\n\n"
            "A = _lire_nombre()\nB = _lire_nombre()\n"
            "print(\"Le PGCD de \", end=\"\")\nprint(_texte(A), end=\"\")\n"
            "print(\" et \", end=\"\")\nprint(_texte(B), end=\"\")\n"
            "print(\" est : \", end=\"\")\n"
            "while B != 0:\n    R = math.fmod(A, B)\n    A = B\n    B = R\n"
            "print(_texte(A), end=\"\")\n");
  EXPECT_TRUE(program.findings.empty());
  // Each line of the program knows the algorithm's line it comes from.
  const std::size_t whileLine =
      static_cast<std::size_t>(std::count(program.text.begin(),
                                          program.text.begin() + program.text.find("while B"), '\n'));
  EXPECT_EQ(program.algorithmLines.at(whileLine), 14);
  EXPECT_EQ(program.algorithmLines.at(whileLine + 1), 16);
  EXPECT_NE(program.text.find("import math\n"), std::string::npos);
  EXPECT_NE(program.text.find("def _lire_nombre():"), std::string::npos);
  EXPECT_EQ(program.text.find("def _ranger("), std::string::npos);  // only what is used
}

TEST(PythonProgram, CountedLoopsElseAndFunctions) {
  const PythonProgram program = WritePython(algorithm::ReadAlgorithmDocument(Document(
      "<item algoitem=\"VARIABLES\" code=\"100#declarationsvariables\">"
      "<item algoitem=\"i\" code=\"1#NOMBRE#i\"/><item algoitem=\"in\" code=\"1#NOMBRE#in\"/>"
      "<item algoitem=\"L\" code=\"1#LISTE#L\"/></item>"
      "<item algoitem=\"FONCTIONS_UTILISEES\" code=\"200#declarationfonctions\">"
      "<item algoitem=\"FONCTION carre(x)\" code=\"201#carre#x\">"
      "<item algoitem=\"VARIABLES_FONCTION\" code=\"202#declarationsvariablesfonction\"/>"
      "<item algoitem=\"DEBUT_FONCTION\" code=\"203#debutfonction\"/>"
      "<item algoitem=\"in PREND_LA_VALEUR x\" code=\"5#in#x#pasliste\"/>"
      "<item algoitem=\"RENVOYER x*x\" code=\"205#x*x\"/>"
      "<item algoitem=\"FIN_FONCTION\" code=\"204#finfonction\"/></item></item>"
      "<item algoitem=\"DEBUT_ALGORITHME\" code=\"101#debutalgo\">"
      "<item algoitem=\"POUR i\" code=\"12#i#1#3\"><item algoitem=\"DEBUT_POUR\" code=\"13#d\"/>"
      "<item algoitem=\"L[i]\" code=\"5#L#carre(i)%7#i\"/><item algoitem=\"FIN_POUR\" code=\"14#f\"/>"
      "</item>"
      "<item algoitem=\"SI\" code=\"6#L.length&gt;2 ET !(in==0)\"><item algoitem=\"DEBUT_SI\" code=\"7#d\"/>"
      "<item algoitem=\"//c\" code=\"19#le cas &quot;vrai&quot;\"/><item algoitem=\"FIN_SI\" code=\"8#f\"/>"
      "</item><item algoitem=\"SINON\" code=\"9#sinon\"><item algoitem=\"DEBUT_SINON\" code=\"10#d\"/>"
      "<item algoitem=\"FIN_SINON\" code=\"11#f\"/></item>"
      "<item algoitem=\"POUR i\" code=\"12#i#0#n\"><item algoitem=\"TRACER\" code=\"51#0#0#1#1#Rouge\"/>"
      "</item><item algoitem=\"AFFICHER i\" code=\"3#i#1#pasliste\"/>"
      "</item>")),
      "essai");
  EXPECT_EQ(Body(program),
            "i = 0\nin_ = 0\nL = []\n\n"
            "def carre(x):\n    global in_\n    in_ = x\n    return x * x\n\n"
            // The counter is read after the second loop only: the first one is a range.
            "_repere()\n"
            "for i in range(1, 4):\n    _ranger(L, i, math.fmod(carre(i), 7))\n"
            "if len(L) > 2 and not in_ == 0:\n    # le cas \"vrai\"\n    pass\nelse:\n    pass\n"
            // A drawing starts in the document's frame and is shown at the end, in the
            // document's colours.
            "i = 0\nwhile i <= n:\n    plt.plot([0, 1], [0, 1], color=\"red\")\n"
            "    i = i + 1\n"
            "print(_texte(i))\nplt.show()\n");
  EXPECT_TRUE(program.findings.empty());
  EXPECT_NE(program.text.find("import matplotlib.pyplot as plt\n"), std::string::npos);
  EXPECT_NE(program.text.find("def _repere():"), std::string::npos);
}

// A name Python cannot take is no variable of the program: its lines are left to complete.
TEST(PythonProgram, NamesPythonCannotTakeAreLeftToComplete) {
  const PythonProgram program = WritePython(algorithm::ReadAlgorithmDocument(Document(
      "<item algoitem=\"VARIABLES\" code=\"100#declarationsvariables\">"
      "<item algoitem=\"2x\" code=\"1#NOMBRE#2x\"/></item>"
      "<item algoitem=\"DEBUT_ALGORITHME\" code=\"101#debutalgo\">"
      "<item algoitem=\"a b PREND_LA_VALEUR 1\" code=\"5#a b#1#pasliste\"/></item>")),
      "essai");
  EXPECT_EQ(program.text.substr(program.text.find("\n\n") + 2),
            "# À compléter : 2x\n\n# À compléter : a b PREND_LA_VALEUR 1\n");
  ASSERT_EQ(program.findings.size(), 2u);
  EXPECT_EQ(program.findings[1].message, "« a b » n'est pas un nom de variable");
}

TEST(PythonExpressionText, TheRunsMeaningInPython) {
  WritingContext context;
  context.variables = {{"x", ValueType::kNumber}, {"mot", ValueType::kText}};
  const auto python = [&context](std::string_view notation) {
    const PythonExpression written = WriteField(notation, context);
    return written.error.empty() ? written.text : "erreur : " + written.error;
  };
  EXPECT_EQ(python("x+1"), "x + 1");
  EXPECT_EQ(python("mot+x"), "_plus(mot, x)");  // joins when the word is no number
  EXPECT_EQ(python("(x+1)*(x-1)"), "(x + 1) * (x - 1)");
  EXPECT_EQ(python("x-(x-1)"), "x - (x - 1)");
  EXPECT_EQ(python("x%3==1"), "math.fmod(x, 3) == 1");
  EXPECT_EQ(python("(x<1)==(x<2)"), "(x < 1) == (x < 2)");  // not a chained comparison
  EXPECT_EQ(python("round(x/2)"), "math.floor(x / 2 + 0.5)");  // halves upwards
  EXPECT_EQ(python("floor(.5+007)"), "math.floor(0.5 + 7)");
  EXPECT_EQ(python("Math.sqrt(x)+Math.PI"), "math.sqrt(x) + math.pi");
  EXPECT_EQ(python(Cp("x.toString()+\"€\"")), "_plus(_texte(x), \"€\")");
  EXPECT_EQ(python("-x*-2"), "-x * -2");
  EXPECT_EQ(python("PSEUDAL_ALEA_ENT(1,6)"), "random.randint(1, 6)");
  // The editor's functions are the program's own small ones, the laws of mean 0 and
  // deviation 1 through the general ones.
  EXPECT_EQ(python("PSEUDAL_SOMME(L,0,n-1)"), "_somme(L, 0, n - 1)");
  EXPECT_EQ(python("PSEUDAL_LOI_NORMALE_CR(x)"), "_loi_normale(0, 1, x)");
  EXPECT_EQ(python("PSEUDAL_MAX(x,2)"), "max(x, 2)");
  EXPECT_EQ(python("mot.substr(1,2)"), "_sous_mot(mot, 1, 2)");
  EXPECT_EQ(python("inconnue(1)"),
            "erreur : la fonction « inconnue » n'est pas encore écrite en Python");
  EXPECT_EQ(python("x+"), "erreur : l'expression est incomplète (caractère 3 de « x+ »).");
}

}  // namespace
}  // namespace tortuval::python
