#include "app/file_filter.h"

#include <QString>

namespace tortuval::app {

QStringList QtNameFilters(std::string_view filterPairs) {
  const QStringList parts = QString::fromUtf8(filterPairs).split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // On the system the list was written for, "*.*" names every file, even one without a dot.
    const QString pattern = parts[i + 1] == u"*.*" ? QStringLiteral("*") : parts[i + 1];
    filters << QStringLiteral("%1 (%2)").arg(parts[i], pattern);
  }
  return filters;
}

}  // namespace tortuval::app
