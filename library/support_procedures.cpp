#include "library/support_procedures.h"

#include <array>
#include <cstddef>
#include <stdexcept>
#include <unordered_set>
#include <vector>

#include "expr/cp1252.h"
#include "expr/replace_all.h"

namespace tortuval::library {
namespace {

/// One detection test: the presence of `word` anywhere in the text sets flag `position`.
struct DetectionRow {
  int position;
  std::string_view word;
};

// The words of the editor's built-in functions, all starting with "PSEUDAL_"; tested in this
// order, case-sensitively. A position can have several rows; a word that contains
// another word (PSEUDAL_LOI_NORMALE_CR, PSEUDAL_QUARTILE1_BIS, ...) sets both positions simply
// because both searches hit. The inverse laws never set position 5: PSEUDAL_LOI_NORMALE is not a
// substring of PSEUDAL_INVERSE_LOI_NORMALE.
constexpr DetectionRow kDetectionRows[] = {
    // fact serves the factorial itself and the two procedures that call it.
    {1, "PSEUDAL_FACTORIELLE"},
    {1, "PSEUDAL_COEFF_BINOMIAL"},
    {1, "PSEUDAL_LOI_BINOMIALE"},
    {2, "PSEUDAL_COEFF_BINOMIAL"},
    {3, "PSEUDAL_LOI_BINOMIALE"},
    {4, "PSEUDAL_LOI_NORMALE_CR"},
    {5, "PSEUDAL_LOI_NORMALE"},
    {6, "PSEUDAL_INVERSE_LOI_NORMALE"},
    // The centred inverse law is always written with the general one, from the same word.
    {7, "PSEUDAL_INVERSE_LOI_NORMALE"},
    {8, "PSEUDAL_SOMME"},
    {9, "PSEUDAL_MOYENNE"},
    {10, "PSEUDAL_VARIANCE"},
    {11, "PSEUDAL_ECART_TYPE"},
    {12, "PSEUDAL_MEDIANE"},
    {13, "PSEUDAL_QUARTILE1"},
    {14, "PSEUDAL_QUARTILE3"},
    {15, "PSEUDAL_QUARTILE1_BIS"},
    {16, "PSEUDAL_QUARTILE3_BIS"},
    // The position of the minimum (maximum) brings the minimum (maximum) along, like the pairs
    // of contained words above, although "POS_" breaks the plain substring.
    {17, "PSEUDAL_MINIMUM"},
    {17, "PSEUDAL_POS_MINIMUM"},
    {18, "PSEUDAL_MAXIMUM"},
    {18, "PSEUDAL_POS_MAXIMUM"},
    {19, "PSEUDAL_POS_MINIMUM"},
    {20, "PSEUDAL_POS_MAXIMUM"},
    // The factorial under its own name, beside fact which it calls.
    {24, "PSEUDAL_FACTORIELLE"},
};

// Calls and methods of the source notation, searched for as they stand, with their parenthesis:
// ".substr (" is not a use.
constexpr DetectionRow kCallRows[] = {
    {21, ".substr("},
    {22, "max("},
    {23, "min("},
    {27, ".charCodeAt("},
};

// The reading procedures are needed by what the document reads into what it declares.
constexpr int kReadWordPosition = 25;
constexpr int kReadListPosition = 26;

// Procedures up to this one are followed by an empty line of their own; substr and those after
// it, written the way substr is, are not.
constexpr int kLastWithEmptyLine = 20;

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
definis "cumul NOMBRE
definis "terme NOMBRE
definis "k NOMBRE
definis "w NOMBRE
definis "fraction NOMBRE
definis "proba NOMBRE
si :écart = 0 [
  si :x >= :esp [ rends 1 ]
  rends 0
]
soit "z ( :x - :esp ) / ABS ( :écart )
si ABS ( :z ) < 3 [
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
]
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
definis "x NOMBRE
definis "cumul NOMBRE
definis "terme NOMBRE
definis "k NOMBRE
definis "w NOMBRE
definis "fraction NOMBRE
definis "proba NOMBRE
definis "pas NOMBRE
si ( :p > 0 ) ET ( :p < 1 ) [
  soit "q :p
  si :p > 0,5 [ soit "q 1 - :p ]
  soit "t rac2 ( - 2 * log ( :q ) )
  soit "x 2,515517 + :t * ( 0,802853 + :t * 0,010328 )
  soit "x :x / ( 1 + :t * ( 1,432788 + :t * ( 0,189269 + :t * 0,001308 ) ) ) - :t
  répète 3 [
    si ABS ( :x ) < 3 [
      soit "cumul :x
      soit "terme :x * :x * :x / 3
      soit "k 3
      tant que ( :cumul + :terme ) <> :cumul [
        soit "cumul :cumul + :terme
        soit "k :k + 2
        soit "terme :terme * :x * :x / :k
      ]
      soit "proba 0,5 + :cumul * exp ( - :x * :x / 2 ) / rac2 ( 2 * PI )
    ]
    si ABS ( :x ) >= 3 [
      soit "w ABS ( :x )
      soit "fraction :w
      répète 60 [ soit "fraction :w + ( 61 - boucle ) / :fraction ]
      soit "proba exp ( - :w * :w / 2 ) / ( :fraction * rac2 ( 2 * PI ) )
      si :x > 0 [ soit "proba 1 - :proba ]
    ]
    soit "pas ( :proba - :q ) * rac2 ( 2 * PI ) / exp ( - :x * :x / 2 )
    soit "x :x - :pas / ( 1 + :x * :pas / 2 )
  ]
  si :p > 0,5 [ rends - :x ]
  rends :x
]
ecris [ PSEUDAL_INVERSE_LOI_NORMALE_CR : la probabilité  ] ecris :p
ecrisligne [  n'est pas strictement entre 0 et 1. ]
fin)proc",
    // 8. PSEUDAL_SOMME: the sum of L[p] ... L[n].
    R"proc(pour PSEUDAL_SOMME :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2
  rends somme :tranche
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_SOMME : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_SOMME : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
fin)proc",
    // 9. PSEUDAL_MOYENNE: their mean.
    R"proc(pour PSEUDAL_MOYENNE :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2
  rends ( somme :tranche ) / ( card :tranche )
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_MOYENNE : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_MOYENNE : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
fin)proc",
    // 10. PSEUDAL_VARIANCE: their variance, divided by their count.
    R"proc(pour PSEUDAL_VARIANCE :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2
  rends variance :tranche
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_VARIANCE : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_VARIANCE : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
fin)proc",
    // 11. PSEUDAL_ECART_TYPE: their standard deviation.
    R"proc(pour PSEUDAL_ECART_TYPE :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2
  rends écart-type :tranche
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_ECART_TYPE : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_ECART_TYPE : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
fin)proc",
    // 12. PSEUDAL_MEDIANE: the middle item of the sorted stretch, or the mean of the middle two.
    R"proc(pour PSEUDAL_MEDIANE :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  definis "c NOMBRE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2
  soit "tranche trieitems :tranche [ < NOMBRE ]
  soit "c card :tranche
  si ( :c % 2 ) = 1 [ rends item :tranche ( :c + 1 ) / 2 ]
  rends ( ( item :tranche :c / 2 ) + ( item :tranche :c / 2 + 1 ) ) / 2
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_MEDIANE : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_MEDIANE : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
fin)proc",
    // 13. PSEUDAL_QUARTILE1: the item of rank c / 4 rounded up in the sorted stretch of c items.
    R"proc(pour PSEUDAL_QUARTILE1 :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2
  soit "tranche trieitems :tranche [ < NOMBRE ]
  rends item :tranche entier ( ( ( card :tranche ) + 3 ) / 4 )
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_QUARTILE1 : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_QUARTILE1 : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
fin)proc",
    // 14. PSEUDAL_QUARTILE3: the item of rank 3c / 4 rounded up.
    R"proc(pour PSEUDAL_QUARTILE3 :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2
  soit "tranche trieitems :tranche [ < NOMBRE ]
  rends item :tranche entier ( ( 3 * ( card :tranche ) + 3 ) / 4 )
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_QUARTILE3 : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_QUARTILE3 : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
fin)proc",
    // 15. PSEUDAL_QUARTILE1_BIS: the median of the lower half of the sorted stretch (the middle
    // item left out when the count is odd).
    R"proc(pour PSEUDAL_QUARTILE1_BIS :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  definis "h NOMBRE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2
  soit "tranche trieitems :tranche [ < NOMBRE ]
  soit "h entier ( ( card :tranche ) / 2 )
  si :h = 0 [ rends item :tranche 1 ]
  si ( :h % 2 ) = 1 [ rends item :tranche ( :h + 1 ) / 2 ]
  rends ( ( item :tranche :h / 2 ) + ( item :tranche :h / 2 + 1 ) ) / 2
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_QUARTILE1_BIS : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_QUARTILE1_BIS : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
fin)proc",
    // 16. PSEUDAL_QUARTILE3_BIS: the median of the upper half.
    R"proc(pour PSEUDAL_QUARTILE3_BIS :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  definis "h NOMBRE
  definis "a NOMBRE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2
  soit "tranche trieitems :tranche [ < NOMBRE ]
  soit "h entier ( ( card :tranche ) / 2 )
  si :h = 0 [ rends item :tranche 1 ]
  soit "a ( card :tranche ) - :h
  si ( :h % 2 ) = 1 [ rends item :tranche :a + ( :h + 1 ) / 2 ]
  rends ( ( item :tranche :a + :h / 2 ) + ( item :tranche :a + :h / 2 + 1 ) ) / 2
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_QUARTILE3_BIS : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_QUARTILE3_BIS : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
fin)proc",
    // 17. PSEUDAL_MINIMUM: the smallest item of the stretch.
    R"proc(pour PSEUDAL_MINIMUM :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2
  rends premier trieitems :tranche [ < NOMBRE ]
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_MINIMUM : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_MINIMUM : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
fin)proc",
    // 18. PSEUDAL_MAXIMUM: the largest.
    R"proc(pour PSEUDAL_MAXIMUM :liste :p :n
si ( 0 <= :p ) ET ( :p <= :n ) ET ( :n < card :liste ) [
  definis "tranche LISTE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2
  rends dernier trieitems :tranche [ < NOMBRE ]
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_MAXIMUM : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_MAXIMUM : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
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
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_POS_MINIMUM : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_POS_MINIMUM : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
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
]
teste :p > :n
sivrai [
  ecris [ PSEUDAL_POS_MAXIMUM : le rang de début  ] ecris :p
  ecris [  dépasse le rang de fin  ] ecris :n ecrisligne [ . ]
]
sifaux [
  ecris [ PSEUDAL_POS_MAXIMUM : les rangs  ] ecris :p ecris [  à  ] ecris :n
  ecris [  sortent de la liste de  ] ecris card :liste ecrisligne [  éléments. ]
]
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

/// The procedure texts in Windows-1252, converted once on first use.
const std::array<std::string, kSupportProcedureCount>& ProcedureTexts() {
  static const std::array<std::string, kSupportProcedureCount> texts = [] {
    std::array<std::string, kSupportProcedureCount> converted;
    for (int i = 0; i < kSupportProcedureCount; ++i) {
      converted[i] = expr::Utf8ToCp1252(kProcedures[i]);
    }
    return converted;
  }();
  return texts;
}

// Every word of the first table starts with this prefix: a word occurs exactly where one of the
// prefix's occurrences continues with it, so one walk over those occurrences tests them all.
constexpr std::string_view kBuiltInPrefix = "PSEUDAL_";

constexpr bool EveryBuiltInWordHasThePrefix() {
  for (const DetectionRow& row : kDetectionRows) {
    if (!row.word.starts_with(kBuiltInPrefix)) return false;
  }
  return true;
}
static_assert(EveryBuiltInWordHasThePrefix(), "the detection walk relies on the prefix");

// Calls fn with the fields of every instruction, the text between `code="` and the next quotation
// mark ("2#n#pasliste"). The first instruction has lost its marker by the time the document is
// searched, so the text's own start is read as an instruction too; fields that start with no
// instruction number match nothing.
template <typename Fn>
void ForEachInstruction(std::string_view text, Fn fn) {
  constexpr std::string_view kMarker = "code=\"";
  const auto visit = [&](std::size_t from) {
    const std::size_t close = text.find('"', from);
    if (close != std::string_view::npos) fn(text.substr(from, close - from));
  };
  visit(0);
  for (std::size_t at = text.find(kMarker); at != std::string_view::npos;
       at = text.find(kMarker, at + 1)) {
    visit(at + kMarker.size());
  }
}

// Sets the reading procedures: a word is read with PSEUDAL_LIRE_MOT into a variable declared
// CHAINE or MOT ("2#m#pasliste", "2#m" or "2#m#"), and an answer goes into a list with
// PSEUDAL_LIRE_LISTE when the read names a position of a variable declared LISTE ("2#L#i").
void DetectReads(std::string_view text, SupportProcedureSet& needed) {
  std::unordered_set<std::string_view> texts;
  std::unordered_set<std::string_view> lists;
  std::vector<std::string_view> wordReads;
  std::vector<std::string_view> listReads;
  ForEachInstruction(text, [&](std::string_view fields) {
    if (fields.starts_with("1#")) {
      fields.remove_prefix(2);
      const std::size_t hash = fields.find('#');
      if (hash == std::string_view::npos || hash + 1 == fields.size()) return;
      const std::string_view type = fields.substr(0, hash);
      const std::string_view name = fields.substr(hash + 1);
      if (type == "CHAINE" || type == "MOT") texts.insert(name);
      if (type == "LISTE") lists.insert(name);
    } else if (fields.starts_with("2#")) {
      fields.remove_prefix(2);
      const std::size_t hash = fields.find('#');
      const std::string_view name = fields.substr(0, hash);
      const std::string_view position =
          hash == std::string_view::npos ? std::string_view() : fields.substr(hash + 1);
      (position.empty() || position == "pasliste" ? wordReads : listReads).push_back(name);
    }
  });
  for (const std::string_view name : wordReads) {
    if (texts.contains(name)) needed.set(kReadWordPosition - 1);
  }
  for (const std::string_view name : listReads) {
    if (lists.contains(name)) needed.set(kReadListPosition - 1);
  }
}

}  // namespace

SupportProcedureSet DetectSupportProcedures(std::string_view text) {
  SupportProcedureSet needed;
  const auto set = [&needed](const DetectionRow& row) {
    needed.set(static_cast<std::size_t>(row.position - 1));
  };
  for (std::size_t at = text.find(kBuiltInPrefix); at != std::string_view::npos;
       at = text.find(kBuiltInPrefix, at + 1)) {
    const std::string_view rest = text.substr(at);
    for (const DetectionRow& row : kDetectionRows) {
      if (rest.starts_with(row.word)) set(row);
    }
  }
  for (const DetectionRow& row : kCallRows) {
    if (expr::Contains(text, row.word)) set(row);
  }
  DetectReads(text, needed);
  return needed;
}

void AppendSupportProcedure(int position, std::string_view indentation, std::string& logoText) {
  if (position < 1 || position > kSupportProcedureCount) {
    throw std::out_of_range("support procedure position out of range: " + std::to_string(position));
  }
  std::string_view rest = ProcedureTexts()[static_cast<std::size_t>(position - 1)];
  while (true) {
    const std::size_t end = rest.find('\n');
    logoText += indentation;
    logoText += rest.substr(0, end);
    logoText += "\r\n";
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  if (position <= kLastWithEmptyLine) logoText += "\r\n";
}

}  // namespace tortuval::library
