#pragma once
// The fixed LOGO support procedures (factorial, probability laws, statistics, substring, the
// larger and smaller of two values, reading a word or a list, character codes) and the
// detection of which ones a document needs.

#include <bitset>
#include <string>
#include <string_view>

namespace tortuval::library {

inline constexpr int kSupportProcedureCount = 27;

/// Which support procedures a document needs: bit i - 1 stands for procedure i (1 to 27).
using SupportProcedureSet = std::bitset<kSupportProcedureCount>;

/// The procedures that `text`, the remaining source document, needs (case-sensitive searches).
SupportProcedureSet DetectSupportProcedures(std::string_view text);

/// Appends the text of support procedure `position` (1 to 27): each line as `indentation`, the
/// line and CR LF, then one empty line for procedures 1 to 20.
void AppendSupportProcedure(int position, std::string_view indentation, std::string& logoText);

}  // namespace tortuval::library
