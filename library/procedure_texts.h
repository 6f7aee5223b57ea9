#pragma once
// The fixed texts of the support procedures, position 1 first.

#include <array>
#include <string>

#include "library/support_table.h"

namespace tortuval::library {

/// The text of each support procedure in Windows-1252, lines ended by LF, the last one without.
const std::array<std::string, kSupportProcedureCount>& SupportProcedureTexts();

}  // namespace tortuval::library
