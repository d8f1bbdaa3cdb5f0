// Docking of small hand-made angle-tag files, line by line: the mirror of splines and hooks,
// patches and normals, groups and bones, several models, and what the file keeps as read.

#include <gtest/gtest.h>

#include <map>

#include "tagged/TaggedTestSupport.h"

namespace mk::test {
namespace {

std::string Docked(const std::string& text, double tolerance = 0.001, DockReport* report = nullptr) {
  auto document = LoadTagged(text);
  document->Dock(tolerance, report);
  return SaveTagged(*document);
}

std::vector<std::string> Lines(std::initializer_list<const char*> lines) {
  return {lines.begin(), lines.end()};
}

/// The point lines of every spline of the first mesh, "|" between splines.
std::vector<std::string> Splines(const std::string& text) {
  std::vector<std::string> out;
  bool in_mesh = false;
  for (const std::string& line : LinesOf(text)) {
    if (line == "<MESH>") in_mesh = true;
    if (line == "</MESH>") break;
    if (!in_mesh || line == "<MESH>" || line == "<SPLINE>") continue;
    if (line == "<PATCHES>") break;
    out.push_back(line == "</SPLINE>" ? "|" : line);
  }
  return out;
}

TEST(TaggedDocking, HooksOnMirroredSplinesNameTheImageOfThePointAfterTheirTarget) {
  const std::string text = TaggedFileText({
      "<SPLINE>", "1 0 1 0 0 0 . .", "1 0 2 1 0 0 . .", "1 0 3 2 0 0 . .", "</SPLINE>",
      // hooked at 0.25 of the way from 2 to 3, as the last point of its spline
      "<SPLINE>", "1 0 4 1 1 0 . .", "17 1 5 0.25 2", "</SPLINE>",
      // hooked halfway from 1 (on the plane) to 2, as the first point of its spline
      "<SPLINE>", "17 1 6 0.5 1", "1 0 7 0.5 2 0 . .", "</SPLINE>"});
  EXPECT_EQ(Splines(Docked(text)),
            Lines({"1 0 9 -2 0 0 . .", "1 0 8 -1 0 0 . .", "1 0 1 0 0 0 . .", "1 0 2 1 0 0 . .",
                   "1 0 3 2 0 0 . .", "|",
                   "1 0 4 1 1 0 . .", "17 1 5 0.25 2", "|",
                   "17 1 6 0.5 1", "1 0 7 0.5 2 0 . .", "|",
                   "17 1 11 0.75 9", "1 0 10 -1 1 0 . .", "|",
                   "1 0 13 -0.5 2 0 . .", "17 1 12 0.5 8", "|"}));
}

TEST(TaggedDocking, AHookOnTheEndOfAnOpenSplineStaysOnItsTargetsImage) {
  // Hooked to the last point of its target's spline, the hook sits on that point: there is no
  // stretch after it. The image of that point starts the reversed image, so the image hook
  // takes the ratio 0.
  const std::string text = TaggedFileText({
      "<SPLINE>", "1 0 1 1 0 0 . .", "1 0 2 2 0 0 . .", "</SPLINE>",
      "<SPLINE>", "1 0 3 2 1 0 . .", "17 1 4 0.5 2", "</SPLINE>"});
  EXPECT_EQ(Splines(Docked(text)),
            Lines({"1 0 1 1 0 0 . .", "1 0 2 2 0 0 . .", "|", "1 0 3 2 1 0 . .", "17 1 4 0.5 2", "|",
                   "1 0 6 -2 0 0 . .", "1 0 5 -1 0 0 . .", "|", "17 1 8 0 6", "1 0 7 -2 1 0 . .", "|"}));
}

TEST(TaggedDocking, HookPositionsAreMirrored) {
  const std::string text = TaggedFileText({
      "<SPLINE>", "1 0 1 0 0 0 . .", "1 0 2 1 0 0 . .", "1 0 3 2 0 0 . .", "</SPLINE>",
      "<SPLINE>", "1 0 4 1 1 0 . .", "17 1 5 0.25 2", "</SPLINE>"});
  auto document = LoadTagged(text);
  document->Dock(0.001);
  struct Collect : PointVisitor {
    std::map<std::int32_t, long double> x;
    void Visit(const VisitedPoint& p) override { x[p.id] = p.x; }
  } points;
  document->VisitPoints(points);
  EXPECT_DOUBLE_EQ(static_cast<double>(points.x[5]), 1.25);
  EXPECT_DOUBLE_EQ(static_cast<double>(points.x[9]), -1.25);
}

TEST(TaggedDocking, LoopsCloseOnTheirLastPointAndPlanePointsJoinTheHalves) {
  const std::string text = TaggedFileText({
      // both ends on the plane: the image closes the loop
      "<SPLINE>", "1 0 1 0 0 0 . .", "1 0 2 1 0 0 0 0 1.5 .", "1 0 3 1 1 0 . .",
      "1 0 4 1e-005 1 0 . .", "</SPLINE>",
      // a point on the plane inside a spline: its image sits on it (on the last point stacked
      // there)
      "<SPLINE>", "1 0 5 1 2 0 . .", "1 0 6 0 2 0 . .", "1 0 7 1 3 0 . .", "</SPLINE>",
      "<SPLINE>", "1 1 8 6 . .", "1 0 9 1 4 0 . .", "</SPLINE>",
      // a closed loop off the plane: its twin is closed too
      "<SPLINE>", "1 0 10 3 0 0 . .", "1 0 11 4 0 0 . .", "5 0 12 4 1 0 . .", "</SPLINE>"});
  DockReport report;
  EXPECT_EQ(Splines(Docked(text, 0.001, &report)),
            Lines({"1 0 1 0 0 0 . .", "1 0 2 1 0 0 0 0 1.5 .", "1 0 3 1 1 0 . .", "1 0 4 0 1 0 . .",
                   "1 0 14 -1 1 0 . .", "5 0 13 -1 0 0 0 0 1.5 .", "|",
                   "1 0 5 1 2 0 . .", "1 0 6 0 2 0 . .", "1 0 7 1 3 0 . .", "|",
                   "1 0 18 -1 4 0 . .", "1 1 8 6 . .", "1 0 9 1 4 0 . .", "|",
                   "1 0 10 3 0 0 . .", "1 0 11 4 0 0 . .", "5 0 12 4 1 0 . .", "|",
                   "1 0 17 -1 3 0 . .", "1 1 16 8 . .", "1 0 15 -1 2 0 . .", "|",
                   "1 0 21 -4 1 0 . .", "1 0 20 -4 0 0 . .", "5 0 19 -3 0 0 . .", "|"}));
  ASSERT_EQ(report.snapped.size(), 1u);
  EXPECT_EQ(report.snapped[0].place.id, 4);
  EXPECT_EQ(report.snapped[0].old_x, 1e-5);
  ASSERT_EQ(report.corrections.size(), 1u);
  EXPECT_EQ(report.corrections[0].kind, CorrectionKind::PlaneCopy);
  EXPECT_EQ(report.corrections[0].place.id, 16);
  EXPECT_EQ(report.corrections[0].new_target, 8);
  ASSERT_EQ(report.splines.size(), 4u);
  EXPECT_EQ(report.splines[0].fate, SplineFate::ClosedThroughBothEnds);
  EXPECT_EQ(report.splines[1].fate, SplineFate::Twinned);
  EXPECT_EQ(report.splines[2].fate, SplineFate::ExtendedThroughFirstEnd);
  EXPECT_EQ(report.splines[3].fate, SplineFate::AlreadyClosed);
  EXPECT_EQ(report.counts.cp_before, 12);
  EXPECT_EQ(report.counts.cp_after, 21);
  EXPECT_EQ(report.counts.splines_after, 6);
}

TEST(TaggedDocking, AFivePointPatchAcrossTheSeamGetsAReversedImageWithMirroredNormals) {
  const std::string text = TaggedFileText({
      "<SPLINE>", "1 0 1 0 0 0 . .", "1 0 2 1 0 0 . .", "1 0 3 1 1 0 . .", "1 0 4 0 1 0 . .",
      "</SPLINE>",
      "<SPLINE>", "1 0 5 0 0.5 0 . .", "1 0 6 0.5 0.5 0 . .", "</SPLINE>",
      "<PATCHES>", "1 1 2 3 4 6 0 1 2 3 4 0", "8 1 2 4 1 0 1 2 0 1", "0 1 4 5 1 0 0 0 0 0",
      "</PATCHES>",
      "<NORMALS>", "0 0 1", "0.1 0 0.9", "-0 0 1", "0.2 0 0.8", "0 0 -1", "</NORMALS>",
      "<ATTRS>", "</ATTRS>"});
  const std::string docked = Docked(text);
  // The 3-point patch keeps its form (fourth corner = first); the patch in the plane gets none.
  EXPECT_EQ(Section(docked, "PATCHES"),
            Lines({"1 1 2 3 4 6 0 1 2 3 4 0", "8 1 2 4 1 0 1 2 0 1", "0 1 4 5 1 0 0 0 0 0",
                   "1 1 9 4 8 7 5 6 7 8 9 0", "8 1 4 7 1 5 8 9 5 1"}));
  EXPECT_EQ(Section(docked, "NORMALS"),
            Lines({"0 0 1", "0.1 0 0.9", "-0 0 1", "0.2 0 0.8", "0 0 -1", "0 0 1", "0 0 -1",
                   "-0.2 0 0.8", "0 0 1", "-0.1 0 0.9"}));
}

TEST(TaggedDocking, ImagePatchCornersNameTheStackMemberTowardsTheirNextCorner) {
  // A cell of two rows crossed by two columns whose points are stacked on the rows' points. The
  // patch names at each corner the member on the spline to the next corner: row, column, row,
  // column. Its image runs the other way round, and names the other members.
  const std::string text = TaggedFileText({
      "<SPLINE>", "1 0 1 1 0 0 . .", "1 0 2 2 0 0 . .", "</SPLINE>",
      "<SPLINE>", "1 0 3 1 1 0 . .", "1 0 4 2 1 0 . .", "</SPLINE>",
      "<SPLINE>", "1 1 5 1 . .", "1 1 6 3 . .", "</SPLINE>",
      "<SPLINE>", "1 1 7 2 . .", "1 1 8 4 . .", "</SPLINE>",
      "<PATCHES>", "24 1 7 4 6 0 0 0 0 0", "</PATCHES>", "<NORMALS>", "0 0 1", "</NORMALS>"});
  EXPECT_EQ(Section(Docked(text), "PATCHES"),
            Lines({"24 1 7 4 6 0 0 0 0 0", "24 13 11 16 10 1 1 1 1 0"}));
}

TEST(TaggedDocking, GroupsAndBonesListTheImagesOfTheirPoints) {
  const std::string text = TaggedFileText(
      {"<SPLINE>", "1 0 1 0 0 0 . .", "1 0 2 1 0 0 . .", "1 0 3 1 1 0 . .", "1 0 4 0 1 0 . .",
       "</SPLINE>"},
      {"<BONES>", "<SEGMENT>", "Name=bone", "<NONSKINNEDCPS>", "1", "2", "4", "</NONSKINNEDCPS>",
       "<WEIGHTEDCPS>", "3 0.5", "</WEIGHTEDCPS>", "</SEGMENT>", "</BONES>",
       "<GROUPS>", "<USERCONTAINER> Sides", "<GROUP>", "Name=g", "<CPS>", "2", "3", "1", "</CPS>",
       "</GROUP>", "</USERCONTAINER>", "</GROUPS>"});
  const std::string docked = Docked(text);
  EXPECT_EQ(Section(docked, "NONSKINNEDCPS"), Lines({"1", "2", "4", "5"}));
  EXPECT_EQ(Section(docked, "WEIGHTEDCPS"), Lines({"3 0.5", "6 0.5"}));
  EXPECT_EQ(Section(docked, "CPS"), Lines({"2", "3", "1", "5", "6"}));
}

TEST(TaggedDocking, EachModelOfAFileDocksOnItsOwnWithItsOwnIds) {
  const std::string model = "<MODEL>\r\n<MESH>\r\n<SPLINE>\r\n1 0 1 1 0 0 . .\r\n"
                            "1 0 2 2 0 0 . .\r\n</SPLINE>\r\n</MESH>\r\n</MODEL>\r\n";
  const std::string text = "<MODELFILE>\r\n<OBJECTS>\r\n" + model + model +
                           "</OBJECTS>\r\n</MODELFILE>\r\n";
  const std::string image = "<SPLINE>\r\n1 0 4 -2 0 0 . .\r\n1 0 3 -1 0 0 . .\r\n</SPLINE>\r\n";
  const std::string docked_model = "<MODEL>\r\n<MESH>\r\n<SPLINE>\r\n1 0 1 1 0 0 . .\r\n"
                                   "1 0 2 2 0 0 . .\r\n</SPLINE>\r\n" + image +
                                   "</MESH>\r\n</MODEL>\r\n";
  EXPECT_EQ(Docked(text), "<MODELFILE>\r\n<OBJECTS>\r\n" + docked_model + docked_model +
                              "</OBJECTS>\r\n</MODELFILE>\r\n");
}

/// The text with its "FileInfoPos=" naming the offset of its <FileInfo> line, as real files have it.
std::string WithTrueFileInfoPos(std::string text) {
  const std::size_t at = text.find("FileInfoPos=");
  const std::size_t end = text.find_first_of("\r\n", at);
  text.replace(at, end - at, "FileInfoPos=" + std::to_string(text.find("<FileInfo>")));
  return text;
}

TEST(TaggedDocking, FileInfoPosFollowsItsLineAndLfFilesStayLf) {
  const std::string crlf = TaggedFileText({"<SPLINE>", "1 0 1 1 0 0 . .", "1 0 2 2 0 0 . .",
                                           "</SPLINE>"});
  std::string lf;
  for (const char c : crlf)
    if (c != '\r') lf += c;
  for (const std::string& input : {WithTrueFileInfoPos(crlf), WithTrueFileInfoPos(lf)}) {
    const std::string docked = Docked(input);
    EXPECT_EQ(docked, WithTrueFileInfoPos(docked));
    EXPECT_NE(docked, input);
    EXPECT_EQ(docked.find('\r') == std::string::npos, input.find('\r') == std::string::npos);
  }
}

TEST(TaggedDocking, SectionsWithoutAKnownMirrorAreKeptAndListed) {
  const std::string text = TaggedFileText(
      {"<SPLINE>", "1 0 1 1 0 0 . .", "1 0 2 2 0 0 . .", "</SPLINE>"},
      {"<DECALS>", "<DECAL>", "<STAMPS>", "<STAMP>", "<DATA>", "0 1 2 1 1 0 0 0", "</DATA>",
       "</STAMP>", "</STAMPS>", "</DECAL>", "</DECALS>"});
  DockReport report;
  const std::string docked = Docked(text, 0.001, &report);
  EXPECT_EQ(Section(docked, "DATA"), Lines({"0 1 2 1 1 0 0 0"}));
  ASSERT_EQ(report.kept_for_original_half.size(), 1u);
  EXPECT_EQ(report.kept_for_original_half[0].section, "STAMPS");
  EXPECT_EQ(report.kept_for_original_half[0].line, 14);
}

TEST(TaggedDocking, AModelWithoutSplinesIsLeftAsItIs) {
  const std::string text = TaggedFileText({"<PATCHES>", "</PATCHES>", "<NORMALS>", "</NORMALS>"});
  EXPECT_EQ(Docked(text), text);
}

}  // namespace
}  // namespace mk::test
