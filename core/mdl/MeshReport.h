#pragma once
// The dock report's part of one ".mdl" mesh. Docking hands it the points and splines at the
// stages where each entry is known; it keeps the points themselves and reads their docked ids
// and positions once the docking is done.

#include <cstdint>
#include <memory>
#include <vector>

#include "core/document/DockReport.h"
#include "core/document/SeamNotes.h"
#include "core/document/ToleranceSuggestion.h"
#include "core/mdl/ControlPointList.h"
#include "core/mdl/Spline.h"

namespace mk {

class MeshReport {
 public:
  MeshReport(DockReport& report, ToleranceAdvisor& advisor, std::int32_t mesh, double tolerance);

  /// Before the snap: the points it will move, the free inner points it leaves in the near-miss
  /// band, and every free point's distance for the tolerance suggestion.
  void NoteBeforeSnap(const ControlPointList& points);
  /// After the renumbering, before the mirror: each spline's ends, and those in the band. The
  /// outcomes go into the report at once, the last of its splines, for Finish to give their fates.
  void NoteSplines(const std::vector<std::unique_ptr<Spline>>& splines);
  /// One fate per spline noted, for the mirror to fill.
  SplineFate* Fates() { return fates_.data(); }
  std::vector<CorrectionNote>& Corrections() { return corrections_; }
  AttachFindings& Attachments() { return attachments_; }
  /// Writes the entries into the report, with the docked ids and positions.
  void Finish();

 private:
  DockReport& report_;
  std::int32_t mesh_;
  SeamNotes<const ControlPoint*> seam_;
  std::vector<SplineFate> fates_;
  std::vector<CorrectionNote> corrections_;
  AttachFindings attachments_;
};

}  // namespace mk
