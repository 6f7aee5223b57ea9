// The texts of the support procedures as the converter writes them before the algorithm: the
// table's texts with their shared fragments written out, in Windows-1252.

#include "library/procedure_texts.h"

#include <cstddef>

#include "base/cp1252.h"
#include "library/support_table.h"

namespace tortuval::library {
namespace {

// Pieces of text that several procedures share, each written where a line holds only its name
// in braces, every line of it after that line's indentation; "{nom}" is the procedure's name.
struct Fragment {
  std::string_view name;
  std::string_view text;
};

constexpr Fragment kFragments[] = {
    // The stretch L[p] ... L[n] of a list procedure, cut at the list's last item, as the list
    // "tranche", when it holds at least one item.
    {"{tranche}", R"proc(si ( 0 <= :p ) ET ( :p <= :n ) ET ( :p < card :liste ) [
  si :n >= card :liste [ soit "n ( card :liste ) - 1 ]
  definis "tranche LISTE
  soit "tranche item ( scinde ( item ( scinde :liste :n + 2 ) 1 ) :p + 1 ) 2)proc"},
    // Why a list procedure gives no result: its stretch is empty.
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
      converted[i] = base::Utf8ToCp1252(Expanded(SupportProcedureTable()[i].text));
    }
    return converted;
  }();
  return texts;
}

}  // namespace tortuval::library
