#pragma once
// The lines a run stands at, as a run's strip names them: the algorithm's line that wrote the
// LOGO line, and the LOGO line itself, each with its number and its text.

#include <string>
#include <vector>

#include "session/session.h"

namespace tortuval::session {

class CurrentLines {
 public:
  /// Nothing known: no line is named.
  CurrentLines() = default;
  /// The lines of `program`, the one run, and of the session's listing when it has one.
  CurrentLines(const ReadProgram& program, const Session& session);

  /// "Algorithme, ligne 12 : SI (x > 0) ALORS" (Windows-1252), empty when no algorithm line
  /// wrote `logoLine`.
  std::string AlgorithmLine(int logoLine) const;
  /// The algorithm's line (from 1) that wrote `logoLine`, or 0 when none did.
  int AlgorithmLineOf(int logoLine) const;
  /// The algorithm's line to name for a run that stopped at `logoLine` with the calls of
  /// `callLines` open (session::AlgorithmLineOfStop).
  int AlgorithmLineOfStop(int logoLine, const std::vector<int>& callLines) const {
    return session::AlgorithmLineOfStop(logoLine, callLines,
                                        [this](int line) { return AlgorithmLineOf(line); });
  }
  /// "Algorithme, ligne 12 : SI (x > 0) ALORS" for the algorithm's line `algorithmLine`.
  std::string NamedAlgorithmLine(int algorithmLine) const;
  /// "LOGO, ligne 27 : TESTE :x > 0" (Windows-1252), empty for a line the program does not have.
  std::string LogoLine(int logoLine) const;

 private:
  std::vector<std::string> logo_;
  std::vector<std::string> listing_;
  std::vector<int> algorithmLines_;  // by LOGO line from 1: the listing's line, or 0
};

}  // namespace tortuval::session
