#include "app/logo_file.h"

#include <QDir>
#include <QFileInfo>

#include "session/program_file_name.h"

namespace tortuval::app {

QString ProposedLogoPath(const QString& documentPath, const QString& exampleCaption,
                         const QString& currentFolder) {
  if (!documentPath.isEmpty()) {
    const QFileInfo document(documentPath);
    return document.absoluteDir().filePath(QString::fromStdString(
        session::ProgramFileName(document.fileName().toStdString(), {})));
  }
  return QDir(currentFolder)
      .filePath(QString::fromStdString(session::ProgramFileName({}, exampleCaption.toStdString())));
}

QString ProposedPythonPath(const QString& documentPath, const QString& exampleCaption,
                           const QString& currentFolder) {
  QString path = ProposedLogoPath(documentPath, exampleCaption, currentFolder);
  path.chop(QStringLiteral(".lgo").size());
  return path + QStringLiteral(".py");
}

}  // namespace tortuval::app
