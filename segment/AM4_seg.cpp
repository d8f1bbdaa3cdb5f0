#include "segment/AM4_seg.h"

#include "cp/IdTable.h"
#include "cp/Renumbering.h"
#include "model/AM_const.h"
#include "model/LargeMemory.h"
#include "model/NumberText.h"
#include "model/OrderedWriting.h"
#include "model/SecondCore.h"

namespace mk {

Msegment::Msegment(ProgressBar* progress_bar, WarningSink* warnings)
    : progressBar(progress_bar), warningSink(warnings) {}

Msegment::~Msegment() = default;

std::size_t Msegment::LoadFromLines(const LineList& lines, std::size_t /*index*/) {
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
    Splines.push_back(std::make_unique<M4spline>());
    next = Splines.back()->ReadFromLines(lines, next);
  }
  std::vector<M4cp*> points;
  CollectCps(points);
  ResolveAttachments(points);
  return 0;
}

void Msegment::SaveToLines(LineWriter& lines) const {
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

void Msegment::Dock(double tolerance) {
  if (Splines.empty()) return;
  Advance(progressBar, 2);
  SnapAllToPlane(tolerance);
  Advance(progressBar, 4);
  const std::int32_t n = Renumber();
  ReleaseFreedMemory();
  cpCountBefore = n;
  Advance(progressBar, 6);
  splineCountBefore = static_cast<std::int32_t>(Splines.size());
  MirrorSplines(n);
  ReleaseSparePieces();
  splineCountAfter = static_cast<std::int32_t>(Splines.size());
  Advance(progressBar, 8);
  // The box reads only the coordinates of free points, which resolution leaves alone, so it is
  // widened on the second core meanwhile (in list order, as the zeros' signs depend on it).
  std::array<double, 3> min = BoundMin;
  std::array<double, 3> max = BoundMax;
  auto bounds = StartBeside([this, &min, &max] { ExtendBounds(min, max); });
  std::vector<M4cp*> points;
  CollectCps(points);
  cpCountAfter = static_cast<std::int32_t>(points.size());
  // Cycles are reported for the docked model only, the one that will be saved, and in one
  // warning: a broken file can hold thousands of them.
  DockWarning cycles{DockWarning::Kind::AttachCycle, {}, {}};
  for (const auto& ids : ResolveAndAnchor(points))
    cycles.ids.insert(cycles.ids.end(), ids.begin(), ids.end());
  if (warningSink != nullptr && !cycles.ids.empty()) warningSink->Warn(cycles);
  Advance(progressBar, 9);
  bounds.get();
  BoundMin = min;
  BoundMax = max;
}

long double Msegment::GetBound(int index) const {
  const auto k = static_cast<unsigned>(index);
  if (k > 5) return 100;
  return k < 3 ? BoundMin[k] : BoundMax[k - 3];
}

void Msegment::Draw(View3D& view) const {
  for (const auto& spline : Splines) spline->Draw(view);
}

void Msegment::CollectCps(std::vector<M4cp*>& points) const {
  for (const auto& spline : Splines) spline->CollectCps(points);
}

void Msegment::ResolveAttachments(const std::vector<M4cp*>& points) { ResolveAndAnchor(points); }

std::vector<std::vector<std::int32_t>> Msegment::ResolveAndAnchor(
    const std::vector<M4cp*>& points) {
  // The ids of a renumbered segment are dense, so a flat table finds the targets without hashing.
  // ResolveAnchors below recomputes every point's anchor, which a per-point resolve would reset.
  FirstPositionById first_by_id;
  first_by_id.Build(points.size(), [&points](std::size_t i) { return points[i]->cpid; });
  for (M4cp* p : points) {
    if (!p->IsAttached()) continue;
    const std::size_t at = first_by_id.Find(p->at_cpid);
    p->at_cp = at == FirstPositionById::kNone ? nullptr : points[at];
  }
  return ResolveAnchors(points);
}

void Msegment::SnapAllToPlane(double tolerance) {
  for (const auto& spline : Splines) spline->SnapAllToPlane(tolerance);
}

std::int32_t Msegment::Renumber() {
  if (Splines.empty()) return 0;
  std::vector<M4cp*> points;
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

void Msegment::MirrorSplines(std::int32_t offset) {
  // Visits only the splines present at the start, last first; new ones go to the end.
  for (std::size_t s = Splines.size(); s-- > 0;) {
    auto mirrored = Splines[s]->MakeMirror(offset);
    if (mirrored) Splines.push_back(std::move(mirrored));
  }
}

void Msegment::ExtendBounds(std::array<double, 3>& min, std::array<double, 3>& max) const {
  for (const auto& spline : Splines) spline->ExtendBounds(min, max);
}

}  // namespace mk
