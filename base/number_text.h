#pragma once
// Numbers as programs and answers write them.

#include <string>
#include <string_view>

namespace tortuval::base {

/// Reads a whole word as a number ("12", "-0,5", "2.5", "1E6"); false when it is none.
bool ParseNumber(std::string_view text, double& number);

/// A number as the program prints it: integers without decimals, others with a decimal comma
/// and at most 15 significant digits, without trailing zeros.
std::string FormatNumber(double number);

}  // namespace tortuval::base
