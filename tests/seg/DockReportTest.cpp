// The dock report of a ".seg" docking: every kind of entry a segment can have (segments know
// no hooks), with the docked ids and positions.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/document/DockReport.h"
#include "core/util/Extended.h"
#include "core/util/NumberText.h"
#include "seg/SegmentTestSupport.h"

namespace mk {
namespace {

using test::Crlf;
using test::Header;
using test::LoadSegment;
using Lines = std::vector<std::string>;

Lines Free(int id, const std::string& xyz, int flags = 0) {
  return {std::to_string(flags) + " 0 " + std::to_string(id), xyz, "0", "0"};
}
Lines Attached(int id, int target) { return {"0 1 " + std::to_string(id), std::to_string(target), "0", "0"}; }

std::string Segment(const std::vector<std::vector<Lines>>& splines) {
  Lines lines = Header("0 0 0 1 1 1", std::to_string(splines.size()));
  for (const auto& spline : splines) {
    lines.push_back(std::to_string(spline.size()));
    for (const Lines& point : spline) lines.insert(lines.end(), point.begin(), point.end());
  }
  return Crlf(lines);
}

DockReport Report(const std::string& text) {
  auto segment = LoadSegment(text);
  DockReport report;
  segment->Dock(0.4, &report);
  return report;
}

/// Ids are positions, as docking makes them.
std::string EveryEntry() {
  return Segment({
      {Free(1, "5 0 0"), Free(2, "-0.5 1 0"), Free(3, "6 0 0")},      // twinned
      {Free(4, "0.41 0 1"), Free(5, "3 0 1"), Free(6, "0.1 0 1")},    // last end
      {Free(7, "0 2 0"), Free(8, "4 2 0"), Free(9, "5 2 0")},         // first end
      {Free(10, "0 3 0"), Free(11, "4 3 0"), Free(12, "-0.2 3 0")},   // both ends
      {Free(13, "0 4 0"), Free(14, "0 4 1")},                         // on the plane
      {Free(15, "2 5 0"), Free(16, "3 5 0"), Free(17, "4 5 0", 4)},  // closed
      {Free(18, "7 6 0"), Attached(19, 99), Attached(20, 21), Attached(21, 20), Free(22, "8 6 0")},
  });
}

TEST(SegmentDockReport, SnapsNearMissesAndFatesWithDockedIds) {
  const DockReport r = Report(EveryEntry());
  ASSERT_EQ(r.snapped.size(), 2u);
  EXPECT_EQ(r.snapped[0].place.id, 6);
  EXPECT_EQ(r.snapped[0].old_x, 0.1);
  EXPECT_EQ(r.snapped[1].place.id, 12);
  EXPECT_EQ(r.snapped[1].old_x, -0.2);
  ASSERT_EQ(r.near_misses.size(), 2u);
  EXPECT_EQ(r.near_misses[0].place.id, 2);
  EXPECT_EQ(r.near_misses[0].kind, NearMissKind::Point);
  EXPECT_EQ(r.near_misses[1].place.id, 4);
  EXPECT_EQ(r.near_misses[1].kind, NearMissKind::SplineEnd);
  // As the report writes it: 0.41L itself has other digits where long double is not 80 bits.
  EXPECT_EQ(FloatToStr(Extended::FromLongDouble(r.near_misses[1].place.x)), "0.41");

  const std::vector<SplineFate> fates{
      SplineFate::Twinned,      SplineFate::ExtendedThroughLastEnd, SplineFate::ExtendedThroughFirstEnd,
      SplineFate::ClosedThroughBothEnds, SplineFate::OnPlane,       SplineFate::AlreadyClosed,
      SplineFate::Twinned};
  ASSERT_EQ(r.splines.size(), fates.size());
  for (std::size_t s = 0; s < fates.size(); ++s) EXPECT_EQ(r.splines[s].fate, fates[s]) << s;
  EXPECT_EQ(r.splines[6].first_id, 18);
  EXPECT_EQ(r.splines[6].last_id, 22);
  EXPECT_EQ(r.counts.cp_before, 22);
  EXPECT_TRUE(r.corrections.empty());  // segments have no hooks to turn
}

TEST(SegmentDockReport, MissingTargetsAndCyclesOfBothHalves) {
  const DockReport r = Report(EveryEntry());
  std::vector<std::pair<std::int32_t, AttachmentProblem>> problems;
  for (const AttachmentIssue& a : r.attachments) problems.emplace_back(a.place.id, a.problem);
  // The twin's copy of the dangling point dangles too (ids run up by 22); the copies of the
  // cycle's points, which stand on the plane, hang on the original cycle and close none.
  EXPECT_EQ(problems, (std::vector<std::pair<std::int32_t, AttachmentProblem>>{
                          {19, AttachmentProblem::MissingTarget},
                          {20, AttachmentProblem::Cycle},
                          {21, AttachmentProblem::Cycle},
                          {19 + 22, AttachmentProblem::MissingTarget}}));
  EXPECT_TRUE(r.HasSeamFaults());
}

TEST(SegmentDockReport, WithoutAReportTheDockedFileIsTheSame) {
  auto plain = LoadSegment(EveryEntry());
  plain->Dock(0.4);
  auto reported = LoadSegment(EveryEntry());
  DockReport report;
  reported->Dock(0.4, &report);
  EXPECT_EQ(test::Saved(*plain), test::Saved(*reported));
}

}  // namespace
}  // namespace mk
