#include "core/seg/SegmentDocument.h"

#include <limits>

#include "core/docking/IdTable.h"
#include "core/seg/SegmentReport.h"
#include "core/docking/Renumbering.h"
#include "core/util/Words.h"
#include "core/util/LargeMemory.h"
#include "core/util/NumberText.h"
#include "core/util/OrderedWriting.h"
#include "core/util/SecondCore.h"

namespace mk {
namespace {

/// A box widened from nothing by a part of the points. Joined to the box of the part before, it
/// gives what widening that box point by point would: each side takes the other's extreme only
/// when strictly beyond its own, so the first of equal extremes stays, as it decides the sign of
/// a zero.
struct PartBox {
  static constexpr double kInf = std::numeric_limits<double>::infinity();
  std::array<double, 3> min{kInf, kInf, kInf};
  std::array<double, 3> max{-kInf, -kInf, -kInf};

  void Join(const PartBox& later) {
    for (std::size_t k = 0; k < 3; ++k) {
      if (later.min[k] < min[k]) min[k] = later.min[k];
      if (later.max[k] > max[k]) max[k] = later.max[k];
    }
  }
};

}  // namespace

std::size_t SegmentDocument::LoadFromLines(const LineList& lines, std::size_t /*index*/) {
  const std::string_view header = lines.Get(0);
  HeaderA = StrToInt(NthWord(header, 1));
  HeaderB = StrToInt(NthWord(header, 3));
  HeaderC = StrToInt(NthWord(lines.Get(1), 0));
  const std::string_view box = lines.Get(2);
  for (int k = 0; k < 3; ++k) BoundMin[static_cast<std::size_t>(k)] = StrToFloat(NthWord(box, k));
  for (int k = 0; k < 3; ++k)
    BoundMax[static_cast<std::size_t>(k)] = StrToFloat(NthWord(box, k + 3));
  const std::string_view triple = lines.Get(3);
  for (int k = 0; k < 3; ++k)
    HeaderTriple[static_cast<std::size_t>(k)] = StrToExtended(NthWord(triple, k));
  HeaderText1 = std::string(lines.Get(4));
  HeaderText2 = std::string(lines.Get(5));
  const std::int32_t spline_count = StrToInt(NthWord(lines.Get(6), 0));
  std::size_t next = 7;
  for (std::int32_t s = 0; s < spline_count; ++s) {
    // The spline joins the document before it is read, so that what was read survives an error.
    Splines.push_back(std::make_unique<SegmentSpline>());
    next = Splines.back()->ReadFromLines(lines, next);
  }
  LargeVector<SegmentControlPoint*> points;
  CollectCps(points);
  ResolveAttachments(points);
  return 0;
}

void SegmentDocument::SaveToLines(LineWriter& lines) const {
  std::string& out = lines.Text();
  out += "SCUL ";
  AppendInt(out, HeaderA);
  out += " 0 ";
  AppendInt(out, HeaderB);
  out += " 0 0 0";
  lines.EndLine();
  AppendInt(lines.Text(), HeaderC);
  lines.EndLine();
  for (std::size_t k = 0; k < 6; ++k) {
    if (k > 0) lines.Text() += ' ';
    AppendFloat(lines.Text(), k < 3 ? BoundMin[k] : BoundMax[k - 3]);
  }
  lines.EndLine();
  for (std::size_t k = 0; k < 3; ++k) {
    if (k > 0) lines.Text() += ' ';
    AppendFloat(lines.Text(), HeaderTriple[k]);
  }
  lines.EndLine();
  lines.Add(HeaderText1);
  lines.Add(HeaderText2);
  AppendInt(lines.Text(), static_cast<std::int32_t>(Splines.size()));
  lines.EndLine();
  WriteInOrder(
      lines, Splines.size(), [this](std::size_t s) { return Splines[s]->ControlPoints.size(); },
      [this](std::size_t s, LineWriter& run) { Splines[s]->WriteToLines(run); });
}

DockStatistics SegmentDocument::DockContents(double tolerance, DockReport* report) {
  DockStatistics statistics;
  // Null without a report: every step below then does only the docking's own work.
  std::unique_ptr<SegmentReport> notes;
  if (report) notes = std::make_unique<SegmentReport>(*report, tolerance);
  if (Splines.empty()) return statistics;
  Advance(progressBar, 2);
  if (notes) notes->NoteBeforeSnap(Splines);
  SnapAllToPlane(tolerance);
  Advance(progressBar, 4);
  const std::int32_t n = Renumber();
  ReleaseFreedMemory();
  statistics.cp_before = n;
  Advance(progressBar, 6);
  statistics.splines_before = static_cast<std::int32_t>(Splines.size());
  if (notes) notes->NoteSplines(Splines);
  MirrorSplines(n, notes ? notes->Fates() : nullptr);
  statistics.splines_after = static_cast<std::int32_t>(Splines.size());
  Advance(progressBar, 8);
  LargeVector<SegmentControlPoint*> points;
  CollectCps(points);
  statistics.cp_after = static_cast<std::int32_t>(points.size());
  // One pass over the points, on both cores, widens the box; resolution leaves the free points'
  // coordinates, all the box reads, alone.
  PartBox box_of_first_part{BoundMin, BoundMax};
  PartBox box_of_second_part;
  SplitAcrossCores(points.size(), [&](std::size_t begin, std::size_t end) {
    PartBox& box = begin == 0 ? box_of_first_part : box_of_second_part;
    for (std::size_t i = begin; i < end; ++i) points[i]->ExtendBounds(box.min, box.max);
  });
  box_of_first_part.Join(box_of_second_part);
  // Cycles are reported for the docked model only, the one that will be saved, and in one
  // warning: a broken file can hold thousands of them.
  DockWarning cycles{DockWarning::Kind::AttachCycle, {}, {}};
  for (const auto& cycle : ResolveAndAnchor(points))
    cycles.ids.insert(cycles.ids.end(), cycle.begin(), cycle.end());
  if (warningSink != nullptr && !cycles.ids.empty()) warningSink->Warn(cycles);
  Advance(progressBar, 9);
  BoundMin = box_of_first_part.min;
  BoundMax = box_of_first_part.max;
  if (notes) notes->Finish(points);
  return statistics;
}

void SegmentDocument::Draw(View3D& view, PointIds /*ids*/) const {
  for (const auto& spline : Splines) spline->Draw(view);
}

void SegmentDocument::VisitPoints(PointVisitor& visitor) const {
  VisitedPoint visited;
  for (const auto& spline : Splines) {
    for (const auto& point : spline->ControlPoints) {
      const SegmentControlPoint& at = point->Anchor();
      visited.id = point->cpid;
      visited.x = at.x.ToLongDouble();
      visited.y = at.y.ToLongDouble();
      visited.z = at.z.ToLongDouble();
      visitor.Visit(visited);
    }
  }
}

void SegmentDocument::CollectCps(LargeVector<SegmentControlPoint*>& points) const {
  std::size_t total = points.size();
  for (const auto& spline : Splines) total += spline->ControlPoints.size();
  points.reserve(total);
  for (const auto& spline : Splines) spline->CollectCps(points);
}

void SegmentDocument::ResolveAttachments(const LargeVector<SegmentControlPoint*>& points) { ResolveAndAnchor(points); }

std::vector<std::vector<std::int32_t>> SegmentDocument::ResolveAndAnchor(
    const LargeVector<SegmentControlPoint*>& points) {
  // The ids of a renumbered segment are dense, so a flat table finds the targets without hashing.
  // It reads the ids from the points and is gone before the anchors are walked: a dock's peak
  // lies here, beside the whole docked model.
  // ResolveAnchors below recomputes every point's anchor, which a per-point resolve would reset.
  {
    FirstPositionById first_by_id;
    first_by_id.Build(points.size(), [&points](std::size_t i) { return points[i]->cpid; });
    SplitAcrossCores(points.size(), [&](std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) {
        SegmentControlPoint* p = points[i];
        if (!p->IsAttached()) continue;
        const std::size_t at = first_by_id.Find(p->at_cpid);
        p->at_cp = at == FirstPositionById::kNone ? nullptr : points[at];
      }
    });
  }
  return ResolveAnchors(points);
}

void SegmentDocument::SnapAllToPlane(double tolerance) {
  for (const auto& spline : Splines) spline->SnapAllToPlane(tolerance);
}

std::int32_t SegmentDocument::Renumber() {
  if (Splines.empty()) return 0;
  LargeVector<SegmentControlPoint*> points;
  CollectCps(points);
  RenumberPoints(
      points.size(), [&points](std::size_t i) { return points[i]->cpid; },
      [&points](std::size_t i) { return points[i]->at_cpid; },
      [&points](std::size_t i, std::int32_t id, std::int32_t ref) {
        points[i]->cpid = id;
        points[i]->at_cpid = ref;
      });
  return static_cast<std::int32_t>(points.size());
}

void SegmentDocument::MirrorSplines(std::int32_t offset, SplineFate* fates) {
  // A spline's mirror changes that spline only and reads the others' stored positions, so the
  // splines are mirrored on both cores; the new ones then go to the end, last spline's first.
  const std::size_t count = Splines.size();
  std::vector<std::unique_ptr<SegmentSpline>> mirrored(count);
  SplitAcrossCores(
      count, [this](std::size_t s) { return Splines[s]->ControlPoints.size(); },
      [this, offset, fates, &mirrored](std::size_t begin, std::size_t end) {
        const PointBatch<SegmentControlPoint> batch;
        for (std::size_t s = begin; s < end; ++s)
          mirrored[s] = Splines[s]->MakeMirror(offset, fates ? &fates[s] : nullptr);
      });
  for (std::size_t s = count; s-- > 0;)
    if (mirrored[s]) Splines.push_back(std::move(mirrored[s]));
}

void SegmentDocument::ExtendBounds(std::array<double, 3>& min, std::array<double, 3>& max) const {
  for (const auto& spline : Splines) spline->ExtendBounds(min, max);
}

}  // namespace mk
