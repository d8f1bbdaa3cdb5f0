// Segment splines: the block form, the mirror with its four end cases, and drawing.

#include <gtest/gtest.h>

#include <utility>

#include "core/util/Errors.h"
#include "core/seg/SegmentSpline.h"
#include "tests/seg/SegmentTestSupport.h"

namespace mk {
namespace {

using test::Crlf;
using test::RecordingView;
using Call = RecordingView::Call;

std::unique_ptr<SegmentControlPoint> Free(std::int32_t id, double x, double y = 0, double z = 0) {
  auto p = std::make_unique<SegmentControlPoint>();
  p->cpid = id, p->x = x, p->y = y, p->z = z;
  return p;
}

SegmentSpline Spline(std::vector<std::unique_ptr<SegmentControlPoint>> points) {
  SegmentSpline spline;
  for (auto& p : points) spline.Append(std::move(p));
  return spline;
}

template <typename... P>
SegmentSpline Spline(P... points) {
  std::vector<std::unique_ptr<SegmentControlPoint>> list;
  (list.push_back(std::move(points)), ...);
  return Spline(std::move(list));
}

std::vector<std::int32_t> Ids(const SegmentSpline& spline) {
  std::vector<std::int32_t> ids;
  for (const auto& p : spline.ControlPoints) ids.push_back(p->cpid);
  return ids;
}

/// The closed flags of the first and the last point: only a spline whose both ends lie on the
/// plane becomes a loop, whichever end case the mirror joins by.
std::pair<bool, bool> ClosedEnds(const SegmentSpline& spline) {
  return {spline.ControlPoints.front()->IsClosed(), spline.ControlPoints.back()->IsClosed()};
}
constexpr std::pair<bool, bool> kOpen{false, false};

TEST(SegmentSplineText, CountLine) {
  SegmentSpline empty;
  const std::string text = Crlf({"-4 words", "0 0 1"});
  EXPECT_EQ(empty.ReadFromLines(LineList::FromText(text), 0), 1u);
  EXPECT_EQ(empty.ControlPointCount(), 0u);
  LineWriter out;
  empty.WriteToLines(out);
  EXPECT_EQ(out.Lines(), std::vector<std::string>{"0"});

  SegmentSpline spline;
  EXPECT_THROW(spline.ReadFromLines(LineList::FromText(Crlf({"two"})), 0), ConversionError);
}

TEST(SegmentSplineText, HugeCountInShortFileFailsAtTheEnd) {
  SegmentSpline spline;
  const std::string text = Crlf({"2000000000", "0 0 1", "1 0 0", "0", "0"});
  try {
    spline.ReadFromLines(LineList::FromText(text), 0);
    FAIL() << "no error";
  } catch (const ListIndexError& e) {
    EXPECT_EQ(e.index(), 5);
  }
  EXPECT_EQ(spline.ControlPointCount(), 1u);
}

TEST(SegmentSplineMirror, OnePoint) {
  SegmentSpline off = Spline(Free(1, 2, 1));
  auto result = off.MakeMirror(10);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(Ids(*result), std::vector<std::int32_t>{11});
  EXPECT_EQ(result->ControlPointAt(0).x, -2.0);
  EXPECT_EQ(Ids(off), std::vector<std::int32_t>{1});

  SegmentSpline on = Spline(Free(1, 0, 1));
  EXPECT_EQ(on.MakeMirror(10), nullptr);
  EXPECT_EQ(on.ControlPointCount(), 1u);
  EXPECT_FALSE(on.ControlPointAt(0).IsClosed());
  SegmentSpline empty;
  EXPECT_EQ(empty.MakeMirror(10), nullptr);
}

TEST(SegmentSplineMirror, FourEndCases) {
  SegmentSpline neither = Spline(Free(1, 1), Free(2, 2), Free(3, 3));
  EXPECT_EQ(neither.EndsOnPlane(), PlaneEnds::None);
  auto made = neither.MakeMirror(10);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(Ids(*made), (std::vector<std::int32_t>{11, 12, 13}));
  EXPECT_EQ(ClosedEnds(neither), kOpen);
  EXPECT_EQ(ClosedEnds(*made), kOpen);

  SegmentSpline first = Spline(Free(1, 0), Free(2, 2));
  EXPECT_EQ(first.EndsOnPlane(), PlaneEnds::First);
  EXPECT_EQ(first.MakeMirror(10), nullptr);
  EXPECT_EQ(Ids(first), (std::vector<std::int32_t>{12, 1, 2}));
  EXPECT_EQ(first.ControlPointAt(0).x, -2.0);
  EXPECT_EQ(ClosedEnds(first), kOpen);

  SegmentSpline last = Spline(Free(1, 1), Free(2, 2), Free(3, 0));
  EXPECT_EQ(last.EndsOnPlane(), PlaneEnds::Last);
  EXPECT_EQ(last.MakeMirror(10), nullptr);
  EXPECT_EQ(Ids(last), (std::vector<std::int32_t>{1, 2, 3, 12, 11}));
  EXPECT_EQ(ClosedEnds(last), kOpen);

  SegmentSpline both = Spline(Free(1, 0), Free(2, 1, 1), Free(3, 0, 2));
  EXPECT_EQ(both.EndsOnPlane(), PlaneEnds::Both);
  EXPECT_EQ(both.MakeMirror(10), nullptr);
  EXPECT_EQ(Ids(both), (std::vector<std::int32_t>{1, 2, 3, 12}));
  EXPECT_EQ(ClosedEnds(both), (std::pair<bool, bool>{false, true}));
  EXPECT_FALSE(both.ControlPointAt(2).IsClosed());
  // The closed polygon runs through both plane points and back to the first.
  RecordingView view;
  both.Draw(view);
  EXPECT_EQ(view.calls, (std::vector<Call>{{'M', 0, 0, 0}, {'L', 1, 1, 0}, {'L', 0, 2, 0},
                                           {'L', -1, 1, 0}, {'L', 0, 0, 0}}));
}

TEST(SegmentSplineMirror, InnerPlanePointGetsATwin) {
  SegmentSpline spline = Spline(Free(1, 0), Free(2, 1), Free(3, 0, 1), Free(4, 2));
  EXPECT_EQ(spline.MakeMirror(4), nullptr);
  EXPECT_EQ(Ids(spline), (std::vector<std::int32_t>{8, 7, 6, 1, 2, 3, 4}));
  EXPECT_EQ(spline.ControlPointAt(1).y, 1.0);
  EXPECT_EQ(spline.ControlPointAt(1).x, 0.0);
}

TEST(SegmentSplineMirror, LiesOnPlaneLooksThroughAttachments) {
  auto target = Free(1, 0);
  auto attached = std::make_unique<SegmentControlPoint>();
  attached->attached = 1, attached->at_cpid = 1, attached->cpid = 2;
  attached->x = 5;  // stored, but the target's position counts
  attached->at_cp = target.get();
  SegmentSpline spline = Spline(std::move(target), std::move(attached));
  EXPECT_TRUE(spline.LiesOnPlane());
  EXPECT_EQ(spline.MakeMirror(2), nullptr);
  EXPECT_EQ(spline.ControlPointCount(), 2u);
}

TEST(SegmentSplineDraw, LinesOnlyClosedWhenFlagged) {
  RecordingView view;
  SegmentSpline().Draw(view);
  EXPECT_TRUE(view.calls.empty());

  auto single = Free(1, 1, 2, 3);
  single->SetClosed();
  Spline(std::move(single)).Draw(view);
  EXPECT_EQ(view.calls, (std::vector<Call>{{'M', 1, 2, 3}}));

  view.calls.clear();
  auto first = Free(1, 1);
  first->SetClosed();
  Spline(std::move(first), Free(2, 2), Free(3, 3)).Draw(view);
  EXPECT_EQ(view.calls,
            (std::vector<Call>{{'M', 1, 0, 0}, {'L', 2, 0, 0}, {'L', 3, 0, 0}, {'L', 1, 0, 0}}));

  view.calls.clear();
  Spline(Free(1, 1), Free(2, 2)).Draw(view);
  EXPECT_EQ(view.calls, (std::vector<Call>{{'M', 1, 0, 0}, {'L', 2, 0, 0}}));
  EXPECT_FALSE(Spline(Free(1, 1), Free(2, 2)).IsClosedLoop());
}

}  // namespace
}  // namespace mk
