#pragma once
// Expands a readable description of an algorithm document (header elements plus an indented tree
// of code values) into the one-line XML text the converter reads.

#include <span>
#include <string>
#include <string_view>

namespace tortuval::examples {

/// How the item elements of a document are spelt; the documents in circulation use four forms.
enum class ItemForm {
  kSpaced = 1,            ///< `<item algoitem=".." code=".." >`, a blank before ">" and "/>".
  kCompact = 2,           ///< `<item algoitem=".." code="..">`, no blank.
  kCodeFirst = 3,         ///< `<item code=".." algoitem="..">`, the code attribute first.
  kNoOpeningBracket = 4,  ///< `item algoitem=".." code="..">`, no "<" before the item name.
};

/// A readable line stored as written even though it does not follow from its code value.
struct ReadableLineOverride {
  std::string_view code;
  std::string_view readable;
};

/// The parts of one document as a reader checks them.
struct DocumentSource {
  /// Header elements, one per line, copied verbatim; blank lines are ignored.
  std::string_view headerElements = {};
  /// Items, one code value per line, two spaces of indentation per level; an indented line is a
  /// child of the nearest less indented line above it; blank lines are ignored.
  std::string_view itemTree = {};
  /// The spelling of the item elements.
  ItemForm form = ItemForm::kSpaced;
  /// Items whose readable line is not derived from their code value.
  std::span<const ReadableLineOverride> overrides = {};
};

/// The readable line (`algoitem`) that belongs to a code value; throws std::invalid_argument for
/// a code value of no known kind.
std::string ReadableLine(std::string_view code);

/// The whole document: declaration, `<Algo>`, header elements, items depth first, `</Algo>`, with
/// nothing between the pieces; throws std::invalid_argument for a malformed tree.
std::string BuildDocument(const DocumentSource& source);

}  // namespace tortuval::examples
