#pragma once
// The rules the dock report applies in both formats: which distances from the plane count as a
// near miss, and what the mirror makes of a spline.

#include "core/docking/PlaneEnds.h"
#include "core/document/DockReport.h"

namespace mk {

/// A near miss lies at least the tolerance from the plane (so it was not snapped) but closer
/// than three tolerances: near enough that the modeller most likely meant it for the seam.
inline constexpr double kNearMissReach = 3;

inline bool InNearMissBand(double distance, double tolerance) {
  return distance >= tolerance && distance < kNearMissReach * tolerance;
}

/// The fate of a spline from what the mirror looks at: an empty spline counts as on the plane,
/// as neither gets an image.
inline SplineFate FateOf(bool lies_on_plane, PlaneEnds ends, bool closed) {
  if (lies_on_plane) return SplineFate::OnPlane;
  switch (ends) {
    case PlaneEnds::First: return SplineFate::ExtendedThroughFirstEnd;
    case PlaneEnds::Last: return SplineFate::ExtendedThroughLastEnd;
    case PlaneEnds::Both: return SplineFate::ClosedThroughBothEnds;
    case PlaneEnds::None: break;
  }
  return closed ? SplineFate::AlreadyClosed : SplineFate::Twinned;
}

}  // namespace mk
