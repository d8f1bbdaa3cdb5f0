#pragma once
// Finds the control points of a document on a view's plane: the point under the mouse, or the
// point an entry of the dock report names by its id. The points are gathered once per document
// and direction; a lookup then costs a binary search and the few points near the place.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/document/Document.h"
#include "core/view/ViewFrame.h"

namespace mk {

class PointFinder {
 public:
  PointFinder() = default;
  /// Gathers the document's points as seen from the direction (front, left or top).
  PointFinder(const Document& document, int direction);

  /// The point nearest the plane point within radius (model units) on the plane; of points at
  /// the same place the one visited first. None when no point is that near.
  std::optional<VisitedPoint> Nearest(PlanePoint at, long double radius) const;
  /// A point with the id in the mesh (the leftmost when several share it).
  std::optional<VisitedPoint> WithId(std::int32_t mesh, std::int32_t id) const;
  std::size_t Size() const { return points_.size(); }
  int Direction() const { return direction_; }

 private:
  /// Doubles keep a million points in 32 bytes each; the finder only ever shows them.
  struct Entry {
    double x, y, z;
    std::int32_t mesh, id;
  };
  PlanePoint OnPlane(const Entry& entry) const;
  static VisitedPoint ToVisited(const Entry& entry);

  int direction_ = 0;
  /// Sorted by the horizontal plane coordinate, visiting order kept among equals.
  std::vector<Entry> points_;
};

}  // namespace mk
