#pragma once
// The fixed LOGO support procedures (factorial, probability laws, statistics, substring)
// and the detection of which ones a document needs.

#include <string>
#include <string_view>

namespace tortuval::library {

inline constexpr int kSupportProcedureCount = 21;

/// The usage flags of a document: 21 characters "0" or "1", position i (from 1) standing for
/// support procedure i, set by case-sensitive searches of the procedures' words in `text`.
std::string DetectSupportProcedures(std::string_view text);

/// Appends the text of support procedure `position` (1 to 21): each line as `indentation`,
/// the line and CR LF (a few continuation lines without the indentation), then one empty line
/// for every procedure but the last.
void AppendSupportProcedure(int position, std::string_view indentation, std::string& logoText);

}  // namespace tortuval::library
