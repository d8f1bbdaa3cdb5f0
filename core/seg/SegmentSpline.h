#pragma once
// One spline of a ".seg" segment: a polyline through its control points, open or closed.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/docking/PlaneEnds.h"
#include "core/document/DockReport.h"
#include "core/util/LargeMemory.h"
#include "core/util/LineList.h"
#include "core/seg/SegmentControlPoint.h"
#include "core/view/View3D.h"

namespace mk {

class SegmentSpline {
 public:
  /// Owned, in file order, which is also the order the polyline runs.
  std::vector<std::unique_ptr<SegmentControlPoint>> ControlPoints;

  /// Reads the count line at index and that many point blocks; returns the index after them.
  /// Storage grows point by point: the count alone is never trusted, so a huge count in a short
  /// file ends with the line list's index error instead of a huge allocation.
  std::size_t ReadFromLines(const LineList& lines, std::size_t index);
  void WriteToLines(LineWriter& lines) const;

  std::size_t ControlPointCount() const { return ControlPoints.size(); }
  SegmentControlPoint& ControlPointAt(std::size_t index) const { return *ControlPoints.at(index); }
  void Append(std::unique_ptr<SegmentControlPoint> point) { ControlPoints.push_back(std::move(point)); }
  void CollectCps(LargeVector<SegmentControlPoint*>& points) const;
  void ResolveAttachments(const LargeVector<SegmentControlPoint*>& points);
  void ResolveAttachments(const SegmentPointIndex& index);
  void SnapAllToPlane(double tolerance);
  void ExtendBounds(std::array<double, 3>& min, std::array<double, 3>& max) const;

  /// Empty, or every point on the plane.
  bool LiesOnPlane() const;
  /// Which end points lie on the plane; needs a point.
  PlaneEnds EndsOnPlane() const;
  /// At least two points, and the first or the last carries the closed bit.
  bool IsClosedLoop() const;
  /// Adds the reflected twins: to this spline when an end touches the plane (the end point is
  /// shared by both halves), else to the new spline returned. None when nothing is to mirror.
  /// fate, when given, receives what became of the spline.
  std::unique_ptr<SegmentSpline> MakeMirror(std::int32_t offset, SplineFate* fate = nullptr);
  /// Lines only: no point marks and no ids.
  void Draw(View3D& view) const;
};

}  // namespace mk
