#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/document/Document.h"
#include "core/document/DocumentView.h"
#include "view/RecordingCanvas.h"

namespace mk {
namespace {

using testing::RecordingCanvas;
using testing::Segment;

/// A document with given bounds that draws a fixed polyline with one label in the middle.
class FakeDocument : public Document {
 public:
  explicit FakeDocument(std::array<long double, 6> bounds) : bounds_(bounds) {}
  std::size_t LoadFromLines(const LineList&, std::size_t index) override { return index; }
  void SaveToLines(LineWriter&) const override {}
  DockStatistics Dock(double, DockReport*) override { return {}; }
  long double GetBound(int index) const override {
    return index >= 0 && index < 6 ? bounds_[static_cast<std::size_t>(index)] : 100;
  }
  void Draw(View3D& view, PointIds) const override {
    ++draws;
    view.MoveTo3D(0, 0, 0);
    view.LineTo3D(1, 1, 1);
  }
  void VisitPoints(PointVisitor&) const override {}
  mutable int draws = 0;

 private:
  std::array<long double, 6> bounds_;
};

struct ViewOn {
  ViewOn(int width, int height) { view.SetCanvas(&canvas, width, height); }
  RecordingCanvas canvas;
  ProjectionView view;
};

TEST(ProjectionViewRange, FourHundredByTwoHundredFitsTheHeight) {
  ViewOn v(400, 200);
  v.view.SetRange(-100, 100, 100, -100);
  EXPECT_DOUBLE_EQ(static_cast<double>(v.view.LeftEdge()), -110.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(v.view.TopEdge()), 110.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(v.view.RightEdge()), 110.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(v.view.BottomEdge()), -110.0);
  EXPECT_NEAR(static_cast<double>(v.view.Scale()), 200.0 / 220.0, 1e-15);
  EXPECT_EQ(v.view.OriginX(), 200);
  EXPECT_EQ(v.view.OriginY(), 100);
}

TEST(ProjectionViewRange, WidthFitWhenTheImageIsNarrow) {
  ViewOn v(100, 400);
  v.view.SetRange(-100, 100, 100, -100);
  EXPECT_NEAR(static_cast<double>(v.view.Scale()), 100.0 / 220.0, 1e-15);
  EXPECT_EQ(v.view.OriginX(), 50);
  EXPECT_EQ(v.view.OriginY(), 200);
}

TEST(ProjectionViewRange, ModelWhollyRightOfThePlaneKeepsAThinLeftMargin) {
  ViewOn v(400, 300);
  v.view.SetRange(0, 30, 50, -20);
  EXPECT_DOUBLE_EQ(static_cast<double>(v.view.LeftEdge()), -0.1);
  EXPECT_DOUBLE_EQ(static_cast<double>(v.view.RightEdge()), 55.0);
  v.view.DrawGrid(10);
  // The green axis is the plane X=0 and stands at the left border of the picture.
  const auto axis = v.canvas.SegmentsIn(kVerticalAxisColour);
  ASSERT_EQ(axis.size(), 1u);
  EXPECT_EQ(axis[0].from.x, 1);  // round(0.1 / 55.1 * 400) = round(0.73)
  EXPECT_EQ(axis[0].to.x, 1);
  EXPECT_EQ(v.view.OriginX(), 1);
}

TEST(ProjectionViewRange, AllZeroBoundsGiveATenthEachWay) {
  ViewOn v(200, 200);
  v.view.SetRange(0, 0, 0, 0);
  EXPECT_DOUBLE_EQ(static_cast<double>(v.view.LeftEdge()), -0.1);
  EXPECT_DOUBLE_EQ(static_cast<double>(v.view.TopEdge()), 0.1);
  EXPECT_DOUBLE_EQ(static_cast<double>(v.view.RightEdge()), 0.1);
  EXPECT_DOUBLE_EQ(static_cast<double>(v.view.BottomEdge()), -0.1);
  EXPECT_NEAR(static_cast<double>(v.view.Scale()), 1000.0, 1e-9);
  EXPECT_EQ(v.view.OriginX(), 100);
  EXPECT_EQ(v.view.OriginY(), 100);
}

TEST(ProjectionViewRange, NewViewComputesNothingUntilBound) {
  ProjectionView view;
  EXPECT_EQ(view.Scale(), 0);
  EXPECT_EQ(view.Width(), 100);
  EXPECT_EQ(view.Direction(), kFrontView);
  EXPECT_EQ(view.LeftEdge(), -100);
  // Drawing without a canvas is harmless.
  view.MoveTo3D(1, 2, 3);
  view.LineTo3D(4, 5, 6);
  view.DrawGrid(10);
}

struct ProjectionCase {
  int direction;
  double h, v;
};

class MscreenProjection : public ::testing::TestWithParam<ProjectionCase> {};

TEST_P(MscreenProjection, PointFiveTwoSeven) {
  const ProjectionCase c = GetParam();
  ViewOn v(220, 220);
  v.view.SetRange(-100, 100, 100, -100);  // scale 1, origin (110, 110)
  v.view.SetDirection(c.direction);
  v.view.MoveTo3D(5, 2, 7);
  EXPECT_EQ(v.view.ProjectedH(), c.h);
  EXPECT_EQ(v.view.ProjectedV(), c.v);
  ASSERT_EQ(v.canvas.moves.size(), 1u);
  EXPECT_EQ(v.canvas.moves[0].x, 110 + static_cast<int>(c.h));
  // Up in the model is up on the screen.
  EXPECT_EQ(v.canvas.moves[0].y, 110 - static_cast<int>(c.v));
}

INSTANTIATE_TEST_SUITE_P(Directions, MscreenProjection,
                         ::testing::Values(ProjectionCase{kFrontView, 5, 2},
                                           ProjectionCase{kLeftView, 7, 2},
                                           ProjectionCase{kTopView, 5, 7},
                                           ProjectionCase{3, 5, 7},
                                           ProjectionCase{-1, 5, 7}));

TEST(ProjectionViewDrawing, LabelDoesNotBreakThePolyline) {
  ViewOn v(220, 220);
  v.view.SetRange(-100, 100, 100, -100);
  v.view.Clear(kBackgroundColour);
  v.view.SetPenColor(kModelColour);
  v.view.MoveTo3D(0, 0, 0);
  v.view.LineTo3D(10, 0, 0);
  v.view.TextOut3D("12", 50, 50, 0);
  v.view.LineTo3D(20, 10, 0);
  const auto lines = v.canvas.SegmentsIn(kModelColour);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].to, (PixelPoint{120, 110}));
  EXPECT_EQ(lines[1].from, lines[0].to);
  EXPECT_EQ(lines[1].to, (PixelPoint{130, 100}));
  ASSERT_EQ(v.canvas.labels.size(), 1u);
  const auto& label = v.canvas.labels[0];
  EXPECT_EQ(label.text, "12");
  EXPECT_EQ(label.at, (PixelPoint{160, 60}));
  EXPECT_EQ(label.colour, MakeRgb(0, 128, 0));
  EXPECT_EQ(label.points, 9);
  EXPECT_EQ(label.background, kBackgroundColour);
}

TEST(ProjectionViewDrawing, ClearFillsTheWholeImage) {
  ViewOn v(37, 21);
  v.view.Clear(MakeRgb(1, 2, 3));
  ASSERT_EQ(v.canvas.fills.size(), 1u);
  const auto& f = v.canvas.fills[0];
  EXPECT_EQ(f.left, 0);
  EXPECT_EQ(f.top, 0);
  EXPECT_EQ(f.right, 37);
  EXPECT_EQ(f.bottom, 21);
  EXPECT_EQ(f.colour, MakeRgb(1, 2, 3));
}

TEST(ProjectionViewRounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5L), 0.0L);
  EXPECT_EQ(RoundHalfEven(1.5L), 2.0L);
  EXPECT_EQ(RoundHalfEven(2.5L), 2.0L);
  EXPECT_EQ(RoundHalfEven(-0.5L), 0.0L);
  EXPECT_EQ(RoundHalfEven(-1.5L), -2.0L);
  EXPECT_EQ(RoundHalfEven(-2.5L), -2.0L);
  EXPECT_EQ(RoundHalfEven(2.4999L), 2.0L);
  EXPECT_EQ(RoundHalfEven(2.5001L), 3.0L);
  EXPECT_TRUE(std::isnan(RoundHalfEven(std::numeric_limits<long double>::quiet_NaN())));
}

TEST(ProjectionViewRounding, PixelsAtHalvesRoundToEven) {
  ViewOn v(220, 220);
  v.view.SetRange(-100, 100, 100, -100);  // scale exactly 1
  struct Case {
    long double h, v;
    PixelPoint pixel;
  };
  const Case cases[] = {
      {0.5L, 0.5L, {110, 110}},   {1.5L, 1.5L, {112, 108}}, {2.5L, 2.5L, {112, 108}},
      {-0.5L, -0.5L, {110, 110}}, {-1.5L, -2.5L, {108, 112}}, {3.5L, -3.5L, {114, 114}},
  };
  for (const Case& c : cases) {
    PixelPoint p;
    ASSERT_TRUE(v.view.PixelOf(c.h, c.v, p));
    EXPECT_EQ(p, c.pixel) << "h=" << static_cast<double>(c.h) << " v=" << static_cast<double>(c.v);
  }
}

TEST(ProjectionViewRounding, OriginAtAHalfRoundsToEven) {
  ViewOn a(401, 401);
  a.view.SetRange(-100, 100, 100, -100);  // 200.5 each way
  EXPECT_EQ(a.view.OriginX(), 200);
  EXPECT_EQ(a.view.OriginY(), 200);
  ViewOn b(403, 403);
  b.view.SetRange(-100, 100, 100, -100);  // 201.5
  EXPECT_EQ(b.view.OriginX(), 202);
  EXPECT_EQ(b.view.OriginY(), 202);
}

TEST(ProjectionViewEdgeCases, ZeroSizedImageDrawsNothing) {
  for (auto [w, h] : {std::pair{0, 100}, std::pair{100, 0}, std::pair{0, 0}, std::pair{-5, 10}}) {
    ViewOn v(w, h);
    v.view.SetRange(-100, 100, 100, -100);
    EXPECT_EQ(v.view.Scale(), 0);
    v.view.Clear(kBackgroundColour);
    v.view.DrawGrid(10);
    v.view.MoveTo3D(1, 1, 1);
    v.view.LineTo3D(2, 2, 2);
    v.view.TextOut3D("1", 1, 1, 1);
    EXPECT_TRUE(v.canvas.segments.empty());
    EXPECT_TRUE(v.canvas.fills.empty());
    EXPECT_TRUE(v.canvas.labels.empty());
  }
}

TEST(ProjectionViewEdgeCases, NotANumberIsSkippedAndTheNextLineStartsAfresh) {
  ViewOn v(220, 220);
  v.view.SetRange(-100, 100, 100, -100);
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  v.view.MoveTo3D(0, 0, 0);
  v.view.LineTo3D(nan, 0, 0);
  v.view.TextOut3D("x", nan, 0, 0);
  v.view.LineTo3D(10, 0, 0);
  v.view.LineTo3D(20, 0, 0);
  ASSERT_EQ(v.canvas.segments.size(), 1u);
  EXPECT_EQ(v.canvas.segments[0].from, (PixelPoint{120, 110}));
  EXPECT_EQ(v.canvas.segments[0].to, (PixelPoint{130, 110}));
  EXPECT_TRUE(v.canvas.labels.empty());
}

TEST(ProjectionViewEdgeCases, InfiniteValuesAreClampedNotUndefined) {
  ViewOn v(220, 220);
  v.view.SetRange(-100, 100, 100, -100);
  const long double inf = std::numeric_limits<long double>::infinity();
  v.view.MoveTo3D(0, 0, 0);
  v.view.LineTo3D(inf, -inf, 0);
  ASSERT_EQ(v.canvas.segments.size(), 1u);
  EXPECT_GT(v.canvas.segments[0].to.x, 1000000);
  EXPECT_GT(v.canvas.segments[0].to.y, 1000000);
  // A range with an infinite edge has no usable scale but draws the axes without trouble.
  v.view.SetRange(-inf, 100, 100, -100);
  v.view.DrawGrid(10);
  EXPECT_EQ(v.canvas.SegmentsIn(kGridColour).size(), 0u);
  EXPECT_EQ(v.canvas.SegmentsIn(kVerticalAxisColour).size(), 1u);
}

TEST(ProjectionViewGrid, LinesEveryStepThenTheAxes) {
  ViewOn v(209, 209);
  v.view.SetRange(-95, 95, 95, -95);  // edges +-104.5, scale 1
  v.view.DrawGrid(10);
  const auto grey = v.canvas.SegmentsIn(kGridColour);
  // 0..100 rightwards and 0..-100 leftwards, the same downwards and upwards: the line at 0 twice.
  ASSERT_EQ(grey.size(), 44u);
  // The origin is round(104.5) = 104 (halves to even); the top edge is row round(-104.5) + 104 = 0.
  for (int i = 0; i < 11; ++i) {
    EXPECT_EQ(grey[static_cast<std::size_t>(i)].from, (PixelPoint{104 + 10 * i, 0})) << i;
    EXPECT_EQ(grey[static_cast<std::size_t>(i)].to, (PixelPoint{104 + 10 * i, 208})) << i;
  }
  EXPECT_EQ(grey[11].from.x, 104);
  EXPECT_EQ(grey[21].from.x, 4);
  EXPECT_EQ(grey[22].from.y, 104);
  EXPECT_EQ(grey[32].from.y, 204);
  EXPECT_EQ(grey[33].from.y, 104);
  EXPECT_EQ(grey[43].from.y, 4);
  const auto green = v.canvas.SegmentsIn(kVerticalAxisColour);
  const auto red = v.canvas.SegmentsIn(kHorizontalAxisColour);
  ASSERT_EQ(green.size(), 1u);
  ASSERT_EQ(red.size(), 1u);
  EXPECT_EQ(green[0].from.x, 104);
  EXPECT_EQ(red[0].from.y, 104);
  EXPECT_EQ(v.canvas.segments.back().colour, kHorizontalAxisColour);  // the pen is left red
}

TEST(ProjectionViewGrid, HugeModelSkipsTheGridButKeepsTheAxes) {
  ViewOn v(1000, 800);
  v.view.SetRange(-1e9L, 1e9L, 1e9L, -1e9L);
  v.view.DrawGrid(10);
  EXPECT_EQ(v.canvas.SegmentsIn(kGridColour).size(), 0u);
  EXPECT_EQ(v.canvas.SegmentsIn(kVerticalAxisColour).size(), 1u);
  EXPECT_EQ(v.canvas.SegmentsIn(kHorizontalAxisColour).size(), 1u);
}

TEST(ProjectionViewGrid, LinesTwoPixelsApartStayAndCloserOnesGo) {
  ViewOn wide(220, 220);
  wide.view.SetRange(-500, 500, 500, -500);  // 0.2 px per unit: 2 px per 10 units
  wide.view.DrawGrid(10);
  EXPECT_GE(wide.canvas.SegmentsIn(kGridColour).size(), 220u);  // about 55 lines per loop
  ViewOn narrow(219, 219);
  narrow.view.SetRange(-500, 500, 500, -500);
  narrow.view.DrawGrid(10);
  EXPECT_EQ(narrow.canvas.SegmentsIn(kGridColour).size(), 0u);
}

TEST(ProjectionViewRedraw, BoundsPerDirection) {
  const FakeDocument doc({-1, -2, -3, 4, 5, 6});
  const ViewRange front = RangeForDirection(doc, kFrontView);
  EXPECT_EQ(front.h_min, -1);
  EXPECT_EQ(front.v_max, 5);
  EXPECT_EQ(front.h_max, 4);
  EXPECT_EQ(front.v_min, -2);
  const ViewRange left = RangeForDirection(doc, kLeftView);
  EXPECT_EQ(left.h_min, -3);
  EXPECT_EQ(left.v_max, 5);
  EXPECT_EQ(left.h_max, 6);
  EXPECT_EQ(left.v_min, -2);
  for (int direction : {static_cast<int>(kTopView), 7, -1}) {
    const ViewRange top = RangeForDirection(doc, direction);
    EXPECT_EQ(top.h_min, -1);
    EXPECT_EQ(top.v_max, 6);
    EXPECT_EQ(top.h_max, 4);
    EXPECT_EQ(top.v_min, -3);
  }
}

TEST(ProjectionViewRedraw, TopViewOfATallFlatModelUsesXAndZOnly) {
  const FakeDocument tall({-10, -1000, -5, 10, 1000, 5});
  ViewOn v(220, 220);
  RedrawView(v.view, kTopView, RangeForDirection(tall, kTopView), tall, PointIds::Hidden);
  EXPECT_NEAR(static_cast<double>(v.view.Scale()), 10.0, 1e-12);  // 220 / 22
  RedrawView(v.view, kFrontView, RangeForDirection(tall, kFrontView), tall, PointIds::Hidden);
  EXPECT_NEAR(static_cast<double>(v.view.Scale()), 0.1, 1e-12);  // 220 / 2200
}

TEST(ProjectionViewRedraw, BackgroundGridThenWhiteModel) {
  const FakeDocument doc({-10, -10, -10, 10, 10, 10});
  ViewOn v(100, 100);
  RedrawView(v.view, kFrontView, RangeForDirection(doc, kFrontView), doc, PointIds::Hidden);
  ASSERT_EQ(v.canvas.fills.size(), 1u);
  EXPECT_EQ(v.canvas.fills[0].colour, kBackgroundColour);
  EXPECT_EQ(doc.draws, 1);
  ASSERT_FALSE(v.canvas.segments.empty());
  const Segment& last = v.canvas.segments.back();
  EXPECT_EQ(last.colour, kModelColour);
  EXPECT_EQ(last.from, (PixelPoint{50, 50}));
}

}  // namespace
}  // namespace mk
