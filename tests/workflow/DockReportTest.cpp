// The workflow's side of the dock report: the tolerance suggestion's rule, the JSON form, the
// guard against docking a docked model, and a generated model with gaps planted at known ids.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/ModelGenerator.h"
#include "core/document/ToleranceSuggestion.h"
#include "core/workflow/ReportJson.h"
#include "core/workflow/Workflow.h"
#include "support/Files.h"

namespace mk {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

/// Docking writes attach_err.txt into the current folder: tests keep it in a temporary one.
class DockReportWorkflow : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  OpenedModel DockWithReport(const std::string& file, double tolerance = 0.4) {
    DockOptions options;
    options.with_report = true;
    return ReadAndDock(file, FileKindOf(file), tolerance, nullptr, nullptr, WithReference::No,
                       options);
  }

  TempDir dir_;
  std::filesystem::path previous_;
};

std::optional<double> Suggest(double tolerance, const std::vector<double>& ends,
                              const std::vector<double>& inner = {}) {
  ToleranceAdvisor advisor(tolerance);
  for (double d : ends) advisor.NoteEnd(d);
  for (double d : inner) advisor.NoteInner(d);
  return advisor.Suggest();
}

TEST(ToleranceSuggestion, TakesTheSeamClusterUpToItsGapAndStopsBeforeTheBody) {
  // The end at 0.41 is a near miss; the ends from 2 on are the body.
  EXPECT_EQ(Suggest(0.4, {0, 0.05, 0.2, 0.41, 2, 3.5}), 0.42);
  // A cluster wholly beyond the tolerance is still a cluster: the tolerance was too small.
  EXPECT_EQ(Suggest(0.4, {0.5, 0.55, 0.61, 5}), 0.62);
  // A gap wider than the tolerance ends the cluster, even inside the near-miss band.
  EXPECT_EQ(Suggest(0.4, {0.1, 0.15, 0.9}), 0.16);
  // A smaller tolerance would do: the suggestion may lie below the one used.
  EXPECT_EQ(Suggest(0.4, {0.01, 0.03}), 0.031);
  // Two digits would reach a body point: more digits, and never beyond the body.
  EXPECT_EQ(Suggest(0.4, {0.41}, {0.415}), 0.411);
  EXPECT_EQ(Suggest(0.4, {0.41}, {0.41 + 1e-16}), 0.41 + 1e-16);
  // Inner points within the cluster's reach count with the seam, not with the body.
  EXPECT_EQ(Suggest(0.4, {0.3, 0.41}, {0.35, 3}), 0.42);
}

TEST(ToleranceSuggestion, NoneWithoutASplineEndOffThePlaneInReach) {
  EXPECT_FALSE(Suggest(0.4, {}).has_value());
  EXPECT_FALSE(Suggest(0.4, {0, 0}).has_value());
  EXPECT_FALSE(Suggest(0.4, {1.3, 5}, {0.1}).has_value());
  EXPECT_FALSE(Suggest(0, {0.1}).has_value());
}

TEST_F(DockReportWorkflow, ReportJsonMatchesTheDocumentedForm) {
  const std::string data = std::string(MK_TEST_DATA) + "/report/";
  const OpenedModel model = DockWithReport(data + "every_entry.mdl");
  EXPECT_EQ(ReportJson(model.report), ReadFile(data + "every_entry.json"));
}

TEST_F(DockReportWorkflow, SummaryNamesTheFaultsAndTheSuggestion) {
  const OpenedModel model = DockWithReport(std::string(MK_TEST_DATA) + "/report/every_entry.mdl");
  const std::string summary = ReportSummary(model.report);
  for (const char* part : {"2 points snapped", "Near misses: 2",
                           "spline end mesh 0 id 4 at (0.41, 0, 1), 0.41 from the plane",
                           "1 hooks, 1 plane copies", "1 with a missing target, 2 in cycles",
                           "id 18 at (0, 0, 0) attached to -99, which does not exist",
                           "Suggested tolerance: 0.42"})
    EXPECT_NE(summary.find(part), std::string::npos) << part << "\n" << summary;
}

std::vector<std::string> HalfModels() {
  std::vector<std::string> files;
  for (const char* folder : {"/examples", "/tests/data/mdl", "/tests/data/seg"}) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             std::string(MK_SOURCE_DIR) + folder)) {
      const std::string name = entry.path().filename().string();
      const bool example = std::string(folder) == "/examples";
      if (entry.is_regular_file() && (example ? FileKindOf(name) != FileKind::Other
                                              : name.rfind("input.", 0) == 0))
        files.push_back(entry.path().string());
    }
  }
  return files;
}

TEST_F(DockReportWorkflow, DockedLookFiresOnDockedOutputsOnly) {
  // Models whose docking adds nothing cannot be told from their output: no points, or all on
  // the plane.
  const std::vector<std::string> unchanged_by_docking{"mirror_e1e2", "two_model_sections",
                                                      "no_splines"};
  const std::vector<std::string> files = HalfModels();
  ASSERT_GT(files.size(), 40u);
  for (const std::string& file : files) {
    const FileKind kind = FileKindOf(file);
    EXPECT_FALSE(LooksDocked(*ReadModel(file, kind, nullptr, nullptr, WithReference::No).working)
                     .looks_docked)
        << file;
    const std::string docked = dir_.File(std::string("docked") + std::string(ExtensionOf(file)));
    WriteDocument(*ReadAndDock(file, kind, 0.4, nullptr, nullptr, WithReference::No).working, file,
                  docked);
    const DockedLook look =
        LooksDocked(*ReadModel(docked, kind, nullptr, nullptr, WithReference::No).working);
    const std::string case_name = std::filesystem::path(file).parent_path().filename().string();
    const bool telling = std::find(unchanged_by_docking.begin(), unchanged_by_docking.end(),
                                   case_name) == unchanged_by_docking.end();
    EXPECT_EQ(look.looks_docked, telling) << file;
    EXPECT_EQ(look.reason.empty(), !telling) << file;
  }
}

TEST_F(DockReportWorkflow, TheExamplesHaveNoNearMissesButTheSeamExampleItsTwo) {
  for (const std::string& file : HalfModels()) {
    if (file.find("/examples/") == std::string::npos) continue;
    const OpenedModel model = DockWithReport(file);
    if (file.find("/seam.mdl") != std::string::npos) {
      // Made to show near misses: two spline ends 0.7 and 0.9 from the plane.
      ASSERT_EQ(model.report.near_misses.size(), 2u);
      EXPECT_EQ(model.report.near_misses[0].place.id, 7);
      EXPECT_EQ(model.report.near_misses[1].place.id, 14);
      EXPECT_EQ(model.report.near_misses[1].distance, 0.9);
      continue;
    }
    EXPECT_TRUE(model.report.near_misses.empty()) << file;
    EXPECT_TRUE(model.report.attachments.empty()) << file;
    EXPECT_EQ(model.report.splines.size(), static_cast<std::size_t>(model.statistics.splines_before));
  }
}

TEST_F(DockReportWorkflow, ADeclinedRedockingLeavesTheModelAsRead) {
  const std::string half = std::string(MK_SOURCE_DIR) + "/examples/car.seg";
  const std::string docked = dir_.File("car.seg");
  WriteDocument(*ReadAndDock(half, FileKind::Segment, 0.4, nullptr, nullptr, WithReference::No).working,
                half, docked);
  DockOptions options;
  int asked = 0;
  options.ask_before_redocking = [&asked](const DockedLook& look) {
    ++asked;
    EXPECT_TRUE(look.looks_docked);
    return false;
  };
  const OpenedModel kept =
      ReadAndDock(docked, FileKind::Segment, 0.4, nullptr, nullptr, WithReference::No, options);
  EXPECT_FALSE(kept.docked);
  EXPECT_EQ(asked, 1);
  options.ask_before_redocking = [](const DockedLook&) { return true; };
  EXPECT_TRUE(
      ReadAndDock(docked, FileKind::Segment, 0.4, nullptr, nullptr, WithReference::No, options).docked);
  // A half model is not asked about.
  EXPECT_TRUE(
      ReadAndDock(half, FileKind::Segment, 0.4, nullptr, nullptr, WithReference::No, options).docked);
}

TEST_F(DockReportWorkflow, PlantedGapsAreFoundExactlyInBothFormats) {
  for (const FileKind kind : {FileKind::Model, FileKind::Segment}) {
    const bench::ModelWithGaps model = bench::GenerateModelWithGaps(40000, kind, 5, 25);
    ASSERT_EQ(model.gap_ids.size(), 25u);
    const std::string file = dir_.File(kind == FileKind::Model ? "gaps.mdl" : "gaps.seg");
    WriteFile(file, model.text);
    const OpenedModel docked = DockWithReport(file);
    std::vector<std::int32_t> found;
    for (const NearMiss& m : docked.report.near_misses) {
      found.push_back(m.place.id);
      EXPECT_EQ(m.kind, NearMissKind::SplineEnd);
      EXPECT_GE(m.distance, 0.41);
    }
    EXPECT_EQ(found, model.gap_ids);
    EXPECT_FALSE(docked.report.snapped.empty());
    // The seam's ends lie up to 0.3 from the plane, the planted ones from 0.41: the cluster
    // takes them all, and the body begins 2.7 out.
    ASSERT_TRUE(docked.report.suggested_tolerance.has_value());
    EXPECT_GT(*docked.report.suggested_tolerance, 1.18);
    EXPECT_LE(*docked.report.suggested_tolerance, 1.2);
  }
}

}  // namespace
}  // namespace mk
