// The segment document: header, loading errors, the docking sequence and its figures, bounds,
// drawing and the workflow's use of it.

#include <gtest/gtest.h>

#include <climits>

#include "core/util/Errors.h"
#include "core/workflow/Workflow.h"
#include "tests/seg/SegmentTestSupport.h"

namespace mk {
namespace {

using test::Crlf;
using test::Header;
using test::LoadSegment;
using test::Saved;

std::vector<std::string> Point(const std::string& first, const std::string& second) {
  return {first, second, "0", "0"};
}

std::string Segment(const std::string& box, std::vector<std::vector<std::string>> splines) {
  std::vector<std::string> lines = Header(box, std::to_string(splines.size()));
  for (const auto& block : splines) lines.insert(lines.end(), block.begin(), block.end());
  return Crlf(lines);
}

std::vector<std::string> Block(std::vector<std::vector<std::string>> points) {
  std::vector<std::string> lines{std::to_string(points.size())};
  for (const auto& p : points) lines.insert(lines.end(), p.begin(), p.end());
  return lines;
}

// Ids 10, 20, 30, 40 in collection order, the last attached to 20, none on the plane.
std::string TenToForty() {
  return Segment("1 0 0 3 1 0", {Block({Point("0 0 10", "1 0 0"), Point("0 0 20", "2 1 0")}),
                                 Block({Point("0 0 30", "3 0 0"), Point("0 1 40", "20")})});
}

TEST(SegmentDocumentText, WriterFormRoundTripsLineForLine) {
  const std::string text = Crlf({"SCUL -3 0 2147483647 0 0 0", "-1", "-1.5 0 0 2 3.25 1E-5",
                                 "0.1 -2 1.5E20", " odd  line ", "", "3", "2", "4 0 1", "1 2 3",
                                 "0", "0 0 0", "-2147483648 1 2", "1", "1 2 2", "0", "0", "1",
                                 "0 1 3", "9", "0", "0", "attach_obj=nil"});
  EXPECT_EQ(Saved(*LoadSegment(text)), text);
}

TEST(SegmentDocumentText, NoSplines) {
  auto segment = LoadSegment(Segment("0 0 0 1 1 1", {}));
  test::RecordingBar bar;
  segment->progressBar = &bar;
  segment->Dock(0.4);
  EXPECT_TRUE(bar.positions.empty());
  test::RecordingView view;
  segment->Draw(view, PointIds::Hidden);
  EXPECT_TRUE(view.calls.empty());
  const auto lines = LineList::FromText(Saved(*segment));
  EXPECT_EQ(lines.Count(), 7u);
  EXPECT_EQ(lines.Get(6), "0");
}

struct BadInput {
  const char* name;
  std::vector<std::string> lines;
  bool conversion;  // else a list index error
  ConversionError::Kind kind = ConversionError::Kind::Integer;
  std::string word;
  std::int64_t index = 0;
};

TEST(SegmentDocumentText, BadInputGivesTheRightError) {
  const auto head = [](std::string count) { return Header("0 0 0 1 1 1", std::move(count)); };
  auto with = [&](std::string count, std::vector<std::string> rest) {
    auto lines = head(std::move(count));
    lines.insert(lines.end(), rest.begin(), rest.end());
    return lines;
  };
  using K = ConversionError::Kind;
  const std::vector<BadInput> cases{
      {"header word", {"SCUL x 0 2 0 0 0", "1"}, true, K::Integer, "x"},
      {"leading blank", {" SCUL 1 0 2", "1"}, true, K::Integer, "SCUL"},
      {"doubled blank in box", {"SCUL 1 0 2", "3", "0  0 0 1 1 1"}, true, K::Real, ""},
      {"spline count", with("one", {}), true, K::Integer, "one"},
      {"point count", with("1", {"1.5"}), true, K::Integer, "1.5"},
      {"empty id", with("1", {"1", "0 0 ", "1 0 0", "0", "0"}), true, K::Integer, ""},
      {"real", with("1", {"1", "0 0 1", "1 0 1e", "0", "0"}), true, K::Real, "1e"},
      {"short header", {"SCUL 1 0 2 0 0 0", "3", "0 0 0 1 1 1"}, false, K::Integer, "", 3},
      {"huge spline count", with("2000000000", {"0", "0"}), false, K::Integer, "", 9},
      {"huge point count", with("1", {"2000000000", "0 0 1", "1 0 0"}), false, K::Integer, "", 10},
      {"nil after free point", with("1", {"2", "0 0 1", "1 0 0", "0", "0", "attach_obj=nil"}),
       true, K::Integer, "attach_obj=nil"},
  };
  for (const BadInput& c : cases) {
    SCOPED_TRACE(c.name);
    SegmentDocument segment(nullptr);
    try {
      segment.LoadFromLines(LineList::FromText(Crlf(c.lines)), 0);
      ADD_FAILURE() << "no error";
    } catch (const ConversionError& e) {
      EXPECT_TRUE(c.conversion);
      EXPECT_EQ(e.kind(), c.kind);
      EXPECT_EQ(e.word(), c.word);
    } catch (const ListIndexError& e) {
      EXPECT_FALSE(c.conversion);
      EXPECT_EQ(e.index(), c.index);
    }
  }
}

TEST(SegmentDocumentText, ErrorKeepsWhatWasRead) {
  SegmentDocument segment(nullptr);
  const std::string text =
      Segment("0 0 0 1 1 1", {Block({Point("0 0 1", "1 0 0")}), Block({Point("0 0 2", "x 0 0")})});
  EXPECT_THROW(segment.LoadFromLines(LineList::FromText(text), 0), ConversionError);
  ASSERT_EQ(segment.SplineCount(), 2u);
  EXPECT_EQ(segment.SplineAt(0).ControlPointCount(), 1u);
  EXPECT_EQ(segment.SplineAt(1).ControlPointCount(), 0u);
}

TEST(SegmentDocumentDock, RenumbersAndFollowsAttachments) {
  auto segment = LoadSegment(TenToForty());
  EXPECT_EQ(segment->Renumber(), 4);
  LargeVector<SegmentControlPoint*> points;
  segment->CollectCps(points);
  ASSERT_EQ(points.size(), 4u);
  for (std::int32_t i = 0; i < 4; ++i) EXPECT_EQ(points[static_cast<std::size_t>(i)]->cpid, i + 1);
  EXPECT_EQ(points[3]->at_cpid, 2);
  EXPECT_EQ(points[3]->at_cp, points[1]);
}

TEST(SegmentDocumentDock, ProgressStatisticsAndTwins) {
  auto segment = LoadSegment(TenToForty());
  test::RecordingBar bar;
  segment->progressBar = &bar;
  const DockStatistics figures = segment->Dock(0.4);
  EXPECT_EQ(bar.positions, (std::vector<int>{2, 4, 6, 8, 9}));
  EXPECT_EQ(figures.cp_before, 4);
  EXPECT_EQ(figures.cp_after, 8);
  EXPECT_EQ(figures.splines_before, 2);
  EXPECT_EQ(figures.splines_after, 4);
  EXPECT_EQ(StatisticsLines(figures)[0], "Number of cp=4+4->8");
  EXPECT_EQ(StatisticsLines(figures)[1], "Number of spline=2+2->4");
  // New splines follow in reverse order of their sources; the attached twin finds twin 6.
  ASSERT_EQ(segment->SplineCount(), 4u);
  const SegmentSpline& twin_of_second = segment->SplineAt(2);
  EXPECT_EQ(twin_of_second.ControlPointAt(0).cpid, 7);
  EXPECT_EQ(twin_of_second.ControlPointAt(1).cpid, 8);
  EXPECT_EQ(twin_of_second.ControlPointAt(1).at_cpid, 6);
  EXPECT_EQ(twin_of_second.ControlPointAt(1).at_cp, &segment->SplineAt(3).ControlPointAt(1));
  EXPECT_EQ(twin_of_second.ControlPointAt(1).GetX(), -2.0);
}

TEST(SegmentDocumentDock, CyclesAreReported) {
  const std::string text =
      Segment("0 0 0 1 1 1", {Block({Point("0 0 1", "1 0 0"), Point("0 1 2", "3"),
                                     Point("0 1 3", "2"), Point("0 1 4", "4")})});
  WarningList warnings;
  SegmentDocument segment(nullptr, &warnings);
  segment.LoadFromLines(LineList::FromText(text), 0);
  segment.Dock(0.4);
  ASSERT_EQ(warnings.warnings.size(), 1u);
  EXPECT_EQ(warnings.warnings[0].kind, DockWarning::Kind::AttachCycle);
  // Point 2 and 3 in a cycle, 4 on itself; the twins of 2 and 3 refer to the plane points.
  EXPECT_EQ(warnings.warnings[0].ids, (std::vector<std::int32_t>{2, 3, 4}));
}

TEST(SegmentDocumentBounds, GetBound) {
  auto segment = LoadSegment(Segment("-1 -2 -3 4 5 6", {}));
  for (int k = 0; k < 6; ++k)
    EXPECT_EQ(segment->GetBound(k), std::vector<long double>({-1, -2, -3, 4, 5, 6})[static_cast<std::size_t>(k)]);
  for (int k : {6, -1, INT_MIN, INT_MAX}) EXPECT_EQ(segment->GetBound(k), 100.0L);
}

TEST(SegmentDocumentDraw, EverySplineInOrderThroughAttachments) {
  auto segment = LoadSegment(TenToForty());
  test::RecordingView view;
  segment->Draw(view, PointIds::Hidden);
  using Call = test::RecordingView::Call;
  EXPECT_EQ(view.calls, (std::vector<Call>{{'M', 1, 0, 0}, {'L', 2, 1, 0}, {'M', 3, 0, 0},
                                           {'L', 2, 1, 0}}));
  view.calls.clear();
  segment->Draw(view, PointIds::Shown);
  for (const auto& call : view.calls) EXPECT_NE(call.op, 'T');
}

}  // namespace
}  // namespace mk
