#pragma once
// The dock report's part of a ".seg" docking. The docking hands it the splines at the stages
// where each entry is known; it keeps the points themselves and reads their docked ids and
// positions, and the attachments left unsettled, once the docking is done.

#include <cstdint>
#include <memory>
#include <vector>

#include "core/document/DockReport.h"
#include "core/document/ToleranceSuggestion.h"
#include "core/seg/SegmentSpline.h"
#include "core/util/LargeMemory.h"

namespace mk {

class SegmentReport {
 public:
  SegmentReport(DockReport& report, double tolerance);

  /// Before the snap: the points it will move, the free inner points it leaves in the near-miss
  /// band, and every free point's distance for the tolerance suggestion.
  void NoteBeforeSnap(const std::vector<std::unique_ptr<SegmentSpline>>& splines);
  /// After the renumbering, before the mirror: each spline's ends, and those in the band.
  void NoteSplines(const std::vector<std::unique_ptr<SegmentSpline>>& splines);
  /// One fate per spline noted, for the mirror to fill.
  SplineFate* Fates() { return fates_.data(); }
  /// Once the docked points are resolved: fills the report.
  void Finish(const LargeVector<SegmentControlPoint*>& docked);

 private:
  struct Moved {
    const SegmentControlPoint* point;
    double old_x;
  };
  struct Missed {
    const SegmentControlPoint* point;
    NearMissKind kind;
    double distance;
  };

  DockReport& report_;
  double tolerance_;
  ToleranceAdvisor advisor_;
  std::vector<Moved> snapped_;
  std::vector<Missed> near_misses_;
  std::vector<SplineFate> fates_;
  std::size_t first_spline_ = 0;  // the report's entry of the first spline noted
};

}  // namespace mk
