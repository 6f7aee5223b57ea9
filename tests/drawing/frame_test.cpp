// The frame fitted to a drawing and the SVG written from it: worked cases with exact numbers,
// degenerate drawings, and the SVG's elements.

#include "drawing/frame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "drawing/svg.h"
#include "tests/test_support.h"

namespace tortuval::drawing {
namespace {

using tortuval::testing::CountOf;

Drawing Of(std::vector<Segment> segments, std::vector<Point> points = {}) {
  Drawing drawing;
  drawing.started = drawing.shown = true;
  drawing.segments = std::move(segments);
  drawing.points = std::move(points);
  return drawing;
}

// The horizontal axis (y = 0) crosses the picture; the vertical one (x = 0).
bool ShowsXAxis(const Frame& f) { return f.minY <= 0 && 0 <= f.maxY; }
bool ShowsYAxis(const Frame& f) { return f.minX <= 0 && 0 <= f.maxX; }

bool IsFiniteFrame(const Frame& f) {
  for (double v : {f.minX, f.maxX, f.minY, f.maxY, f.scaleX, f.scaleY, f.offsetX, f.offsetY}) {
    if (!std::isfinite(v)) return false;
  }
  return f.minX < f.maxX && f.minY < f.maxY && f.scaleX > 0 && f.scaleY > 0;
}

// The frame's rectangle fills the picture exactly: its corners are the picture's corners.
void ExpectCornersOnPicture(const Frame& f, int width, int height) {
  const Point topLeft = f.ToPixels({f.minX, f.maxY});
  const Point bottomRight = f.ToPixels({f.maxX, f.minY});
  EXPECT_NEAR(topLeft.x, 0, 1e-6);
  EXPECT_NEAR(topLeft.y, 0, 1e-6);
  EXPECT_NEAR(bottomRight.x, width, 1e-6);
  EXPECT_NEAR(bottomRight.y, height, 1e-6);
}

TEST(FitFrameTest, SquareAroundTheOriginGetsAMarginAndOneScale) {
  // From (-10, -10) to (10, 10): 5 % of the extent on each side, then the wider picture widens
  // the x range so that both axes keep 400 / 22 pixels per unit.
  const Frame f = FitFrame(Of({{{-10, -10}, {10, 10}}}), 800, 400);
  EXPECT_DOUBLE_EQ(f.minY, -11);
  EXPECT_DOUBLE_EQ(f.maxY, 11);
  EXPECT_DOUBLE_EQ(f.minX, -22);
  EXPECT_DOUBLE_EQ(f.maxX, 22);
  EXPECT_DOUBLE_EQ(f.scaleX, 400.0 / 22);
  EXPECT_DOUBLE_EQ(f.scaleY, f.scaleX);
  const Point origin = f.ToPixels({0, 0});
  EXPECT_DOUBLE_EQ(origin.x, 400);
  EXPECT_DOUBLE_EQ(origin.y, 200);
  ExpectCornersOnPicture(f, 800, 400);
}

TEST(FitFrameTest, OriginIsTakenInOnlyWhenNear) {
  // x from 2 to 10: the axis x = 0 is 2 units away from an extent of 8, so it is taken in.
  const Frame near = FitFrame(Of({}, {{2, 2}, {10, 10}}), 600, 600);
  EXPECT_TRUE(ShowsXAxis(near));
  EXPECT_TRUE(ShowsYAxis(near));
  EXPECT_LT(near.minX, 0);
  // x from 100 to 101: far from the origin; the frame stays on the drawing.
  const Frame far = FitFrame(Of({{{100, 100}, {101, 101}}}), 600, 600);
  EXPECT_FALSE(ShowsXAxis(far));
  EXPECT_FALSE(ShowsYAxis(far));
  EXPECT_GT(far.minX, 99);
  EXPECT_LT(far.maxX, 102);
}

TEST(FitFrameTest, VeryUnevenDrawingGetsTwoScales) {
  // A curve 1000 units wide and 1 high would be a flat line under one scale.
  const Frame f = FitFrame(Of({{{0, 0}, {1000, 1}}}), 800, 600);
  EXPECT_NE(f.scaleX, f.scaleY);
  EXPECT_NEAR(f.minY, -0.05, 1e-12);
  EXPECT_NEAR(f.maxY, 1.05, 1e-12);
  ExpectCornersOnPicture(f, 800, 600);
}

TEST(FitFrameTest, DegenerateDrawingsGiveFiniteFrames) {
  const double huge = std::numeric_limits<double>::max();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Drawing cases[] = {
      Drawing{},                                     // nothing drawn
      Of({}, {{0, 0}}),                              // one point at the origin
      Of({}, {{5000, -3}}),                          // one point away from it
      Of({{{3, 1}, {3, 9}}}),                        // a vertical segment
      Of({{{-4, 2}, {7, 2}}}),                       // a horizontal one
      Of({{{-huge, -huge}, {huge, huge}}}),          // the largest coordinates
      Of({}, {{nan, 1}, {2, std::log(0.0)}}),        // no point with a place in the plane
      Of({}, {{1e-300, 1e-300}, {2e-300, 2e-300}}),  // an extent lost in rounding
  };
  for (const Drawing& drawing : cases) {
    for (const auto& [width, height] : {std::pair{800, 600}, std::pair{1, 1}, std::pair{0, -5}}) {
      const Frame f = FitFrame(drawing, width, height);
      EXPECT_TRUE(IsFiniteFrame(f)) << f.minX << " " << f.maxX << " " << f.minY << " " << f.maxY;
    }
  }
  const Frame empty = FitFrame(Drawing{}, 500, 500);
  EXPECT_TRUE(ShowsXAxis(empty) && ShowsYAxis(empty));
  EXPECT_DOUBLE_EQ(empty.ToPixels({0, 0}).x, 250);

  // The vertical segment is centred, and the one point sits in the middle of the picture.
  const Frame vertical = FitFrame(Of({{{3, 1}, {3, 9}}}), 800, 600);
  EXPECT_LT(vertical.minX, 0);  // the y axis is 3 units from a segment 9 units long
  EXPECT_GT(vertical.maxX, 3);
  const Point middle = FitFrame(Of({}, {{5000, -3}}), 800, 600).ToPixels({5000, -3});
  EXPECT_NEAR(middle.x, 400, 1e-6);
}

TEST(DrawingToSvgTest, WritesAxesSegmentsAndPoints) {
  const Drawing drawing = Of({{{-10, -10}, {10, 10}}, {{0, 0}, {10, -10}}}, {{5, 5}});
  const std::string svg = DrawingToSvg(drawing, 800, 400);
  EXPECT_TRUE(svg.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "));
  EXPECT_TRUE(svg.ends_with("</svg>\n"));
  EXPECT_NE(svg.find("width=\"800\" height=\"400\" viewBox=\"0 0 800 400\""), std::string::npos);
  EXPECT_EQ(CountOf(svg, "<line class=\"axe\""), 2u);
  EXPECT_EQ(CountOf(svg, "<line x1="), 2u);
  EXPECT_EQ(CountOf(svg, "<circle "), 1u);
  // Same frame as the worked case above: 400 / 22 pixels per unit, origin at (400, 200).
  EXPECT_NE(svg.find("<line x1=\"218.18\" y1=\"381.82\" x2=\"581.82\" y2=\"18.18\"/>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<circle cx=\"490.91\" cy=\"109.09\" r=\"2.50\"/>"), std::string::npos);
  EXPECT_NE(svg.find("<line class=\"axe\" x1=\"0.00\" y1=\"200.00\" x2=\"800.00\" y2=\"200.00\"/>"),
            std::string::npos);
}

TEST(DrawingToSvgTest, SkipsWhatHasNoPlaceAndNeverWritesNan) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::string svg = DrawingToSvg(Of({{{0, 0}, {nan, 1}}, {{0, 0}, {1, 1}}}, {{nan, nan}}));
  EXPECT_EQ(CountOf(svg, "<line x1="), 1u);
  EXPECT_EQ(CountOf(svg, "<circle "), 0u);
  EXPECT_EQ(svg.find("nan"), std::string::npos);
  EXPECT_EQ(svg.find("inf"), std::string::npos);
}

// Example 7's document asks for x from -2 to 4, y from -10 to 10, graduations every 1: the picture
// shows that, each axis at its own scale, numbered at each step, with 24 pixels of margin on each
// side for the numbers, 14 above and 20 below.
TEST(DrawingAxesTest, TheDocumentsFrameIsShownGraduatedAndNumbered) {
  const Axes axes{-2, 4, -10, 10, 1, 1};
  // Two points of the curve x³ - 3x²: (0, 0) and (2, -4).
  const Drawing drawing = Of({{{0, 0}, {2, -4}}});
  const Frame frame = FrameFor(drawing, axes, 600, 600);
  EXPECT_EQ(frame.gridMinX, -2);
  EXPECT_EQ(frame.gridMaxY, 10);
  EXPECT_DOUBLE_EQ(frame.scaleX, 92);
  EXPECT_DOUBLE_EQ(frame.scaleY, 28.3);
  std::vector<std::string> across;
  for (const Graduation& g : AxisGraduations(frame, true)) across.push_back(g.label);
  EXPECT_EQ(across, (std::vector<std::string>{"-2", "-1", "0", "1", "2", "3", "4"}));
  const std::vector<Graduation> up = AxisGraduations(frame, false);
  ASSERT_EQ(up.size(), 21u);
  EXPECT_EQ(up.front().label, "-10");
  EXPECT_EQ(up[10].label, "");  // the origin is numbered once, on the horizontal axis

  const std::string svg = DrawingToSvg(drawing, 600, 600, axes);
  EXPECT_NE(svg.find("<line x1=\"208.00\" y1=\"297.00\" x2=\"392.00\" y2=\"410.20\"/>"),
            std::string::npos)
      << svg;
  EXPECT_EQ(CountOf(svg, "<line class=\"grille\""), 7u + 21u);
  EXPECT_EQ(CountOf(svg, "<text "), 7u + 20u);
  EXPECT_NE(svg.find("<text x=\"576.00\" y=\"312.00\" text-anchor=\"middle\">4</text>"),
            std::string::npos);
  EXPECT_NE(svg.find("<text x=\"202.00\" y=\"18.00\" text-anchor=\"end\">10</text>"),
            std::string::npos);
}

// The numbers of one axis in an SVG picture, by their anchor: "middle" for the horizontal axis,
// "end" for the vertical one; with the baseline of each.
struct SvgNumbers {
  std::vector<std::string> texts;
  std::vector<double> baselines;
};

SvgNumbers NumbersOf(const std::string& svg, const std::string& anchor) {
  SvgNumbers numbers;
  const std::string close = " text-anchor=\"" + anchor + "\">";
  for (std::size_t at = svg.find("<text "); at != std::string::npos;
       at = svg.find("<text ", at + 1)) {
    const std::size_t text = svg.find(close, at);
    if (text == std::string::npos || text > svg.find('>', at)) continue;
    const std::size_t start = text + close.size();
    numbers.texts.push_back(svg.substr(start, svg.find('<', start) - start));
    numbers.baselines.push_back(std::stod(svg.substr(svg.find(" y=\"", at) + 4)));
  }
  return numbers;
}

// Example 11's document graduates both axes from 0 to 1 every 0,1: the numbers of both are
// written with a decimal comma, and those of the horizontal axis, on the frame's lower edge, stand
// wholly in the picture, where a comma's tail is not cut into a point. A fitted frame far above
// the origin has its horizontal axis on the picture's lower edge: its numbers go above it.
TEST(DrawingAxesTest, NumbersHaveADecimalCommaAndStayInThePicture) {
  const Axes axes{0, 1, 0, 1, 0.1, 0.1};
  const Drawing euler = Of({{{0, 0}, {0.05, 0.05}}, {{0.05, 0.05}, {0.1, 0.0998753117206983}}});
  const std::vector<std::string> tenths = {"0,1", "0,2", "0,3", "0,4", "0,5",
                                           "0,6", "0,7", "0,8", "0,9", "1"};
  for (const auto& [width, height] : {std::pair{800, 600}, std::pair{572, 411}}) {
    const std::string svg = DrawingToSvg(euler, width, height, axes);
    const SvgNumbers across = NumbersOf(svg, "middle");
    std::vector<std::string> expected = {"0"};
    expected.insert(expected.end(), tenths.begin(), tenths.end());
    EXPECT_EQ(across.texts, expected) << svg;
    EXPECT_EQ(NumbersOf(svg, "end").texts, tenths) << svg;
    for (const double baseline : across.baselines) {
      EXPECT_LE(baseline + kNumberDescent, height) << width << " x " << height;
    }
  }

  const std::string high = DrawingToSvg(Of({{{100, 100}, {110, 104}}}), 800, 600);
  const SvgNumbers across = NumbersOf(high, "middle");
  ASSERT_FALSE(across.texts.empty()) << high;
  for (const double baseline : across.baselines) {
    EXPECT_LE(baseline + kNumberDescent, 600);
    EXPECT_GE(baseline - kNumberSize, 0);
  }
  // Its vertical axis stands on the picture's left edge: its numbers go to the right of it.
  EXPECT_TRUE(NumbersOf(high, "end").texts.empty()) << high;
  EXPECT_FALSE(NumbersOf(high, "start").texts.empty()) << high;
  // With room on the left, as in the document's frame above, they stay there.
  EXPECT_LT(VerticalNumbersOffset(FrameFor(euler, axes, 800, 600), {{0.5, "0,5"}}), 0);
  EXPECT_GT(VerticalNumbersOffset(FrameFor(euler, axes, 800, 600), {{-0.25, "-0,25"}}), 0);
}

// Without a document, graduations come at round steps, and numbers are thinned where steps are
// too close to number each one; unusable axes fall back to the fitted frame.
TEST(DrawingAxesTest, FittedFramesGetRoundStepsAndNumbersThatFit) {
  const Frame fitted = FitFrame(Of({{{0, 0}, {37, 18}}}), 800, 600);
  for (const double step : {fitted.stepX, fitted.stepY}) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                std::abs(mantissa - 5) < 1e-9)
        << step;
  }
  EXPECT_EQ(Graduations(-0.3, 1.05, 0.5), (std::vector<double>{0, 0.5, 1}));
  EXPECT_TRUE(Graduations(0, 1, 1e-6).empty());
  // 100 steps across the 352 pixels inside the margins: a number every twelfth step.
  const Frame crowded = FrameFor(Drawing{}, Axes{0, 100, 0, 10, 1, 1}, 400, 300);
  int numbered = 0;
  for (const Graduation& g : AxisGraduations(crowded, true)) numbered += g.label.empty() ? 0 : 1;
  EXPECT_EQ(numbered, 9);
  const Frame fallback = FrameFor(Of({{{0, 0}, {1, 1}}}), Axes{3, 3, 0, 1, 1, 1}, 400, 300);
  EXPECT_EQ(fallback.stepX, FitFrame(Of({{{0, 0}, {1, 1}}}), 400, 300).stepX);
}

}  // namespace
}  // namespace tortuval::drawing
