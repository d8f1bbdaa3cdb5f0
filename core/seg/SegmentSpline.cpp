#include "core/seg/SegmentSpline.h"

#include <algorithm>

#include "core/document/SeamRules.h"
#include "core/util/Words.h"
#include "core/util/NumberText.h"

namespace mk {

std::size_t SegmentSpline::ReadFromLines(const LineList& lines, std::size_t index) {
  const std::int32_t count = StrToInt(NthWord(lines.Get(index), 0));
  ++index;
  // Only a modest part of the file's count is trusted in advance.
  if (count > 0) ControlPoints.reserve(static_cast<std::size_t>(std::min(count, 4096)));
  for (std::int32_t k = 0; k < count; ++k) {
    auto point = std::make_unique<SegmentControlPoint>();
    index = point->ReadFromLines(lines, index);
    ControlPoints.push_back(std::move(point));
  }
  return index;
}

void SegmentSpline::WriteToLines(LineWriter& lines) const {
  AppendInt(lines.Text(), static_cast<std::int32_t>(ControlPoints.size()));
  lines.EndLine();
  for (const auto& point : ControlPoints) point->WriteToLines(lines);
}

void SegmentSpline::CollectCps(LargeVector<SegmentControlPoint*>& points) const {
  for (const auto& point : ControlPoints) points.push_back(point.get());
}

void SegmentSpline::ResolveAttachments(const LargeVector<SegmentControlPoint*>& points) {
  for (const auto& point : ControlPoints) point->ResolveAttach(points);
}

void SegmentSpline::ResolveAttachments(const SegmentPointIndex& index) {
  for (const auto& point : ControlPoints) point->ResolveAttach(index);
}

void SegmentSpline::SnapAllToPlane(double tolerance) {
  for (const auto& point : ControlPoints) point->SnapToPlane(tolerance);
}

void SegmentSpline::ExtendBounds(std::array<double, 3>& min, std::array<double, 3>& max) const {
  for (const auto& point : ControlPoints) point->ExtendBounds(min, max);
}

bool SegmentSpline::LiesOnPlane() const {
  return std::all_of(ControlPoints.begin(), ControlPoints.end(),
                     [](const auto& point) { return point->IsOnPlane(); });
}

PlaneEnds SegmentSpline::EndsOnPlane() const {
  return PlaneEndsOf(ControlPoints.front()->IsOnPlane(), ControlPoints.back()->IsOnPlane());
}

bool SegmentSpline::IsClosedLoop() const {
  return ControlPoints.size() >= 2 &&
         (ControlPoints.front()->IsClosed() || ControlPoints.back()->IsClosed());
}

std::unique_ptr<SegmentSpline> SegmentSpline::MakeMirror(std::int32_t offset, SplineFate* fate) {
  if (LiesOnPlane()) {
    if (fate) *fate = SplineFate::OnPlane;
    return nullptr;
  }
  const PlaneEnds ends = EndsOnPlane();
  if (fate) *fate = FateOf(false, ends, IsClosedLoop());
  const std::size_t n = ControlPoints.size();
  // An end on the plane is shared by both halves and gets no twin.
  const std::size_t skip_first = FirstEndOnPlane(ends) ? 1 : 0;
  const std::size_t skip_last = LastEndOnPlane(ends) ? 1 : 0;
  std::vector<std::unique_ptr<SegmentControlPoint>> twins;
  twins.reserve(n);
  for (std::size_t i = skip_first; i + skip_last < n; ++i) {
    auto twin = ControlPoints[i]->MirrorCopy(offset);
    twin->Reflect();
    twins.push_back(std::move(twin));
  }

  std::unique_ptr<SegmentSpline> result;
  if (!twins.empty()) {
    if (ends == PlaneEnds::None) {
      result = std::make_unique<SegmentSpline>();
      result->ControlPoints = std::move(twins);
    } else {
      std::reverse(twins.begin(), twins.end());
      if (ends == PlaneEnds::First) {
        // The twins run into the plane point from the other half.
        twins.reserve(twins.size() + ControlPoints.size());
        for (auto& point : ControlPoints) twins.push_back(std::move(point));
        ControlPoints = std::move(twins);
      } else {
        ControlPoints.reserve(ControlPoints.size() + twins.size());
        for (auto& twin : twins) ControlPoints.push_back(std::move(twin));
      }
    }
  }
  if (ends == PlaneEnds::Both) ControlPoints.back()->SetClosed();
  return result;
}

void SegmentSpline::Draw(View3D& view) const {
  if (ControlPoints.empty()) return;
  const SegmentControlPoint& first = ControlPoints.front()->Anchor();
  const long double x0 = first.x.ToLongDouble(), y0 = first.y.ToLongDouble(),
                    z0 = first.z.ToLongDouble();
  view.MoveTo3D(x0, y0, z0);
  for (std::size_t i = 1; i < ControlPoints.size(); ++i) {
    const SegmentControlPoint& at = ControlPoints[i]->Anchor();
    view.LineTo3D(at.x.ToLongDouble(), at.y.ToLongDouble(), at.z.ToLongDouble());
  }
  if (IsClosedLoop()) view.LineTo3D(x0, y0, z0);
}

}  // namespace mk
