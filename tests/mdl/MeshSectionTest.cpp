// The mesh section (reading, canonical writing, drawing, the docking pipeline with its progress
// and counters), the model section's bounds, bad input, cycles and very long chains.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "mdl/MdlTestSupport.h"
#include "core/mdl/MeshSection.h"
#include "core/mdl/ModelSection.h"
#include "core/util/Errors.h"
#include "core/document/Warnings.h"

namespace mk {
namespace {

using mdltest::Crlf;
using mdltest::Load;
using mdltest::WorkingFolder;
using Lines = std::vector<std::string>;

Lines Block(const std::string& header, const std::string& second) { return {header, second, "0", "0"}; }

Lines Join(std::initializer_list<Lines> parts) {
  Lines out;
  for (const Lines& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

std::string ModelFile(const Lines& mesh_body, const std::string& header = "[MESH]",
                      const std::string& end = "[ENDMESH]") {
  return Crlf(Join({{"[MODELFILE]", header}, mesh_body, {end, "[ENDMODELFILE]"}}));
}

Lines SavedLines(const mdltest::LoadedDocument& d) {
  LineWriter out;
  d.doc->SaveToLines(out);
  return out.Lines();
}

TEST(MeshReading, VersionDefaultsAndSplineCountIsRecounted) {
  WorkingFolder work;
  const auto without = Load(ModelFile({"CPs=0"}));
  EXPECT_EQ(SavedLines(without), (Lines{"[MODELFILE]", "[MESH]", "Version=2", "Splines=1", "CPs=0", "[ENDMESH]", "[ENDMODELFILE]"}));
  const auto three = Load(ModelFile(Join({{"Version=3", "Splines=5", "", "junk=1", "CPs=0"},
                                           {"[NESTED]", "x", "[ENDNESTED]"},
                                           {"CPs=1"}, Block("0 0 4", "1 2 3"), {"CPs=0"}})));
  EXPECT_EQ(SavedLines(three), (Lines{"[MODELFILE]", "[MESH]", "Version=3", "Splines=3", "CPs=0", "CPs=1", "0 0 4",
                                      "1 2 3", "0", "0", "CPs=0", "[ENDMESH]", "[ENDMODELFILE]"}));
  EXPECT_FALSE(work.HasReport());
}

TEST(MeshReading, MissingTargetsAreReportedAfterReading) {
  WorkingFolder work;
  Load(ModelFile(Join({{"CPs=3"}, Block("0 0 1", "0 0 0"), Block("0 1 5", "99"), Block("0 1 6", "98")})));
  EXPECT_EQ(work.Report(), Crlf({"\xE3\x82\xA2\xE3\x82\xBF\xE3\x83\x83\xE3\x83\x81\xE5\x85\x88\xE3\x81\x8C\xE7\x84\xA1\xE3\x81\x84",
                                 "num_of_cp=3", "cpid=5 at_cpid=99", "cpid=6 at_cpid=98"}));
}

struct BadInput {
  const char* name;
  Lines body;
  bool conversion;     // else a list index error
  std::string word;    // conversion: the word
  std::int64_t index;  // list index: into the mesh body
};

class MeshBadInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(MeshBadInput, EndsTheLoadWithTheRightError) {
  WorkingFolder work;
  const BadInput& bad = GetParam();
  try {
    Load(ModelFile(bad.body));
    FAIL() << "loaded";
  } catch (const ConversionError& e) {
    ASSERT_TRUE(bad.conversion) << e.what();
    EXPECT_EQ(e.word(), bad.word);
  } catch (const ListIndexError& e) {
    ASSERT_FALSE(bad.conversion) << e.what();
    EXPECT_EQ(e.index(), bad.index);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MeshBadInput,
    ::testing::Values(
        BadInput{"CountNotANumber", {"CPs=two"}, true, "two", 0},
        BadInput{"CountMissing", {"CPs="}, true, "", 0},
        BadInput{"HeaderWord", Join({{"CPs=1"}, Block("0 zero 1", "1 2 3")}), true, "zero", 0},
        BadInput{"MissingCoordinate", Join({{"CPs=1"}, Block("0 0 1", "1 2")}), true, "", 0},
        BadInput{"BadTriple", Join({{"CPs=1"}, {"0 0 1", "1 2 3", "1 2 q", "0"}}), true, "q", 0},
        BadInput{"CountBeyondTheBlocks", Join({{"Version=2", "CPs=2"}, Block("0 0 1", "1 2 3"), {"0 0 2"}}), false, "", 7},
        BadInput{"HugeCount", Join({{"CPs=2000000000"}, Block("0 0 1", "1 2 3")}), false, "", 5},
        // A bad word in a block that the body cuts short comes before the missing line.
        BadInput{"BadWordInACutBlock", {"CPs=1", "0 zero 1"}, true, "zero", 0},
        BadInput{"CutBlock", {"CPs=1", "0 0 1", "1 2 3"}, false, "", 3},
        // A nested section stands in a block as an empty line.
        BadInput{"SectionInsideABlock", {"CPs=1", "0 0 1", "[X]", "[ENDX]", "0", "0"}, true, "", 0}),
    [](const ::testing::TestParamInfo<BadInput>& test_case) { return std::string(test_case.param.name); });

TEST(MeshReading, AnErrorOfTheSectionFrameComesBeforeOneOfTheBody) {
  WorkingFolder work;
  // The body's bad word is met first, but the missing end line is what the user must fix.
  EXPECT_THROW(Load(Crlf({"[MODELFILE]", "[MESH]", "CPs=1", "0 zero 1", "1 2 3", "0", "0"})),
               ListIndexError);
}

TEST(MeshDocking, ProgressAndCounters) {
  WorkingFolder work;
  mdltest::RecordingBar bar;
  auto d = Load(ModelFile(Join({{"CPs=4"}, Block("0 0 1", "1 0 0"), Block("0 0 2", "2 0 0"),
                                Block("0 0 3", "3 0 0"), Block("0 0 4", "4 0 0")})),
                &bar);
  const DockStatistics counts = d.doc->Dock(0.4);
  EXPECT_EQ(bar.positions, (std::vector<int>{2, 3, 4, 6, 7, 9}));
  EXPECT_EQ(counts, (DockStatistics{4, 8, 1, 2}));

  // A mesh without splines is not docked: no progress, and nothing to count.
  mdltest::RecordingBar idle;
  auto empty = Load(ModelFile({"Version=2"}), &idle);
  EXPECT_EQ(empty.doc->Dock(0.4), DockStatistics{});
  EXPECT_TRUE(idle.positions.empty());
}

TEST(MeshDocking, TheMeshDockedLastSetsTheCounters) {
  WorkingFolder work;
  auto d = Load(Crlf(Join({{"[MODELFILE]", "[MESH]", "CPs=3"}, Block("0 0 1", "1 0 0"), Block("0 0 2", "2 0 0"),
                           Block("0 0 3", "0 0 0"), {"[ENDMESH]", "[MESH]", "CPs=1"}, Block("0 0 1", "0 0 0"),
                           {"[ENDMESH]", "[ENDMODELFILE]"}})));
  EXPECT_EQ(d.doc->Dock(0.4), (DockStatistics{1, 1, 1, 1}));
}

TEST(MeshDocking, SplinesOnThePlaneServeBothHalves) {
  WorkingFolder work;
  auto d = Load(ModelFile(Join({{"CPs=2"}, Block("0 0 1", "0 1 0"), Block("0 0 2", "0.1 2 0"), {"CPs=1"},
                                Block("0 0 3", "-0.3 1 1")})));
  EXPECT_EQ(d.doc->Dock(0.4), (DockStatistics{3, 3, 2, 2}));
}

TEST(MeshDocking, HookAFractionOffThePlaneGetsATwin) {
  // The hook's position is 2^-54, not 0 (see ControlPointGeometry): its end is off the plane.
  WorkingFolder work;
  auto d = Load(ModelFile(Join({{"CPs=2"}, Block("144 0 1 0.3333333333333333", "1 0 0"),
                                Block("0 0 2", "-2 0 0")})));
  EXPECT_EQ(d.doc->Dock(0.4), (DockStatistics{2, 4, 1, 2}));
  const Lines saved = SavedLines(d);
  EXPECT_EQ(std::count(saved.begin(), saved.end(), "CPs=2"), 2);
}

TEST(MeshDocking, ToleranceEdges) {
  WorkingFolder work;
  auto d = Load(ModelFile(Join({{"CPs=3"}, Block("0 0 1", "0.3999 0 0"), Block("0 0 2", "-0.4 0 0"),
                                Block("0 0 3", "0.4 0 0")})));
  d.doc->Dock(0.4);
  // The first point snapped, so the two copies stand in front of it.
  const Lines saved = SavedLines(d);
  EXPECT_EQ(saved[14], "0 0 0");
  EXPECT_EQ(saved[18], "-0.4 0 0");
  EXPECT_EQ(saved[22], "0.4 0 0");
}

TEST(MeshDocking, DrawingFollowsTheSectionTree) {
  WorkingFolder work;
  auto d = Load(Crlf(Join({{"[MODELFILE]", "[OBJECTS]", "[MESH]", "CPs=2"}, Block("0 0 1", "1 2 3"), Block("0 0 2", "4 5 6"),
                           {"[ENDMESH]", "[ENDOBJECTS]", "[ENDMODELFILE]"}})));
  mdltest::RecordingView view;
  d.doc->Draw(view, PointIds::Hidden);
  EXPECT_EQ(view.Texts(), (Lines{"M 1 2 3", "L 4 5 6"}));
}

TEST(MeshDocking, AttachmentCyclesLoadDockDrawAndSave) {
  WorkingFolder work;
  WarningList warnings;
  // 2 -> 3 -> 2 in the middle of a spline whose ends lie off the plane.
  auto d = Load(ModelFile(Join({{"CPs=4"}, Block("0 0 1", "1 0 0"), Block("0 1 2", "3"), Block("0 1 3", "2"),
                                Block("0 0 4", "2 0 0")})),
                nullptr, &warnings);
  ASSERT_EQ(warnings.warnings.size(), 1u);
  EXPECT_EQ(warnings.warnings[0].ids, (std::vector<std::int32_t>{2, 3}));
  EXPECT_EQ(d.doc->Dock(0.4).cp_after, 8);
  mdltest::RecordingView view;
  d.doc->Draw(view, PointIds::Hidden);
  EXPECT_EQ(view.calls.size(), 8u);
  // The copies 6 and 7 lie on the plane (a cycle rests on the point met twice, whose own x is
  // 0), so the plane-copy correction hangs them on the cycle instead of copying it: after
  // docking there is still the one cycle.
  ASSERT_EQ(warnings.warnings.size(), 2u);
  EXPECT_EQ(warnings.warnings[1].ids, (std::vector<std::int32_t>{2, 3}));
  EXPECT_FALSE(work.HasReport());
  EXPECT_FALSE(d.Save().empty());
}

TEST(MeshDocking, StackOfManyAttachmentsDocksInLinearTime) {
  WorkingFolder work;
  constexpr int kCount = 200000;
  Lines body = {"CPs=" + std::to_string(kCount + 1)};
  const Lines base = Block("0 0 1", "1 0 0");
  body.insert(body.end(), base.begin(), base.end());
  for (int i = 2; i <= kCount + 1; ++i) {
    const Lines b = Block("0 1 " + std::to_string(i), std::to_string(i - 1));
    body.insert(body.end(), b.begin(), b.end());
  }
  auto d = Load(ModelFile(body));
  EXPECT_EQ(d.doc->Dock(0.4).cp_after, 2 * (kCount + 1));
  mdltest::RecordingView view;
  d.doc->Draw(view, PointIds::Hidden);
  EXPECT_EQ(view.calls.size(), static_cast<std::size_t>(2 * (kCount + 1)));
  EXPECT_EQ(view.calls.back(), (mdltest::RecordingView::Call{'L', -1, 0, 0}));
}

TEST(ModelBounds, HalfBoxBecomesTheWholeBox) {
  auto d = Load(Crlf({"[MODELFILE]", "[MODEL]", "Bounds=0 -1 2 5 -1 2 5 3 2 0 3 2 0 -1 4 5 -1 4 5 3 4 0 3 4", "[ENDMODEL]", "[ENDMODELFILE]"}));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(d.doc->GetBound(i), 0);
  d.doc->Dock(0.4);
  const long double expected[6] = {-5, -1, 0, 5, 3, 4};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(d.doc->GetBound(i), expected[i]) << i;
  EXPECT_EQ(d.doc->GetBound(6), 100);
  EXPECT_EQ(d.doc->GetBound(-1), 100);
}

TEST(ModelBounds, ZeroWidthAndNoBoundsLine) {
  auto flat = Load(Crlf({"[MODELFILE]", "[MODEL]", "bounds=0 1 1 0 1 1 0 1 1 0 1 1 0 2 2 0 2 2 0 2 2 0 2 2", "[ENDMODEL]", "[ENDMODELFILE]"}));
  flat.doc->Dock(0.4);
  EXPECT_EQ(SavedLines(flat)[2], "Bounds=0 2 2 0 2 0 0 0 0 0 0 2 0 2 2 0 2 0 0 0 0 0 0 2 ");
  auto none = Load(Crlf({"[MODELFILE]", "[MODEL]", "Bounds =1 2 3", "[ENDMODEL]", "[ENDMODELFILE]"}));
  none.doc->Dock(0.4);
  EXPECT_EQ(SavedLines(none)[2], "Bounds =1 2 3");
  for (int i = 0; i < 6; ++i) EXPECT_EQ(none.doc->GetBound(i), 0);
}

TEST(ModelBounds, ShortBoundsLineIsAConversionError) {
  auto d = Load(Crlf({"[MODELFILE]", "[MODEL]", "Bounds=1 2 3 4", "[ENDMODEL]", "[ENDMODELFILE]"}));
  EXPECT_THROW(d.doc->Dock(0.4), ConversionError);
  EXPECT_EQ(SavedLines(d)[2], "Bounds=1 2 3 4");
}

TEST(ModelBounds, FirstModelSectionGivesTheBounds) {
  auto d = Load(Crlf({"[MODELFILE]", "[MODEL]", "[ENDMODEL]", "[MODEL]", "Bounds=1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1",
                      "[ENDMODEL]", "[ENDMODELFILE]"}));
  d.doc->Dock(0.4);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(d.doc->GetBound(i), 0);
  ModelSection model(nullptr);
  std::array<double, 3> min{7, 7, 7};
  std::array<double, 3> max{7, 7, 7};
  EXPECT_TRUE(model.FindBounds(min, max));
  EXPECT_EQ(min, (std::array<double, 3>{}));
}

}  // namespace
}  // namespace mk
