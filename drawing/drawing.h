#pragma once
// What a LOGO program drew, segments and points in the x-y plane in the program's own units, and
// the document's frame it is pictured in.

#include <vector>

namespace tortuval::drawing {

struct Point {
  double x = 0;
  double y = 0;
};

struct Segment {
  Point from;
  Point to;
};

/// The document's frame for drawings, its "repère": the part of the plane a drawing shows and the
/// steps of its graduations. The conversion reads it from the document; the front ends picture
/// the drawing within it.
struct Axes {
  double xFrom = -10, xTo = 10, yFrom = -10, yTo = 10;
  double xStep = 1, yStep = 1;
};

/// The drawing started by "initgraph faux" and filled by SEGMENT3D and PLOT (z is dropped).
struct Drawing {
  bool started = false;  ///< initgraph was run
  bool shown = false;    ///< "grapheur vrai" was run
  std::vector<Segment> segments;
  std::vector<Point> points;

  bool Empty() const { return segments.empty() && points.empty(); }
};

}  // namespace tortuval::drawing
