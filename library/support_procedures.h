#pragma once
// Which support procedures (library/support_table.h) a document needs, and their texts as the
// converter writes them.

#include <bitset>
#include <string>
#include <string_view>

#include "library/support_table.h"

namespace tortuval::library {

/// Which support procedures a document needs: bit i - 1 stands for procedure i (1 to 27).
using SupportProcedureSet = std::bitset<kSupportProcedureCount>;

/// The procedures that `text`, the remaining source document, needs (case-sensitive searches).
SupportProcedureSet DetectSupportProcedures(std::string_view text);

/// Appends the text of support procedure `position` (1 to 27): each line as `indentation`, the
/// line and CR LF, then one empty line for procedures 1 to 20.
void AppendSupportProcedure(int position, std::string_view indentation, std::string& logoText);

}  // namespace tortuval::library
