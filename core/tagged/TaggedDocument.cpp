#include "core/tagged/TaggedDocument.h"

#include <algorithm>

#include "core/docking/AttachErrorFile.h"
#include "core/document/DockReport.h"
#include "core/document/ToleranceSuggestion.h"
#include "core/tagged/TaggedMirror.h"
#include "core/tagged/TaggedPositions.h"
#include "core/tagged/TaggedReader.h"
#include "core/tagged/TaggedReport.h"
#include "core/tagged/TaggedWriter.h"
#include "core/util/NumberText.h"

namespace mk {

using namespace tagged;

bool IsTaggedDialect(const LineList& lines) {
  return lines.Count() > 0 && lines.Get(0) == kFirstLine;
}

std::size_t TaggedDocument::LoadFromLines(const LineList& lines, std::size_t index) {
  const std::size_t count = lines.Count();
  const std::string_view first = lines.Get(index);
  const std::string_view last = lines.Get(count - 1);
  const char* const end = last.data() + last.size() + lines.LineEnd(count - 1).size();
  file_ = ReadTaggedFile(std::string_view(first.data(), static_cast<std::size_t>(end - first.data())));
  CheckTargets();
  FindBox();
  return count;
}

void TaggedDocument::SaveToLines(LineWriter& lines) const { WriteTaggedFile(file_, lines); }

DockStatistics TaggedDocument::DockContents(double tolerance, DockReport* report) {
  DockStatistics total;
  ToleranceAdvisor advisor(tolerance);
  Advance(progressBar, 2);
  for (std::size_t m = 0; m < file_.models.size(); ++m) {
    TaggedModel& model = file_.models[m];
    std::unique_ptr<TaggedReport> notes;
    if (report)
      notes = std::make_unique<TaggedReport>(*report, advisor, static_cast<std::int32_t>(m), tolerance);
    const DockStatistics counts = DockModel(model, tolerance, notes.get());
    total.cp_before += counts.cp_before;
    total.cp_after += counts.cp_after;
    total.splines_before += counts.splines_before;
    total.splines_after += counts.splines_after;
    if (notes) notes->Finish(model, PointsWithoutTarget(model), PointsInTargetCycles(model));
  }
  Advance(progressBar, 9);
  CheckTargets();
  if (report) report->suggested_tolerance = advisor.Suggest();
  FindBox();
  return total;
}

void TaggedDocument::CheckTargets() const {
  std::vector<MissingAttachTarget> missing;
  std::int64_t points = 0;
  DockWarning cycles;
  cycles.kind = DockWarning::Kind::AttachCycle;
  for (const TaggedModel& model : file_.models) {
    points += static_cast<std::int64_t>(model.points.size());
    for (const std::uint32_t i : PointsWithoutTarget(model))
      missing.push_back({model.points[i].id, model.points[i].target});
    if (warningSink)
      for (const std::uint32_t i : PointsInTargetCycles(model)) cycles.ids.push_back(model.points[i].id);
  }
  if (!WriteAttachErrorFile(static_cast<std::int32_t>(std::min<std::int64_t>(points, INT32_MAX)),
                            missing) &&
      warningSink) {
    DockWarning warning;
    warning.kind = DockWarning::Kind::AttachReportUnwritable;
    warning.file = kAttachErrorFileName;
    warningSink->Warn(warning);
  }
  if (warningSink && !cycles.ids.empty()) warningSink->Warn(cycles);
}

void TaggedDocument::FindBox() {
  bool any = false;
  BoundMin = {0, 0, 0};
  BoundMax = {0, 0, 0};
  for (const TaggedModel& model : file_.models) {
    Positions positions(model);
    for (std::uint32_t i = 0; i < model.points.size(); ++i) {
      const std::array<double, 3> at = positions.Of(i);
      for (std::size_t k = 0; k < 3; ++k) {
        BoundMin[k] = any ? std::min(BoundMin[k], at[k]) : at[k];
        BoundMax[k] = any ? std::max(BoundMax[k], at[k]) : at[k];
      }
      any = true;
    }
  }
}

void TaggedDocument::Draw(View3D& view, PointIds ids) const {
  for (const TaggedModel& model : file_.models) {
    Positions positions(model);
    for (const TaggedSpline& spline : model.splines) {
      if (spline.count == 0) continue;
      const std::uint32_t* run = model.chain.data() + spline.begin;
      for (std::uint32_t k = 0; k < spline.count; ++k) {
        const std::array<double, 3> at = positions.Of(run[k]);
        if (k == 0) {
          view.MoveTo3D(at[0], at[1], at[2]);
        } else {
          view.LineTo3D(at[0], at[1], at[2]);
        }
        if (k + 1 == spline.count && spline.count > 1 &&
            (model.points[run[k]].flags & kClosedBit)) {
          const std::array<double, 3> head = positions.Of(run[0]);
          view.LineTo3D(head[0], head[1], head[2]);
        }
        if (ids == PointIds::Shown) view.TextOut3D(IntToStr(model.points[run[k]].id), at[0], at[1], at[2]);
      }
    }
  }
}

void TaggedDocument::VisitPoints(PointVisitor& visitor) const {
  VisitedPoint visited;
  for (std::size_t m = 0; m < file_.models.size(); ++m) {
    const TaggedModel& model = file_.models[m];
    Positions positions(model);
    visited.mesh = static_cast<std::int32_t>(m);
    for (const std::uint32_t i : model.chain) {
      const std::array<double, 3> at = positions.Of(i);
      visited.id = model.points[i].id;
      visited.x = at[0];
      visited.y = at[1];
      visited.z = at[2];
      visitor.Visit(visited);
    }
  }
}

}  // namespace mk
