#pragma once
// The ".seg" document: a short header and a list of splines. It reads, docks, bounds, draws and
// writes its format by itself, with its own splines and control points.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/document/FileDocument.h"
#include "core/seg/SegmentSpline.h"
#include "core/util/Extended.h"
#include "core/util/LargeMemory.h"

namespace mk {

class SegmentDocument : public FileDocument {
 public:
  using FileDocument::FileDocument;

  /// Reads the whole list from line 0 (index is not used) and resolves attachments; returns 0.
  /// On an error the splines read so far stay, unresolved.
  std::size_t LoadFromLines(const LineList& lines, std::size_t index) override;
  void SaveToLines(LineWriter& lines) const override;
  /// Segments never write ids.
  void Draw(View3D& view, PointIds ids) const override;
  /// Attached points are visited at their anchor's position, as they are drawn.
  void VisitPoints(PointVisitor& visitor) const override;

  std::size_t SplineCount() const { return Splines.size(); }
  SegmentSpline& SplineAt(std::size_t index) const { return *Splines.at(index); }
  void CollectCps(LargeVector<SegmentControlPoint*>& points) const;
  /// Every attached point takes the first point of the list, in list order, with its at_cpid.
  void ResolveAttachments(const LargeVector<SegmentControlPoint*>& points);
  void SnapAllToPlane(double tolerance);
  /// Numbers the points 1..N in collection order and returns N. References follow their
  /// point; points sharing an id all end with the last one's new id; references to no id are
  /// negated. The result equals that of replacing every id in turn by -(i+1) across all points
  /// and negating at the end, but takes linear time.
  std::int32_t Renumber();
  /// fates, when given, receives the fate of each spline present now, by its position.
  void MirrorSplines(std::int32_t offset, SplineFate* fates = nullptr);
  void ExtendBounds(std::array<double, 3>& min, std::array<double, 3>& max) const;

  std::vector<std::unique_ptr<SegmentSpline>> Splines;
  std::int32_t HeaderA = 0;
  std::int32_t HeaderB = 0;
  std::int32_t HeaderC = 0;
  std::array<Extended, 3> HeaderTriple{};
  std::string HeaderText1;
  std::string HeaderText2;

 protected:
  /// Snap, renumber 1..N, mirror with offset N, resolve attachments again, widen the stored box.
  DockStatistics DockContents(double tolerance, DockReport* report) override;

 private:
  /// ResolveAttachments through an id index, then the anchors; gives the cycles met.
  std::vector<std::vector<std::int32_t>> ResolveAndAnchor(const LargeVector<SegmentControlPoint*>& points);
};

}  // namespace mk
