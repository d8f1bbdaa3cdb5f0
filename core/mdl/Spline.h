#pragma once
// One spline of a ".mdl" mesh: a chain of control points, its "CPs=" block, and the mirror that
// joins it to its own image across the plane X=0.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "core/docking/CorrectionRecord.h"
#include "core/docking/PlaneEnds.h"
#include "core/document/DockReport.h"
#include "core/mdl/ControlPoint.h"
#include "core/util/LargeMemory.h"
#include "core/util/Words.h"
#include "core/util/LineList.h"
#include "core/view/View3D.h"

namespace mk {

/// Owns its points through the chain from First to Last: a mesh holds millions of points, and a
/// list of them beside the links would double what the links already say.
class Spline {
 public:
  Spline() = default;
  /// Frees the chain point by point along the links: no recursion, however long the chain.
  ~Spline();
  Spline(const Spline&) = delete;
  Spline& operator=(const Spline&) = delete;

  ControlPoint* First = nullptr;
  ControlPoint* Last = nullptr;
  std::int32_t Count = 0;

  /// Reads the "CPs=" line at index and its blocks; returns the index after the last block.
  std::size_t LoadFromLines(std::span<const std::string_view> lines, std::size_t index);
  /// The point count of a "CPs=" line.
  static std::int32_t CountOf(std::string_view cps_line);
  void SaveToLines(LineWriter& lines) const;
  void CollectCps(LargeVector<ControlPoint*>& list) const;
  void Draw(View3D& view, PointIds ids, RestingPoints* memo = nullptr) const;
  void Append(std::unique_ptr<ControlPoint> point);
  void Prepend(std::unique_ptr<ControlPoint> point);
  bool LiesOnPlane(RestingPoints* memo = nullptr) const;
  /// Which end points lie on the plane.
  PlaneEnds EndsOnPlane(RestingPoints* memo = nullptr) const;
  /// Mirrors the spline with id offset n, appending correction records; returns the new spline
  /// when the spline touches the plane nowhere, else null (the spline itself has grown).
  /// memo may serve a whole mirror pass: mirroring changes no attach target. fate, when given,
  /// receives what became of the spline.
  std::unique_ptr<Spline> MakeMirror(std::int32_t n, CorrectionList& records,
                                      RestingPoints* memo = nullptr, SplineFate* fate = nullptr);

};

}  // namespace mk
