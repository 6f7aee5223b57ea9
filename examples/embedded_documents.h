#pragma once
// The example documents' bytes, compiled in from the .alg files of this folder at build time.

#include <cstddef>
#include <string_view>

#include "examples/example_catalogue.h"

namespace tortuval::examples {

/// The bytes of the document file at `index` (0 to kExampleCount - 1, catalogue order),
/// unchecked; defined in the source that embed_documents.cmake generates.
std::string_view EmbeddedDocument(std::size_t index);

}  // namespace tortuval::examples
