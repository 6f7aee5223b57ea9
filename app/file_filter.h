#pragma once
// The file types offered by the open and save dialogs.

#include <QStringList>
#include <string_view>

namespace tortuval::app {

/// The open dialog's filter list: description and pattern pairs, all separated by "|".
inline constexpr std::string_view kOpenDialogFilter =
    "Fichiers Algo (*.alg)|*.alg|Fichiers texte  (*.text)|*.text|"
    "Tous les fichiers (*.*)|*.*";

/// The save dialog's filter list, in the same form.
inline constexpr std::string_view kSaveDialogFilter =
    "Programmes LOGO (*.lgo)|*.lgo|Tous les fichiers (*.*)|*.*";

/// Qt name filters for a "description|pattern|description|pattern" list, in its order: each is
/// the description followed by the pattern in parentheses, so that a dialog hiding the patterns
/// shows exactly the description. "*.*" becomes "*", which also matches names without a dot.
QStringList QtNameFilters(std::string_view filterPairs);

}  // namespace tortuval::app
