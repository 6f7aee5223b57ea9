#pragma once
// The one-line summary of a program's check, shown under the panes and printed by --check.

#include <span>
#include <string>

#include "logo/checker.h"

namespace tortuval::logo {

/// How many lines hold at least one finding.
int LinesToReview(std::span<const Finding> findings);

/// "Programme vérifié : aucune remarque." or "Programme vérifié : N ligne(s) à revoir."
/// (Windows-1252).
std::string CheckSummary(int linesToReview);

}  // namespace tortuval::logo
