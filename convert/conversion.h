#pragma once
// One whole conversion of a document into a LOGO program and its pseudo-code listing.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/drawing.h"

namespace tortuval::convert {

/// What is wrong with a document as a whole, beyond what its items say.
enum class DocumentFault {
  kNone,
  kNoInstruction,  ///< the reader found no instruction item: not a document of the editor
  kTruncated,      ///< the text stops before the document's end (see EndsBeforeItsClose)
};

/// The two pane texts of one conversion, Windows-1252, lines ending with CR LF.
struct ConversionResult {
  std::string logoText;     ///< the LOGO program (right pane)
  std::string listingText;  ///< the readable pseudo-code lines (left pane)
  /// What the user should be told about the document; the texts are the conversion all the same.
  DocumentFault fault = DocumentFault::kNone;
  /// By line of the LOGO program (from 0): the line of the listing (from 1) of the item that
  /// wrote it, 0 for none. Declarations and support procedures go with the item that wrote them.
  std::vector<int> listingLines;
  /// The document's frame for drawings, when the document makes it active.
  std::optional<drawing::Axes> axes;
};

/// Converts one source document. All working state belongs to this call; it never fails:
/// malformed input gives incomplete or odd output, as the editor's own files may, and `fault`
/// says when the text was no document at all or was cut short.
ConversionResult ConvertDocument(std::string_view sourceText);

}  // namespace tortuval::convert
