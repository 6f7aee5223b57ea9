#include "python/python_helpers.h"

#include <algorithm>

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

constexpr Helper kHelpers[] = {
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
    {"_caracteres", "_texte _nombre", "",
     R"(def _caracteres(valeur):
    """Les caractères d'un mot ou d'un nombre écrit, un chiffre pris comme nombre."""
    return [c if _nombre(c) is None else _nombre(c) for c in _texte(valeur)]
)"},
    {"_element", "_erreur _texte _caracteres", "",
     R"(def _element(liste, position):
    """L'élément d'une liste (ou le caractère d'un mot) à sa position, comptée à partir de 0."""
    if not isinstance(liste, list):
        liste = _caracteres(liste)
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
    if not isinstance(liste, list):
        _erreur("« " + _texte(liste) + " » n'est pas une liste.")
    if position != int(position):
        _erreur("La position " + _texte(position) + " n'est pas un nombre entier.")
    if position < 0:
        _erreur("La position " + _texte(position) + " est hors de la liste ("
                + _texte(len(liste)) + " éléments).")
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
    {"_lire_liste", "_nombre _ranger", "",
     R"(def _lire_liste(liste, position):
    """Lit des nombres, séparés par des blancs ou des « : », rangés à partir de la position."""
    question = "Tape un nombre."
    while True:
        reponse = input(question + " ")
        morceaux = [m for mot in reponse.split() for m in mot.split(":") if m]
        refus = [m for m in morceaux if _nombre(m) is None]
        if not refus:
            break
        question = "« " + refus[0] + " » n'est pas un nombre : tapez un nombre."
    for k, morceau in enumerate(morceaux):
        _ranger(liste, position + k, _nombre(morceau))
)"},
    {"_lire_mot", "", "",
     R"(def _lire_mot():
    """Demande un mot ou une phrase : ses mots, séparés d'un blanc."""
    return " ".join(input("Tape un mot ou une phrase. ").split())
)"},
    {"_lire_mots", "_nombre", "",
     R"(def _lire_mots():
    """Demande une liste : les mots de la réponse, ceux qui sont des nombres pris comme nombres."""
    mots = input("Tape un mot ou une phrase. ").split()
    return [mot if _nombre(mot) is None else _nombre(mot) for mot in mots]
)"},
    {"_sans_valeur", "_erreur", "",
     R"(def _sans_valeur(nom, message):
    """Arrête le programme là où une fonction de l'éditeur n'a pas de valeur à rendre."""
    print(nom + " : " + message)
    _erreur("« " + nom + " » n'a pas rendu de valeur.")
)"},
    {"_tranche", "_sans_valeur _texte _caracteres", "",
     R"(def _tranche(nom, liste, debut, fin):
    """Les éléments liste[debut] … liste[fin], coupés au dernier élément de la liste."""
    if not isinstance(liste, list):
        liste = _caracteres(liste)
    if debut > fin:
        _sans_valeur(nom, "le rang de début " + _texte(debut) + " dépasse le rang de fin "
                     + _texte(fin) + ".")
    if debut < 0 or debut >= len(liste):
        _sans_valeur(nom, "les rangs " + _texte(debut) + " à " + _texte(fin)
                     + " sortent de la liste de " + _texte(len(liste)) + " éléments.")
    return liste[int(debut):int(min(fin, len(liste) - 1)) + 1]
)"},
    {"_somme", "_tranche", "",
     R"(def _somme(liste, debut, fin):
    return sum(_tranche("PSEUDAL_SOMME", liste, debut, fin))
)"},
    {"_moyenne", "_tranche", "",
     R"(def _moyenne(liste, debut, fin):
    valeurs = _tranche("PSEUDAL_MOYENNE", liste, debut, fin)
    return sum(valeurs) / len(valeurs)
)"},
    {"_variance", "_tranche", "",
     R"(def _variance(liste, debut, fin, nom="PSEUDAL_VARIANCE"):
    """La variance, divisée par le nombre d'éléments."""
    valeurs = _tranche(nom, liste, debut, fin)
    moyenne = sum(valeurs) / len(valeurs)
    return sum((v - moyenne) ** 2 for v in valeurs) / len(valeurs)
)"},
    {"_ecart_type", "_variance", "math",
     R"(def _ecart_type(liste, debut, fin):
    return math.sqrt(_variance(liste, debut, fin, "PSEUDAL_ECART_TYPE"))
)"},
    {"_mediane_de", "", "",
     R"(def _mediane_de(valeurs):
    """La médiane de valeurs rangées par ordre croissant."""
    milieu = len(valeurs) // 2
    if len(valeurs) % 2 == 1:
        return valeurs[milieu]
    return (valeurs[milieu - 1] + valeurs[milieu]) / 2
)"},
    {"_mediane", "_tranche _mediane_de", "",
     R"(def _mediane(liste, debut, fin):
    return _mediane_de(sorted(_tranche("PSEUDAL_MEDIANE", liste, debut, fin)))
)"},
    {"_quartile1", "_tranche", "math",
     R"(def _quartile1(liste, debut, fin):
    """L'élément de rang ⌈n/4⌉ des n éléments rangés par ordre croissant."""
    valeurs = sorted(_tranche("PSEUDAL_QUARTILE1", liste, debut, fin))
    return valeurs[math.ceil(len(valeurs) / 4) - 1]
)"},
    {"_quartile3", "_tranche", "math",
     R"(def _quartile3(liste, debut, fin):
    """L'élément de rang ⌈3n/4⌉ des n éléments rangés par ordre croissant."""
    valeurs = sorted(_tranche("PSEUDAL_QUARTILE3", liste, debut, fin))
    return valeurs[math.ceil(3 * len(valeurs) / 4) - 1]
)"},
    {"_quartile1_bis", "_tranche _mediane_de", "",
     R"(def _quartile1_bis(liste, debut, fin):
    """La médiane de la moitié inférieure (sans l'élément du milieu)."""
    valeurs = sorted(_tranche("PSEUDAL_QUARTILE1_BIS", liste, debut, fin))
    return _mediane_de(valeurs[:max(1, len(valeurs) // 2)])
)"},
    {"_quartile3_bis", "_tranche _mediane_de", "",
     R"(def _quartile3_bis(liste, debut, fin):
    """La médiane de la moitié supérieure (sans l'élément du milieu)."""
    valeurs = sorted(_tranche("PSEUDAL_QUARTILE3_BIS", liste, debut, fin))
    return _mediane_de(valeurs[(len(valeurs) + 1) // 2:] or valeurs)
)"},
    {"_minimum", "_tranche", "",
     R"(def _minimum(liste, debut, fin):
    return min(_tranche("PSEUDAL_MINIMUM", liste, debut, fin))
)"},
    {"_maximum", "_tranche", "",
     R"(def _maximum(liste, debut, fin):
    return max(_tranche("PSEUDAL_MAXIMUM", liste, debut, fin))
)"},
    {"_pos_minimum", "_tranche", "",
     R"(def _pos_minimum(liste, debut, fin):
    """La position du premier plus petit élément, entre debut et fin."""
    valeurs = _tranche("PSEUDAL_POS_MINIMUM", liste, debut, fin)
    return debut + valeurs.index(min(valeurs))
)"},
    {"_pos_maximum", "_tranche", "",
     R"(def _pos_maximum(liste, debut, fin):
    """La position du premier plus grand élément, entre debut et fin."""
    valeurs = _tranche("PSEUDAL_POS_MAXIMUM", liste, debut, fin)
    return debut + valeurs.index(max(valeurs))
)"},
    {"_factorielle", "", "math",
     R"(def _factorielle(n):
    return math.factorial(int(n))
)"},
    {"_coeff_binomial", "", "math",
     R"(def _coeff_binomial(n, k):
    """Le nombre de façons de choisir k parmi n, 0 quand k n'est pas entre 0 et n."""
    return math.comb(int(n), int(k)) if 0 <= k <= n else 0
)"},
    {"_loi_binomiale", "_coeff_binomial", "",
     R"(def _loi_binomiale(n, p, k):
    """P(X = k) pour X de la loi binomiale de paramètres n et p."""
    return _coeff_binomial(n, k) * p ** k * (1 - p) ** (n - k)
)"},
    {"_loi_normale", "", "math",
     R"(def _loi_normale(esperance, ecart, x):
    """P(X <= x) pour X de la loi normale d'espérance et d'écart-type donnés."""
    if ecart == 0:
        return 1 if x >= esperance else 0
    return 0.5 * math.erfc(-(x - esperance) / (abs(ecart) * math.sqrt(2)))
)"},
    {"_inverse_loi_normale", "_sans_valeur _texte", "statistics",
     R"(def _inverse_loi_normale(esperance, ecart, p, nom="PSEUDAL_INVERSE_LOI_NORMALE"):
    """Le x tel que P(X <= x) = p, pour p strictement entre 0 et 1."""
    if not 0 < p < 1:
        _sans_valeur(nom, "la probabilité " + _texte(p) + " n'est pas strictement entre 0 et 1.")
    return esperance + ecart * statistics.NormalDist().inv_cdf(p)
)"},
    {"_code_caractere", "_element _texte", "",
     R"(def _code_caractere(texte, position):
    """Le code Windows-1252 du caractère à la position donnée (à partir de 0)."""
    return _texte(_element(texte, position)).encode("cp1252")[0]
)"},
    {"_sous_mot", "_element _texte", "",
     R"(def _sous_mot(mot, debut, nombre):
    """Les nombre caractères de mot à partir de la position debut (à partir de 0)."""
    return "".join(_texte(_element(mot, debut + k)) for k in range(int(nombre)))
)"},
    {"_caractere", "", "",
     R"(def _caractere(code):
    """Le caractère d'un code Windows-1252."""
    return bytes([int(code)]).decode("cp1252")
)"},
};

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
