#pragma once
// The numeric-literal test used for loop bounds, and the value of such a literal.

#include <string>
#include <string_view>

namespace tortuval::expr {

/// True when the text is a plain number: optional sign, digits with at most one "," or ".",
/// optional exponent; or an optional sign, "$" and hexadecimal digits.
bool IsNumber(std::string_view text);

/// The value of a text for which IsNumber holds, read in every form IsNumber accepts
/// (comma or point, exponent, "$" hexadecimal); an empty digit run counts as 0.
double NumberValue(std::string_view text);

}  // namespace tortuval::expr
