#include "app/logo_file.h"

#include <QDir>
#include <QFileInfo>

namespace tortuval::app {

QString ProposedLogoPath(const QString& documentPath, const QString& exampleCaption,
                         const QString& currentFolder) {
  const QString extension = QStringLiteral(".lgo");
  if (!documentPath.isEmpty()) {
    const QFileInfo document(documentPath);
    return document.absoluteDir().filePath(document.completeBaseName() + extension);
  }
  QString name = exampleCaption.trimmed();
  // Most captions end with a period, which would double the one before the extension.
  while (name.endsWith(u'.')) name.chop(1);
  if (name.isEmpty()) name = QStringLiteral("programme");
  return QDir(currentFolder).filePath(name + extension);
}

}  // namespace tortuval::app
