#pragma once
// Where the LOGO program is proposed to be saved.

#include <QString>

namespace tortuval::app {

/// The path the save dialog proposes: beside the opened document `documentPath` with its
/// extension replaced by ".lgo"; when no file was opened, the example's caption (without its
/// closing period) with ".lgo" in `currentFolder`; with neither, "programme.lgo" there.
QString ProposedLogoPath(const QString& documentPath, const QString& exampleCaption,
                         const QString& currentFolder);

/// The same name with ".py", for the algorithm written in Python.
QString ProposedPythonPath(const QString& documentPath, const QString& exampleCaption,
                           const QString& currentFolder);

}  // namespace tortuval::app
