#include "core/tagged/TaggedReport.h"

#include <algorithm>
#include <cmath>

#include "core/document/SeamRules.h"
#include "core/tagged/TaggedPositions.h"

namespace mk::tagged {

void TaggedReport::NoteBeforeSnap(const TaggedModel& model, const std::vector<std::uint8_t>& is_end) {
  for (std::uint32_t i = 0; i < model.points.size(); ++i) {
    const TaggedPoint& p = model.points[i];
    if (p.form != PointForm::Positioned) continue;  // its place is its target's
    const double distance = std::fabs(p.x);
    if (is_end[i]) {
      advisor_.NoteEnd(distance);
    } else {
      advisor_.NoteInner(distance);
    }
    if (p.x != 0 && distance < tolerance_) {
      snapped_.push_back({i, p.x});
    } else if (!is_end[i] && InNearMissBand(distance, tolerance_)) {
      near_misses_.push_back({i, NearMissKind::Point, distance});
    }
  }
}

void TaggedReport::NoteSplineEnd(std::uint32_t point, double distance) {
  if (InNearMissBand(distance, tolerance_))
    near_misses_.push_back({point, NearMissKind::SplineEnd, distance});
}

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
  for (const Moved& m : snapped_) report_.snapped.push_back({place(m.point), m.old_x, std::fabs(m.old_x)});
  std::stable_sort(near_misses_.begin(), near_misses_.end(), [&](const Missed& a, const Missed& b) {
    return model.points[a.point].id < model.points[b.point].id;
  });
  for (const Missed& m : near_misses_) report_.near_misses.push_back({place(m.point), m.kind, m.distance});
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
