#pragma once

#include <string>
#include <string_view>

namespace tortuval::convert {

/// True when the text is a Rich Text Format document (starts with "{\rtf").
bool IsRtf(std::string_view text);

/// The plain text of an RTF document as Unicode code points in UTF-8: groups such as the font
/// and colour tables and {\*…} skipped, \par and \line as line breaks, \'hh a Windows-1252
/// byte, \uN a Unicode character with its fallback skipped, \\ \{ \} literal.
std::string RtfToPlainUtf8(std::string_view rtf);

}  // namespace tortuval::convert
