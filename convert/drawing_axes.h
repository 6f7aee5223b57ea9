#pragma once
// The frame a document sets for the drawings of its program.

#include <optional>
#include <string_view>

#include "drawing/drawing.h"

namespace tortuval::convert {

/// The active drawing frame of a document (`<repere repetat="actif" repcode="-2#4#-10#10#1#1"/>`),
/// or none when it has none, an inactive one or one that does not read as six numbers.
std::optional<drawing::Axes> ReadDrawingAxes(std::string_view document);

}  // namespace tortuval::convert
