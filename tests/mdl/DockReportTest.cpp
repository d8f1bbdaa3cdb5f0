// The dock report of a ".mdl" docking: every kind of entry, with the docked ids and positions,
// from small hand-made meshes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/document/DockReport.h"
#include "mdl/MdlTestSupport.h"

namespace mk {
namespace {

using mdltest::Crlf;
using mdltest::Load;
using mdltest::WorkingFolder;
using Lines = std::vector<std::string>;

/// A free point: flags, id and position.
Lines Free(int id, const std::string& xyz, const std::string& flags = "0") {
  return {flags + " 0 " + std::to_string(id), xyz, "0", "0"};
}
Lines Attached(int id, int target) { return {"0 1 " + std::to_string(id), std::to_string(target), "0", "0"}; }

std::string Mesh(const std::vector<Lines>& splines) {
  Lines lines{"[MODELFILE]", "[MESH]"};
  for (const Lines& spline : splines) {
    lines.push_back("CPs=" + std::to_string(spline.size() / 4));
    lines.insert(lines.end(), spline.begin(), spline.end());
  }
  lines.insert(lines.end(), {"[ENDMESH]", "[ENDMODELFILE]"});
  return Crlf(lines);
}

Lines Spline(std::initializer_list<Lines> points) {
  Lines out;
  for (const Lines& p : points) out.insert(out.end(), p.begin(), p.end());
  return out;
}

/// One spline of each fate, near misses on both sides, a snap on each side, a missing target, a
/// cycle and a twin whose inner point on the plane gets a plane copy. Ids are positions, as
/// docking makes them.
std::string EveryEntry() {
  return Mesh({
      Spline({Free(1, "5 0 0"), Free(2, "-0.5 1 0"), Free(3, "6 0 0")}),        // twinned
      Spline({Free(4, "0.41 0 1"), Free(5, "3 0 1"), Free(6, "0.1 0 1")}),      // last end
      Spline({Free(7, "0 2 0"), Free(8, "4 2 0"), Free(9, "5 2 0")}),           // first end
      Spline({Free(10, "0 3 0"), Free(11, "4 3 0"), Free(12, "-0.2 3 0")}),     // both ends
      Spline({Free(13, "0 4 0"), Free(14, "0 4 1")}),                           // on the plane
      Spline({Free(15, "2 5 0"), Free(16, "3 5 0"), Free(17, "4 5 0", "4")}),  // closed
      Spline({Attached(18, 99), Attached(19, 20), Attached(20, 19)}),            // on the plane
      Spline({Free(21, "2 6 0"), Free(22, "0 6 0"), Free(23, "3 6 0")}),       // twinned
  });
}

DockReport Report(const std::string& text, double tolerance = 0.4) {
  const auto d = Load(text);
  DockReport report;
  d.doc->Dock(tolerance, &report);
  return report;
}

TEST(MeshDockReport, SnapsAndNearMissesOnBothSidesWithDockedIdsAndPositions) {
  WorkingFolder work;
  const DockReport r = Report(EveryEntry());
  ASSERT_EQ(r.snapped.size(), 2u);
  EXPECT_EQ(r.snapped[0].place.id, 6);
  EXPECT_EQ(r.snapped[0].old_x, 0.1);
  EXPECT_EQ(r.snapped[0].place.x, 0);  // where it lies in the docked model
  EXPECT_EQ(r.snapped[0].place.z, 1);
  EXPECT_EQ(r.snapped[1].place.id, 12);
  EXPECT_EQ(r.snapped[1].old_x, -0.2);
  EXPECT_EQ(r.snapped[1].moved, 0.2);

  ASSERT_EQ(r.near_misses.size(), 2u);
  EXPECT_EQ(r.near_misses[0].place.id, 2);
  EXPECT_EQ(r.near_misses[0].kind, NearMissKind::Point);
  EXPECT_EQ(r.near_misses[0].distance, 0.5);
  EXPECT_EQ(r.near_misses[0].place.x, -0.5);
  EXPECT_EQ(r.near_misses[1].place.id, 4);
  EXPECT_EQ(r.near_misses[1].kind, NearMissKind::SplineEnd);
  EXPECT_EQ(r.near_misses[1].distance, 0.41);
  EXPECT_TRUE(r.HasSeamFaults());
}

TEST(MeshDockReport, EverySplineHasItsFate) {
  WorkingFolder work;
  const DockReport r = Report(EveryEntry());
  const std::vector<SplineFate> fates{SplineFate::Twinned,
                                      SplineFate::ExtendedThroughLastEnd,
                                      SplineFate::ExtendedThroughFirstEnd,
                                      SplineFate::ClosedThroughBothEnds,
                                      SplineFate::OnPlane,
                                      SplineFate::AlreadyClosed,
                                      SplineFate::OnPlane,
                                      SplineFate::Twinned};
  ASSERT_EQ(r.splines.size(), fates.size());
  for (std::size_t s = 0; s < fates.size(); ++s) {
    EXPECT_EQ(r.splines[s].fate, fates[s]) << s;
    EXPECT_EQ(r.splines[s].index, static_cast<std::int32_t>(s));
  }
  EXPECT_EQ(r.splines[2].first_id, 7);
  EXPECT_EQ(r.splines[2].last_id, 9);
  EXPECT_EQ(r.counts.cp_before, 23);
  EXPECT_EQ(r.counts.splines_after, 11);  // the twinned and the closed ones got images
}

TEST(MeshDockReport, MissingTargetsCyclesAndPlaneCopies) {
  WorkingFolder work;
  const DockReport r = Report(EveryEntry());
  std::vector<std::pair<std::int32_t, AttachmentProblem>> problems;
  for (const AttachmentIssue& a : r.attachments) problems.emplace_back(a.place.id, a.problem);
  EXPECT_EQ(problems, (std::vector<std::pair<std::int32_t, AttachmentProblem>>{
                          {18, AttachmentProblem::MissingTarget},
                          {19, AttachmentProblem::Cycle},
                          {20, AttachmentProblem::Cycle}}));
  EXPECT_EQ(r.attachments[0].target, -99);  // as the docked file has it: renumbering negates it
  // The image of the twin's inner point lies on the plane and hangs on its original.
  ASSERT_EQ(r.corrections.size(), 1u);
  EXPECT_EQ(r.corrections[0].kind, CorrectionKind::PlaneCopy);
  EXPECT_EQ(r.corrections[0].place.id, 22 + 23);
  EXPECT_EQ(r.corrections[0].old_target, 0);
  EXPECT_EQ(r.corrections[0].new_target, 22);
}

TEST(MeshDockReport, HookTurnedRoundIsReportedWithItsTargets) {
  WorkingFolder work;
  const DockReport r = Report(Mesh({
      Spline({{"128 1 1", "3", "0", "0"}, Free(2, "3 0 0")}),
      Spline({Free(3, "1.5 1 0"), Free(4, "2 2 0")}),
      Spline({{"16 1 5 0.25", "1", "0", "0"}, Attached(6, 5)}),
  }));
  ASSERT_EQ(r.corrections.size(), 1u);
  EXPECT_EQ(r.corrections[0].kind, CorrectionKind::Hook);
  EXPECT_EQ(r.corrections[0].old_target, 7);  // the image of the hook's target
  EXPECT_EQ(r.corrections[0].new_target, 8);
  EXPECT_EQ(r.corrections[0].place.id, 11);
}

TEST(MeshDockReport, MeshesAreNumberedInFileOrder) {
  WorkingFolder work;
  const std::string one = "CPs=2\r\n0 0 1\r\n0.5 0 0\r\n0\r\n0\r\n0 0 2\r\n5 0 0\r\n0\r\n0\r\n";
  const DockReport r = Report("[MODELFILE]\r\n[MESH]\r\n[ENDMESH]\r\n[MESH]\r\n" + one +
                              "[ENDMESH]\r\n[MESH]\r\n" + one + "[ENDMESH]\r\n[ENDMODELFILE]\r\n");
  ASSERT_EQ(r.near_misses.size(), 2u);
  EXPECT_EQ(r.near_misses[0].place.mesh, 1);
  EXPECT_EQ(r.near_misses[1].place.mesh, 2);
  EXPECT_EQ(r.splines.size(), 2u);
}

TEST(MeshDockReport, WithoutAReportTheDockedFileIsTheSame) {
  WorkingFolder work;
  const auto plain = Load(EveryEntry());
  plain.doc->Dock(0.4);
  const auto reported = Load(EveryEntry());
  DockReport report;
  reported.doc->Dock(0.4, &report);
  EXPECT_EQ(plain.Save(), reported.Save());
}

}  // namespace
}  // namespace mk
