#include "app/qt_french.h"

#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace tortuval::app {

bool LoadQtFrench(QTranslator& translator) {
  return translator.load(QStringLiteral("qtbase_fr"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace tortuval::app
