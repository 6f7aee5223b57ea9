#include "library/support_procedures.h"

#include <array>
#include <cstddef>
#include <span>
#include <stdexcept>

#include "expr/cp1252.h"
#include "expr/replace_all.h"

namespace tortuval::library {
namespace {

/// One detection test: the presence of `word` anywhere in the text sets flag `position`.
struct DetectionRow {
  int position;
  std::string_view word;
};

// Tested in this order, case-sensitively. A position can have several rows; a word that contains
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
    // The method call only, with its parenthesis: ".substr (" is not a use.
    {21, ".substr("},
};

// A line starting with this marker is written without the indentation (the marker itself is
// not written); every other line gets the indentation in front.
constexpr char kNoIndentation = '|';

// The procedure texts in UTF-8, position 1 first, one line per source line. Spacing is part of
// the text and kept as it stands, irregularities included.
constexpr std::string_view kProcedures[kSupportProcedureCount] = {
    // 1. fact: factorial; called by procedures 2 and 3.
    R"proc(pour fact :n
soit  "liste listevars 1 :n :n
rends produit :liste
fin)proc",
    // 2. PSEUDAL_COEFF_BINOMIAL: binomial coefficient.
    R"proc(pour PSEUDAL_COEFF_BINOMIAL :n :p
rends ((fact :n) / ((fact :p ) * (fact (:n - :p))))
fin)proc",
    // 3. PSEUDAL_LOI_BINOMIALE: binomial law.
    R"proc(pour PSEUDAL_LOI_BINOMIALE :n :p :k
rends ((fact :n ) / ((fact :k) * fact (:n - :k))) *
              ((fact :p) * ((1 - :p)^(:n - :k)))
fin)proc",
    // 4. PSEUDAL_LOI_NORMALE_CR: normal law, centred and reduced.
    R"proc(pour PSEUDAL_LOI_NORMALE_CR :x
rends 1 / (2,506628275 * (exp :x))
fin)proc",
    // 5. PSEUDAL_LOI_NORMALE: normal law of mean esp and deviation écart.
    R"proc(pour PSEUDAL_LOI_NORMALE :esp :écart :x
teste (:écart = 0)
sivrai rends 1E6
sifaux [
rends 1 / ((:écart * 2,506628275) * (exp ((:x - :esp)/ :écart)))
             ]
fin)proc",
    // 6. PSEUDAL_INVERSE_LOI_NORMALE: inverse normal law; its first line spells ":ecart", its body
    // ":écart".
    R"proc(pour PSEUDAL_INVERSE_LOI_NORMALE :esp :ecart :p
teste :p = 0
sivrai rends 0
sifaux rends ((rac2(:écart /(6,283185307 * (:p ^ 3)))) *
                       (exp ((-:écart * ((:p - :esp) ^ 2))/(2* (:esp ^ 2) * :p)))
fin)proc",
    // 7. PSEUDAL_INVERSE_LOI_NORMALE_CR: inverse normal law, centred and reduced.
    R"proc(pour PSEUDAL_INVERSE_LOI_NORMALE_CR :p
teste :p = 0
sivrai rends 0
sifaux rends ((rac2(1 /(6,283185307 *
                       (:p ^ 3)))) * (exp ((-(:p ^ 2))/(2* (0 ^ 2) * :p)))
fin)proc",
    // 8. PSEUDAL_SOMME: sum of the elements p to n of a list.
    R"proc(pour PSEUDAL_SOMME :liste :p :n
soit "l item ( scinde :liste :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
rends somme :l
fin)proc",
    // 9. PSEUDAL_MOYENNE: mean of the elements p to n.
    R"proc(pour PSEUDAL_MOYENNE :liste :p :n
soit "l item ( scinde :liste :p ) 2
soit "l somme (item (scinde :l (:n - :p + 2)) 1 )
rends :l / (:n - :p + 1)
fin)proc",
    // 10. PSEUDAL_VARIANCE: variance of the elements p to n.
    R"proc(pour PSEUDAL_VARIANCE :liste :p :n
soit "l item ( scinde :liste :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
rends variance :l
fin)proc",
    // 11. PSEUDAL_ECART_TYPE: standard deviation of the elements p to n.
    R"proc(pour PSEUDAL_ECART_TYPE :liste :p :n
soit "l item ( scinde :liste :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
rends écart-type :l
fin)proc",
    // 12. PSEUDAL_MEDIANE: median.
    R"proc(pour PSEUDAL_MEDIANE :liste :p :n
SOIT "liste trieitems  :liste [ < NOMBRE ]
soit "l item ( scinde :liste :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
rends (( item :l ((:n - :p +1) div 2  )) +
           ( item :l (((:n - :p +1) div 2  ) + 1))) / 2
fin)proc",
    // 13. PSEUDAL_QUARTILE1: first quartile.
    R"proc(pour PSEUDAL_QUARTILE1 :liste :p :n
soit "liste trieitems  :liste [ < NOMBRE ]
soit "l item ( scinde :liste :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
soit "n (card :l ) / 4
|si ((:n - (entier :n ))<> 0) soit "n (entier :n ) + 1
rends item :liste :n
fin)proc",
    // 14. PSEUDAL_QUARTILE3: third quartile.
    R"proc(pour PSEUDAL_QUARTILE3 :liste :p :n
soit "liste trieitems  :liste [ < NOMBRE ]
soit "l item ( scinde :liste :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
soit "n (3 *(card :l )) / 4
|si ((:n - (entier :n ))<> 0) soit "n (entier:n ) + 1
rends item :liste :n
fin)proc",
    // 15. PSEUDAL_QUARTILE1_BIS: first quartile, second definition.
    R"proc(pour PSEUDAL_QUARTILE1_BIS :liste :p :n
soit "liste trieitems  :liste [ < NOMBRE ]
soit "l item ( scinde :liste :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
soit "val (dernier :l ) / 4
soit "compteur 1 soit "resu premier :l
tant que ((:compteur <= (card :l)) et
|                ((premier :l) < val)) [
                                                 soit "resu premier :l
                                                 soit "l saufpremier :l
                                                 inc :compteur
                                                 ]
rends :resu
fin)proc",
    // 16. PSEUDAL_QUARTILE3_BIS: third quartile, second definition.
    R"proc(pour PSEUDAL_QUARTILE3_BIS :liste :p :n
soit "liste trieitems  :liste [ < NOMBRE ]
soit "l item ( scinde :liste :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
soit "val (3 * (dernier :l )) / 4
soit "compteur 1 soit "resu premier :l
tant que ((:compteur <= (card :l)) et
|                ((premier :l) < val)) [
                                                 soit "resu premier :l
                                                 soit "l saufpremier :l
                                                 inc :compteur
                                                 ]
rends :resu
fin)proc",
    // 17. PSEUDAL_MINIMUM: smallest element; one blank after "trieitems" here, two in its
    // neighbours.
    R"proc(pour PSEUDAL_MINIMUM :liste :p :n
soit "liste trieitems :liste [ < NOMBRE ]
soit "l item ( scinde :liste :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
rends premier :l
fin)proc",
    // 18. PSEUDAL_MAXIMUM: largest element.
    R"proc(pour PSEUDAL_MAXIMUM :liste :p :n
soit "liste trieitems  :liste [ < NOMBRE ]
soit "l item ( scinde :liste :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
rends dernier :l
fin)proc",
    // 19. PSEUDAL_POS_MINIMUM: position of the minimum.
    R"proc(pour PSEUDAL_POS_MINIMUM :liste :p :n
soit "l trieitems  :liste [ < NOMBRE ]
soit "l item ( scinde :l :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
soit "val premier :l
soit "pos 1
tant que ((:pos <= :n ) et
|                (:val <> (premier :liste))) [
                                                    soit "liste saufpremier :liste
                                                    inc :pos
                                                    ]
rends :pos
fin)proc",
    // 20. PSEUDAL_POS_MAXIMUM: position of the maximum.
    R"proc(pour PSEUDAL_POS_MAXIMUM :liste :p :n
soit "l trieitems  :liste [ > NOMBRE ]
soit "l item ( scinde :l :p ) 2
soit "l item (scinde :l (:n - :p + 2)) 1
soit "val premier :l
soit "pos 1
tant que ((:pos <= :n ) et
|                (:val <> (premier :liste))) [
                                                   soit "liste saufpremier :liste
                                                   inc :pos
                                                   ]
rends :pos
fin)proc",
    // 21. substr: the quantité characters of a word from position rang.
    R"proc(pour substr :a :rang :quantité
soit "résultat "
répète :quantité soit "résultat mot :résultat item :a (:rang + boucle)
rends :résultat
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

// Every word but the last starts with this prefix: a word occurs exactly where one of the prefix's
// occurrences continues with it, so one walk over those occurrences tests them all.
constexpr std::string_view kBuiltInPrefix = "PSEUDAL_";

constexpr bool EveryWordButTheLastHasThePrefix() {
  for (std::size_t row = 0; row + 1 < std::size(kDetectionRows); ++row) {
    if (!kDetectionRows[row].word.starts_with(kBuiltInPrefix)) return false;
  }
  return !kDetectionRows[std::size(kDetectionRows) - 1].word.starts_with(kBuiltInPrefix);
}
static_assert(EveryWordButTheLastHasThePrefix(), "the detection walk relies on the prefix");

}  // namespace

SupportProcedureSet DetectSupportProcedures(std::string_view text) {
  SupportProcedureSet needed;
  const auto set = [&needed](const DetectionRow& row) {
    needed.set(static_cast<std::size_t>(row.position - 1));
  };
  const std::span<const DetectionRow> prefixed =
      std::span(kDetectionRows).first(std::size(kDetectionRows) - 1);
  for (std::size_t at = text.find(kBuiltInPrefix); at != std::string_view::npos;
       at = text.find(kBuiltInPrefix, at + 1)) {
    const std::string_view rest = text.substr(at);
    for (const DetectionRow& row : prefixed) {
      if (rest.starts_with(row.word)) set(row);
    }
  }
  const DetectionRow& last = kDetectionRows[std::size(kDetectionRows) - 1];
  if (expr::Contains(text, last.word)) set(last);
  return needed;
}

void AppendSupportProcedure(int position, std::string_view indentation, std::string& logoText) {
  if (position < 1 || position > kSupportProcedureCount) {
    throw std::out_of_range("support procedure position out of range: " + std::to_string(position));
  }
  std::string_view rest = ProcedureTexts()[static_cast<std::size_t>(position - 1)];
  while (true) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.front() == kNoIndentation) {
      line.remove_prefix(1);
    } else {
      logoText += indentation;
    }
    logoText += line;
    logoText += "\r\n";
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  // substr, always the last one written, has no empty line of its own.
  if (position != kSupportProcedureCount) logoText += "\r\n";
}

}  // namespace tortuval::library
