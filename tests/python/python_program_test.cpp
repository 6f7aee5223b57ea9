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

// The run counts a loop's passes at its start: an end the body changes is kept from then.
TEST(PythonProgram, ALoopsEndIsWorkedOutAtItsStart) {
  const PythonProgram program = WritePython(algorithm::ReadAlgorithmDocument(Document(
      "<item algoitem=\"VARIABLES\" code=\"100#declarationsvariables\">"
      "<item algoitem=\"i\" code=\"1#NOMBRE#i\"/><item algoitem=\"n\" code=\"1#NOMBRE#n\"/></item>"
      "<item algoitem=\"DEBUT_ALGORITHME\" code=\"101#debutalgo\">"
      "<item algoitem=\"POUR i\" code=\"12#i#1#n\">"
      "<item algoitem=\"n\" code=\"5#n#n+1#pasliste\"/></item>"
      "<item algoitem=\"POUR i\" code=\"12#i#1#n-1\">"
      "<item algoitem=\"n\" code=\"5#n#n+i#pasliste\"/><item algoitem=\"i\" code=\"5#i#i+1#pasliste\"/>"
      "</item></item>")),
      "essai");
  EXPECT_EQ(Body(program),
            "i = 0\nn = 0\n\n"
            "for i in range(1, int(n) + 1):\n    n = n + 1\n"
            "i = 1\n_fin_i = n - 1\nfor _passage in range(math.floor(_fin_i - i + 1)):\n"
            "    n = n + i\n    i = i + 1\n    i = i + 1\n    if i > _fin_i:\n        break\n");
  EXPECT_TRUE(program.findings.empty());
}

// Reads and positions go as the first declaration says; values that draw are worked out in the
// run's order.
TEST(PythonProgram, ReadsPositionsAndDrawsFollowTheRun) {
  const PythonProgram program = WritePython(algorithm::ReadAlgorithmDocument(Document(
      "<item algoitem=\"VARIABLES\" code=\"100#declarationsvariables\">"
      "<item algoitem=\"n\" code=\"1#NOMBRE#n\"/><item algoitem=\"w\" code=\"1#CHAINE#w\"/>"
      "<item algoitem=\"L\" code=\"1#LISTE#L\"/><item algoitem=\"d\" code=\"1#NOMBRE#d\"/>"
      "<item algoitem=\"d\" code=\"1#CHAINE#d\"/></item>"
      "<item algoitem=\"DEBUT_ALGORITHME\" code=\"101#debutalgo\">"
      "<item algoitem=\"LIRE n[3]\" code=\"2#n#3\"/><item algoitem=\"LIRE w[3]\" code=\"2#w#3\"/>"
      "<item algoitem=\"LIRE L\" code=\"2#L#pasliste\"/><item algoitem=\"LIRE d\" code=\"2#d#pasliste\"/>"
      "<item algoitem=\"n[2]\" code=\"5#n#5#2\"/><item algoitem=\"L[1]\" code=\"5#L#1:2:x#1\"/>"
      "<item algoitem=\"L[]\" code=\"5#L#PSEUDAL_ALEA_ENT(1,6)#floor(random()*3)\"/>"
      "<item algoitem=\"d\" code=\"5#d#d+1#pasliste\"/>"
      "<item algoitem=\"TRACER\" code=\"51#0#random()#random()#1#Bleu\"/>"
      "</item>")),
      "essai");
  EXPECT_EQ(Body(program),
            "n = 0\nw = \"\"\nL = []\nd = 0\nd = \"\"\n\n_repere()\n"
            "n = _lire_nombre()\nw = [0] * 2 + _lire_mots()\nL = _lire_mots()\n"
            "d = _lire_nombre()\n"
            "n = 5\n_ranger(L, 1, 1)\n_ranger(L, 2, 2)\n_ranger(L, 3, x)\n"
            "_valeur = random.randint(1, 6)\n"
            "_ranger(L, math.floor(random.random() * 3), _valeur)\n"
            "d = _plus(d, 1)\n"
            "_xA, _yA, _xB, _yB = 0, random.random(), random.random(), 1\n"
            "plt.plot([_xA, _xB], [_yA, _yB], color=\"blue\")\nplt.show()\n");
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
  // randint refuses 6.0: other bounds are rounded inwards, as the run draws.
  EXPECT_EQ(python("PSEUDAL_ALEA_ENT(x/2,-1)"), "random.randint(math.ceil(x / 2), math.floor(-1))");
  // The editor's functions are the program's own small ones, the laws of mean 0 and
  // deviation 1 through the general ones.
  EXPECT_EQ(python("PSEUDAL_SOMME(L,0,n-1)"), "_somme(L, 0, n - 1)");
  EXPECT_EQ(python("PSEUDAL_LOI_NORMALE_CR(x)"), "_loi_normale(0, 1, x)");
  EXPECT_EQ(python("max(x,2)"), "max(x, 2)");
  EXPECT_EQ(python("max(2,3)+Math.min(2,-1)"), "max(2, 3) + min(2, -1)");  // two numbers
  EXPECT_EQ(python("mot.charCodeAt(i-1)"), "_code_caractere(mot, i - 1)");
  EXPECT_EQ(python("mot.substr(1,2)"), "_sous_mot(mot, 1, 2)");
  EXPECT_EQ(python("inconnue(1)"),
            "erreur : la fonction « inconnue » n'est pas encore écrite en Python");
  EXPECT_EQ(python("x+"), "erreur : l'expression est incomplète (caractère 3 de « x+ »).");
}

}  // namespace
}  // namespace tortuval::python
