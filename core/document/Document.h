#pragma once
// The interface of every model document, ".mdl" section tree and ".seg" segment alike.

#include <cstddef>
#include <cstdint>

#include "core/document/DockStatistics.h"
#include "core/document/PointIds.h"
#include "core/util/LineList.h"
#include "core/view/View3D.h"

namespace mk {

struct DockReport;

/// One control point where the document draws it, for lookups such as what lies under the mouse.
/// mesh is the 0-based "[MESH]" section of a ".mdl" file in file order (0 for ".seg").
struct VisitedPoint {
  std::int32_t mesh = 0;
  std::int32_t id = 0;
  long double x = 0, y = 0, z = 0;
};

class PointVisitor {
 public:
  virtual ~PointVisitor() = default;
  virtual void Visit(const VisitedPoint& point) = 0;
};

class Document {
 public:
  virtual ~Document() = default;
  /// Parses the document or section that starts at index; returns the index after it.
  virtual std::size_t LoadFromLines(const LineList& lines, std::size_t index) = 0;
  /// Appends the document's lines.
  virtual void SaveToLines(LineWriter& lines) const = 0;
  /// Mirrors across X=0 and joins the halves; points nearer the plane than tolerance snap onto it.
  /// Answers the counts of the docking (zeros when there was nothing to dock). With a report,
  /// its entries are filled as well; without one, docking does no work for it.
  virtual DockStatistics Dock(double tolerance, DockReport* report) = 0;
  DockStatistics Dock(double tolerance) { return Dock(tolerance, nullptr); }
  /// Bound 0..5 = minimum x, y, z, maximum x, y, z; 100 for any other index.
  virtual long double GetBound(int index) const = 0;
  virtual void Draw(View3D& view, PointIds ids) const = 0;
  /// Hands every control point to the visitor, in drawing order, at the position Draw uses.
  virtual void VisitPoints(PointVisitor& visitor) const = 0;
};

}  // namespace mk
