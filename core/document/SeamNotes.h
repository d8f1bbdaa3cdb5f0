#pragma once
// The dock report's notes on the points near the plane, as every format takes them: before the
// snap each free point's distance goes to the tolerance suggestion, and the point is noted as
// snapped or, inside a spline, as a near miss; after the snap the spline ends in the band are
// near misses too. Ref is however the format refers to a point until the docking is done.

#include <cmath>
#include <vector>

#include "core/document/DockReport.h"
#include "core/document/SeamRules.h"
#include "core/document/ToleranceSuggestion.h"

namespace mk {

template <class Ref>
class SeamNotes {
 public:
  struct Snapped {
    Ref point;
    double old_x;
  };
  struct Missed {
    Ref point;
    NearMissKind kind;
    double distance;
  };

  SeamNotes(ToleranceAdvisor& advisor, double tolerance) : advisor_(advisor), tolerance_(tolerance) {}

  /// A free point as read, at x, before the snap; end: the first or last point of its spline.
  void NoteFree(Ref point, double x, bool end) {
    const double distance = std::fabs(x);
    if (end) {
      advisor_.NoteEnd(distance);
    } else {
      advisor_.NoteInner(distance);
    }
    if (x != 0 && distance < tolerance_) {
      snapped.push_back({point, x});
    } else if (!end && InNearMissBand(distance, tolerance_)) {
      // Ends are judged after the snap, where the mirror judges them.
      near_misses.push_back({point, NearMissKind::Point, distance});
    }
  }

  /// A spline's end after the snap, at its drawn distance from the plane.
  void NoteEnd(Ref point, double distance) {
    if (InNearMissBand(distance, tolerance_))
      near_misses.push_back({point, NearMissKind::SplineEnd, distance});
  }

  std::vector<Snapped> snapped;
  std::vector<Missed> near_misses;

 private:
  ToleranceAdvisor& advisor_;
  double tolerance_;
};

}  // namespace mk
