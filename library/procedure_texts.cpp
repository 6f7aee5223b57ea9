// The texts of the support procedures, as the converter writes them before the algorithm.

#include "library/procedure_texts.h"

#include <cstddef>

#include "base/cp1252.h"

namespace tortuval::library {
namespace {

// The procedure texts in UTF-8, position 1 first, one line per source line; every line is written
// after the indentation. They use only the dialect's primitives, so that the program runs under
// any interpreter of the dialect, and keep their working variables local (definis), so that a
// call never changes a variable of the program. A procedure that cannot give a meaningful result
// (a probability outside ]0 ; 1[, a stretch p..n that is not one of the list) writes why on a line
// of its own and ends without a result: the run stops there, as for any procedure used as a value
// that gives none.
//
// Positions p..n of the list procedures are the source's indices: L[i] is "item :liste :i + 1".
// The normal law is the series 1/2 + phi(z) (z + z^3/3 + z^5/15 + ...) while |z| < 3, and beyond
// it the tail phi(w) / (w + 1/(w + 2/(w + 3/(w + ...)))) with 60 terms, accurate relative to the
// tail itself; the inverse starts from a rational approximation (error below 5e-4) and takes three
// Halley steps on that law, working in the lower tail so that p near 1 keeps its accuracy.
// PSEUDAL_LIRE_LISTE builds each piece of an answer's word behind a letter ("x") so that joining
// characters never turns a piece into a number midway ("1," would print back as "1"); dropping the
// letter at the end makes the piece a number when it reads as one.
constexpr std::string_view kProcedures[kSupportProcedureCount] = {
    // 1. fact: the factorial of n.
    R"proc(pour fact :n
definis "résultat NOMBRE
soit "résultat 1
répète :n [ soit "résultat :résultat * boucle ]
rends :résultat
fin)proc",
    // 2. PSEUDAL_COEFF_BINOMIAL: the number of ways to choose p things among n.
    R"proc(pour PSEUDAL_COEFF_BINOMIAL :n :p
definis "k NOMBRE
definis "résultat NOMBRE
si ( :p < 0 ) OU ( :p > :n ) [ rends 0 ]
soit "k :p
si :k > :n - :k [ soit "k :n - :k ]
soit "résultat 1
répète :k [ soit "résultat :résultat * ( :n - :k + boucle ) / boucle ]
rends :résultat
fin)proc",
    // 3. PSEUDAL_LOI_BINOMIALE: the probability of k successes in n trials of probability p.
    R"proc(pour PSEUDAL_LOI_BINOMIALE :n :p :k
definis "q NOMBRE
definis "échange NOMBRE
definis "reste NOMBRE
definis "résultat NOMBRE
si ( :k < 0 ) OU ( :k > :n ) [ rends 0 ]
soit "q 1 - :p
si :k > :n - :k [
  soit "k :n - :k
  soit "échange :p
  soit "p :q
  soit "q :échange
]
soit "reste :n - :k
soit "résultat 1
répète :k [
  soit "résultat :résultat * ( :n - :k + boucle ) / boucle * :p
  tant que ( :résultat > 1 ) ET ( :reste > 0 ) [
    soit "résultat :résultat * :q
    soit "reste :reste - 1
  ]
]
rends :résultat * puissance :q :reste
fin)proc",
    // 4. PSEUDAL_LOI_NORMALE_CR: P(X <= x) for the centred reduced normal law.
    R"proc(pour PSEUDAL_LOI_NORMALE_CR :x
rends PSEUDAL_LOI_NORMALE 0 1 :x
fin)proc",
    // 5. PSEUDAL_LOI_NORMALE: P(X <= x) for the normal law of mean esp and deviation écart.
    R"proc(pour PSEUDAL_LOI_NORMALE :esp :écart :x
definis "z NOMBRE
{variables de la loi normale}
si :écart = 0 [
  si :x >= :esp [ rends 1 ]
  rends 0
]
soit "z ( :x - :esp ) / ABS ( :écart )
{loi normale}
rends :proba
fin)proc",
    // 6. PSEUDAL_INVERSE_LOI_NORMALE: the x with P(X <= x) = p for the normal law of mean esp
    // and deviation ecart.
    R"proc(pour PSEUDAL_INVERSE_LOI_NORMALE :esp :ecart :p
si ( :p > 0 ) ET ( :p < 1 ) [ rends :esp + :ecart * ( PSEUDAL_INVERSE_LOI_NORMALE_CR :p ) ]
ecris [ PSEUDAL_INVERSE_LOI_NORMALE : la probabilité  ] ecris :p
ecrisligne [  n'est pas strictement entre 0 et 1. ]
fin)proc",
    // 7. PSEUDAL_INVERSE_LOI_NORMALE_CR: the x with P(X <= x) = p for the centred reduced law.
    R"proc(pour PSEUDAL_INVERSE_LOI_NORMALE_CR :p
definis "q NOMBRE
definis "t NOMBRE
definis "z NOMBRE
{variables de la loi normale}
definis "pas NOMBRE
si ( :p > 0 ) ET ( :p < 1 ) [
  soit "q :p
  si :p > 0,5 [ soit "q 1 - :p ]
  soit "t rac2 ( - 2 * log ( :q ) )
  soit "z 2,515517 + :t * ( 0,802853 + :t * 0,010328 )
  soit "z :z / ( 1 + :t * ( 1,432788 + :t * ( 0,189269 + :t * 0,001308 ) ) ) - :t
  répète 3 [
    {loi normale}
    soit "pas ( :proba - :q ) * rac2 ( 2 * PI ) / exp ( - :z * :z / 2 )
    soit "z :z - :pas / ( 1 + :z * :pas / 2 )
  ]
  si :p > 0,5 [ rends - :z ]
  rends :z
]
ecris [ PSEUDAL_INVERSE_LOI_NORMALE_CR : la probabilité  ] ecris :p
ecrisligne [  n'est pas strictement entre 0 et 1. ]
fin)proc",
    // 8. PSEUDAL_SOMME: the sum of L[p] ... L[n].
    R"proc(pour PSEUDAL_SOMME :liste :p :n
{tranche}
  rends somme :tranche
{hors de la liste}
fin)proc",
    // 9. PSEUDAL_MOYENNE: their mean.
    R"proc(pour PSEUDAL_MOYENNE :liste :p :n
{tranche}
  rends ( somme :tranche ) / ( card :tranche )
{hors de la liste}
fin)proc",
    // 10. PSEUDAL_VARIANCE: their variance, divided by their count.
    R"proc(pour PSEUDAL_VARIANCE :liste :p :n
{tranche}
  rends variance :tranche
{hors de la liste}
fin)proc",
    // 11. PSEUDAL_ECART_TYPE: their standard deviation.
    R"proc(pour PSEUDAL_ECART_TYPE :liste :p :n
{tranche}
  rends écart-type :tranche
{hors de la liste}
fin)proc",
    // 12. PSEUDAL_MEDIANE: the middle item of the sorted stretch, or the mean of the middle two.
    R"proc(pour PSEUDAL_MEDIANE :liste :p :n
{tranche}
  definis "c NOMBRE
  soit "tranche trieitems :tranche [ < NOMBRE ]
  soit "c card :tranche
  si ( :c % 2 ) = 1 [ rends item :tranche ( :c + 1 ) / 2 ]
  rends ( ( item :tranche :c / 2 ) + ( item :tranche :c / 2 + 1 ) ) / 2
{hors de la liste}
fin)proc",
    // 13. PSEUDAL_QUARTILE1: the item of rank c / 4 rounded up in the sorted stretch of c items.
    R"proc(pour PSEUDAL_QUARTILE1 :liste :p :n
{tranche}
  soit "tranche trieitems :tranche [ < NOMBRE ]
  rends item :tranche entier ( ( ( card :tranche ) + 3 ) / 4 )
{hors de la liste}
fin)proc",
    // 14. PSEUDAL_QUARTILE3: the item of rank 3c / 4 rounded up.
    R"proc(pour PSEUDAL_QUARTILE3 :liste :p :n
{tranche}
  soit "tranche trieitems :tranche [ < NOMBRE ]
  rends item :tranche entier ( ( 3 * ( card :tranche ) + 3 ) / 4 )
{hors de la liste}
fin)proc",
    // 15. PSEUDAL_QUARTILE1_BIS: the median of the lower half of the sorted stretch (the middle
    // item left out when the count is odd).
    R"proc(pour PSEUDAL_QUARTILE1_BIS :liste :p :n
{tranche}
  definis "h NOMBRE
  soit "tranche trieitems :tranche [ < NOMBRE ]
  soit "h entier ( ( card :tranche ) / 2 )
  si :h = 0 [ rends item :tranche 1 ]
  si ( :h % 2 ) = 1 [ rends item :tranche ( :h + 1 ) / 2 ]
  rends ( ( item :tranche :h / 2 ) + ( item :tranche :h / 2 + 1 ) ) / 2
{hors de la liste}
fin)proc",
    // 16. PSEUDAL_QUARTILE3_BIS: the median of the upper half.
    R"proc(pour PSEUDAL_QUARTILE3_BIS :liste :p :n
{tranche}
  definis "h NOMBRE
  definis "a NOMBRE
  soit "tranche trieitems :tranche [ < NOMBRE ]
  soit "h entier ( ( card :tranche ) / 2 )
  si :h = 0 [ rends item :tranche 1 ]
  soit "a ( card :tranche ) - :h
  si ( :h % 2 ) = 1 [ rends item :tranche :a + ( :h + 1 ) / 2 ]
  rends ( ( item :tranche :a + :h / 2 ) + ( item :tranche :a + :h / 2 + 1 ) ) / 2
{hors de la liste}
fin)proc",
    // 17. PSEUDAL_MINIMUM: the smallest item of the stretch.
    R"proc(pour PSEUDAL_MINIMUM :liste :p :n
{tranche}
  rends premier trieitems :tranche [ < NOMBRE ]
{hors de la liste}
fin)proc",
    // 18. PSEUDAL_MAXIMUM: the largest.
    R"proc(pour PSEUDAL_MAXIMUM :liste :p :n
{tranche}
  rends dernier trieitems :tranche [ < NOMBRE ]
{hors de la liste}
fin)proc",
    // 19. PSEUDAL_POS_MINIMUM: the index (p to n) of the first smallest item.
    R"proc(pour PSEUDAL_POS_MINIMUM :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "rang NOMBRE
  definis "i NOMBRE
  soit "rang :p
  soit "i :p + 1
  tant que :i <= :n [
    si ( item :liste :i + 1 ) < ( item :liste :rang + 1 ) [ soit "rang :i ]
    soit "i :i + 1
  ]
  rends :rang
{hors de la liste}
fin)proc",
    // 20. PSEUDAL_POS_MAXIMUM: the index of the first largest item.
    R"proc(pour PSEUDAL_POS_MAXIMUM :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "rang NOMBRE
  definis "i NOMBRE
  soit "rang :p
  soit "i :p + 1
  tant que :i <= :n [
    si ( item :liste :i + 1 ) > ( item :liste :rang + 1 ) [ soit "rang :i ]
    soit "i :i + 1
  ]
  rends :rang
{hors de la liste}
fin)proc",
    // 21. substr: the quantité characters of a word from position rang.
    R"proc(pour substr :a :rang :quantité
soit "résultat "
répète :quantité soit "résultat mot :résultat item :a (:rang + boucle)
rends :résultat
fin)proc",
    // 22. PSEUDAL_MAX: the larger of two values.
    R"proc(pour PSEUDAL_MAX :a :b
teste :a > :b
sivrai rends :a
sifaux rends :b
fin)proc",
    // 23. PSEUDAL_MIN: the smaller of two values.
    R"proc(pour PSEUDAL_MIN :a :b
teste :a < :b
sivrai rends :a
sifaux rends :b
fin)proc",
    // 24. PSEUDAL_FACTORIELLE: the factorial under its source name.
    R"proc(pour PSEUDAL_FACTORIELLE :n
rends fact :n
fin)proc",
    // 25. PSEUDAL_LIRE_MOT: one answer, its words joined by single blanks into one word.
    R"proc(pour PSEUDAL_LIRE_MOT
definis "mots LISTE
definis "texte MOT
soit "mots LISLISTE
répète card :mots [
  si boucle > 1 [ soit "texte mot :texte caractère 32 ]
  soit "texte mot :texte item :mots boucle
]
rends :texte
fin)proc",
    // 26. PSEUDAL_LIRE_LISTE: one answer written into the list from a source index on.
    R"proc(pour PSEUDAL_LIRE_LISTE :liste :rang
definis "mots LISTE
definis "lu MOT
definis "morceau MOT
definis "lettre MOT
definis "j NOMBRE
soit "mots LISLISTE
répète card :mots [
  soit "lu mot ( item :mots boucle ) caractère 58
  soit "morceau "x
  soit "j 1
  tant que :j <= card :lu [
    soit "lettre item :lu :j
    si :lettre <> caractère 58 [ soit "morceau mot :morceau :lettre ]
    si ( :lettre = caractère 58 ) ET ( ( card :morceau ) > 1 ) [
      tant que ( card :liste ) <= :rang [ soit "liste PH :liste 0 ]
      remplace :liste [ saufpremier :morceau ] [ :rang ]
      soit "rang :rang + 1
      soit "morceau "x
    ]
    soit "j :j + 1
  ]
]
rends :liste
fin)proc",
    // 27. PSEUDAL_CODE_CARACTERE: the Windows-1252 code of a word's character at a source index.
    R"proc(pour PSEUDAL_CODE_CARACTERE :texte :rang
definis "lettre MOT
definis "code NOMBRE
soit "lettre item :texte :rang + 1
soit "code 1
tant que non ( ( caractère :code ) = :lettre ) [ soit "code :code + 1 ]
rends :code
fin)proc",
};

// Pieces of text that several procedures share, each written where a line holds only its name
// in braces, every line of it after that line's indentation; "{nom}" is the procedure's name.
struct Fragment {
  std::string_view name;
  std::string_view text;
};

constexpr Fragment kFragments[] = {
    // The stretch L[p] ... L[n] of a list procedure, when it is one, as the list "tranche".
    {"{tranche}", R"proc(si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2)proc"},
    // Why a list procedure gives no result: the stretch is not one of the list.
    {"{hors de la liste}", R"proc(]
teste :p > :n
sivrai [
  ecris [ {nom} : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ {nom} : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
])proc"},
    // P(Z <= z) for the centred reduced normal law, into "proba".
    {"{variables de la loi normale}", R"proc(definis "cumul NOMBRE
definis "terme NOMBRE
definis "k NOMBRE
definis "w NOMBRE
definis "fraction NOMBRE
definis "proba NOMBRE)proc"},
    {"{loi normale}", R"proc(si ABS ( :z ) < 3 [
  soit "cumul :z
  soit "terme :z * :z * :z / 3
  soit "k 3
  tant que ( :cumul + :terme ) <> :cumul [
    soit "cumul :cumul + :terme
    soit "k :k + 2
    soit "terme :terme * :z * :z / :k
  ]
  soit "proba 0,5 + :cumul * exp ( - :z * :z / 2 ) / rac2 ( 2 * PI )
]
si ABS ( :z ) >= 3 [
  soit "w ABS ( :z )
  soit "fraction :w
  répète 60 [ soit "fraction :w + ( 61 - boucle ) / :fraction ]
  soit "proba exp ( - :w * :w / 2 ) / ( :fraction * rac2 ( 2 * PI ) )
  si :z > 0 [ soit "proba 1 - :proba ]
])proc"},
};

std::string_view FragmentNamed(std::string_view name) {
  for (const Fragment& fragment : kFragments) {
    if (fragment.name == name) return fragment.text;
  }
  return {};
}

// The text with each fragment's line replaced by the fragment, in UTF-8.
std::string Expanded(std::string_view procedure) {
  const std::size_t nameStart = procedure.find(' ') + 1;
  const std::string_view name =
      procedure.substr(nameStart, procedure.find_first_of(" \n", nameStart) - nameStart);
  std::string text;
  while (!procedure.empty()) {
    const std::size_t end = procedure.find('\n');
    const std::string_view line = procedure.substr(0, end);
    procedure.remove_prefix(end == std::string_view::npos ? procedure.size() : end + 1);
    const std::size_t first = line.find_first_not_of(' ');
    const std::string_view fragment =
        first == std::string_view::npos ? std::string_view() : FragmentNamed(line.substr(first));
    if (fragment.empty()) {
      text.append(line).push_back('\n');
      continue;
    }
    for (std::string_view rest = fragment; !rest.empty();) {
      const std::size_t lineEnd = rest.find('\n');
      std::string piece(rest.substr(0, lineEnd));
      for (std::size_t at = piece.find("{nom}"); at != std::string::npos; at = piece.find("{nom}"))
        piece.replace(at, 5, name);
      text.append(line.substr(0, first)).append(piece).push_back('\n');
      rest.remove_prefix(lineEnd == std::string_view::npos ? rest.size() : lineEnd + 1);
    }
  }
  text.pop_back();  // the last line has no line end of its own
  return text;
}

}  // namespace

const std::array<std::string, kSupportProcedureCount>& SupportProcedureTexts() {
  static const std::array<std::string, kSupportProcedureCount> texts = [] {
    std::array<std::string, kSupportProcedureCount> converted;
    for (int i = 0; i < kSupportProcedureCount; ++i) {
      converted[i] = base::Utf8ToCp1252(Expanded(kProcedures[i]));
    }
    return converted;
  }();
  return texts;
}

}  // namespace tortuval::library
