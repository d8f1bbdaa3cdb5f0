#include "core/mdl/MeshReport.h"

#include <algorithm>
#include <cmath>


namespace mk {
namespace {

/// Where the point is drawn in the docked model: the position the views put it at.
ReportPlace PlaceOf(const ControlPoint& p, std::int32_t mesh, RestingPoints& memo) {
  const std::array<double, 3> at = p.GetXYZ(p.HookRatio(), &memo);
  return {mesh, p.cpid, at[0], at[1], at[2]};
}

// The entries' points lie scattered over a pool of a hundred megabytes and more: asking for the
// next ones ahead keeps the passes below from waiting on each point in turn.
constexpr std::size_t kAhead = 8;

void Prefetch(const void* p) { __builtin_prefetch(p); }

}  // namespace

MeshReport::MeshReport(DockReport& report, ToleranceAdvisor& advisor, std::int32_t mesh,
                       double tolerance)
    : report_(report), mesh_(mesh), seam_(advisor, tolerance) {}

void MeshReport::NoteBeforeSnap(const ControlPointList& points) {
  const auto count = static_cast<std::size_t>(points.CpCount());
  for (std::size_t k = 0; k < count; ++k) {
    if (k + kAhead < count) Prefetch(points.At(k + kAhead));
    const ControlPoint* p = points.At(k);
    if (p->IsAttached()) continue;  // its own x is not its position, and the snap leaves it
    seam_.NoteFree(p, p->x, p->IsFirst() || p->IsLast());
  }
}

void MeshReport::NoteSplines(const std::vector<std::unique_ptr<Spline>>& splines) {
  RestingPoints memo;
  report_.splines.reserve(report_.splines.size() + splines.size());
  fates_.assign(splines.size(), SplineFate::Twinned);
  for (std::size_t s = 0; s < splines.size(); ++s) {
    if (s + 2 * kAhead < splines.size()) Prefetch(splines[s + 2 * kAhead].get());
    if (s + kAhead < splines.size()) {
      Prefetch(splines[s + kAhead]->First);
      Prefetch(splines[s + kAhead]->Last);
    }
    const Spline& spline = *splines[s];
    SplineOutcome outcome;
    outcome.mesh = mesh_;
    outcome.index = static_cast<std::int32_t>(s);
    if (spline.Count > 0) {
      outcome.first_id = spline.First->cpid;
      outcome.last_id = spline.Last->cpid;
      for (const ControlPoint* end : {spline.First, spline.Last}) {
        if (end == spline.Last && spline.Last == spline.First) break;
        seam_.NoteEnd(end, std::fabs(end->GetX(end->HookRatio(), &memo)));
      }
    }
    report_.splines.push_back(outcome);
  }
}

void MeshReport::Finish() {
  RestingPoints memo;
  const auto& snapped = seam_.snapped;
  report_.snapped.reserve(report_.snapped.size() + snapped.size());
  for (std::size_t i = 0; i < snapped.size(); ++i) {
    if (i + kAhead < snapped.size()) Prefetch(snapped[i + kAhead].point);
    const auto& m = snapped[i];
    report_.snapped.push_back({PlaceOf(*m.point, mesh_, memo), m.old_x, std::fabs(m.old_x)});
  }
  // Inner points were met before the ends: in id order they read as the model runs.
  auto& missed = seam_.near_misses;
  std::stable_sort(missed.begin(), missed.end(),
                   [](const auto& a, const auto& b) { return a.point->cpid < b.point->cpid; });
  for (const auto& m : missed)
    report_.near_misses.push_back({PlaceOf(*m.point, mesh_, memo), m.kind, m.distance});
  const std::size_t first_spline = report_.splines.size() - fates_.size();
  for (std::size_t s = 0; s < fates_.size(); ++s)
    report_.splines[first_spline + s].fate = fates_[s];
  for (const CorrectionNote& c : corrections_)
    report_.corrections.push_back(
        {PlaceOf(*c.point, mesh_, memo), c.kind, c.old_target, c.new_target});
  for (const ControlPoint* p : attachments_.missing)
    report_.attachments.push_back(
        {PlaceOf(*p, mesh_, memo), AttachmentProblem::MissingTarget, p->at_cpid});
  for (const ControlPoint* p : attachments_.in_cycles)
    report_.attachments.push_back({PlaceOf(*p, mesh_, memo), AttachmentProblem::Cycle, p->at_cpid});
}

}  // namespace mk
