#pragma once
// The lines a run stands at, as the run window's strip names them: the algorithm's line that
// wrote the LOGO line, and the LOGO line itself, each with its number and its text.

#include <QString>
#include <QStringList>
#include <vector>

class QLabel;
class QWidget;

#include "session/session.h"

namespace tortuval::app {

/// The strip that names the current lines, large enough for a class to read from afar: its two
/// labels, the algorithm's line above the LOGO one, are given back in `algorithm` and `logo`.
QWidget* MakeCurrentLinesStrip(QWidget* parent, QLabel*& algorithm, QLabel*& logo);

class CurrentLines {
 public:
  /// Nothing known: no line is named.
  CurrentLines() = default;
  /// The lines of `program`, the one run, and of the session's listing when it has one.
  CurrentLines(const session::ReadProgram& program, const session::Session& session);

  /// "Algorithme, ligne 12 : SI (x > 0) ALORS", empty when no algorithm line wrote `logoLine`.
  QString AlgorithmLine(int logoLine) const;
  /// "LOGO, ligne 27 : TESTE :x > 0", empty for a line the program does not have.
  QString LogoLine(int logoLine) const;

 private:
  QStringList logo_;
  QStringList listing_;
  std::vector<int> algorithmLines_;  // by LOGO line from 1: the listing's line, or 0
};

}  // namespace tortuval::app
