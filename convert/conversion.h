#pragma once
// One whole conversion of a document into a LOGO program and its pseudo-code listing.

#include <string>
#include <string_view>

namespace tortuval::convert {

/// The two pane texts of one conversion, Windows-1252, lines ending with CR LF.
struct ConversionResult {
  std::string logoText;     ///< the LOGO program (right pane)
  std::string listingText;  ///< the readable pseudo-code lines (left pane)
};

/// Converts one source document. All working state belongs to this call; it never fails:
/// malformed input gives incomplete or odd output, as the editor's own files may.
ConversionResult ConvertDocument(std::string_view sourceText);

}  // namespace tortuval::convert
