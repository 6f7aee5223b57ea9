#include "session/reports.h"

#include "base/cp1252.h"
#include "logo/check_summary.h"

namespace tortuval::session {
namespace {

// "NAME:ALGO: " for an algorithm's line, "NAME: " for none (0).
std::string AlgorithmPlace(const Session& session, int algorithmLine) {
  std::string place = session.ShownName();
  if (algorithmLine > 0) place.append(":").append(std::to_string(algorithmLine));
  return place.append(": ");
}

}  // namespace

std::string FindingLine(const Session& session, const logo::Finding& finding) {
  const std::string line = std::to_string(finding.line);
  const std::string column = std::to_string(finding.column);
  if (!session.IsDocument()) {
    return session.ShownName() + ":" + line + ":" + column + ": " + finding.message;
  }
  return AlgorithmPlace(session, session.AlgorithmLine(finding.line)) + finding.message +
         " (programme LOGO, ligne " + line + ", colonne " + column + ")";
}

std::string RunEndLine(const Session& session, const run::RunResult& result) {
  const std::string& message = result.message;
  if (session.IsDocument() && result.line > 0) {
    return AlgorithmPlace(session, session.AlgorithmLineOfStop(result.line, result.callLines)) +
           message + " (programme LOGO, ligne " + std::to_string(result.line) + ")";
  }
  std::string text = session.ShownName();
  if (result.line > 0) text.append(":").append(std::to_string(result.line));
  return text.append(": ").append(message);
}

std::string LinesToReviewNote(int lines) {
  return std::to_string(lines) +
         base::Utf8ToCp1252(lines == 1 ? " ligne du programme est à revoir"
                                       : " lignes du programme sont à revoir");
}

void CheckReport::Add(const Session& session) {
  for (const logo::Finding& finding : session.Findings()) {
    text_.append(FindingLine(session, finding)).append("\r\n");
  }
  linesToReview_ += session.LinesToReview();
  ++programs_;
}

std::string CheckReport::Text() const {
  return programs_ == 0 ? text_ : text_ + logo::CheckSummary(linesToReview_) + "\r\n";
}

}  // namespace tortuval::session
