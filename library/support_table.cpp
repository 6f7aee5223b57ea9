// The support procedures: what the document writes, what the program calls, how the converter
// tells that a document needs one, and the LOGO text it writes.

#include "library/support_table.h"

namespace tortuval::library {
namespace {

// The procedure texts are in UTF-8, one line per source line; every line is written after the
// indentation, and a line holding only a name in braces stands for a fragment of text that
// several procedures share (procedure_texts.cpp). They use only the dialect's primitives, so that
// the program runs under any interpreter of the dialect, and keep their working variables local
// (definis), so that a call never changes a variable of the program. A procedure that cannot give
// a meaningful result (a probability outside ]0 ; 1[, an empty stretch p..n) writes why on a line
// of its own and ends without a result: the run stops there, as for any procedure used as a value
// that gives none. A stretch that reaches past the list's last item is cut there: documents ask
// for statistics over a list while a loop is still filling it.
//
// A procedure brings along the one it calls; the binomials bring fact along too, and the
// positions of the minimum and maximum the minimum and maximum, as converted programs always had
// them.
//
// Positions p..n of the list procedures are the source's indices: L[i] is "item :liste :i + 1".
// The normal law is the series 1/2 + phi(z) (z + z^3/3 + z^5/15 + ...) while |z| < 3, and beyond
// it the tail phi(w) / (w + 1/(w + 2/(w + 3/(w + ...)))) with 60 terms, accurate relative to the
// tail itself; the inverse starts from a rational approximation (error below 5e-4) and takes three
// Halley steps on that law, working in the lower tail so that p near 1 keeps its accuracy.
// PSEUDAL_LIRE_LISTE builds each piece of an answer's word behind a letter ("x") so that joining
// characters never turns a piece into a number midway ("1," would print back as "1"); dropping the
// letter at the end makes the piece a number when it reads as one. A piece is a number when adding
// 0 gives it back: "+" joins a word that is no number ("douze" + 0 is "douze0"), and the
// numbers a read gives are finite.
constexpr SupportProcedure kTable[kSupportProcedureCount] = {
    // fact: the factorial of n.
    {1, "", "fact", Use::kNeededOnly, "",
     R"proc(pour fact :n
definis "résultat NOMBRE
soit "résultat 1
répète :n [ soit "résultat :résultat * boucle ]
rends :résultat
fin)proc"},
    // PSEUDAL_COEFF_BINOMIAL: the number of ways to choose p things among n.
    {2, "PSEUDAL_COEFF_BINOMIAL", "PSEUDAL_COEFF_BINOMIAL", Use::kBuiltInWord, "fact",
     R"proc(pour PSEUDAL_COEFF_BINOMIAL :n :p
definis "k NOMBRE
definis "résultat NOMBRE
si ( :p < 0 ) OU ( :p > :n ) [ rends 0 ]
soit "k :p
si :k > :n - :k [ soit "k :n - :k ]
soit "résultat 1
répète :k [ soit "résultat :résultat * ( :n - :k + boucle ) / boucle ]
rends :résultat
fin)proc"},
    // PSEUDAL_LOI_BINOMIALE: the probability of k successes in n trials of probability p.
    {3, "PSEUDAL_LOI_BINOMIALE", "PSEUDAL_LOI_BINOMIALE", Use::kBuiltInWord, "fact",
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
fin)proc"},
    // PSEUDAL_LOI_NORMALE_CR: P(X <= x) for the centred reduced normal law.
    {4, "PSEUDAL_LOI_NORMALE_CR", "PSEUDAL_LOI_NORMALE_CR", Use::kBuiltInWord,
     "PSEUDAL_LOI_NORMALE",
     R"proc(pour PSEUDAL_LOI_NORMALE_CR :x
rends PSEUDAL_LOI_NORMALE 0 1 :x
fin)proc"},
    // PSEUDAL_LOI_NORMALE: P(X <= x) for the normal law of mean esp and deviation écart.
    {5, "PSEUDAL_LOI_NORMALE", "PSEUDAL_LOI_NORMALE", Use::kBuiltInWord, "",
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
fin)proc"},
    // PSEUDAL_INVERSE_LOI_NORMALE: the x with P(X <= x) = p for the normal law of mean esp
    // and deviation ecart.
    {6, "PSEUDAL_INVERSE_LOI_NORMALE", "PSEUDAL_INVERSE_LOI_NORMALE", Use::kBuiltInWord,
     "PSEUDAL_INVERSE_LOI_NORMALE_CR",
     R"proc(pour PSEUDAL_INVERSE_LOI_NORMALE :esp :ecart :p
si ( :p > 0 ) ET ( :p < 1 ) [ rends :esp + :ecart * ( PSEUDAL_INVERSE_LOI_NORMALE_CR :p ) ]
ecris [ PSEUDAL_INVERSE_LOI_NORMALE : la probabilité  ] ecris :p
ecrisligne [  n'est pas strictement entre 0 et 1. ]
fin)proc"},
    // PSEUDAL_INVERSE_LOI_NORMALE_CR: the x with P(X <= x) = p for the centred reduced law.
    {7, "PSEUDAL_INVERSE_LOI_NORMALE_CR", "PSEUDAL_INVERSE_LOI_NORMALE_CR", Use::kBuiltInWord, "",
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
fin)proc"},
    // PSEUDAL_SOMME: the sum of L[p] ... L[n].
    {8, "PSEUDAL_SOMME", "PSEUDAL_SOMME", Use::kBuiltInWord, "",
     R"proc(pour PSEUDAL_SOMME :liste :p :n
{tranche}
  rends somme :tranche
{hors de la liste}
fin)proc"},
    // PSEUDAL_MOYENNE: their mean.
    {9, "PSEUDAL_MOYENNE", "PSEUDAL_MOYENNE", Use::kBuiltInWord, "",
     R"proc(pour PSEUDAL_MOYENNE :liste :p :n
{tranche}
  rends ( somme :tranche ) / ( card :tranche )
{hors de la liste}
fin)proc"},
    // PSEUDAL_VARIANCE: their variance, divided by their count.
    {10, "PSEUDAL_VARIANCE", "PSEUDAL_VARIANCE", Use::kBuiltInWord, "",
     R"proc(pour PSEUDAL_VARIANCE :liste :p :n
{tranche}
  rends variance :tranche
{hors de la liste}
fin)proc"},
    // PSEUDAL_ECART_TYPE: their standard deviation.
    {11, "PSEUDAL_ECART_TYPE", "PSEUDAL_ECART_TYPE", Use::kBuiltInWord, "",
     R"proc(pour PSEUDAL_ECART_TYPE :liste :p :n
{tranche}
  rends écart-type :tranche
{hors de la liste}
fin)proc"},
    // PSEUDAL_MEDIANE: the middle item of the sorted stretch, or the mean of the middle two.
    {12, "PSEUDAL_MEDIANE", "PSEUDAL_MEDIANE", Use::kBuiltInWord, "",
     R"proc(pour PSEUDAL_MEDIANE :liste :p :n
{tranche}
  definis "c NOMBRE
  soit "tranche trieitems :tranche [ < NOMBRE ]
  soit "c card :tranche
  si ( :c % 2 ) = 1 [ rends item :tranche ( :c + 1 ) / 2 ]
  rends ( ( item :tranche :c / 2 ) + ( item :tranche :c / 2 + 1 ) ) / 2
{hors de la liste}
fin)proc"},
    // PSEUDAL_QUARTILE1: the item of rank c / 4 rounded up in the sorted stretch of c items.
    {13, "PSEUDAL_QUARTILE1", "PSEUDAL_QUARTILE1", Use::kBuiltInWord, "",
     R"proc(pour PSEUDAL_QUARTILE1 :liste :p :n
{tranche}
  soit "tranche trieitems :tranche [ < NOMBRE ]
  rends item :tranche entier ( ( ( card :tranche ) + 3 ) / 4 )
{hors de la liste}
fin)proc"},
    // PSEUDAL_QUARTILE3: the item of rank 3c / 4 rounded up.
    {14, "PSEUDAL_QUARTILE3", "PSEUDAL_QUARTILE3", Use::kBuiltInWord, "",
     R"proc(pour PSEUDAL_QUARTILE3 :liste :p :n
{tranche}
  soit "tranche trieitems :tranche [ < NOMBRE ]
  rends item :tranche entier ( ( 3 * ( card :tranche ) + 3 ) / 4 )
{hors de la liste}
fin)proc"},
    // PSEUDAL_QUARTILE1_BIS: the median of the lower half of the sorted stretch (the middle
    // item left out when the count is odd).
    {15, "PSEUDAL_QUARTILE1_BIS", "PSEUDAL_QUARTILE1_BIS", Use::kBuiltInWord, "",
     R"proc(pour PSEUDAL_QUARTILE1_BIS :liste :p :n
{tranche}
  definis "h NOMBRE
  soit "tranche trieitems :tranche [ < NOMBRE ]
  soit "h entier ( ( card :tranche ) / 2 )
  si :h = 0 [ rends item :tranche 1 ]
  si ( :h % 2 ) = 1 [ rends item :tranche ( :h + 1 ) / 2 ]
  rends ( ( item :tranche :h / 2 ) + ( item :tranche :h / 2 + 1 ) ) / 2
{hors de la liste}
fin)proc"},
    // PSEUDAL_QUARTILE3_BIS: the median of the upper half.
    {16, "PSEUDAL_QUARTILE3_BIS", "PSEUDAL_QUARTILE3_BIS", Use::kBuiltInWord, "",
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
fin)proc"},
    // PSEUDAL_MINIMUM: the smallest item of the stretch.
    {17, "PSEUDAL_MINIMUM", "PSEUDAL_MINIMUM", Use::kBuiltInWord, "",
     R"proc(pour PSEUDAL_MINIMUM :liste :p :n
{tranche}
  rends premier trieitems :tranche [ < NOMBRE ]
{hors de la liste}
fin)proc"},
    // PSEUDAL_MAXIMUM: the largest.
    {18, "PSEUDAL_MAXIMUM", "PSEUDAL_MAXIMUM", Use::kBuiltInWord, "",
     R"proc(pour PSEUDAL_MAXIMUM :liste :p :n
{tranche}
  rends dernier trieitems :tranche [ < NOMBRE ]
{hors de la liste}
fin)proc"},
    // PSEUDAL_POS_MINIMUM: the index (p to n) of the first smallest item.
    {19, "PSEUDAL_POS_MINIMUM", "PSEUDAL_POS_MINIMUM", Use::kBuiltInWord, "PSEUDAL_MINIMUM",
     R"proc(pour PSEUDAL_POS_MINIMUM :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :p < card :liste ) [
  si :n >= card :liste [ soit "n ( card :liste ) - 1 ]
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
fin)proc"},
    // PSEUDAL_POS_MAXIMUM: the index of the first largest item.
    {20, "PSEUDAL_POS_MAXIMUM", "PSEUDAL_POS_MAXIMUM", Use::kBuiltInWord, "PSEUDAL_MAXIMUM",
     R"proc(pour PSEUDAL_POS_MAXIMUM :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :p < card :liste ) [
  si :n >= card :liste [ soit "n ( card :liste ) - 1 ]
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
fin)proc"},
    // substr: the quantité characters of a word from position rang.
    {21, ".substr", "substr", Use::kCall, "",
     R"proc(pour substr :a :rang :quantité
soit "résultat "
répète :quantité soit "résultat mot :résultat item :a (:rang + boucle)
rends :résultat
fin)proc"},
    // PSEUDAL_MAX: the larger of two values.
    {22, "max", "PSEUDAL_MAX", Use::kCall, "",
     R"proc(pour PSEUDAL_MAX :a :b
teste :a > :b
sivrai rends :a
sifaux rends :b
fin)proc"},
    // PSEUDAL_MIN: the smaller of two values.
    {23, "min", "PSEUDAL_MIN", Use::kCall, "",
     R"proc(pour PSEUDAL_MIN :a :b
teste :a < :b
sivrai rends :a
sifaux rends :b
fin)proc"},
    // PSEUDAL_FACTORIELLE: the factorial under its source name.
    {24, "PSEUDAL_FACTORIELLE", "PSEUDAL_FACTORIELLE", Use::kBuiltInWord, "fact",
     R"proc(pour PSEUDAL_FACTORIELLE :n
rends fact :n
fin)proc"},
    // PSEUDAL_LIRE_MOT: one answer, its words joined by single blanks into one word.
    {25, "", "PSEUDAL_LIRE_MOT", Use::kWordRead, "",
     R"proc(pour PSEUDAL_LIRE_MOT
definis "mots LISTE
definis "texte MOT
soit "mots LISLISTE
répète card :mots [
  si boucle > 1 [ soit "texte mot :texte caractère 32 ]
  soit "texte mot :texte item :mots boucle
]
rends :texte
fin)proc"},
    // PSEUDAL_LIRE_LISTE: one answer of numbers written into the list from a source index on;
    // an answer with a piece that is not a number is refused whole and asked again.
    {26, "", "PSEUDAL_LIRE_LISTE", Use::kListRead, "",
     R"proc(pour PSEUDAL_LIRE_LISTE :liste :rang
definis "mots LISTE
definis "valeurs LISTE
definis "lu MOT
definis "morceau MOT
definis "lettre MOT
definis "encore MOT
definis "j NOMBRE
soit "encore vrai
tant que :encore [
  soit "mots LISLISTE
  soit "valeurs [ ]
  soit "encore faux
  répète card :mots [
    soit "lu mot ( item :mots boucle ) caractère 58
    soit "morceau "x
    soit "j 1
    tant que :j <= card :lu [
      soit "lettre item :lu :j
      si :lettre <> caractère 58 [ soit "morceau mot :morceau :lettre ]
      si ( :lettre = caractère 58 ) ET ( ( card :morceau ) > 1 ) [
        soit "morceau saufpremier :morceau
        si ( non :encore ) ET ( ( :morceau + 0 ) <> :morceau ) [
          soit "encore vrai
          ECL PH PH "« :morceau [» n'est pas un nombre : tapez un nombre.]
        ]
        soit "valeurs PH :valeurs :morceau
        soit "morceau "x
      ]
      soit "j :j + 1
    ]
  ]
]
répète card :valeurs [
  tant que ( card :liste ) <= :rang [ soit "liste PH :liste 0 ]
  remplace :liste [ item :valeurs boucle ] [ :rang ]
  soit "rang :rang + 1
]
rends :liste
fin)proc"},
    // PSEUDAL_CODE_CARACTERE: the Windows-1252 code of a word's character at a source index.
    {27, ".charCodeAt", "PSEUDAL_CODE_CARACTERE", Use::kCall, "",
     R"proc(pour PSEUDAL_CODE_CARACTERE :texte :rang
definis "lettre MOT
definis "code NOMBRE
soit "lettre item :texte :rang + 1
soit "code 1
tant que non ( ( caractère :code ) = :lettre ) [ soit "code :code + 1 ]
rends :code
fin)proc"},
};

constexpr bool PositionsFollowTheRows() {
  for (int i = 0; i < kSupportProcedureCount; ++i) {
    if (kTable[i].position != i + 1) return false;
  }
  return true;
}
static_assert(PositionsFollowTheRows(), "a row's position is its place in the table");

// The detection and the expression translator look for the built-in words from their prefix.
constexpr bool EveryBuiltInWordHasThePrefix() {
  for (const SupportProcedure& procedure : kTable) {
    if (procedure.use == Use::kBuiltInWord && !procedure.sourceName.starts_with(kBuiltInPrefix)) {
      return false;
    }
  }
  return true;
}
static_assert(EveryBuiltInWordHasThePrefix(), "the searches for built-in words rely on it");

}  // namespace

std::span<const SupportProcedure> SupportProcedureTable() { return kTable; }

const SupportProcedure* FindSupportProcedure(std::string_view logoName) {
  for (const SupportProcedure& procedure : kTable) {
    if (procedure.logoName == logoName) return &procedure;
  }
  return nullptr;
}

}  // namespace tortuval::library
