#pragma once
// The dock report's part of one angle-tag model. Docking hands it the points by index at the
// stages where each entry is known; Finish reads their docked ids and positions.

#include <cstdint>
#include <string>
#include <vector>

#include "core/document/DockReport.h"
#include "core/document/SeamNotes.h"
#include "core/document/ToleranceSuggestion.h"
#include "core/tagged/TaggedModel.h"

namespace mk::tagged {

class TaggedReport {
 public:
  TaggedReport(DockReport& report, ToleranceAdvisor& advisor, std::int32_t model, double tolerance)
      : report_(report), model_(model), seam_(advisor, tolerance) {}

  /// Before the snap: the points it will move, inner points left in the near-miss band, and each
  /// positioned point's distance for the suggestion. is_end tells the splines' end points.
  void NoteBeforeSnap(const TaggedModel& model, const std::vector<std::uint8_t>& is_end);
  /// A spline's end after the snap, at its distance from the plane.
  void NoteSplineEnd(std::uint32_t point, double distance);
  void NoteSpline(std::int32_t index, std::int32_t first_id, std::int32_t last_id, SplineFate fate);
  void NoteCorrection(std::uint32_t point, CorrectionKind kind, std::int32_t old_target,
                      std::int32_t new_target);
  /// Writes the entries with the docked positions, the attachment findings and kept sections.
  void Finish(const TaggedModel& model, const std::vector<std::uint32_t>& missing,
              const std::vector<std::uint32_t>& in_cycles);

 private:
  struct Corrected {
    std::uint32_t point;
    CorrectionKind kind;
    std::int32_t old_target, new_target;
  };

  DockReport& report_;
  std::int32_t model_;
  SeamNotes<std::uint32_t> seam_;
  std::vector<Corrected> corrections_;
};

}  // namespace mk::tagged
