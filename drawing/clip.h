#pragma once
// Cutting what was drawn to a rectangle of the plane, so that a drawing stays inside its
// document's frame in every picture made of it.

#include <optional>

#include "drawing/drawing.h"

namespace tortuval::drawing {

/// A rectangle of the plane, edges included.
struct Rectangle {
  double minX = 0, maxX = 0, minY = 0, maxY = 0;

  bool Contains(Point p) const { return minX <= p.x && p.x <= maxX && minY <= p.y && p.y <= maxY; }
};

/// The part of `segment` inside `rectangle` (Liang–Barsky), none when the segment misses it; a
/// segment that only touches an edge or a corner keeps that point. An end inside the rectangle
/// is kept exactly, a cut one lies exactly on the edge that cut it. The coordinates must be
/// finite.
std::optional<Segment> ClipSegment(const Segment& segment, const Rectangle& rectangle);

}  // namespace tortuval::drawing
