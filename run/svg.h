#pragma once
// A drawing as an SVG document, framed to what was drawn, with its axes.

#include <string>

#include "run/drawing.h"
#include "run/drawing_frame.h"

namespace tortuval::run {

/// The SVG text (UTF-8) of `drawing` at `width` × `height` pixels, fitted by FitFrame.
std::string DrawingToSvg(const Drawing& drawing, int width = 800, int height = 600);

}  // namespace tortuval::run
