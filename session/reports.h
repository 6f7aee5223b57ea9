#pragma once
// The session's findings and run ends as lines of text, as a compiler points at its source: the
// algorithm's line first for a converted program, the program's own place otherwise.
// Windows-1252, without line ends.

#include <string>

#include "logo/finding.h"
#include "run/runtime.h"
#include "session/session.h"

namespace tortuval::session {

/// "NAME:LINE:COLUMN: message" for a program opened as it is; for a converted one
/// "NAME:ALGO: message (programme LOGO, ligne L, colonne C)", "NAME: …" when no item wrote the
/// line.
std::string FindingLine(const Session& session, const logo::Finding& finding);

/// "NAME:LINE: message", or "NAME: message" when the run names no line; for a converted program
/// "NAME:ALGO: message (programme LOGO, ligne L)", ALGO being the line of the innermost open
/// call when no item wrote L (Session::AlgorithmLineOfStop).
std::string RunEndLine(const Session& session, const run::RunResult& result);

/// "1 ligne du programme est à revoir", "N lignes du programme sont à revoir".
std::string LinesToReviewNote(int lines);

/// The findings of several sessions, one line each, then one summary line for all of them.
class CheckReport {
 public:
  void Add(const Session& session);

  /// The findings, then the summary line, each ending with CR LF; nothing when no program was
  /// added, so that a file that could not be read is never summed up as checked.
  std::string Text() const;
  bool Clean() const { return linesToReview_ == 0; }

 private:
  std::string text_;
  int linesToReview_ = 0;
  int programs_ = 0;
};

}  // namespace tortuval::session
