#pragma once

#include <string>

namespace tortuval::expr {

/// Cleans a whole document once before it is read: mis-decoded UTF-8 letters, character
/// references, escaped comparison signs, spaced ampersands and "sqrt" become their 8-bit forms.
std::string RepairText(std::string text);

}  // namespace tortuval::expr
