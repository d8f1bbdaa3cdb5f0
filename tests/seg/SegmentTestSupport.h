#pragma once
// Helpers of the segment tests: text in and out, and a plain reference docking (quadratic
// renumbering, the mirror from its rules, linear-scan attachment) to hold the fast one against.
// The recording view and bar and Crlf come from the shared support.

#include <memory>
#include <string>
#include <vector>

#include "core/util/LineList.h"
#include "core/seg/SegmentDocument.h"
#include "support/Files.h"
#include "support/Recording.h"

namespace mk::test {

inline std::unique_ptr<SegmentDocument> LoadSegment(const std::string& text) {
  auto segment = std::make_unique<SegmentDocument>(nullptr);
  segment->LoadFromLines(LineList::FromText(text), 0);
  return segment;
}

inline std::string Saved(const Document& document) {
  LineWriter out;
  document.SaveToLines(out);
  return out.Bytes();
}

/// The six header lines with the given box and spline count line.
inline std::vector<std::string> Header(const std::string& box, const std::string& count) {
  return {"SCUL 1 0 2 0 0 0", "3", box, "0 0 0", "text one", "text two", count};
}

/// Every point resolved by scanning the collection, anchors left to the point's own walk.
inline void ReferenceResolve(SegmentDocument& segment) {
  LargeVector<SegmentControlPoint*> points;
  segment.CollectCps(points);
  for (std::size_t s = 0; s < segment.SplineCount(); ++s)
    segment.SplineAt(s).ResolveAttachments(points);
}

/// Renumbering exactly as stated: every id in turn replaced by -(i+1) in every point.
inline std::int32_t ReferenceRenumber(SegmentDocument& segment) {
  if (segment.SplineCount() == 0) return 0;
  LargeVector<SegmentControlPoint*> points;
  segment.CollectCps(points);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::int32_t a = points[i]->cpid;
    for (SegmentControlPoint* p : points) p->ReplaceId(a, -static_cast<std::int32_t>(i + 1));
  }
  for (SegmentControlPoint* p : points) p->NegateIds();
  return static_cast<std::int32_t>(points.size());
}

/// The mirror from its rules rather than the spline's own steps: every point off a shared end
/// (an end on the plane) gets a twin with x negated and the id moved by n; a twin of a point
/// attached off the plane is attached to the moved id, one attached on the plane to the same
/// shared point. The twins in order make a new spline when neither end is shared; otherwise,
/// last first, they run into a shared first end or continue from a shared last end, and two
/// shared ends close the spline at its new last point.
inline void ReferenceMirror(SegmentDocument& segment, std::int32_t n) {
  auto plus = [](std::int32_t id, std::int32_t by) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(id) + static_cast<std::uint32_t>(by));
  };
  auto on_plane = [](const SegmentControlPoint& p) { return p.GetX() == 0; };
  std::vector<std::unique_ptr<SegmentSpline>> made;
  for (std::size_t s = segment.SplineCount(); s-- > 0;) {
    auto& points = segment.SplineAt(s).ControlPoints;
    bool all_on_plane = true;
    for (const auto& p : points) all_on_plane = all_on_plane && on_plane(*p);
    if (all_on_plane) continue;  // an empty spline too
    const bool first_shared = on_plane(*points.front());
    const bool last_shared = on_plane(*points.back());
    std::vector<std::unique_ptr<SegmentControlPoint>> twins;
    for (std::size_t i = 0; i < points.size(); ++i) {
      if ((first_shared && i == 0) || (last_shared && i + 1 == points.size())) continue;
      const SegmentControlPoint& p = *points[i];
      auto twin = std::make_unique<SegmentControlPoint>();
      twin->cptype = p.cptype;
      twin->attached = p.attached;
      if (p.IsAttached()) twin->at_cpid = on_plane(p) ? p.at_cpid : plus(p.at_cpid, n);
      twin->cpid = plus(p.cpid, n);
      twin->x = -p.x;
      twin->y = p.y;
      twin->z = p.z;
      twin->line3 = p.line3;
      twin->line4 = p.line4;
      twins.push_back(std::move(twin));
    }
    if (!first_shared && !last_shared) {
      auto spline = std::make_unique<SegmentSpline>();
      spline->ControlPoints = std::move(twins);
      made.push_back(std::move(spline));
      continue;
    }
    if (last_shared) {
      for (std::size_t i = twins.size(); i-- > 0;) points.push_back(std::move(twins[i]));
    } else {
      std::vector<std::unique_ptr<SegmentControlPoint>> joined;
      for (std::size_t i = twins.size(); i-- > 0;) joined.push_back(std::move(twins[i]));
      for (auto& point : points) joined.push_back(std::move(point));
      points = std::move(joined);
    }
    if (first_shared && last_shared) points.back()->SetClosed();
  }
  for (auto& spline : made) segment.Splines.push_back(std::move(spline));
}

/// The docking sequence on the reference parts; the segment must have been resolved with
/// ReferenceResolve after loading.
inline void ReferenceDock(SegmentDocument& segment, double tolerance) {
  if (segment.SplineCount() == 0) return;
  segment.SnapAllToPlane(tolerance);
  const std::int32_t n = ReferenceRenumber(segment);
  ReferenceMirror(segment, n);
  ReferenceResolve(segment);
  segment.ExtendBounds(segment.BoundMin, segment.BoundMax);
}

}  // namespace mk::test
