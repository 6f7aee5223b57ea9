#pragma once

#include <string>
#include <string_view>

namespace tortuval::convert {

/// The readable lines of a repaired document: its description first, then every `algoitem`
/// in document order, each followed by CR LF.
std::string ListSourceLines(std::string_view listingText);

}  // namespace tortuval::convert
