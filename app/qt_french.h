#pragma once
// Qt's own texts (standard buttons, file dialogs) in French.

class QTranslator;

namespace tortuval::app {

/// Loads Qt's French translation (qtbase_fr) from Qt's translations folder into `translator`;
/// returns false when it is not installed, the texts then staying in English.
bool LoadQtFrench(QTranslator& translator);

}  // namespace tortuval::app
