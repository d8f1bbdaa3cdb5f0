#include <gtest/gtest.h>

#include <cmath>

#include "core/view/ProjectionView.h"
#include "core/view/ViewZoom.h"
#include "view/RecordingCanvas.h"

namespace mk {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

ViewFrame Fit() { return FitFrame(WidenedEdges(-50, 40, 50, -40), kWidth, kHeight); }

/// The pixel a plane point lands on through the frame, as a projection view computes it.
PixelPoint PixelThrough(const ViewFrame& frame, PlanePoint p) {
  ProjectionView view;
  testing::RecordingCanvas canvas;
  view.SetCanvas(&canvas, kWidth, kHeight);
  view.SetFrame(frame);
  PixelPoint pixel;
  EXPECT_TRUE(view.PixelOf(p.h, p.v, pixel));
  return pixel;
}

TEST(ViewFrameFit, IsTheProjectionViewsOwnFit) {
  for (const auto& [w, h] : {std::pair{400, 300}, std::pair{101, 477}, std::pair{1, 1}}) {
    ProjectionView view;
    testing::RecordingCanvas canvas;
    view.SetCanvas(&canvas, w, h);
    view.SetRange(-3, 80, 120, -7);
    EXPECT_EQ(view.Frame(), FitFrame(view.Edges(), w, h)) << w << "x" << h;
  }
  EXPECT_EQ(FitFrame(WidenedEdges(-1, 1, 1, -1), 0, 10), ViewFrame{});
}

TEST(ViewFrameFit, PlanePointAtUndoesThePixelOfAPoint) {
  const ViewFrame fit = Fit();
  const PixelPoint pixel = PixelThrough(fit, {12.5, -7.25});
  const PlanePoint back = PlanePointAt(fit, pixel.x, pixel.y);
  EXPECT_NEAR(static_cast<double>(back.h), 12.5, 0.5 / static_cast<double>(fit.scale));
  EXPECT_NEAR(static_cast<double>(back.v), -7.25, 0.5 / static_cast<double>(fit.scale));
  const ViewEdges visible = VisibleEdges(fit, kWidth, kHeight);
  EXPECT_LT(visible.left, -50);
  EXPECT_GT(visible.right, 50);
  EXPECT_GT(visible.top, 40);
  EXPECT_LT(visible.bottom, -40);
}

TEST(ViewZoomState, StartsAtTheFitAndReturnsToIt) {
  ViewZoom zoom;
  const ViewFrame fit = Fit();
  EXPECT_TRUE(zoom.IsFit());
  EXPECT_EQ(zoom.FrameFor(fit, kWidth, kHeight), fit);
  // Leaving the fit without changing the factor or the middle draws the very same picture.
  zoom.PanBy(fit, kWidth, kHeight, 0, 0);
  EXPECT_FALSE(zoom.IsFit());
  EXPECT_EQ(zoom.FrameFor(fit, kWidth, kHeight), fit);
  zoom.ZoomAt(fit, kWidth, kHeight, 10, 10, 4);
  zoom.Fit();
  EXPECT_TRUE(zoom.IsFit());
  EXPECT_EQ(zoom.Factor(), 1.0L);
  EXPECT_EQ(zoom.FrameFor(fit, kWidth, kHeight), fit);
}

TEST(ViewZoomState, ZoomKeepsThePointUnderTheCursor) {
  ViewZoom zoom;
  const ViewFrame fit = Fit();
  const PlanePoint held = PlanePointAt(fit, 90, 230);
  for (int step = 0; step < 12; ++step) {
    zoom.ZoomAt(fit, kWidth, kHeight, 90, 230, step < 8 ? 1.25L : 0.8L);
    const ViewFrame frame = zoom.FrameFor(fit, kWidth, kHeight);
    const PlanePoint under = PlanePointAt(frame, 90, 230);
    // The origin is a whole pixel, so the point may move by half a pixel, but it never drifts.
    EXPECT_NEAR(static_cast<double>(under.h), static_cast<double>(held.h),
                0.51 / static_cast<double>(frame.scale));
    EXPECT_NEAR(static_cast<double>(under.v), static_cast<double>(held.v),
                0.51 / static_cast<double>(frame.scale));
  }
  EXPECT_NEAR(static_cast<double>(zoom.Factor()), std::pow(1.25, 8) * std::pow(0.8, 4), 1e-12);
  EXPECT_NEAR(static_cast<double>(zoom.FrameFor(fit, kWidth, kHeight).scale),
              static_cast<double>(fit.scale * zoom.Factor()), 1e-12);
}

TEST(ViewZoomState, FactorStaysWithinItsLimits) {
  ViewZoom zoom;
  const ViewFrame fit = Fit();
  for (int i = 0; i < 100; ++i) zoom.ZoomAt(fit, kWidth, kHeight, 0, 0, 10);
  EXPECT_EQ(zoom.Factor(), ViewZoom::kMaxFactor);
  for (int i = 0; i < 100; ++i) zoom.ZoomAt(fit, kWidth, kHeight, 0, 0, 0.1L);
  EXPECT_EQ(zoom.Factor(), ViewZoom::kMinFactor);
  const PlanePoint centre = zoom.Centre();
  for (long double bad : {0.0L, -2.0L, static_cast<long double>(NAN), static_cast<long double>(INFINITY)})
    zoom.ZoomAt(fit, kWidth, kHeight, 0, 0, bad);
  EXPECT_EQ(zoom.Factor(), ViewZoom::kMinFactor);
  EXPECT_EQ(zoom.Centre().h, centre.h);
}

TEST(ViewZoomState, DragMovesThePictureByThePixels) {
  ViewZoom zoom;
  const ViewFrame fit = Fit();
  zoom.ZoomAt(fit, kWidth, kHeight, 123, 45, 3);
  const ViewFrame before = zoom.FrameFor(fit, kWidth, kHeight);
  zoom.PanBy(fit, kWidth, kHeight, 37, -12);
  const ViewFrame after = zoom.FrameFor(fit, kWidth, kHeight);
  EXPECT_EQ(after.scale, before.scale);
  EXPECT_EQ(after.origin_x - before.origin_x, 37);
  EXPECT_EQ(after.origin_y - before.origin_y, -12);
}

TEST(ViewZoomState, CentredPointLandsInTheMiddleAtAnySize) {
  ViewZoom zoom;
  zoom.ZoomAt(Fit(), kWidth, kHeight, 0, 0, 2);
  for (const auto& [w, h] : {std::pair{400, 300}, std::pair{401, 299}}) {
    const ViewFrame fit = FitFrame(WidenedEdges(-50, 40, 50, -40), w, h);
    zoom.CentreOn(fit, w, h, {-20, 15});
    const PlanePoint middle = PlanePointAt(zoom.FrameFor(fit, w, h), w / 2.0L, h / 2.0L);
    const double pixel = 1 / static_cast<double>(fit.scale * zoom.Factor());
    EXPECT_NEAR(static_cast<double>(middle.h), -20, pixel);
    EXPECT_NEAR(static_cast<double>(middle.v), 15, pixel);
  }
  EXPECT_EQ(zoom.Factor(), 2.0L);
}

TEST(ViewZoomState, AFitThatShowsNothingIsLeftAlone) {
  ViewZoom zoom;
  const ViewFrame nothing = FitFrame(WidenedEdges(-1, 1, 1, -1), 0, 0);
  zoom.ZoomAt(nothing, 0, 0, 0, 0, 2);
  zoom.PanBy(nothing, 0, 0, 5, 5);
  zoom.CentreOn(nothing, 0, 0, {1, 1});
  EXPECT_TRUE(zoom.IsFit());
}

TEST(ProjectionViewFrame, GivenFrameReplacesTheFitButTheGridKeepsTheRange) {
  ProjectionView view;
  testing::RecordingCanvas canvas;
  view.SetCanvas(&canvas, kWidth, kHeight);
  view.SetRange(-50, 40, 50, -40);
  const ViewFrame fit = view.Frame();
  const ViewFrame zoomed{fit.scale * 2, 10, 20};
  view.SetFrame(zoomed);
  EXPECT_EQ(view.Frame(), zoomed);
  // A new range (a redraw) keeps the given frame.
  view.SetRange(-50, 40, 50, -40);
  EXPECT_EQ(view.Frame(), zoomed);
  view.DrawGrid(10);
  const auto axis = canvas.SegmentsIn(kVerticalAxisColour);
  ASSERT_EQ(axis.size(), 1u);
  EXPECT_EQ(axis[0].from.x, 10);
  EXPECT_EQ(axis[0].from.y, 20 - static_cast<int>(std::lround(static_cast<double>(44 * zoomed.scale))));
  view.SetFrame(std::nullopt);
  EXPECT_EQ(view.Frame(), fit);
}

}  // namespace
}  // namespace mk
