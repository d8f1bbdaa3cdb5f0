// Segment control points: the four-line text form, positions through attachments, snapping,
// ids and the mirrored twin.

#include <gtest/gtest.h>

#include <climits>

#include "core/util/Errors.h"
#include "core/util/NumberText.h"
#include "core/seg/SegmentControlPoint.h"
#include "tests/seg/SegmentTestSupport.h"

namespace mk {
namespace {

using test::Crlf;

SegmentControlPoint ReadPoint(const std::vector<std::string>& lines, std::size_t* next = nullptr) {
  SegmentControlPoint point;
  const std::size_t after = point.ReadFromLines(LineList::FromText(Crlf(lines)), 0);
  if (next) *next = after;
  return point;
}

std::vector<std::string> Written(const SegmentControlPoint& point) {
  LineWriter out;
  point.WriteToLines(out);
  return out.Lines();
}

TEST(SegmentControlPointText, ReadsFreeAndAttachedPoints) {
  std::size_t next = 0;
  const SegmentControlPoint free_point = ReadPoint({"0 0 5 77 junk", "1.25 0.5 -2", "0", "0.1 0 0.3"}, &next);
  EXPECT_EQ(next, 4u);
  EXPECT_EQ(free_point.cpid, 5);
  EXPECT_EQ(free_point.attached, 0);
  EXPECT_EQ(free_point.at_cpid, 0);
  EXPECT_EQ(free_point.x, 1.25);
  EXPECT_EQ(free_point.z, -2.0);
  EXPECT_TRUE(free_point.Line3Default());
  EXPECT_FALSE(free_point.Line4Default());
  EXPECT_EQ(free_point.line4[2], StrToExtended("0.3"));

  // An attached point's second line holds only the target id; its own position is zero.
  const SegmentControlPoint attached = ReadPoint({"0 1 6", "5 9 9", "0", "0"});
  EXPECT_EQ(attached.at_cpid, 5);
  EXPECT_EQ(attached.x, 0.0);
  EXPECT_EQ(attached.at_cp, nullptr);
  EXPECT_EQ(Written(attached), (std::vector<std::string>{"0 1 6", "5", "0", "0", "attach_obj=nil"}));
}

TEST(SegmentControlPointText, AttachedMeansExactlyOne) {
  const SegmentControlPoint point = ReadPoint({"0 2 6", "1 2 3", "0", "0"});
  EXPECT_FALSE(point.IsAttached());
  EXPECT_EQ(point.y, 2.0);
  EXPECT_EQ(Written(point), (std::vector<std::string>{"0 2 6", "1 2 3", "0", "0"}));
}

TEST(SegmentControlPointText, TripleLineRules) {
  // Three zeros are a present triple; any single word, the empty line included, is none.
  EXPECT_EQ(Written(ReadPoint({"0 0 1", "1 0 0", "0 0 0", "7"}))[2], "0 0 0");
  EXPECT_EQ(Written(ReadPoint({"0 0 1", "1 0 0", "", "abc"}))[3], "0");
  // A word past the last yields the last one.
  const SegmentControlPoint two_words = ReadPoint({"0 0 1", "1 0 0", "1 2", "0"});
  EXPECT_EQ(two_words.line3, (std::array<Extended, 3>{1, 2, 2}));
  EXPECT_EQ(Written(two_words)[2], "1 2 2");
  // A trailing blank makes a second, empty word.
  try {
    ReadPoint({"0 0 1", "1 0 0", "0 ", "0"});
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_EQ(e.kind(), ConversionError::Kind::Real);
    EXPECT_EQ(e.word(), "");
  }
}

TEST(SegmentControlPointText, FlagWordWithTopBitIsPlainNegativeDecimal) {
  const SegmentControlPoint point = ReadPoint({"-2147483648 0 3", "1 0 0", "0", "0"});
  EXPECT_EQ(point.cptype, INT32_MIN);
  EXPECT_FALSE(point.IsClosed());
  EXPECT_EQ(Written(point)[0], "-2147483648 0 3");
  SegmentControlPoint closed = point;
  closed.SetClosed();
  EXPECT_TRUE(closed.IsClosed());
  EXPECT_EQ(Written(closed)[0], "-2147483644 0 3");
}

TEST(SegmentControlPointText, NilLineIsSkippedOnlyAfterAnAttachedPoint) {
  std::size_t next = 0;
  const std::vector<std::string> attached{"0 1 2", "9", "0", "0", "attach_obj=nil", "x"};
  ReadPoint(attached, &next);
  EXPECT_EQ(next, 5u);
  const std::vector<std::string> near_miss{"0 1 2", "9", "0", "0", "attach_obj=nil "};
  ReadPoint(near_miss, &next);
  EXPECT_EQ(next, 4u);
  const std::vector<std::string> free_point{"0 0 2", "9 0 0", "0", "0", "attach_obj=nil"};
  ReadPoint(free_point, &next);
  EXPECT_EQ(next, 4u);
}

TEST(SegmentControlPointText, ErrorsNameTheWordOrTheLine) {
  try {
    ReadPoint({"0 0  5", "1 0 0", "0", "0"});
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_EQ(e.kind(), ConversionError::Kind::Integer);
    EXPECT_EQ(e.word(), "");
  }
  try {
    ReadPoint({"0 0 5", "1 zz 0", "0", "0"});
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_EQ(e.kind(), ConversionError::Kind::Real);
    EXPECT_EQ(e.word(), "zz");
  }
  try {
    ReadPoint({"0 0 5", "1 0 0", "0"});
    FAIL() << "no error";
  } catch (const ListIndexError& e) {
    EXPECT_EQ(e.index(), 3);
  }
}

TEST(SegmentControlPointPosition, ChainEndsAtFirstFreePoint) {
  SegmentControlPoint free_point, middle, top;
  free_point.x = 3, free_point.y = 4, free_point.z = 5;
  free_point.cpid = 1;
  middle.attached = 1, middle.at_cpid = 1, middle.cpid = 2;
  top.attached = 1, top.at_cpid = 2, top.cpid = 3;
  const LargeVector<SegmentControlPoint*> all{&top, &middle, &free_point};
  for (SegmentControlPoint* p : all) p->ResolveAttach(all);
  EXPECT_EQ(top.at_cp, &middle);
  EXPECT_EQ(top.GetX(), 3.0);
  EXPECT_EQ(top.GetY(), 4.0);
  EXPECT_EQ(top.GetZ(), 5.0);
  EXPECT_EQ(top.x, 0.0);
  EXPECT_FALSE(top.IsOnPlane());
  // The anchors worked out at once give the same answers.
  EXPECT_TRUE(ResolveAnchors(all).empty());
  EXPECT_EQ(&top.Anchor(), &free_point);
  EXPECT_EQ(&middle.Anchor(), &free_point);
}

TEST(SegmentControlPointPosition, MissingTargetAndCyclesAnswerStoredPositions) {
  SegmentControlPoint lost, a, b, tail;
  lost.attached = 1, lost.at_cpid = 99, lost.x = 7, lost.cpid = 1;
  a.attached = 1, a.at_cpid = 3, a.x = 10, a.cpid = 2;
  b.attached = 1, b.at_cpid = 2, b.x = 20, b.cpid = 3;
  tail.attached = 1, tail.at_cpid = 3, tail.x = 30, tail.cpid = 4;
  const LargeVector<SegmentControlPoint*> all{&lost, &a, &b, &tail};
  for (SegmentControlPoint* p : all) p->ResolveAttach(all);
  EXPECT_EQ(lost.at_cp, nullptr);
  const auto walked = [&] {
    std::vector<double> xs;
    for (SegmentControlPoint* p : all) xs.push_back(p->GetX().ToDouble());
    return xs;
  };
  // The walk from a point of the cycle comes back to itself; the tail meets b again.
  const std::vector<double> expected{7, 10, 20, 20};
  EXPECT_EQ(walked(), expected);
  const auto cycles = ResolveAnchors(all);
  ASSERT_EQ(cycles.size(), 1u);
  EXPECT_EQ(cycles[0], (std::vector<std::int32_t>{2, 3}));
  EXPECT_EQ(walked(), expected);

  SegmentControlPoint self;
  self.attached = 1, self.at_cpid = 5, self.cpid = 5, self.y = 2;
  self.ResolveAttach(LargeVector<SegmentControlPoint*>{&self});
  EXPECT_EQ(self.GetY(), 2.0);
}

TEST(SegmentControlPointPosition, MillionLongChainNeedsNoStack) {
  std::vector<SegmentControlPoint> points(1000000);
  LargeVector<SegmentControlPoint*> all;
  for (std::size_t i = 0; i < points.size(); ++i) {
    points[i].cpid = static_cast<std::int32_t>(i);
    if (i > 0) points[i].attached = 1, points[i].at_cp = &points[i - 1];
    all.push_back(&points[i]);
  }
  points[0].x = 6;
  EXPECT_EQ(points.back().GetX(), 6.0);  // the walk, without anchors
  points[0].attached = 1;
  points[0].at_cp = &points.back();  // now one big cycle
  EXPECT_EQ(points.back().GetX(), 0.0);
  EXPECT_EQ(ResolveAnchors(all).size(), 1u);
  EXPECT_EQ(points[0].GetX(), 6.0);
}

TEST(SegmentControlPointSnap, StrictlyInsideTheToleranceOnly) {
  SegmentControlPoint p;
  p.x = StrToExtended("0.000001");
  EXPECT_FALSE(p.IsOnPlane());
  p.SnapToPlane(0.4);
  EXPECT_TRUE(p.IsOnPlane());
  p.x = StrToExtended("-0.3");
  p.SnapToPlane(0.4);
  EXPECT_EQ(p.x, 0.0);
  // Typed as exactly the tolerance: not inside it, though 0.4 is not the double 0.4.
  p.x = StrToExtended("0.4");
  p.SnapToPlane(StrToFloat("0.4"));
  EXPECT_EQ(p.x, StrToExtended("0.4"));
  p.x = StrToExtended("0.1");
  p.SnapToPlane(0);
  EXPECT_EQ(p.x, StrToExtended("0.1"));
  SegmentControlPoint attached;
  attached.attached = 1;
  attached.x = StrToExtended("0.1");
  attached.SnapToPlane(0.4);
  EXPECT_EQ(attached.x, StrToExtended("0.1"));
}

TEST(SegmentControlPointBounds, FreePointsWidenStrictly) {
  SegmentControlPoint p;
  p.x = -1, p.y = 5, p.z = 0.5;
  std::array<double, 3> min{0, 0, 0}, max{1, 1, 1};
  p.ExtendBounds(min, max);
  EXPECT_EQ(min, (std::array<double, 3>{-1, 0, 0}));
  EXPECT_EQ(max, (std::array<double, 3>{1, 5, 1}));
  SegmentControlPoint attached;
  attached.attached = 1;
  attached.x = -50;
  attached.ExtendBounds(min, max);
  EXPECT_EQ(min[0], -1);
}

TEST(SegmentControlPointIds, ReplaceNegateAndWrap) {
  SegmentControlPoint p;
  p.cpid = 5, p.at_cpid = 5;
  p.ReplaceId(5, -1);
  EXPECT_EQ(p.cpid, -1);
  EXPECT_EQ(p.at_cpid, -1);  // on a free point too
  p.ReplaceId(7, 3);
  EXPECT_EQ(p.cpid, -1);
  p.NegateIds();
  EXPECT_EQ(p.cpid, 1);
  p.cpid = INT32_MIN;
  p.NegateIds();
  EXPECT_EQ(p.cpid, INT32_MIN);
  p.cpid = INT32_MAX;
  EXPECT_EQ(p.MirrorCopy(1)->cpid, INT32_MIN);
}

TEST(SegmentControlPointTwin, CopiesAndMovesIds) {
  SegmentControlPoint p;
  p.cpid = 7, p.x = 2, p.y = 1;
  p.line3 = {1, 2, 3}, p.SetLine3Default(false);
  auto twin = p.MirrorCopy(10);
  twin->Reflect();
  EXPECT_EQ(twin->cpid, 17);
  EXPECT_EQ(twin->at_cpid, 0);
  EXPECT_EQ(twin->x, -2.0);
  EXPECT_EQ(twin->y, 1.0);
  EXPECT_EQ(twin->line3, p.line3);
  EXPECT_FALSE(twin->Line3Default());

  SegmentControlPoint target, attached;
  target.cpid = 1;
  attached.attached = 1, attached.at_cpid = 1, attached.cpid = 2, attached.cptype = 4;
  attached.ResolveAttach(LargeVector<SegmentControlPoint*>{&target});
  // Target on the plane: the twin shares it.
  auto on_plane = attached.MirrorCopy(10);
  EXPECT_EQ(on_plane->at_cpid, 1);
  EXPECT_EQ(on_plane->at_cp, nullptr);
  EXPECT_EQ(on_plane->cptype, 4);
  target.x = 0.5;
  EXPECT_EQ(attached.MirrorCopy(10)->at_cpid, 11);
}

TEST(SegmentControlPointResolve, FirstMatchInListOrderAndFreePointsUntouched) {
  SegmentControlPoint first, second, attached, free_point;
  first.cpid = second.cpid = 4;
  attached.attached = 1, attached.at_cpid = 4;
  free_point.at_cpid = 4;
  const LargeVector<SegmentControlPoint*> all{&attached, &free_point, &first, &second};
  attached.ResolveAttach(all);
  free_point.ResolveAttach(all);
  EXPECT_EQ(attached.at_cp, &first);
  EXPECT_EQ(free_point.at_cp, nullptr);
  SegmentPointIndex index{{4, &second}};
  attached.ResolveAttach(index);
  EXPECT_EQ(attached.at_cp, &second);
  attached.ResolveAttach(SegmentPointIndex{});
  EXPECT_EQ(attached.at_cp, nullptr);
}

}  // namespace
}  // namespace mk
