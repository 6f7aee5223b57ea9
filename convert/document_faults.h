#pragma once
// What can be wrong with a document as a whole rather than with one of its items: it holds no
// instruction at all, or it stops before its end; and the French sentences that say so.

#include <string>
#include <string_view>

#include "convert/conversion.h"

namespace tortuval::convert {

/// True when the text stops before the end of its document: it has no closing `</Algo>` element
/// (in any case), or it ends inside an element after the last one.
bool EndsBeforeItsClose(std::string_view sourceText);

/// The French sentence that tells the user about `fault` in the file `fileName` (UTF-8, as the
/// user gave it; empty for standard input); empty for DocumentFault::kNone.
std::string DocumentFaultMessage(DocumentFault fault, std::string_view fileName);

}  // namespace tortuval::convert
