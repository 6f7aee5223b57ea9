// Segments and points cut to a rectangle: the edge cases of the clipping itself, and a document's
// frame keeping what is drawn off the margins while a fitted frame keeps everything.

#include "drawing/clip.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

#include "drawing/frame.h"
#include "drawing/svg.h"
#include "tests/test_support.h"

namespace tortuval::drawing {
namespace {

using tortuval::testing::CountOf;

const Rectangle kBox{-2, 4, -10, 10};

void ExpectSegment(const std::optional<Segment>& clipped, Segment expected) {
  ASSERT_TRUE(clipped.has_value());
  EXPECT_NEAR(clipped->from.x, expected.from.x, 1e-12);
  EXPECT_NEAR(clipped->from.y, expected.from.y, 1e-12);
  EXPECT_NEAR(clipped->to.x, expected.to.x, 1e-12);
  EXPECT_NEAR(clipped->to.y, expected.to.y, 1e-12);
}

TEST(ClipSegmentTest, CutsAtTheEdgesItCrossesAndKeepsItsDirection) {
  // Inside, kept as it is; leaving through the top, cut there.
  ExpectSegment(ClipSegment({{0, 0}, {2, -4}}, kBox), {{0, 0}, {2, -4}});
  ExpectSegment(ClipSegment({{3, 0}, {4, 20}}, kBox), {{3, 0}, {3.5, 10}});
  // Across the whole box, in at the left and out at the right, drawn from right to left.
  ExpectSegment(ClipSegment({{10, 1}, {-8, 1}}, kBox), {{4, 1}, {-2, 1}});
  // In through the bottom and out through the right edge.
  ExpectSegment(ClipSegment({{0, -20}, {6, 10}}, kBox), {{2, -10}, {4, 0}});
}

TEST(ClipSegmentTest, DropsWhatMissesAndKeepsWhatTouches) {
  EXPECT_FALSE(ClipSegment({{5, 0}, {9, 3}}, kBox));       // beside the box
  EXPECT_FALSE(ClipSegment({{3, 12}, {5, 9}}, kBox));      // past the corner (4, 10), not through
  EXPECT_FALSE(ClipSegment({{-3, -11}, {-3, 11}}, kBox));  // parallel to an edge, outside
  // A point on the edge, a segment along an edge, one meeting the box at a corner only.
  ExpectSegment(ClipSegment({{4, 2}, {4, 2}}, kBox), {{4, 2}, {4, 2}});
  ExpectSegment(ClipSegment({{-2, -20}, {-2, 20}}, kBox), {{-2, -10}, {-2, 10}});
  ExpectSegment(ClipSegment({{3, 11}, {5, 9}}, kBox), {{4, 10}, {4, 10}});
  EXPECT_TRUE(kBox.Contains({4, 10}));
  EXPECT_FALSE(kBox.Contains({4.0000001, 0}));
}

TEST(ClipSegmentTest, CoordinatesNearTheLargestDoubleStayFinite) {
  const double big = std::numeric_limits<double>::max();
  ExpectSegment(ClipSegment({{-big, 0}, {big, 0}}, kBox), {{-2, 0}, {4, 0}});
  ExpectSegment(ClipSegment({{0, -big}, {0, big}}, kBox), {{0, -10}, {0, 10}});
}

// A document's frame cuts the segment that leaves it at its edge and drops the point beyond it; a
// fitted frame draws everything.
TEST(FrameClippingTest, TheDocumentsFrameCutsAndTheFittedFrameKeeps) {
  Drawing drawing;
  drawing.segments = {{{0, 0}, {0, 40}}, {{10, 0}, {20, 0}}};
  drawing.points = {{1, 1}, {30, 1}};
  const Axes axes{-2, 4, -10, 10, 1, 1};
  const Frame framed = FrameFor(drawing, axes, 600, 600);
  const std::optional<Segment> cut = VisiblePart(framed, drawing.segments[0]);
  ASSERT_TRUE(cut.has_value());
  EXPECT_EQ(cut->to.y, 10);
  EXPECT_FALSE(VisiblePart(framed, drawing.segments[1]));
  EXPECT_TRUE(Shows(framed, drawing.points[0]));
  EXPECT_FALSE(Shows(framed, drawing.points[1]));

  // x = 0 is pixel 208, y = 0 pixel 297 and y = 10 the grid's top at pixel 14.
  const std::string svg = DrawingToSvg(drawing, 600, 600, axes);
  EXPECT_NE(svg.find("<line x1=\"208.00\" y1=\"297.00\" x2=\"208.00\" y2=\"14.00\"/>"),
            std::string::npos)
      << svg;
  EXPECT_EQ(CountOf(svg, "<line x1="), 1u);
  EXPECT_EQ(CountOf(svg, "<circle "), 1u);

  const std::string fitted = DrawingToSvg(drawing, 600, 600);
  EXPECT_EQ(CountOf(fitted, "<line x1="), 2u);
  EXPECT_EQ(CountOf(fitted, "<circle "), 2u);
}

}  // namespace
}  // namespace tortuval::drawing
