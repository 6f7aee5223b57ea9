#include "logo/check_summary.h"

#include <set>

namespace tortuval::logo {

int LinesToReview(std::span<const Finding> findings) {
  std::set<int> lines;
  for (const Finding& finding : findings) lines.insert(finding.line);
  return static_cast<int>(lines.size());
}

std::string CheckSummary(int linesToReview) {
  const std::string start = "Programme v\xE9rifi\xE9 : ";
  if (linesToReview == 0) return start + "aucune remarque.";
  return start + std::to_string(linesToReview) +
         (linesToReview == 1 ? " ligne \xE0 revoir." : " lignes \xE0 revoir.");
}

}  // namespace tortuval::logo
