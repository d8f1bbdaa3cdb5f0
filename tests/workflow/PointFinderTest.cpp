// The points documents hand out for lookups, and finding them on a view's plane.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/document/PointFinder.h"
#include "core/seg/SegmentDocument.h"
#include "core/view/ProjectionView.h"
#include "core/workflow/Workflow.h"

namespace mk {
namespace {

struct Visits : PointVisitor {
  void Visit(const VisitedPoint& p) override { points.push_back(p); }
  std::vector<VisitedPoint> points;
};

/// Keeps what a drawing puts where: the labels and every pen position.
struct DrawnPlaces : View3D {
  struct Label {
    std::string text;
    long double x, y, z;
  };
  void MoveTo3D(long double x, long double y, long double z) override { pen.push_back({"", x, y, z}); }
  void LineTo3D(long double x, long double y, long double z) override { pen.push_back({"", x, y, z}); }
  void TextOut3D(std::string_view text, long double x, long double y, long double z) override {
    labels.push_back({std::string(text), x, y, z});
  }
  std::vector<Label> labels;
  std::vector<Label> pen;
};

OpenedModel Docked(const char* example) {
  const std::string name = std::string(MK_SOURCE_DIR "/examples/") + example;
  return ReadAndDock(name, FileKindOf(name), 0.4, nullptr, nullptr, WithReference::No);
}

TEST(VisitPoints, ModelPointsAreWhereTheirIdsAreDrawn) {
  for (const char* example : {"hooks.mdl", "ring.mdl", "car.mdl"}) {
    const OpenedModel model = Docked(example);
    Visits visits;
    model.working->VisitPoints(visits);
    DrawnPlaces drawn;
    model.working->Draw(drawn, PointIds::Shown);
    ASSERT_EQ(visits.points.size(), drawn.labels.size()) << example;
    for (std::size_t i = 0; i < drawn.labels.size(); ++i) {
      EXPECT_EQ(std::to_string(visits.points[i].id), drawn.labels[i].text) << example << " " << i;
      EXPECT_EQ(visits.points[i].x, drawn.labels[i].x);
      EXPECT_EQ(visits.points[i].y, drawn.labels[i].y);
      EXPECT_EQ(visits.points[i].z, drawn.labels[i].z);
      EXPECT_EQ(visits.points[i].mesh, 0);
    }
  }
}

TEST(VisitPoints, MeshesAreCountedInFileOrder) {
  const char* two_meshes =
      "[MODELFILE]\r\n[MESH]\r\nSplines=1\r\nCPs=1\r\n0 0 5\r\n1 2 3\r\n0\r\n0\r\n[ENDMESH]\r\n"
      "[MESH]\r\nSplines=1\r\nCPs=1\r\n0 0 5\r\n4 5 6\r\n0\r\n0\r\n[ENDMESH]\r\n[ENDMODELFILE]\r\n";
  const LineList lines = LineList::FromText(two_meshes);
  auto document = CreateDocument(FileKind::Model, nullptr, nullptr);
  document->LoadFromLines(lines, 0);
  Visits visits;
  document->VisitPoints(visits);
  ASSERT_EQ(visits.points.size(), 2u);
  EXPECT_EQ(visits.points[0].mesh, 0);
  EXPECT_EQ(visits.points[1].mesh, 1);
  EXPECT_EQ(visits.points[1].x, 4);
}

TEST(VisitPoints, SegmentPointsAreTheDrawnVerticesAttachedOnesAtTheirAnchor) {
  for (const char* example : {"ring.seg", "attachments.seg", "car.seg"}) {
    const OpenedModel model = Docked(example);
    const auto& segment = dynamic_cast<const SegmentDocument&>(*model.working);
    Visits visits;
    segment.VisitPoints(visits);
    DrawnPlaces drawn;
    segment.Draw(drawn, PointIds::Shown);
    std::size_t points = 0, pen = 0, visited = 0;
    for (const auto& spline : segment.Splines) {
      for (const auto& point : spline->ControlPoints) {
        ASSERT_LT(visited, visits.points.size());
        const VisitedPoint& v = visits.points[visited++];
        EXPECT_EQ(v.id, point->cpid);
        EXPECT_EQ(v.x, point->GetX().ToLongDouble());
        EXPECT_EQ(v.x, drawn.pen[pen].x) << example;
        EXPECT_EQ(v.z, drawn.pen[pen].z) << example;
        ++pen;
        ++points;
      }
      if (spline->IsClosedLoop()) ++pen;  // the line back to the first point
    }
    EXPECT_EQ(visits.points.size(), points);
    EXPECT_EQ(pen, drawn.pen.size());
  }
}

TEST(PointFinder, FindsTheNearestPointWithinTheRadiusOnTheViewsPlane) {
  const OpenedModel model = Docked("hooks.mdl");
  Visits visits;
  model.working->VisitPoints(visits);
  for (int direction : {kFrontView, kLeftView, kTopView}) {
    const PointFinder finder(*model.working, direction);
    EXPECT_EQ(finder.Size(), visits.points.size());
    for (const VisitedPoint& p : visits.points) {
      const PlanePoint at = PlanePointOf(direction, p.x, p.y, p.z);
      const auto found = finder.Nearest({at.h + 0.01L, at.v - 0.01L}, 0.05L);
      ASSERT_TRUE(found) << direction << " " << p.id;
      // Another point may share the place on this plane; it is then at the same spot.
      const PlanePoint there = PlanePointOf(direction, found->x, found->y, found->z);
      EXPECT_NEAR(static_cast<double>(there.h), static_cast<double>(at.h), 1e-9);
      EXPECT_NEAR(static_cast<double>(there.v), static_cast<double>(at.v), 1e-9);
    }
  }
  const PointFinder front(*model.working, kFrontView);
  EXPECT_FALSE(front.Nearest({1000, 1000}, 5));
  EXPECT_FALSE(front.Nearest({0, 6}, -1));
  const auto top = front.Nearest({0, 6.3L}, 0.5L);
  ASSERT_TRUE(top);
  EXPECT_EQ(top->y, 6);
  EXPECT_FALSE(front.Nearest({0, 6.3L}, 0.2L));
}

TEST(PointFinder, FindsAPointByMeshAndId) {
  const OpenedModel model = Docked("hooks.mdl");
  const PointFinder finder(*model.working, kFrontView);
  Visits visits;
  model.working->VisitPoints(visits);
  const VisitedPoint& last = visits.points.back();
  const auto found = finder.WithId(0, last.id);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->x, last.x);
  EXPECT_EQ(found->y, last.y);
  EXPECT_FALSE(finder.WithId(1, last.id));
  EXPECT_FALSE(finder.WithId(0, 1 << 30));
  EXPECT_EQ(PointFinder().Size(), 0u);
  EXPECT_FALSE(PointFinder().Nearest({0, 0}, 100));
}

}  // namespace
}  // namespace mk
