#include "core/seg/SegmentReport.h"

#include <algorithm>
#include <cmath>

#include "core/document/SeamRules.h"

namespace mk {
namespace {

/// Segments have one mesh; a point is drawn where its anchor is.
ReportPlace PlaceOf(const SegmentControlPoint& p) {
  const SegmentControlPoint& at = p.Anchor();
  return {0, p.cpid, at.x.ToLongDouble(), at.y.ToLongDouble(), at.z.ToLongDouble()};
}

/// The distance from the plane as the snap measures it: the magnitude taken as a double.
double DistanceOf(const SegmentControlPoint& p) { return std::fabs(p.x.ToDouble()); }

}  // namespace

SegmentReport::SegmentReport(DockReport& report, double tolerance)
    : report_(report), tolerance_(tolerance), advisor_(tolerance) {}

void SegmentReport::NoteBeforeSnap(const std::vector<std::unique_ptr<SegmentSpline>>& splines) {
  for (const auto& spline : splines) {
    const std::size_t n = spline->ControlPoints.size();
    for (std::size_t i = 0; i < n; ++i) {
      const SegmentControlPoint& p = *spline->ControlPoints[i];
      if (p.IsAttached()) continue;  // it stands where its target does, and the snap leaves it
      const double distance = DistanceOf(p);
      const bool end = i == 0 || i + 1 == n;
      if (end) {
        advisor_.NoteEnd(distance);
      } else {
        advisor_.NoteInner(distance);
      }
      if (!p.x.IsZero() && distance < tolerance_) {
        snapped_.push_back({&p, p.x.ToDouble()});
      } else if (!end && InNearMissBand(distance, tolerance_)) {
        // Ends are judged after the snap, through their attachments, as the mirror judges them.
        near_misses_.push_back({&p, NearMissKind::Point, distance});
      }
    }
  }
}

void SegmentReport::NoteSplines(const std::vector<std::unique_ptr<SegmentSpline>>& splines) {
  fates_.assign(splines.size(), SplineFate::OnPlane);
  first_spline_ = report_.splines.size();
  report_.splines.reserve(report_.splines.size() + splines.size());
  for (std::size_t s = 0; s < splines.size(); ++s) {
    const auto& points = splines[s]->ControlPoints;
    SplineOutcome outcome;
    outcome.index = static_cast<std::int32_t>(s);
    if (!points.empty()) {
      outcome.first_id = points.front()->cpid;
      outcome.last_id = points.back()->cpid;
      for (const SegmentControlPoint* end : {points.front().get(), points.back().get()}) {
        const double distance = std::fabs(end->GetX().ToDouble());
        if (InNearMissBand(distance, tolerance_))
          near_misses_.push_back({end, NearMissKind::SplineEnd, distance});
        if (points.size() == 1) break;
      }
    }
    report_.splines.push_back(outcome);
  }
}

void SegmentReport::Finish(const LargeVector<SegmentControlPoint*>& docked) {
  for (std::size_t s = 0; s < fates_.size(); ++s) report_.splines[first_spline_ + s].fate = fates_[s];
  report_.snapped.reserve(report_.snapped.size() + snapped_.size());
  for (const Moved& m : snapped_)
    report_.snapped.push_back({PlaceOf(*m.point), m.old_x, std::fabs(m.old_x)});
  std::stable_sort(near_misses_.begin(), near_misses_.end(),
                   [](const Missed& a, const Missed& b) { return a.point->cpid < b.point->cpid; });
  for (const Missed& m : near_misses_)
    report_.near_misses.push_back({PlaceOf(*m.point), m.kind, m.distance});
  // An attached point with a target that answers its own position is on a cycle.
  for (const SegmentControlPoint* p : docked) {
    if (!p->IsAttached()) continue;
    if (p->at_cp == nullptr) {
      report_.attachments.push_back({PlaceOf(*p), AttachmentProblem::MissingTarget, p->at_cpid});
    } else if (&p->Anchor() == p) {
      report_.attachments.push_back({PlaceOf(*p), AttachmentProblem::Cycle, p->at_cpid});
    }
  }
  report_.suggested_tolerance = advisor_.Suggest();
}

}  // namespace mk
