// Which labels a redraw may leave out: only those wholly under later ones or off the image, and
// the second pass of a redraw keeps every other call as it came.

#include <gtest/gtest.h>

#include "core/view/LabelOcclusion.h"
#include "core/view/LabelPasses.h"
#include "view/RecordingCanvas.h"

namespace mk {
namespace {

/// A label that paints and reaches exactly a box of the given size from its corner.
LabelExtent Box(int width, int height) {
  return {{0, 0, width, height}, {0, 0, width, height}};
}

TEST(LabelOcclusion, OnlyLabelsWhollyUnderLaterOnesOrOffTheImageAreHidden) {
  LabelOcclusion labels(100, 50);
  labels.Add({10, 10}, Box(20, 10));    // 0: under 1
  labels.Add({5, 5}, Box(30, 20));      // 1: on top of 0, partly under 2
  labels.Add({20, 10}, Box(30, 20));    // 2
  labels.Add({200, 10}, Box(20, 10));   // 3: off the image
  labels.Add({95, 45}, Box(20, 10));    // 4: partly off, on top
  labels.Add({10, 10}, std::nullopt);   // 5: unknown extent: drawn, and it hides nothing
  labels.Add({-30, -30}, Box(31, 31));  // 6: one pixel on the image
  EXPECT_EQ(labels.VisibleLabels(),
            (std::vector<bool>{false, true, true, false, true, true, true}));
}

TEST(LabelOcclusion, ALabelIsHiddenOnlyWhereLaterBackgroundsSurelyPaint) {
  // The later label paints less than it reaches: the one below shows in the gap.
  LabelOcclusion labels(100, 50);
  labels.Add({10, 10}, Box(10, 10));
  labels.Add({10, 10}, LabelExtent{{1, 1, 10, 10}, {0, 0, 10, 10}});
  EXPECT_EQ(labels.VisibleLabels(), (std::vector<bool>{true, true}));
  // Two later labels side by side hide it together; word edges inside the box don't matter.
  LabelOcclusion wide(200, 50);
  wide.Add({60, 0}, Box(10, 5));
  wide.Add({50, 0}, Box(14, 5));
  wide.Add({64, 0}, Box(70, 5));
  EXPECT_EQ(wide.VisibleLabels(), (std::vector<bool>{false, true, true}));
}

/// A canvas whose labels are 10 x 10 boxes, recording what reaches it.
class MeasuringCanvas : public testing::RecordingCanvas {
 public:
  std::optional<LabelExtent> MeasureLabel(std::string_view, int) override { return Box(10, 10); }
  void BreakLine() override { ++breaks; }
  int breaks = 0;
};

/// One drawing as a model would give it, for either pass.
void DrawSample(Canvas& canvas) {
  canvas.SetPenColor(7);
  canvas.LineTo(50, 50);
  canvas.TextOut(20, 20, "1", 9, 8);  // hidden by the next
  canvas.TextOut(20, 20, "22", 9, 8);
  canvas.MoveTo(1, 1);
  canvas.FillRect(0, 0, 5, 5, 3);
  canvas.LineTo(2, 2);
}

TEST(LabelPasses, TheSurveyPaintsNothingAndTheFilterTurnsHiddenLabelsIntoLineBreaks) {
  MeasuringCanvas target;
  target.MoveTo(3, 4);
  LabelSurvey survey(target, 100, 100);
  EXPECT_EQ(survey.PenPos(), (PixelPoint{3, 4}));
  DrawSample(survey);
  EXPECT_EQ(survey.PenPos(), (PixelPoint{2, 2}));
  EXPECT_EQ(target.calls, 1);  // nothing reaches the target in the first pass

  HiddenLabelFilter filter(target, survey.VisibleLabels());
  DrawSample(filter);
  ASSERT_EQ(target.labels.size(), 1u);
  EXPECT_EQ(target.labels[0].text, "22");
  EXPECT_EQ(target.labels[0].colour, 9u);
  EXPECT_EQ(target.labels[0].points, 8);
  EXPECT_EQ(target.breaks, 1);
  ASSERT_EQ(target.segments.size(), 2u);
  EXPECT_EQ(target.segments[0].from, (PixelPoint{3, 4}));
  EXPECT_EQ(target.segments[0].colour, 7u);
  EXPECT_EQ(target.segments[1].from, (PixelPoint{1, 1}));
  ASSERT_EQ(target.fills.size(), 1u);
  EXPECT_EQ(target.fills[0].right, 5);
  // A label the survey never met is written rather than lost.
  filter.TextOut(0, 0, "3", 9, 8);
  EXPECT_EQ(target.labels.size(), 2u);
}

}  // namespace
}  // namespace mk
