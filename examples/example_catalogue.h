#pragma once
// The 17 built-in example documents offered in the window and by `pseudal2logo --example`; each
// is an .alg file of this folder, compiled in byte for byte.

#include <string>
#include <string_view>

namespace tortuval::examples {

inline constexpr int kExampleCount = 17;

/// Caption of the example at `index` (0 to 16, radio-group order), Windows-1252.
std::string_view ExampleCaption(int index);

/// The whole one-line document of the example at `index`, Windows-1252, exactly the bytes of its
/// .alg file; the same object on every call. Both functions throw std::out_of_range outside 0-16.
const std::string& ExampleDocument(int index);

}  // namespace tortuval::examples
