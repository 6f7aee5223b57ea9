#include "drawing/frame.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "base/number_text.h"

namespace tortuval::drawing {
namespace {

// Each side gets this share of the drawing's extent as margin, so that nothing touches the edge.
constexpr double kMarginShare = 0.05;
// The origin is brought into the picture when that adds at most this share of the extent.
constexpr double kNearOriginShare = 0.5;
// Below this share of the picture on one axis, a common scale would squash the drawing into a
// strip: each axis then gets its own scale.
constexpr double kSmallestShareOfPicture = 0.25;
// Keeps every extent and its margins finite, even for coordinates near the largest double.
constexpr double kLargestHalf = 1e300;
// The numbers of the horizontal axis: their baseline below the axis, past its graduation marks,
// or above it, clear of them.
constexpr double kNumbersBelow = 15;
constexpr double kNumbersAbove = -6;
// Room for the numbers around a document's axes, in pixels: the axes' rectangle keeps this much
// inside the picture. Below it, a horizontal axis on the rectangle's edge has its numbers there.
constexpr double kMarginX = 24;
constexpr double kMarginTop = 14;
constexpr double kMarginBottom = kNumbersBelow + kNumberDescent + 2;

// One axis of the frame, as a centre and a half-extent, which stay finite where max - min
// would overflow.
struct Range {
  double low = 0;
  double high = 0;
  bool empty = true;

  void Add(double value) {
    if (!std::isfinite(value)) return;  // a point with no place in the plane is not drawn
    if (empty) {
      low = high = value;
      empty = false;
      return;
    }
    low = std::min(low, value);
    high = std::max(high, value);
  }
  double Centre() const { return low / 2 + high / 2; }
  double Half() const { return high / 2 - low / 2; }
};

// A range of zero extent (one point, or a segment along the other axis) gets the other axis's
// extent, else one unit or a tenth of its distance from the origin, whichever is larger.
void OpenUp(Range& range, double otherHalf) {
  // An extent lost in the rounding of its own coordinates counts as none.
  if (range.Half() > std::max(std::abs(range.Centre()) * 1e-12, 1e-100)) return;
  const double value = range.Centre();
  const double half =
      otherHalf > 0 ? otherHalf : std::max(1.0, std::min(std::abs(value) / 10, kLargestHalf));
  range.low = value - half;
  range.high = value + half;
}

// The axis through the origin is kept in sight when it lies in the range or close to it.
void ReachOrigin(Range& range) {
  const double extent = 2 * range.Half();
  if (range.low > 0 && range.low <= kNearOriginShare * extent) range.low = 0;
  if (range.high < 0 && -range.high <= kNearOriginShare * extent) range.high = 0;
}

void AddMargin(Range& range) {
  const double centre = range.Centre();
  const double half = std::min(range.Half() * (1 + 2 * kMarginShare), kLargestHalf);
  range.low = centre - half;
  range.high = centre + half;
}

// A round step (1, 2 or 5 times a power of ten) that cuts `extent` into about eight parts.
double RoundStep(double extent) {
  if (!(extent > 0) || !std::isfinite(extent)) return 1;
  const double rough = extent / 8;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= rough) return factor * power;
  }
  return 10 * power;
}

bool IsFinite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Widens `range` around its centre to `half`.
void Widen(Range& range, double half) {
  const double centre = range.Centre();
  range.low = centre - half;
  range.high = centre + half;
}

}  // namespace

Frame FitFrame(const Drawing& drawing, int width, int height) {
  Range x;
  Range y;
  for (const Segment& segment : drawing.segments) {
    x.Add(segment.from.x);
    x.Add(segment.to.x);
    y.Add(segment.from.y);
    y.Add(segment.to.y);
  }
  for (const Point& point : drawing.points) {
    x.Add(point.x);
    y.Add(point.y);
  }
  if (x.empty || y.empty) {
    x = {-1, 1, false};
    y = {-1, 1, false};
  }
  OpenUp(x, y.Half());
  OpenUp(y, x.Half());
  ReachOrigin(x);
  ReachOrigin(y);
  AddMargin(x);
  AddMargin(y);

  const double pixelsWide = std::max(width, 1);
  const double pixelsHigh = std::max(height, 1);
  double scaleX = pixelsWide / (2 * x.Half());
  double scaleY = pixelsHigh / (2 * y.Half());
  // One scale for both axes keeps circles round, unless the drawing would fill too thin a strip.
  const double common = std::min(scaleX, scaleY);
  if (common / std::max(scaleX, scaleY) >= kSmallestShareOfPicture) {
    scaleX = scaleY = common;
    Widen(x, pixelsWide / common / 2);
    Widen(y, pixelsHigh / common / 2);
  }

  Frame frame;
  frame.minX = x.low;
  frame.maxX = x.high;
  frame.minY = y.low;
  frame.maxY = y.high;
  frame.scaleX = scaleX;
  frame.scaleY = scaleY;
  frame.offsetX = -x.low * scaleX;
  frame.offsetY = y.high * scaleY;
  frame.stepX = RoundStep(frame.maxX - frame.minX);
  frame.stepY = RoundStep(frame.maxY - frame.minY);
  frame.gridMinX = frame.minX;
  frame.gridMaxX = frame.maxX;
  frame.gridMinY = frame.minY;
  frame.gridMaxY = frame.maxY;
  return frame;
}

Frame FrameFor(const Drawing& drawing, const std::optional<Axes>& axes, int width, int height) {
  const auto usable = [](double from, double to, double step) {
    return std::isfinite(from) && std::isfinite(to) && from < to && std::isfinite(step) && step > 0;
  };
  if (!axes || !usable(axes->xFrom, axes->xTo, axes->xStep) ||
      !usable(axes->yFrom, axes->yTo, axes->yStep)) {
    return FitFrame(drawing, width, height);
  }
  const double pixelsWide = std::max(std::max(width, 1) - 2 * kMarginX, 1.0);
  const double pixelsHigh = std::max(std::max(height, 1) - kMarginTop - kMarginBottom, 1.0);
  Frame frame;
  frame.scaleX = pixelsWide / (axes->xTo - axes->xFrom);
  frame.scaleY = pixelsHigh / (axes->yTo - axes->yFrom);
  frame.minX = axes->xFrom - kMarginX / frame.scaleX;
  frame.maxX = axes->xTo + kMarginX / frame.scaleX;
  frame.minY = axes->yFrom - kMarginBottom / frame.scaleY;
  frame.maxY = axes->yTo + kMarginTop / frame.scaleY;
  frame.offsetX = -frame.minX * frame.scaleX;
  frame.offsetY = frame.maxY * frame.scaleY;
  frame.stepX = axes->xStep;
  frame.stepY = axes->yStep;
  frame.gridMinX = axes->xFrom;
  frame.gridMaxX = axes->xTo;
  frame.gridMinY = axes->yFrom;
  frame.gridMaxY = axes->yTo;
  frame.clipped = true;
  return frame;
}

std::optional<Segment> VisiblePart(const Frame& frame, const Segment& segment) {
  if (!IsFinite(segment.from) || !IsFinite(segment.to)) return std::nullopt;
  return frame.clipped ? ClipSegment(segment, frame.Grid()) : segment;
}

bool Shows(const Frame& frame, Point point) {
  return IsFinite(point) && (!frame.clipped || frame.Grid().Contains(point));
}

std::vector<Graduation> AxisGraduations(const Frame& frame, bool horizontal) {
  // Numbers of the horizontal axis need room for a few digits; those of the vertical one a line.
  const double room = horizontal ? 40 : 18;
  const double step = horizontal ? frame.stepX : frame.stepY;
  const double pixelsPerStep = step * (horizontal ? frame.scaleX : frame.scaleY);
  const auto every =
      static_cast<long long>(pixelsPerStep > 0 ? std::ceil(room / pixelsPerStep) : 1);
  std::vector<Graduation> graduations;
  const std::vector<double> values = horizontal ? Graduations(frame.gridMinX, frame.gridMaxX, step)
                                                : Graduations(frame.gridMinY, frame.gridMaxY, step);
  for (const double value : values) {
    const auto index = std::llround(value / step);
    const bool numbered = index % std::max(every, 1LL) == 0 && (horizontal || value != 0);
    graduations.push_back({value, numbered ? base::FormatNumber(value) : std::string()});
  }
  return graduations;
}

double HorizontalNumbersBaseline(const Frame& frame) {
  const double axis = frame.ToPixels(AxesCrossing(frame)).y;
  const double pictureBottom = frame.ToPixels({frame.minX, frame.minY}).y;
  const bool roomBelow = axis + kNumbersBelow + kNumberDescent <= pictureBottom + 1e-6;
  return roomBelow ? kNumbersBelow : kNumbersAbove;
}

double VerticalNumbersOffset(const Frame& frame, const std::vector<Graduation>& graduations) {
  // The widths of the numbers' characters in a wide sans-serif font, as shares of their size: a
  // digit or a letter of an exponent, a comma, a minus sign.
  const auto width = [](std::string_view label) {
    double ems = 0;
    for (const char c : label) ems += c == ',' ? 0.32 : c == '-' ? 0.36 : 0.64;
    return ems * kNumberSize;
  };
  constexpr double kGap = 6;
  double widest = 0;
  for (const Graduation& g : graduations) widest = std::max(widest, width(g.label));
  const double axis = frame.ToPixels(AxesCrossing(frame)).x;
  return axis - kGap - widest >= -0.5 ? -kGap : kGap;
}

Point AxesCrossing(const Frame& frame) {
  return {std::clamp(0.0, frame.gridMinX, frame.gridMaxX),
          std::clamp(0.0, frame.gridMinY, frame.gridMaxY)};
}

std::vector<double> Graduations(double from, double to, double step) {
  constexpr double kMostGraduations = 200;
  std::vector<double> values;
  if (!(step > 0) || !std::isfinite(from) || !std::isfinite(to) ||
      (to - from) / step > kMostGraduations) {
    return values;
  }
  for (double k = std::ceil(from / step); k * step <= to + step * 1e-9; ++k) {
    values.push_back(std::abs(k) < 0.5 ? 0 : k * step);
  }
  return values;
}

}  // namespace tortuval::drawing
