// Segment splines: the block form, the mirror with its four end cases, and drawing.

#include <gtest/gtest.h>

#include "model/Errors.h"
#include "segment/AM4_splin.h"
#include "tests/segment/SegmentTestSupport.h"

namespace mk {
namespace {

using test::Crlf;
using test::RecordingView;
using Call = RecordingView::Call;

std::unique_ptr<M4cp> Free(std::int32_t id, long double x, long double y = 0, long double z = 0) {
  auto p = std::make_unique<M4cp>();
  p->cpid = id, p->x = x, p->y = y, p->z = z;
  return p;
}

M4spline Spline(std::vector<std::unique_ptr<M4cp>> points) {
  M4spline spline;
  for (auto& p : points) spline.Append(std::move(p));
  return spline;
}

template <typename... P>
M4spline Spline(P... points) {
  std::vector<std::unique_ptr<M4cp>> list;
  (list.push_back(std::move(points)), ...);
  return Spline(std::move(list));
}

std::vector<std::int32_t> Ids(const M4spline& spline) {
  std::vector<std::int32_t> ids;
  for (const auto& p : spline.ControlPoints) ids.push_back(p->cpid);
  return ids;
}

TEST(M4splineText, CountLine) {
  M4spline empty;
  const std::string text = Crlf({"-4 words", "0 0 1"});
  EXPECT_EQ(empty.ReadFromLines(LineList::FromText(text), 0), 1u);
  EXPECT_EQ(empty.ControlPointCount(), 0u);
  LineWriter out;
  empty.WriteToLines(out);
  EXPECT_EQ(out.Lines(), std::vector<std::string>{"0"});

  M4spline spline;
  EXPECT_THROW(spline.ReadFromLines(LineList::FromText(Crlf({"two"})), 0), ConversionError);
}

TEST(M4splineText, HugeCountInShortFileFailsAtTheEnd) {
  M4spline spline;
  const std::string text = Crlf({"2000000000", "0 0 1", "1 0 0", "0", "0"});
  try {
    spline.ReadFromLines(LineList::FromText(text), 0);
    FAIL() << "no error";
  } catch (const ListIndexError& e) {
    EXPECT_EQ(e.index(), 5);
  }
  EXPECT_EQ(spline.ControlPointCount(), 1u);
}

TEST(M4splineMirror, OnePoint) {
  M4spline off = Spline(Free(1, 2, 1));
  auto result = off.MakeMirror(10);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(Ids(*result), std::vector<std::int32_t>{11});
  EXPECT_EQ(result->ControlPointAt(0).x, -2.0L);
  EXPECT_EQ(Ids(off), std::vector<std::int32_t>{1});

  M4spline on = Spline(Free(1, 0, 1));
  EXPECT_EQ(on.MakeMirror(10), nullptr);
  EXPECT_EQ(on.ControlPointCount(), 1u);
  EXPECT_FALSE(on.ControlPointAt(0).IsClosed());
  M4spline empty;
  EXPECT_EQ(empty.MakeMirror(10), nullptr);
}

TEST(M4splineMirror, FourEndCases) {
  M4spline neither = Spline(Free(1, 1), Free(2, 2), Free(3, 3));
  EXPECT_EQ(neither.PlaneEnds(), 0);
  auto made = neither.MakeMirror(10);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(Ids(*made), (std::vector<std::int32_t>{11, 12, 13}));

  M4spline first = Spline(Free(1, 0), Free(2, 2));
  EXPECT_EQ(first.PlaneEnds(), 1);
  EXPECT_EQ(first.MakeMirror(10), nullptr);
  EXPECT_EQ(Ids(first), (std::vector<std::int32_t>{12, 1, 2}));
  EXPECT_EQ(first.ControlPointAt(0).x, -2.0L);

  M4spline last = Spline(Free(1, 1), Free(2, 2), Free(3, 0));
  EXPECT_EQ(last.PlaneEnds(), 2);
  EXPECT_EQ(last.MakeMirror(10), nullptr);
  EXPECT_EQ(Ids(last), (std::vector<std::int32_t>{1, 2, 3, 12, 11}));

  M4spline both = Spline(Free(1, 0), Free(2, 1, 1), Free(3, 0, 2));
  EXPECT_EQ(both.PlaneEnds(), 3);
  EXPECT_EQ(both.MakeMirror(10), nullptr);
  EXPECT_EQ(Ids(both), (std::vector<std::int32_t>{1, 2, 3, 12}));
  EXPECT_TRUE(both.ControlPointAt(3).IsClosed());
  EXPECT_FALSE(both.ControlPointAt(2).IsClosed());
  // The closed polygon runs through both plane points and back to the first.
  RecordingView view;
  both.Draw(view);
  EXPECT_EQ(view.calls, (std::vector<Call>{{'M', 0, 0, 0}, {'L', 1, 1, 0}, {'L', 0, 2, 0},
                                           {'L', -1, 1, 0}, {'L', 0, 0, 0}}));
}

TEST(M4splineMirror, InnerPlanePointGetsATwin) {
  M4spline spline = Spline(Free(1, 0), Free(2, 1), Free(3, 0, 1), Free(4, 2));
  EXPECT_EQ(spline.MakeMirror(4), nullptr);
  EXPECT_EQ(Ids(spline), (std::vector<std::int32_t>{8, 7, 6, 1, 2, 3, 4}));
  EXPECT_EQ(spline.ControlPointAt(1).y, 1.0L);
  EXPECT_EQ(spline.ControlPointAt(1).x, 0.0L);
}

TEST(M4splineMirror, LiesOnPlaneLooksThroughAttachments) {
  auto target = Free(1, 0);
  auto attached = std::make_unique<M4cp>();
  attached->attached = 1, attached->at_cpid = 1, attached->cpid = 2;
  attached->x = 5;  // stored, but the target's position counts
  attached->at_cp = target.get();
  M4spline spline = Spline(std::move(target), std::move(attached));
  EXPECT_TRUE(spline.LiesOnPlane());
  EXPECT_EQ(spline.MakeMirror(2), nullptr);
  EXPECT_EQ(spline.ControlPointCount(), 2u);
}

TEST(M4splineDraw, LinesOnlyClosedWhenFlagged) {
  RecordingView view;
  M4spline().Draw(view);
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
