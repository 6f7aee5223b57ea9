#pragma once
// Numbers as programs and answers write them.

#include <charconv>
#include <string>
#include <string_view>

namespace tortuval::base {

/// Reads a whole word as a number ("12", "-0,5", "2.5", "1E6"); false when it is none.
bool ParseNumber(std::string_view text, double& number);

/// Reads a decimal number ("12.5", "1e-3", no sign "+") at the start of [first, last) as
/// std::from_chars does, with no locale involved: the same digits give the same double in the
/// desktop and in the page, where the C++ library has no std::from_chars for doubles. A value
/// beyond a double's range (or a non-zero one that rounds to zero) is result_out_of_range, and
/// `number` is then left as it was.
std::from_chars_result ReadDecimal(const char* first, const char* last, double& number);

/// A number as the program prints it: integers without decimals, others with a decimal comma
/// and at most 15 significant digits, without trailing zeros.
std::string FormatNumber(double number);

}  // namespace tortuval::base
