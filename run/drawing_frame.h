#pragma once
// The frame of a drawing: the program's units fitted to a picture of a given size, with axes,
// shared by the window's view and the SVG writer so that both show the same picture.

#include "run/drawing.h"

namespace tortuval::run {

/// The rectangle of the program's plane that the picture shows, and how it maps to pixels.
struct Frame {
  double minX = -1, maxX = 1, minY = -1, maxY = 1;  ///< the plane's rectangle shown
  double scaleX = 1, scaleY = 1;                    ///< pixels per unit on each axis
  double offsetX = 0, offsetY = 0;                  ///< pixel of the plane's (0, 0)

  /// The pixel position of a point of the plane (y grows downwards on the picture).
  Point ToPixels(Point p) const { return {offsetX + p.x * scaleX, offsetY - p.y * scaleY}; }

  /// The horizontal axis (y = 0) crosses the picture.
  bool ShowsXAxis() const { return minY <= 0 && 0 <= maxY; }
  /// The vertical axis (x = 0) crosses the picture.
  bool ShowsYAxis() const { return minX <= 0 && 0 <= maxX; }
};

/// Fits the frame to everything drawn (with a margin, the origin's axes included when near),
/// for a picture of `width` × `height` pixels. An empty drawing gets a frame around (0, 0).
Frame FitFrame(const Drawing& drawing, int width, int height);

}  // namespace tortuval::run
