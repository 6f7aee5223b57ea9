#pragma once
// What a LOGO program drew: segments and points in the x-y plane, in the program's own units.

#include <vector>

namespace tortuval::run {

struct Point {
  double x = 0;
  double y = 0;
};

struct Segment {
  Point from;
  Point to;
};

/// The drawing started by "initgraph faux" and filled by SEGMENT3D and PLOT (z is dropped).
struct Drawing {
  bool started = false;  ///< initgraph was run
  bool shown = false;    ///< "grapheur vrai" was run
  std::vector<Segment> segments;
  std::vector<Point> points;

  bool Empty() const { return segments.empty() && points.empty(); }
};

}  // namespace tortuval::run
