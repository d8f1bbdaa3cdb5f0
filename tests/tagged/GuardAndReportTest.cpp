// The already-docked guard, the dock report and the check on the angle-tag dialect.

#include <gtest/gtest.h>

#include "core/workflow/ReportJson.h"
#include "core/workflow/Workflow.h"
#include "tagged/TaggedTestSupport.h"

namespace mk::test {
namespace {

TEST(TaggedGuard, WholeSampleModelsLookDockedThoughTheirPlanePointsLieJustOffThePlane) {
  MK_SKIP_WITHOUT_SAMPLE_MODELS();
  ScratchDirectory scratch;
  for (const auto& file : SampleModelFiles()) {
    const std::string name = file.stem().string();
    // Not symmetric in x (the elbows), or only roughly (the goose).
    const bool symmetric = name != "Cylindrical_Elbow" && name != "Squared_Elbow" && name != "Goose";
    const DockedLook look = LooksDocked(*LoadTagged(ReadFile(file)));
    EXPECT_EQ(look.looks_docked, symmetric) << name << ": " << look.reason;
  }
}

TEST(TaggedGuard, AHalfDoesNotLookDockedAndItsDockingDoes) {
  ScratchDirectory scratch;
  const std::string half = TaggedFileText(
      {"<SPLINE>", "1 0 1 -1e-006 0 0 . .", "1 0 2 1 0 0 . .", "1 0 3 2 1 0 . .", "</SPLINE>",
       "<SPLINE>", "1 0 4 3 0 0 . .", "1 0 5 3 1 1 . .", "</SPLINE>"});
  auto document = LoadTagged(half);
  EXPECT_FALSE(LooksDocked(*document).looks_docked);
  document->Dock(0.001);
  const DockedLook look = LooksDocked(*LoadTagged(SaveTagged(*document)));
  EXPECT_TRUE(look.looks_docked);
  EXPECT_EQ(look.reason, "8 of 8 points off the plane have their mirror image across X=0");
}

TEST(TaggedReport, TheCheckTellsNearMissesAndSuggestsATolerance) {
  ScratchDirectory scratch;
  // Spline ends at 0.05 and 0.06 from the plane, the body from 1 on.
  const std::string half = TaggedFileText(
      {"<SPLINE>", "1 0 1 0.05 0 0 . .", "1 0 2 1 0 0 . .", "1 0 3 2 1 0 . .", "</SPLINE>",
       "<SPLINE>", "1 0 4 0.06 2 0 . .", "1 0 5 3 1 1 . .", "</SPLINE>"});
  DockReport report;
  LoadTagged(half)->Dock(0.04, &report);
  ASSERT_EQ(report.near_misses.size(), 2u);
  EXPECT_EQ(report.near_misses[0].kind, NearMissKind::SplineEnd);
  EXPECT_EQ(report.near_misses[0].place.id, 1);
  ASSERT_TRUE(report.suggested_tolerance.has_value());
  EXPECT_EQ(*report.suggested_tolerance, 0.061);
  EXPECT_TRUE(report.HasSeamFaults());
}

TEST(TaggedReport, SectionsKeptForTheOriginalHalfAreListedInTheSummaryAndTheJson) {
  MK_SKIP_WITHOUT_SAMPLE_MODELS();
  ScratchDirectory scratch;
  DockReport report;
  LoadTagged(ReadFile(SampleModels() / "Thom2.mdl"))->Dock(0.0001, &report);
  ASSERT_FALSE(report.kept_for_original_half.empty());
  const std::string summary = ReportSummary(report);
  EXPECT_NE(summary.find("Kept for the original half only: <"), std::string::npos) << summary;
  std::string json;
  WriteReportJson(report, [&json](std::string_view piece) { json += piece; });
  EXPECT_NE(json.find("\"kept_for_original_half\": ["), std::string::npos);
}

}  // namespace
}  // namespace mk::test
