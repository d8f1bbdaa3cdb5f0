#include "core/tagged/TaggedReport.h"

#include <algorithm>
#include <cmath>

#include "core/tagged/TaggedPositions.h"

namespace mk::tagged {

void TaggedReport::NoteBeforeSnap(const TaggedModel& model, const std::vector<std::uint8_t>& is_end) {
  for (std::uint32_t i = 0; i < model.points.size(); ++i) {
    const TaggedPoint& p = model.points[i];
    if (p.form == PointForm::Positioned) seam_.NoteFree(i, p.x, is_end[i] != 0);
  }
}

void TaggedReport::NoteSplineEnd(std::uint32_t point, double distance) { seam_.NoteEnd(point, distance); }

void TaggedReport::NoteSpline(std::int32_t index, std::int32_t first_id, std::int32_t last_id,
                              SplineFate fate) {
  report_.splines.push_back({model_, index, first_id, last_id, fate});
}

void TaggedReport::NoteCorrection(std::uint32_t point, CorrectionKind kind, std::int32_t old_target,
                                  std::int32_t new_target) {
  corrections_.push_back({point, kind, old_target, new_target});
}

void TaggedReport::Finish(const TaggedModel& model, const std::vector<std::uint32_t>& missing,
                          const std::vector<std::uint32_t>& in_cycles) {
  Positions positions(model);
  auto place = [&](std::uint32_t i) {
    const std::array<double, 3> at = positions.Of(i);
    return ReportPlace{model_, model.points[i].id, at[0], at[1], at[2]};
  };
  for (const auto& m : seam_.snapped)
    report_.snapped.push_back({place(m.point), m.old_x, std::fabs(m.old_x)});
  // Inner points were met before the ends: in id order they read as the model runs.
  auto& missed = seam_.near_misses;
  std::stable_sort(missed.begin(), missed.end(), [&](const auto& a, const auto& b) {
    return model.points[a.point].id < model.points[b.point].id;
  });
  for (const auto& m : missed) report_.near_misses.push_back({place(m.point), m.kind, m.distance});
  for (const Corrected& c : corrections_)
    report_.corrections.push_back({place(c.point), c.kind, c.old_target, c.new_target});
  for (const std::uint32_t i : missing)
    report_.attachments.push_back(
        {place(i), AttachmentProblem::MissingTarget, model.points[i].target});
  for (const std::uint32_t i : in_cycles)
    report_.attachments.push_back({place(i), AttachmentProblem::Cycle, model.points[i].target});
  for (const KeptSection& kept : model.kept)
    report_.kept_for_original_half.push_back({model_, kept.tag, kept.first_line + 1, kept.count});
}

}  // namespace mk::tagged
