#include "drawing/svg.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tortuval::drawing {
namespace {

constexpr double kPointRadius = 2.5;
// Pixel coordinates are clamped this far around the picture: a coordinate the frame did not
// take in (infinite, or not a number) must not write "inf" or "nan" into the document.
constexpr double kPixelLimit = 1e7;

// Two decimals, with a point whatever the locale, and no "-0.00".
void AppendNumber(std::string& out, double value) {
  if (!std::isfinite(value)) value = value > 0 ? kPixelLimit : (value < 0 ? -kPixelLimit : 0);
  value = std::clamp(value, -kPixelLimit, kPixelLimit);
  // Hundredths, rounded half to even from the exact value: a long double holds a double times
  // 100 exactly (64 bits of mantissa or more), and the default rounding is to nearest even. A
  // value that rounds to zero gets no sign.
  const long long hundredths = std::llrint(static_cast<long double>(value) * 100.0L);
  const long long whole = std::llabs(hundredths) / 100;
  const long long cents = std::llabs(hundredths) % 100;
  if (hundredths < 0) out.push_back('-');
  out.append(std::to_string(whole)).push_back('.');
  out.push_back(static_cast<char>('0' + cents / 10));
  out.push_back(static_cast<char>('0' + cents % 10));
}

void AppendAttribute(std::string& out, const char* name, double value) {
  out.append(" ").append(name).append("=\"");
  AppendNumber(out, value);
  out.append("\"");
}

void AppendLine(std::string& out, const char* classAttribute, Point from, Point to) {
  out.append("<line").append(classAttribute);
  AppendAttribute(out, "x1", from.x);
  AppendAttribute(out, "y1", from.y);
  AppendAttribute(out, "x2", to.x);
  AppendAttribute(out, "y2", to.y);
  out.append("/>\n");
}

// The grid, the axes through AxesCrossing, their graduations and numbers.
void AppendAxes(std::string& out, const Frame& frame) {
  const Point crossing = AxesCrossing(frame);
  const std::vector<Graduation> across = AxisGraduations(frame, true);
  const std::vector<Graduation> up = AxisGraduations(frame, false);
  out += "<g stroke=\"#e6e6e6\" stroke-width=\"1\">\n";
  for (const Graduation& g : across) {
    AppendLine(out, " class=\"grille\"", frame.ToPixels({g.value, frame.gridMinY}),
               frame.ToPixels({g.value, frame.gridMaxY}));
  }
  for (const Graduation& g : up) {
    AppendLine(out, " class=\"grille\"", frame.ToPixels({frame.gridMinX, g.value}),
               frame.ToPixels({frame.gridMaxX, g.value}));
  }
  out += "</g>\n<g stroke=\"#999999\" stroke-width=\"1\">\n";
  AppendLine(out, " class=\"axe\"", frame.ToPixels({frame.gridMinX, crossing.y}),
             frame.ToPixels({frame.gridMaxX, crossing.y}));
  AppendLine(out, " class=\"axe\"", frame.ToPixels({crossing.x, frame.gridMinY}),
             frame.ToPixels({crossing.x, frame.gridMaxY}));
  for (const Graduation& g : across) {
    const Point at = frame.ToPixels({g.value, crossing.y});
    AppendLine(out, " class=\"graduation\"", {at.x, at.y - 3}, {at.x, at.y + 3});
  }
  for (const Graduation& g : up) {
    const Point at = frame.ToPixels({crossing.x, g.value});
    AppendLine(out, " class=\"graduation\"", {at.x - 3, at.y}, {at.x + 3, at.y});
  }
  out += "</g>\n<g fill=\"#555555\" font-family=\"sans-serif\" font-size=\"";
  out += std::to_string(kNumberSize) + "\">\n";
  const auto label = [&out](Point at, const char* anchor, const std::string& text) {
    out += "<text";
    AppendAttribute(out, "x", at.x);
    AppendAttribute(out, "y", at.y);
    out.append(" text-anchor=\"").append(anchor).append("\">").append(text).append("</text>\n");
  };
  const double baseline = HorizontalNumbersBaseline(frame);
  for (const Graduation& g : across) {
    if (g.label.empty()) continue;
    const Point at = frame.ToPixels({g.value, crossing.y});
    label({at.x, at.y + baseline}, "middle", g.label);
  }
  const double offset = VerticalNumbersOffset(frame, up);
  for (const Graduation& g : up) {
    if (g.label.empty()) continue;
    const Point at = frame.ToPixels({crossing.x, g.value});
    label({at.x + offset, at.y + 4}, offset < 0 ? "end" : "start", g.label);
  }
  out += "</g>\n";
}

}  // namespace

std::string DrawingToSvg(const Drawing& drawing, int width, int height,
                         const std::optional<Axes>& axes) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  const Frame frame = FrameFor(drawing, axes, width, height);
  const std::string w = std::to_string(width);
  const std::string h = std::to_string(height);

  std::string svg;
  svg.reserve(256 + 80 * (drawing.segments.size() + drawing.points.size()));
  svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
         "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
  svg += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"white\"/>\n";

  AppendAxes(svg, frame);

  svg += "<g stroke=\"#1a1a80\" stroke-width=\"1.5\" stroke-linecap=\"round\">\n";
  for (const Segment& segment : drawing.segments) {
    if (const std::optional<Segment> visible = VisiblePart(frame, segment)) {
      AppendLine(svg, "", frame.ToPixels(visible->from), frame.ToPixels(visible->to));
    }
  }
  svg += "</g>\n";

  svg += "<g fill=\"#c02020\">\n";
  for (const Point& point : drawing.points) {
    if (!Shows(frame, point)) continue;
    const Point pixel = frame.ToPixels(point);
    svg += "<circle";
    AppendAttribute(svg, "cx", pixel.x);
    AppendAttribute(svg, "cy", pixel.y);
    AppendAttribute(svg, "r", kPointRadius);
    svg += "/>\n";
  }
  svg += "</g>\n</svg>\n";
  return svg;
}

}  // namespace tortuval::drawing
