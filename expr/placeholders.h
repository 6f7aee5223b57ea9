#pragma once
// The inverse trigonometric names and the words of member calls travel through the expression
// translator as single control bytes, which no XML document can hold, until just before the final
// trim. As placeholders they are safe from a variable of the same name and from the exponent
// joins, which would glue "transforme" to the value behind it.

#include <string>
#include <string_view>

namespace tortuval::expr {

inline constexpr std::string_view kArccos = " \x01 ";
inline constexpr std::string_view kArcsin = " \x02 ";
inline constexpr std::string_view kArctan = " \x03 ";
inline constexpr std::string_view kTransforme = " \x04 ";
inline constexpr std::string_view kCaractere = " \x05 ";
inline constexpr std::string_view kSubstr = " \x06 ";

/// Writes the words the placeholders stand for.
void RestorePlaceholders(std::string& text);

}  // namespace tortuval::expr
