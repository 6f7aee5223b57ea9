#pragma once
// A drawing as an SVG document, framed by the document's axes (and cut to them) or fitted to what
// was drawn, with its axes graduated and numbered and a light grid.

#include <string>

#include "drawing/drawing.h"
#include "drawing/frame.h"

namespace tortuval::drawing {

/// The SVG text (UTF-8) of `drawing` at `width` × `height` pixels, framed by FrameFor.
std::string DrawingToSvg(const Drawing& drawing, int width = 800, int height = 600,
                         const std::optional<Axes>& axes = std::nullopt);

}  // namespace tortuval::drawing
