// Small programs with known faults: each finding's exact position and message, then programs
// that must give none.

#include "logo/checker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "convert/conversion.h"
#include "examples/example_catalogue.h"
#include "testing/document_generator.h"
#include "tests/test_support.h"

namespace tortuval::logo {
namespace {

using testing::Cp;
using testing::Utf8;

// Lines in UTF-8, joined with CR LF and read as Windows-1252.
std::string Program(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return Cp(text);
}

std::vector<std::string> Described(const std::string& program) {
  std::vector<std::string> described;
  for (const Finding& finding : CheckProgram(program)) {
    described.push_back(Utf8(DescribeFinding(finding)));
  }
  return described;
}

struct FaultCase {
  const char* name;
  std::vector<std::string> lines;
  std::vector<std::string> findings;
};

const FaultCase kFaultCases[] = {
    {"a value nothing introduced",
     {"DEFINIS \"x NOMBRE", "soit \"y :x + :z"},
     {"ligne 2, colonne 14 : « :z » n'est introduite par aucun DEFINIS, SOIT, boucle ou entrée de "
      "procédure : déclarez la variable « z » ou corrigez son nom."}},
    {"a word cut by a declared variable",
     {"DEFINIS \"ier NOMBRE", "ECRIS ent :ier 2,5"},
     {"ligne 2, colonne 7 : « ent :ier » n'est pas du LOGO : le mot « entier » a été coupé par la "
      "variable « ier », réécrivez-le d'un seul tenant ou renommez la variable."}},
    {"a list left open on its line",
     {"ECRISLIGNE [ bonjour"},
     {"ligne 1, colonne 12 : le crochet « [ » n'est pas refermé sur sa ligne : ajoutez le « ] » "
      "qui manque."}},
    {"a missing input",
     {"DEFINIS \"l LISTE", "ECRIS item :l"},
     {"ligne 2, colonne 7 : « item » attend 2 entrées mais n'en reçoit que 1 avant la fin de la "
      "ligne : ajoutez ce qui manque."}},
    {"a line warned for parentheses",
     {"pour PSEUDAL_MAX :liste :p :n", "rends :n", "fin", "DEFINIS \"l LISTE",
      "soit \"m PSEUDAL_MAX ( :l 1 3 )  // Des parenthèses doivent être supprimées sur cette "
      "ligne."},
     {"ligne 5, colonne 21 : les parenthèses autour des entrées de « PSEUDAL_MAX » sont à "
      "supprimer à la main, puis le commentaire d'avertissement de la ligne."}},
    {"source notation the converter leaves",
     {"DEFINIS \"c NOMBRE", "soit \"c :c.charCodeAt ( 0 )", "ECRIS String.fromCharCode ( 65 66 )",
      "ECRIS :c modulo 2", "ECRIS sqrt :c"},
     {"ligne 2, colonne 9 : « :c.charCodeAt » n'est pas du LOGO : le code d'un caractère n'est pas "
      "converti, remplacez-le à la main.",
      "ligne 3, colonne 7 : « String.fromCharCode » n'est pas du LOGO : le caractère d'un code "
      "n'est converti que pour un seul code, écrivez « caractère » suivi de chaque code.",
      "ligne 4, colonne 10 : « modulo » n'est pas du LOGO : le reste d'une division s'écrit avec "
      "« % », remplacez-le à la main.",
      "ligne 5, colonne 7 : « sqrt » n'est pas du LOGO : la racine carrée s'écrit « rac2 », "
      "remplacez-la à la main."}},
    {"a mistyped name",
     {"ECRIS entiere 2"},
     {"ligne 1, colonne 7 : « entiere » n'est ni une primitive ni une procédure du programme : "
      "corrigez le nom, ou définissez la procédure avec POUR … FIN."}},
    {"what the run would stop at: a value given to nothing, a word that gives no value, too "
     "many values in parentheses",
     {"2 + 3", "ECRIS SOIT \"x 1", "ECRIS ( 1 2 )"},
     {"ligne 1, colonne 1 : que faire de « 2 » ? Cette valeur n'est donnée à aucune primitive ni "
      "procédure.",
      "ligne 2, colonne 7 : « SOIT » ne rend pas de valeur : elle ne peut pas servir d'entrée à "
      "une autre.",
      "ligne 3, colonne 11 : trop de valeurs entre parenthèses (à partir de « 2 ») : retirez "
      "celles qui sont en trop."}},
    {"inputs missing before a parenthesis, and an operator without its right side",
     {"DEFINIS \"l LISTE", "ECRIS ( item :l )", "ECRIS 1 +", "REPETE"},
     {"ligne 2, colonne 9 : « item » attend 2 entrées mais n'en reçoit que 1 avant « ) » : "
      "ajoutez ce qui manque.",
      "ligne 3, colonne 9 : « + » attend une valeur de chaque côté : ajoutez celle qui manque "
      "après lui.",
      "ligne 4, colonne 1 : « REPETE » attend 2 entrées mais n'en reçoit aucune avant la fin de la "
      "ligne : ajoutez-les."}},
    {"parentheses and brackets that close nothing or too late",
     {"ECRIS ( 1 + 2", "ECRIS 1 )", "ECRIS [ a ] ]", "TESTE vrai", "SIVRAI [", "ECRIS 1"},
     {"ligne 1, colonne 7 : la parenthèse « ( » n'est pas refermée sur sa ligne : ajoutez la « ) » "
      "qui manque.",
      "ligne 2, colonne 9 : la parenthèse « ) » ne ferme rien : supprimez-la ou ajoutez la « ( » "
      "qui manque.",
      "ligne 3, colonne 13 : le crochet « ] » ne ferme rien : supprimez-le ou ajoutez le « [ » qui "
      "manque.",
      "ligne 5, colonne 8 : le bloc ouvert par ce « [ » n'est jamais refermé : ajoutez le « ] » "
      "qui "
      "le termine."}},
    {"a group left open is reported at its line's end, even with lines without brackets after",
     {"ECRIS ( 1", "ECRIS 2", "SIVRAI [", "  ECRIS ( 3", "  )", "]", "ECRIS ( 4 )"},
     {"ligne 1, colonne 7 : la parenthèse « ( » n'est pas refermée sur sa ligne : ajoutez la « ) » "
      "qui manque.",
      "ligne 4, colonne 9 : la parenthèse « ( » n'est pas refermée sur sa ligne : ajoutez la « ) » "
      "qui manque.",
      "ligne 5, colonne 3 : la parenthèse « ) » ne ferme rien : supprimez-la ou ajoutez la « ( » "
      "qui manque."}},
    {"procedures left open, a block open at FIN, a FIN that ends nothing",
     {"POUR F1 :x", "SIVRAI [", "FIN", "FIN", "POUR F2 :y", "rends :y"},
     {"ligne 2, colonne 8 : le bloc ouvert par ce « [ » n'est pas refermé avant « FIN » : ajoutez "
      "le « ] » qui le termine.",
      "ligne 4, colonne 1 : « FIN » ne termine aucune procédure : supprimez-le ou ajoutez la ligne "
      "« POUR » qui manque.",
      "ligne 5, colonne 1 : la procédure « F2 » n'est pas terminée : ajoutez une ligne « FIN » "
      "après ses instructions."}},
    {"conditions whose blocks the document lost: the instruction after them always runs",
     {"DEFINIS \"x NOMBRE", "SOIT \"x - 1", "TESTE :x < 0", "ECRISLIGNE [ Pas de solution ]",
      "REPETE 2 [", "  TESTE :x = 0", "]", "TESTE :x > 0"},
     {"ligne 3, colonne 1 : cette condition ne commande aucun bloc : l'instruction suivante "
      "s'exécute toujours ; mettez ce qu'elle commande dans « SIVRAI [ … ] ».",
      "ligne 6, colonne 3 : cette condition ne commande aucun bloc : l'instruction suivante "
      "s'exécute toujours ; mettez ce qu'elle commande dans « SIVRAI [ … ] ».",
      "ligne 8, colonne 1 : cette condition ne commande aucun bloc : l'instruction suivante "
      "s'exécute toujours ; mettez ce qu'elle commande dans « SIVRAI [ … ] »."}},
    {"a procedure's values are its own",
     {"POUR F1 :x", "soit \"t :x", "rends :t", "FIN", "ECRIS :t + :x"},
     {"ligne 5, colonne 7 : « :t » n'est introduite par aucun DEFINIS, SOIT, boucle ou entrée de "
      "procédure : déclarez la variable « t » ou corrigez son nom.",
      "ligne 5, colonne 12 : « :x » n'est introduite par aucun DEFINIS, SOIT, boucle ou entrée de "
      "procédure : déclarez la variable « x » ou corrigez son nom."}},
};

TEST(CheckProgram, FindsEachFaultWhereItIs) {
  for (const FaultCase& fault : kFaultCases) {
    EXPECT_EQ(Described(Program(fault.lines)), fault.findings) << fault.name;
  }
}

TEST(CheckProgram, KindsFollowTheFaults) {
  const std::vector<Finding> findings = CheckProgram(
      Program({"ECRIS :a", "ECRIS foo", "ECRIS", "ECRIS ( 1", "SIVRAI [",
               "ECRIS 1  // Des parenthèses doivent être supprimées sur cette ligne."}));
  std::vector<FindingKind> kinds;
  for (const Finding& finding : findings) kinds.push_back(finding.kind);
  EXPECT_EQ(kinds,
            (std::vector<FindingKind>{FindingKind::kUndeclaredValue, FindingKind::kUnknownWord,
                                      FindingKind::kMissingInput, FindingKind::kUnbalanced,
                                      FindingKind::kOpenBlock, FindingKind::kFixByHand}));
}

// Constructs of the converter and of the dialect that are all correct.
const char* const kCorrectPrograms[][10] = {
    {"DEFINIS \"l LISTE", "DEFINIS \"i NOMBRE", "SOIT \"i 1",
     "REPETE ABS ( :i - 1 )  [   // BOUCLE REPETE_POUR",
     "    TESTE item :l [ :i + 1 ] < item :l [ :i ]", "    SIVRAI INC :i SIFAUX DEC :i", "    ]",
     nullptr},
    {"DEFINIS \"mot CHAINE_PERSO", "SOIT \"mot PH LISTEVARS 0 0 3 LISLISTE",
     "ECL [Tape un mot ou une phrase.] EFFL", "tant que non(touche?) []",
     "TANT  QUE :mot = \"oui ET 1 <> 2 [", "soit \"n - 5", "]", nullptr},
    {"POUR F1 :x", "rends ( 1 / ( rac2 ( 2 * PI ) ) ) * exp ( - 0,5 * :x * :x )", "FIN",
     "SOIT \"g 2", "POUR F2 :w :g", "teste :w >= 0 sivrai [ rends - entier ( - :g * :w ) / :g ]",
     "FIN", "ECRIS ( F1 2.5 ) + ( F2 1e-8 3 ) + ( random 1 6 ) - -:g", nullptr},
    {"ECRISLIGNE [ Pr(X, X < a) :y ent :ier modulo // ]", "// ECRIS :rien foo (",
     "SEGMENT3D [ 1 2  0 ] [ 3 4  0 ]", "PLOT [ 1 -2  0 ]", "initgraph faux", "grapheur vrai",
     "ecrislIGNE écart-type [ 1 2 ]", nullptr},
    {"DEFINIS \"x NOMBRE", "TESTE :x > 0", "SIVRAI [ // DEBUT_SI", "  ECRIS 1", "  ]", "SIFAUX [",
     "  // DEBUT_SINON", "  ECRIS 2", "  ]", nullptr},
};

TEST(CheckProgram, CorrectProgramsGiveNoFinding) {
  for (const auto& lines : kCorrectPrograms) {
    std::vector<std::string> program;
    for (const char* const* line = lines; *line != nullptr; ++line) program.emplace_back(*line);
    EXPECT_EQ(Described(Program(program)), std::vector<std::string>{}) << lines[0];
  }
}

// The converter's leftovers run here under a reading of their own; the user's LOGO will not take
// them as written. The check once called them not LOGO ("« :mot.length » n'est pas du LOGO : la
// longueur d'un mot n'est pas convertie…", "« 1e - 8 » n'est pas du LOGO : ce nombre…"); it now
// says how they are read and what to write.
TEST(CheckProgram, LeftoversAreToRetouchForYourLogo) {
  const std::vector<Finding> findings = CheckProgram(
      Program({"DEFINIS \"mot MOT", "ECRISLIGNE 1 + :mot.length", "TESTE 2 > 1e - 8 SIVRAI [ ]",
               "PLOT [ 1 - 2  0 ]", "ECRIS \"deux mots \"", "pour fact :n", "rends :n", "fin",
               "ECRIS PSEUDAL_FACTORIELLE 3", "SOIT \"i 1", "REPETE 3 [", "  soit \"i 5",
               "  TESTE 1", "  SIVRAI INC :i SIFAUX DEC :i", "]"}));
  std::vector<std::string> described;
  for (const Finding& finding : findings) {
    EXPECT_EQ(finding.kind, FindingKind::kForYourLogo);
    described.push_back(Utf8(DescribeFinding(finding)));
  }
  EXPECT_EQ(described,
            (std::vector<std::string>{
                "ligne 2, colonne 16 : à retoucher pour votre LOGO : « :mot.length » se lit ici "
                "comme « ( card :mot ) », la longueur du mot ; écrivez-le ainsi.",
                "ligne 3, colonne 11 : à retoucher pour votre LOGO : « 1e - 8 » se lit ici comme "
                "le nombre 1e-8 ; écrivez-le « 1e-8 », sans espace.",
                "ligne 4, colonne 6 : à retoucher pour votre LOGO : dans « [ 1 - 2  0 ] », un « - "
                "» se lit ici comme le signe d'une coordonnée ; collez-le à son nombre.",
                "ligne 5, colonne 7 : à retoucher pour votre LOGO : le texte « deux mots » se lit "
                "ici comme un seul mot ; votre LOGO le coupera à chaque espace.",
                "ligne 9, colonne 7 : à retoucher pour votre LOGO : « PSEUDAL_FACTORIELLE » se "
                "lit ici comme « fact », la factorielle ; écrivez « fact » à sa place.",
                "ligne 11, colonne 1 : à retoucher pour votre LOGO : cette boucle s'arrête ici "
                "quand son corps porte « i » au-delà de sa fin ; votre LOGO fera tous ses tours : "
                "écrivez la boucle avec TANT QUE … pour en sortir avant sa fin."}));
}

// "LIRE t[[i]]": the editor gives the read the position "[i]", which the converter writes as a
// list; the check names the doubled brackets, into a list as into a word, in the main
// instructions as in a function, and says nothing of "LIRE t[i]".
TEST(CheckProgram, AReadAtAPositionInDoubledBracketsNamesThem) {
  const std::string document =
      "<Algo><item algoitem=\"V\" code=\"100#declarationsvariables\">"
      "<item algoitem=\"\" code=\"1#LISTE#t\"/><item algoitem=\"\" code=\"1#CHAINE#m\"/>"
      "<item algoitem=\"\" code=\"1#NOMBRE#i\"/></item>"
      "<item algoitem=\"F\" code=\"200#declarationfonctions\">"
      "<item algoitem=\"\" code=\"201#f#n\"><item algoitem=\"\" code=\"202#variables\">"
      "<item algoitem=\"\" code=\"1#LISTE#u\"/></item><item algoitem=\"\" code=\"203#debut\"/>"
      "<item algoitem=\"\" code=\"2#u#[n]\"/><item algoitem=\"\" code=\"204#fin\"/></item></item>"
      "<item algoitem=\"D\" code=\"101#debutalgo\"><item algoitem=\"\" code=\"2#t#[i]\"/>"
      "<item algoitem=\"\" code=\"2#m#[i+1]\"/><item algoitem=\"\" code=\"2#t#i\"/></item>"
      "<item algoitem=\"\" code=\"102#finalgo\"/></Algo>";
  std::vector<std::string> messages;
  for (const Finding& finding : CheckProgram(convert::ConvertDocument(document).logoText)) {
    messages.push_back(Utf8(finding.message));
  }
  EXPECT_EQ(messages,
            (std::vector<std::string>{
                "les crochets sont doublés dans « u[[n]] » : écrivez « u[n] ».",
                "les crochets sont doublés dans « t[[i]] » : écrivez « t[i] ».",
                "les crochets sont doublés dans « m[[i + 1]] » : écrivez « m[i + 1] »."}));
}

TEST(CheckProgram, ReadsLineFeedsAlone) {
  const std::vector<Finding> findings = CheckProgram("ECRIS 1\nECRIS :z\n");
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].line, 2);
  EXPECT_EQ(findings[0].column, 7);
}

}  // namespace
}  // namespace tortuval::logo
