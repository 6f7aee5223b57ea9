#include "logo/messages.h"

#include <array>
#include <cstddef>

#include "base/cp1252.h"

namespace tortuval::logo {
namespace {

struct MessageRow {
  MessageId id;
  std::string_view text;  // UTF-8 here; Windows-1252 once read
};

// In the order of MessageId.
constexpr MessageRow kMessages[] = {
    {MessageId::kUndeclaredValue,
     "« {1} » n'est introduite par aucun DEFINIS, SOIT, boucle ou entrée de procédure : "
     "déclarez la variable « {2} » ou corrigez son nom."},
    {MessageId::kEmptyValue,
     "« : » seul ne nomme aucune variable : écrivez le nom après les deux-points."},
    {MessageId::kUnknownWord,
     "« {1} » n'est ni une primitive ni une procédure du programme : corrigez le nom, ou "
     "définissez la procédure avec POUR … FIN."},
    {MessageId::kSplitWord,
     "« {1} » n'est pas du LOGO : le mot « {2} » a été coupé par la variable « {3} », "
     "réécrivez-le d'un seul tenant ou renommez la variable."},
    {MessageId::kWordLength,
     "« {1} » n'est pas du LOGO : la longueur d'un mot n'est pas convertie, remplacez-la à la "
     "main."},
    {MessageId::kCharCodeAt,
     "« {1} » n'est pas du LOGO : le code d'un caractère n'est pas converti, remplacez-le à la "
     "main."},
    {MessageId::kFromCharCode,
     "« {1} » n'est pas du LOGO : le caractère d'un code n'est converti que pour un seul code, "
     "écrivez « caractère » suivi de chaque code."},
    {MessageId::kToString,
     "« {1} » n'est pas du LOGO : la conversion en mot n'est faite que sur une variable NOMBRE, "
     "écrivez « transforme » suivi de la valeur."},
    {MessageId::kSubstrCall,
     "« {1} » n'est pas du LOGO : l'extrait n'est converti que sur une variable MOT, écrivez "
     "« substr » suivi du mot, du rang et du nombre de caractères."},
    {MessageId::kModulo,
     "« {1} » n'est pas du LOGO : le reste d'une division s'écrit avec « % », remplacez-le à la "
     "main."},
    {MessageId::kSquareRoot,
     "« {1} » n'est pas du LOGO : la racine carrée s'écrit « rac2 », remplacez-la à la main."},
    {MessageId::kFactorial,
     "« {1} » n'est pas du LOGO : la factorielle s'écrit « fact » suivi du nombre, remplacez-la "
     "à la main."},
    {MessageId::kInactiveFunction,
     "« {1} » n'est pas défini dans ce programme : activez la fonction {1} dans le document, ou "
     "définissez-la avec POUR {1} … FIN."},
    {MessageId::kMathMember,
     "« {1} » n'est pas du LOGO : seul Math.PI est converti, écrivez la primitive LOGO à la "
     "main."},
    {MessageId::kMissingInputs,
     "« {1} » attend {2} mais n'en reçoit que {3} avant {4} : ajoutez ce qui manque."},
    {MessageId::kNoInput, "« {1} » attend {2} mais n'en reçoit aucune avant {4} : ajoutez-les."},
    {MessageId::kMissingOperand,
     "« {1} » attend une valeur de chaque côté : ajoutez celle qui manque après lui."},
    {MessageId::kUnclosedGroup,
     "la parenthèse « ( » n'est pas refermée sur sa ligne : ajoutez la « ) » qui manque."},
    {MessageId::kUnclosedList,
     "le crochet « [ » n'est pas refermé sur sa ligne : ajoutez le « ] » qui manque."},
    {MessageId::kUnopenedGroup,
     "la parenthèse « ) » ne ferme rien : supprimez-la ou ajoutez la « ( » qui manque."},
    {MessageId::kUnopenedList,
     "le crochet « ] » ne ferme rien : supprimez-le ou ajoutez le « [ » qui manque."},
    {MessageId::kOpenBlockAtEnd,
     "le bloc ouvert par ce « [ » n'est jamais refermé : ajoutez le « ] » qui le termine."},
    {MessageId::kOpenBlockAtFin,
     "le bloc ouvert par ce « [ » n'est pas refermé avant « FIN » : ajoutez le « ] » qui le "
     "termine."},
    {MessageId::kOpenProcedure,
     "la procédure « {1} » n'est pas terminée : ajoutez une ligne « FIN » après ses "
     "instructions."},
    {MessageId::kStrayEnd,
     "« {1} » ne termine aucune procédure : supprimez-le ou ajoutez la ligne « POUR » qui "
     "manque."},
    {MessageId::kWarnedCall,
     "les parenthèses autour des entrées de « {1} » sont à supprimer à la main, puis le "
     "commentaire d'avertissement de la ligne."},
    {MessageId::kWarnedLine,
     "cette ligne garde des parenthèses que le convertisseur n'a pas su retirer : supprimez-les "
     "à la main, puis le commentaire d'avertissement."},
    {MessageId::kWarnedWithoutParentheses,
     "cette ligne porte l'avertissement des parenthèses : relisez-la à la main, puis retirez le "
     "commentaire d'avertissement."},
    {MessageId::kIdleCondition,
     "cette condition ne commande aucun bloc : l'instruction suivante s'exécute toujours ; "
     "mettez ce qu'elle commande dans « SIVRAI [ … ] »."},
    {MessageId::kDoubledBrackets,
     "les crochets sont doublés dans « {1}[[{2}]] » : écrivez « {1}[{2}] »."},
    // Parts of the missing-input messages.
    {MessageId::kOneInput, "{1} entrée"},
    {MessageId::kInputs, "{1} entrées"},
    {MessageId::kEndOfLine, "la fin de la ligne"},
    {MessageId::kUnusedValue,
     "que faire de « {1} » ? Cette valeur n'est donnée à aucune primitive ni procédure."},
    {MessageId::kNoValue,
     "« {1} » ne rend pas de valeur : elle ne peut pas servir d'entrée à une autre."},
    {MessageId::kUnexpected, "« {1} » est inattendu ici : supprimez-le ou complétez la ligne."},
    {MessageId::kMissingValue, "il manque une valeur avant {1} : ajoutez-la."},
    {MessageId::kMissingSignOperand, "« {1} » attend une valeur après lui : ajoutez-la."},
    {MessageId::kTooManyValues,
     "trop de valeurs entre parenthèses (à partir de « {1} ») : retirez celles qui sont en trop."},
    {MessageId::kNameExpected, "« {1} » attend un nom de variable écrit \"nom : ajoutez-le."},
    {MessageId::kVariableExpected, "« {1} » attend une variable écrite :nom : ajoutez-la."},
    {MessageId::kTypeExpected,
     "il manque le type après « DEFINIS » : écrivez NOMBRE, MOT ou LISTE."},
    {MessageId::kSortOrderExpected, "« {1} » attend un ordre comme [ < NOMBRE ] : ajoutez-le."},
    {MessageId::kUnnamedProcedure, "« POUR » sans nom de procédure : écrivez son nom après POUR."},
    {MessageId::kBadNumber, "« {1} » n'est pas un nombre lisible."},
    {MessageId::kTooDeep, "le programme est trop imbriqué pour être lu."},
    {MessageId::kTooLong, "l'expression est trop longue pour être lue."},
    {MessageId::kLeftoverLength,
     "à retoucher pour votre LOGO : « {1} » se lit ici comme « ( card {2} ) », la longueur du "
     "mot ; écrivez-le ainsi."},
    {MessageId::kLeftoverFactorial,
     "à retoucher pour votre LOGO : « {1} » se lit ici comme « fact », la factorielle ; écrivez "
     "« fact » à sa place."},
    {MessageId::kLeftoverExponent,
     "à retoucher pour votre LOGO : « {1} » se lit ici comme le nombre {2} ; écrivez-le « {2} », "
     "sans espace."},
    {MessageId::kLeftoverSign,
     "à retoucher pour votre LOGO : dans « {1} », un « - » se lit ici comme le signe d'une "
     "coordonnée ; collez-le à son nombre."},
    {MessageId::kLeftoverString,
     "à retoucher pour votre LOGO : le texte « {1} » se lit ici comme un seul mot ; votre LOGO le "
     "coupera à chaque espace."},
    {MessageId::kLeftoverLoop,
     "à retoucher pour votre LOGO : cette boucle s'arrête ici quand son corps porte « {1} » "
     "au-delà de sa fin ; votre LOGO fera tous ses tours : écrivez la boucle avec TANT QUE … pour "
     "en sortir avant sa fin."},
};

constexpr bool InIdOrder() {
  for (std::size_t i = 0; i < std::size(kMessages); ++i) {
    if (static_cast<std::size_t>(kMessages[i].id) != i) return false;
  }
  return true;
}
static_assert(InIdOrder(), "the message rows follow MessageId");

}  // namespace

std::string FormatMessage(MessageId id, std::initializer_list<std::string_view> arguments) {
  static const std::array<std::string, std::size(kMessages)> texts = [] {
    std::array<std::string, std::size(kMessages)> converted;
    for (std::size_t i = 0; i < std::size(kMessages); ++i) {
      converted[i] = base::Utf8ToCp1252(kMessages[i].text);
    }
    return converted;
  }();
  const std::string_view text = texts[static_cast<std::size_t>(id)];
  std::string out;
  out.reserve(text.size() + 32);
  // The text is copied in runs between its places: a converted program can have thousands of
  // findings.
  std::size_t copied = 0;
  for (std::size_t brace = text.find('{'); brace != std::string_view::npos;
       brace = text.find('{', brace + 1)) {
    const std::size_t place = brace + 2 < text.size() && text[brace + 2] == '}'
                                  ? static_cast<std::size_t>(text[brace + 1] - '1')
                                  : arguments.size();
    if (place >= arguments.size()) continue;
    out.append(text.substr(copied, brace - copied));
    out.append(arguments.begin()[place]);
    copied = brace + 3;
    brace += 2;
  }
  out.append(text.substr(copied));
  return out;
}

std::string Quoted(std::string_view text) {
  static const std::string open = base::Utf8ToCp1252("« ");
  static const std::string close = base::Utf8ToCp1252(" »");
  return open + std::string(text) + close;
}

}  // namespace tortuval::logo
