#pragma once
// Finds, in a converted LOGO program, what will not run as it stands in the user's LOGO: what
// cannot be read (words that are not LOGO, missing inputs, unbalanced brackets, open blocks),
// values never introduced, conditions that command nothing, the converter's leftovers and the
// lines it marked for a fix by hand.

#include <string_view>
#include <vector>

#include "logo/finding.h"
#include "logo/reader.h"

namespace tortuval::logo {

/// The findings of a converted program (Windows-1252, CR LF or LF line ends), in line then column
/// order.
std::vector<Finding> CheckProgram(std::string_view program);

/// The findings of a program already read (ReadProgram), as CheckProgram gives them for its
/// text. The reading is left as it is: the same reading may then be run.
std::vector<Finding> CheckReading(const Reading& reading);

}  // namespace tortuval::logo
