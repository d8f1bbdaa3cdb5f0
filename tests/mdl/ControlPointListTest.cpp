// The whole-mesh stages on a control point view: renumbering, the attach walks, the hook and
// plane-copy corrections, attach resolution with its report, and cycle warnings.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/mdl/ControlPointList.h"
#include "mdl/MdlTestSupport.h"
#include "core/mdl/Spline.h"
#include "core/document/Warnings.h"

namespace mk {
namespace {

using mdltest::WorkingFolder;

/// Splines built point by point: {cpid, attached, at_cpid, ratio, cptype}.
struct PointData {
  std::int32_t cpid;
  std::int32_t attached = 0;
  std::int32_t at_cpid = 0;
  double ratio = 0;
  std::uint32_t cptype = 0;
};

class Mesh {
 public:
  Mesh& AddSpline(std::vector<PointData> data) {
    auto spline = std::make_unique<Spline>();
    for (const PointData& s : data) {
      auto p = std::make_unique<ControlPoint>();
      p->cpid = s.cpid;
      p->attached = s.attached;
      p->at_cpid = s.at_cpid;
      p->SetHookRatio(s.ratio);
      p->cptype = s.cptype;
      p->x = 1;
      spline->Append(std::move(p));
    }
    splines.push_back(std::move(spline));
    return *this;
  }
  std::vector<std::int32_t> Ids() const {
    std::vector<std::int32_t> ids;
    for (ControlPoint* p : Points()) ids.push_back(p->cpid);
    return ids;
  }
  std::vector<std::int32_t> AtIds() const {
    std::vector<std::int32_t> ids;
    for (ControlPoint* p : Points()) ids.push_back(p->at_cpid);
    return ids;
  }
  LargeVector<ControlPoint*> Points() const {
    LargeVector<ControlPoint*> points;
    for (const auto& s : splines) s->CollectCps(points);
    return points;
  }
  std::vector<std::unique_ptr<Spline>> splines;
};

using Ids = std::vector<std::int32_t>;

TEST(Renumber, PositionsAcrossSplinesAndAttachmentsFollow) {
  Mesh mesh;
  mesh.AddSpline({{10}, {11}, {12}}).AddSpline({{20}, {21, 1, 11}});
  ControlPointList view(mesh.splines);
  EXPECT_EQ(view.Renumber(), 5);
  EXPECT_EQ(mesh.Ids(), (Ids{1, 2, 3, 4, 5}));
  EXPECT_EQ(mesh.AtIds(), (Ids{0, 0, 0, 0, 2}));
}

TEST(Renumber, SharedIdsMissingTargetsAndFreePoints) {
  Mesh mesh;
  // Id 9 at positions 2 and 6 (both end as 6, the id of the last); the seventh point is attached
  // to 9, the eighth to the missing 77; the free third point's at_cpid 9 is remapped as well.
  mesh.AddSpline({{3}, {9}, {4, 0, 9}, {5}, {8}, {9}, {70, 1, 9}, {71, 1, 77}});
  ControlPointList view(mesh.splines);
  EXPECT_EQ(view.Renumber(), 8);
  EXPECT_EQ(mesh.Ids(), (Ids{1, 6, 3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(mesh.AtIds(), (Ids{0, 0, 6, 0, 0, 0, 6, -77}));
}

TEST(Renumber, FreePointsAtCpidZeroFollowAnIdZero) {
  Mesh mesh;
  mesh.AddSpline({{4}, {0}, {6}});
  ControlPointList view(mesh.splines);
  view.Renumber();
  EXPECT_EQ(mesh.AtIds(), (Ids{2, 2, 2}));  // ReplaceId ignores attached
}

TEST(Renumber, NegativeFileIdsMergeWithTemporaryValues) {
  Mesh mesh;
  // Round 1 turns 5 into -1, which the second point already bears: from then on they are one.
  mesh.AddSpline({{5}, {-1}, {-3, 1, -1}});
  ControlPointList view(mesh.splines);
  view.Renumber();
  EXPECT_EQ(mesh.Ids(), (Ids{2, 2, 3}));
  EXPECT_EQ(mesh.AtIds(), (Ids{0, 0, 2}));
}

TEST(Renumber, EmptyViewIsZero) {
  Mesh mesh;
  mesh.AddSpline({});
  ControlPointList view(mesh.splines);
  EXPECT_EQ(view.Renumber(), 0);
  EXPECT_EQ(view.CpCount(), 0);
}

TEST(Lookups, FirstMatchInViewOrder) {
  Mesh mesh;
  mesh.AddSpline({{1}, {2, 1, 1}, {2, 1, 1}}).AddSpline({{3, 0, 1}, {1, 1, 2}});
  ControlPointList view(mesh.splines);
  const auto points = mesh.Points();
  EXPECT_EQ(view.FindById(2), points[1]);
  EXPECT_EQ(view.FindById(1), points[0]);
  EXPECT_EQ(view.FindById(42), nullptr);
  EXPECT_EQ(view.FindAttachedTo(1), points[1]);  // point 3 is free: its at_cpid 1 does not count
  EXPECT_EQ(view.FindAttachedTo(-1), nullptr);   // free points answer -1 but are never found
}

TEST(Lookups, AttachWalksStopAtCycles) {
  Mesh mesh;
  // 1 <- 2 <- 3 <- 4 stacked, and 5 <- 6 <- 5 round.
  mesh.AddSpline({{1}, {2, 1, 1}, {3, 1, 2, 0.5, 0x10}, {4, 1, 3}}).AddSpline({{5, 1, 6}, {6, 1, 5}});
  ControlPointList view(mesh.splines);
  const auto points = mesh.Points();
  EXPECT_EQ(view.FindAttachChainEnd(1), points[3]);
  EXPECT_EQ(view.FindAttachChainEnd(4), nullptr);
  EXPECT_EQ(view.FindAttachChainEnd(5), points[4]);  // 6 -> 5 -> back to 6
  EXPECT_EQ(view.FindRatiolessInAttachChain(1), points[1]);
  EXPECT_EQ(view.FindRatiolessInAttachChain(2), points[3]);  // passes the ratio point 3
  points[4]->cptype = points[5]->cptype = 0x1000;
  view.InvalidateLookups();
  EXPECT_EQ(view.FindRatiolessInAttachChain(5), nullptr);
  points[4]->SetHookRatio(0.25);
  points[5]->SetHookRatio(0.5);
  view.FlipRatiosInAttachChain(5);  // each flips once, then the walk meets 6 again
  EXPECT_EQ(points[5]->HookRatio(), 0.5);
  EXPECT_EQ(points[4]->HookRatio(), 0.75);
}

TEST(Corrections, EmptyListChangesNothing) {
  Mesh mesh;
  mesh.AddSpline({{1}, {2, 1, 1, 0.5}});
  ControlPointList view(mesh.splines);
  view.ApplyCorrections({});
  EXPECT_EQ(mesh.AtIds(), (Ids{0, 1}));
}

TEST(Corrections, AttachRecordGoesOnTopOfTheStack) {
  Mesh mesh;
  mesh.AddSpline({{2}, {4, 1, 2}, {5, 1, 4}, {6, 1, 5}, {8}});
  ControlPointList view(mesh.splines);
  view.ApplyCorrections({{8, 2, CorrectionKind::PlaneCopy}, {99, 2, CorrectionKind::PlaneCopy}});
  const auto points = mesh.Points();
  EXPECT_EQ(points[4]->attached, 1);
  EXPECT_EQ(points[4]->at_cpid, 6);
  // The lookups know the new attachment at once: the stack now ends at 8.
  EXPECT_EQ(view.FindAttachChainEnd(2), points[4]);
}

TEST(Corrections, HookRecordMovesTheFirstRatioDependantAndItsStack) {
  Mesh mesh;
  // 11 has ratio 0.25 and sits on the old hook 7; 12 (no ratio) is stacked on 11; 13 also sits
  // on 7 but without ratio and is passed over.
  mesh.AddSpline({{7}, {8}})
      .AddSpline({{13, 1, 7}, {11, 1, 7, 0.25, 0x10}, {12, 1, 11}, {14, 1, 7, 0.5, 0x10}});
  ControlPointList view(mesh.splines);
  view.ApplyCorrections({{7, 8, CorrectionKind::Hook}, {7, 8, CorrectionKind::Hook}});
  const auto points = mesh.Points();
  EXPECT_EQ(points[3]->at_cpid, 8);
  EXPECT_EQ(points[3]->HookRatio(), 0.75);
  EXPECT_EQ(points[4]->at_cpid, 7);  // the ratioless stacked point moves onto the old id
  EXPECT_EQ(points[2]->at_cpid, 7);
  // The second record finds the next ratio dependant of 7.
  EXPECT_EQ(points[5]->at_cpid, 8);
  EXPECT_EQ(points[5]->HookRatio(), 0.5);
}

TEST(Corrections, FlipWalkFlipsRatioPointsStackedOnTheMovedOne) {
  Mesh mesh;
  mesh.AddSpline({{7}, {8}}).AddSpline(
      {{11, 1, 7, 0.25, 0x10}, {12, 1, 11, 0.5, 0x10}, {13, 1, 12, 0.125, 0x1000}, {14, 1, 13}});
  ControlPointList view(mesh.splines);
  view.ApplyCorrections({{7, 8, CorrectionKind::Hook}});
  const auto points = mesh.Points();
  EXPECT_EQ(points[2]->HookRatio(), 0.75);
  EXPECT_EQ(points[3]->HookRatio(), 0.5);
  EXPECT_EQ(points[4]->HookRatio(), 0.875);
  EXPECT_EQ(points[5]->at_cpid, 7);
}

TEST(Corrections, HookRecordWithoutRatioDependantChangesNothing) {
  Mesh mesh;
  mesh.AddSpline({{7}, {11, 1, 7}});
  ControlPointList view(mesh.splines);
  view.ApplyCorrections({{7, 8, CorrectionKind::Hook}});
  EXPECT_EQ(mesh.AtIds(), (Ids{0, 7}));
}

TEST(Resolve, ReportListsUnresolvedPointsInViewOrder) {
  WorkingFolder work;
  Mesh mesh;
  mesh.AddSpline({{1}, {5, 1, 99}, {6, 1, 1}}).AddSpline({{7, 1, 98}});
  ControlPointList view(mesh.splines);
  view.ResolveAttachments();
  const auto points = mesh.Points();
  EXPECT_EQ(points[2]->at_cp, points[0]);
  EXPECT_EQ(points[1]->at_cp, nullptr);
  EXPECT_EQ(work.Report(), mdltest::Crlf({"\xE3\x82\xA2\xE3\x82\xBF\xE3\x83\x83\xE3\x83\x81\xE5\x85\x88\xE3\x81\x8C\xE7\x84\xA1\xE3\x81\x84",
                                          "num_of_cp=4", "cpid=5 at_cpid=99", "cpid=7 at_cpid=98"}));
}

TEST(Resolve, NoErrorsLeaveAnEarlierReportAlone) {
  WorkingFolder work;
  { std::ofstream("attach_err.txt") << "old"; }
  Mesh mesh;
  mesh.AddSpline({{1}, {2, 1, 1}});
  ControlPointList view(mesh.splines);
  view.ResolveAttachments();
  EXPECT_EQ(work.Report(), "old");
}

TEST(Resolve, UnwritableReportIsAWarningNotAnError) {
  WorkingFolder work;
  std::filesystem::create_directory("attach_err.txt");  // a folder cannot be replaced by a file
  WarningList warnings;
  Mesh mesh;
  mesh.AddSpline({{1, 1, 9}});
  ControlPointList view(mesh.splines, &warnings);
  EXPECT_NO_THROW(view.ResolveAttachments());
  ASSERT_EQ(warnings.warnings.size(), 1u);
  EXPECT_EQ(warnings.warnings[0].kind, DockWarning::Kind::AttachReportUnwritable);
  EXPECT_EQ(warnings.warnings[0].file, "attach_err.txt");
  ControlPointList quiet(mesh.splines);  // without a sink it is silent
  EXPECT_NO_THROW(quiet.ResolveAttachments());
}

TEST(Resolve, AllCyclesAreReportedOnceInOneWarning) {
  WorkingFolder work;
  WarningList warnings;
  Mesh mesh;
  // 3 -> 4 -> 5 -> 3 with 2 hanging on it, and 8 on itself.
  mesh.AddSpline({{1}, {2, 1, 3}, {4, 1, 5}, {3, 1, 4}, {5, 1, 3}}).AddSpline({{8, 1, 8}});
  ControlPointList view(mesh.splines, &warnings);
  view.ResolveAttachments();
  ASSERT_EQ(warnings.warnings.size(), 1u);
  EXPECT_EQ(warnings.warnings[0].kind, DockWarning::Kind::AttachCycle);
  // Each cycle from its first point in view order, cycles in the order they are met.
  EXPECT_EQ(warnings.warnings[0].ids, (Ids{4, 5, 3, 8}));
  EXPECT_FALSE(work.HasReport());
}

}  // namespace
}  // namespace mk
