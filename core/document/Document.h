#pragma once
// The interface of every model document, ".mdl" section tree and ".seg" segment alike.

#include <cstddef>

#include "core/document/DockStatistics.h"
#include "core/document/PointIds.h"
#include "core/util/LineList.h"
#include "core/view/View3D.h"

namespace mk {

struct DockReport;

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
};

}  // namespace mk
