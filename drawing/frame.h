#pragma once
// The frame of a drawing: the program's units fitted to a picture of a given size, with axes,
// shared by the window's view and the SVG writer so that both show the same picture.

#include <optional>
#include <string>
#include <vector>

#include "drawing/clip.h"
#include "drawing/drawing.h"

namespace tortuval::drawing {

/// The rectangle of the program's plane that the picture shows, and how it maps to pixels.
struct Frame {
  double minX = -1, maxX = 1, minY = -1, maxY = 1;  ///< the plane's rectangle shown
  double scaleX = 1, scaleY = 1;                    ///< pixels per unit on each axis
  double offsetX = 0, offsetY = 0;                  ///< pixel of the plane's (0, 0)
  double stepX = 1, stepY = 1;                      ///< the graduations' steps, in units
  /// The rectangle graduated and gridded: a document's axes, inside the picture's margins; the
  /// whole picture for a fitted frame.
  double gridMinX = -1, gridMaxX = 1, gridMinY = -1, gridMaxY = 1;
  /// A document's frame: what is drawn is cut to the grid's rectangle, so that it never runs into
  /// the margins over the numbers. A fitted frame holds everything drawn and cuts nothing.
  bool clipped = false;

  /// The grid's rectangle, in the plane.
  Rectangle Grid() const { return {gridMinX, gridMaxX, gridMinY, gridMaxY}; }

  /// The pixel position of a point of the plane (y grows downwards on the picture).
  Point ToPixels(Point p) const { return {offsetX + p.x * scaleX, offsetY - p.y * scaleY}; }
};

/// Fits the frame to everything drawn (with a margin, the origin's axes included when near),
/// for a picture of `width` × `height` pixels, with graduations at round steps (1, 2 or 5 times
/// a power of ten). An empty drawing gets a frame around (0, 0).
Frame FitFrame(const Drawing& drawing, int width, int height);

/// The frame of a document's axes: their rectangle, each axis at its own scale, with their steps
/// and a margin of a few pixels around for the numbers, deep enough below for those of a
/// horizontal axis on the rectangle's lower edge; when `axes` is none or unusable, FitFrame.
Frame FrameFor(const Drawing& drawing, const std::optional<Axes>& axes, int width, int height);

/// The part of `segment` that the picture shows: none when a coordinate has no place in the plane
/// (infinite or not a number), cut to the grid's rectangle when the frame is clipped.
std::optional<Segment> VisiblePart(const Frame& frame, const Segment& segment);

/// Whether the picture shows `point`: finite, and within the grid's rectangle when the frame is
/// clipped.
bool Shows(const Frame& frame, Point point);

/// One graduation of an axis: its value, and the number written there (empty where graduations
/// stand too close for every one to be numbered).
struct Graduation {
  double value;
  std::string label;
};

/// The graduations of the horizontal axis (`horizontal`) or of the vertical one, numbered as far
/// apart as numbers of that axis need; the origin is numbered on the horizontal axis only.
std::vector<Graduation> AxisGraduations(const Frame& frame, bool horizontal);

/// The numbers' size in pixels, and how far below their baseline a comma's tail reaches.
inline constexpr int kNumberSize = 11;
inline constexpr double kNumberDescent = 3;

/// Where the numbers of the horizontal axis stand: their baseline's distance below the axis, in
/// pixels; negative, above the axis, where the picture ends too soon under it for a comma to show
/// whole.
double HorizontalNumbersBaseline(const Frame& frame);

/// Where the numbers of the vertical axis stand: their distance from the axis, in pixels; to its
/// left (negative, the numbers ending there) where the widest of `graduations` has room in the
/// picture, else to its right (positive, the numbers starting there).
double VerticalNumbersOffset(const Frame& frame, const std::vector<Graduation>& graduations);

/// Where the axes are drawn, in the plane: each at 0 when 0 is in the picture, else along the
/// picture's edge nearest to 0.
Point AxesCrossing(const Frame& frame);

/// The graduations of [from, to] every `step` (multiples of the step), at most 200 of them: none
/// when a step that small would give more.
std::vector<double> Graduations(double from, double to, double step);

}  // namespace tortuval::drawing
