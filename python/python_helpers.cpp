#include "python/python_helpers.h"

#include <algorithm>
#include <array>

namespace tortuval::python {
namespace {

// The small functions a program may need, each with what it uses, in the order they are
// written: one a reader can follow, a few lines each, named in French. They give the run's
// meaning where Python's own differs (numbers written with a decimal comma, "+" that joins
// words, reads that ask again, a list that grows when written past its end).
struct Helper {
  std::string_view name;
  std::string_view uses;  // other helpers, blank-separated
  std::string_view modules;
  std::string_view text;
};

constexpr std::array<Helper, 9> kHelpers{{
    {"_texte", "", "",
     R"(def _texte(valeur):
    """La valeur écrite comme l'algorithme l'écrit : 0,5 pour un demi, 3 pour 3.0."""
    if isinstance(valeur, bool):
        return "vrai" if valeur else "faux"
    if isinstance(valeur, str):
        return valeur
    if isinstance(valeur, list):
        return " ".join("[" + _texte(v) + "]" if isinstance(v, list) else _texte(v)
                        for v in valeur)
    if valeur != valeur:
        return "NaN"
    if valeur in (float("inf"), float("-inf")):
        return "Infinity" if valeur > 0 else "-Infinity"
    if valeur == 0:
        return "0"
    if valeur == int(valeur) and abs(valeur) < 1e15:
        return "%.0f" % valeur
    mantisse, _, exposant = ("%.15g" % valeur).partition("e")
    texte = mantisse.replace(".", ",")
    if exposant:
        texte += "E" + str(int(exposant))
    return texte
)"},
    {"_nombre", "", "re",
     R"(def _nombre(valeur):
    """Le nombre qu'une valeur est ou qu'un mot écrit (virgule ou point), sinon None."""
    if isinstance(valeur, bool) or isinstance(valeur, list):
        return None
    if not isinstance(valeur, str):
        return valeur
    texte = valeur.strip()
    if not re.fullmatch(r"[+-]?(\d+([.,]\d*)?|[.,]\d+)([eE][+-]?\d+)?", texte):
        return None
    return float(texte.replace(",", "."))
)"},
    {"_plus", "_nombre _texte", "",
     R"(def _plus(a, b):
    """Additionne deux nombres ; si l'un est un mot qui n'est pas un nombre, les met bout à bout."""
    x, y = _nombre(a), _nombre(b)
    if x is not None and y is not None:
        return x + y
    return _texte(a) + _texte(b)
)"},
    {"_egal", "_nombre", "",
     R"(def _egal(a, b):
    """Deux nombres (un mot qui en écrit un compris) par leur valeur, le reste tel quel."""
    x, y = _nombre(a), _nombre(b)
    if x is not None and y is not None:
        return x == y
    return a == b
)"},
    {"_erreur", "", "sys",
     R"(def _erreur(message):
    """Arrête le programme sur un message, comme l'exécution de l'algorithme."""
    sys.exit("Erreur : " + message)
)"},
    {"_element", "_erreur _texte", "",
     R"(def _element(liste, position):
    """L'élément d'une liste (ou le caractère d'un mot) à sa position, comptée à partir de 0."""
    if position != int(position):
        _erreur("La position " + _texte(position) + " n'est pas un nombre entier.")
    if not 0 <= position < len(liste):
        _erreur("La position lue " + _texte(position) + " est hors de la liste ("
                + _texte(len(liste)) + " éléments).")
    return liste[int(position)]
)"},
    {"_ranger", "_erreur _texte", "",
     R"(def _ranger(liste, position, valeur):
    """Range la valeur à sa position ; une liste plus courte s'allonge de zéros jusque-là."""
    if position != int(position) or position < 0:
        _erreur("La position " + _texte(position) + " n'est pas un nombre entier positif.")
    while len(liste) <= position:
        liste.append(0)
    liste[int(position)] = valeur
)"},
    {"_lire_nombre", "_nombre", "",
     R"(def _lire_nombre():
    """Demande un nombre, et le redemande tant que la réponse n'en est pas un."""
    question = "Tape un nombre."
    while True:
        reponse = input(question + " ")
        nombre = _nombre(reponse)
        if nombre is not None:
            return nombre
        question = "« " + reponse.strip() + " » n'est pas un nombre : tapez un nombre."
)"},
    {"_lire_mot", "", "",
     R"(def _lire_mot():
    """Demande un mot ou une phrase, pris tel quel."""
    return input("Tape un mot ou une phrase. ")
)"},
}};

}  // namespace

std::string HelperDefinitions(std::set<std::string>& used, std::set<std::string>& modules) {
  // What the used helpers use in turn.
  for (bool grew = true; grew;) {
    grew = false;
    for (const Helper& helper : kHelpers) {
      if (used.count(std::string(helper.name)) == 0) continue;
      std::string_view uses = helper.uses;
      while (!uses.empty()) {
        const std::size_t end = std::min(uses.find(' '), uses.size());
        grew |= used.insert(std::string(uses.substr(0, end))).second;
        uses.remove_prefix(std::min(end + 1, uses.size()));
      }
    }
  }
  std::string text;
  for (const Helper& helper : kHelpers) {
    if (used.count(std::string(helper.name)) == 0) continue;
    if (!helper.modules.empty()) modules.insert(std::string(helper.modules));
    text.append(helper.text).append("\n\n");
  }
  return text;
}

}  // namespace tortuval::python
