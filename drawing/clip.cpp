#include "drawing/clip.h"

#include <algorithm>

namespace tortuval::drawing {

std::optional<Segment> ClipSegment(const Segment& segment, const Rectangle& rectangle) {
  const Point from = segment.from;
  const Point to = segment.to;
  // The segment is from + t (to - from) for t in [0, 1]. Differences are taken between halves,
  // which stay finite even between coordinates near the largest double.
  const double dx = to.x / 2 - from.x / 2;
  const double dy = to.y / 2 - from.y / 2;
  // Where the kept part starts or ends along the segment, and the edge that cut it there.
  struct Cut {
    double t;
    bool cut = false;
    bool horizontalEdge = false;
    double edge = 0;  // the edge's x, or its y for a horizontal edge
  };
  Cut enter{0};
  Cut leave{1};
  // One edge, as p t <= q: narrows [enter, leave] to the part of the segment on its inner side.
  const auto keepInside = [&enter, &leave](double p, double q, bool horizontal, double edge) {
    if (p == 0) return q >= 0;  // parallel to the edge: all inside or all outside
    const double t = q / p;
    if (p < 0 && t > enter.t) enter = {t, true, horizontal, edge};
    if (p > 0 && t < leave.t) leave = {t, true, horizontal, edge};
    return enter.t <= leave.t;
  };
  if (!keepInside(-dx, from.x / 2 - rectangle.minX / 2, false, rectangle.minX) ||
      !keepInside(dx, rectangle.maxX / 2 - from.x / 2, false, rectangle.maxX) ||
      !keepInside(-dy, from.y / 2 - rectangle.minY / 2, true, rectangle.minY) ||
      !keepInside(dy, rectangle.maxY / 2 - from.y / 2, true, rectangle.maxY)) {
    return std::nullopt;
  }
  // An end that was not cut is kept as it is. A cut one lies exactly on its edge; its other
  // coordinate is weighted between the ends and clamped against rounding.
  const auto place = [&](Point end, const Cut& cut) {
    if (!cut.cut) return end;
    Point point{std::clamp(from.x * (1 - cut.t) + to.x * cut.t, rectangle.minX, rectangle.maxX),
                std::clamp(from.y * (1 - cut.t) + to.y * cut.t, rectangle.minY, rectangle.maxY)};
    (cut.horizontalEdge ? point.y : point.x) = cut.edge;
    return point;
  };
  return Segment{place(from, enter), place(to, leave)};
}

}  // namespace tortuval::drawing
