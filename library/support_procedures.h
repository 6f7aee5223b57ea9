#pragma once
// The fixed LOGO support procedures (factorial, probability laws, statistics, substring)
// and the detection of which ones a document needs.

#include <bitset>
#include <string>
#include <string_view>

namespace tortuval::library {

inline constexpr int kSupportProcedureCount = 21;

/// Which support procedures a document needs: bit i - 1 stands for procedure i (1 to 21).
using SupportProcedureSet = std::bitset<kSupportProcedureCount>;

/// The procedures whose words occur in `text` (case-sensitive searches).
SupportProcedureSet DetectSupportProcedures(std::string_view text);

/// Appends the text of support procedure `position` (1 to 21): each line as `indentation`,
/// the line and CR LF (a few continuation lines without the indentation), then one empty line
/// for every procedure but the last.
void AppendSupportProcedure(int position, std::string_view indentation, std::string& logoText);

}  // namespace tortuval::library
