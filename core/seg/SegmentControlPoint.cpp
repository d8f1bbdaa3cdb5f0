#include "core/seg/SegmentControlPoint.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_set>

#include "core/util/Words.h"
#include "core/util/NumberText.h"
#include "core/util/SecondCore.h"

namespace mk {
namespace {

/// The triple of line 3 or 4; a line without a blank holds none, whatever its word is.
SegmentControlPoint::Line ReadTriple(std::string_view line) {
  SegmentControlPoint::Line triple;
  if (WordCount(line) == 1) return triple;
  std::array<Extended, 3> values{};
  for (int k = 0; k < 3; ++k) values[static_cast<std::size_t>(k)] = StrToExtended(NthWord(line, k));
  triple = values;
  triple.SetFlag(true);
  return triple;
}

void WriteTriple(LineWriter& lines, const SegmentControlPoint::Line& triple) {
  const std::array<Extended, 3> values = triple.Get();
  std::string& out = lines.Text();
  if (!triple.Flag()) {
    out += '0';
  } else {
    AppendTriple(out, values);
  }
  lines.EndLine();
}

}  // namespace

std::size_t SegmentControlPoint::ReadFromLines(const LineList& lines, std::size_t index) {
  const std::string_view first = lines.Get(index);
  cptype = StrToInt(NthWord(first, 0));
  attached = StrToInt(NthWord(first, 1));
  cpid = StrToInt(NthWord(first, 2));

  const std::string_view second = lines.Get(index + 1);
  x = y = z = Extended();
  if (IsAttached()) {
    at_cpid = StrToInt(NthWord(second, 0));
  } else {
    at_cpid = 0;
    x = StrToExtended(NthWord(second, 0));
    y = StrToExtended(NthWord(second, 1));
    z = StrToExtended(NthWord(second, 2));
  }
  line3 = ReadTriple(lines.Get(index + 2));
  line4 = ReadTriple(lines.Get(index + 3));
  at_cp = nullptr;
  anchor_ = nullptr;

  std::size_t next = index + 4;
  if (IsAttached() && next < lines.Count() && lines.Get(next) == kAttachNilLine) ++next;
  return next;
}

void SegmentControlPoint::WriteToLines(LineWriter& lines) const {
  std::string& out = lines.Text();
  AppendInt(out, cptype);
  out += ' ';
  AppendInt(out, attached);
  out += ' ';
  AppendInt(out, cpid);
  lines.EndLine();

  if (IsAttached()) {
    AppendInt(lines.Text(), at_cpid);
  } else {
    AppendTriple(lines.Text(), std::array<Extended, 3>{x, y, z});
  }
  lines.EndLine();
  WriteTriple(lines, line3);
  WriteTriple(lines, line4);
  if (IsAttached() && at_cp == nullptr) lines.Add(kAttachNilLine);
}

const SegmentControlPoint& SegmentControlPoint::Anchor() const {
  if (!IsAttached()) return *this;
  if (anchor_ != nullptr) return *anchor_;
  // Iterative walk: chains can be as long as the model, and cycles must end.
  std::unordered_set<const SegmentControlPoint*> met{this};
  const SegmentControlPoint* p = this;
  while (p->IsAttached()) {
    const SegmentControlPoint* next = p->at_cp;
    if (next == nullptr) return *p;
    if (!met.insert(next).second) return *next;
    p = next;
  }
  return *p;
}

void SegmentControlPoint::SnapToPlane(double tolerance) {
  if (IsAttached()) return;
  if (tolerance > std::fabs(x.ToDouble())) x = Extended();
}

void SegmentControlPoint::ExtendBounds(std::array<double, 3>& min, std::array<double, 3>& max) const {
  if (IsAttached()) return;
  const std::array<double, 3> v{x.ToDouble(), y.ToDouble(), z.ToDouble()};
  for (std::size_t k = 0; k < 3; ++k) {
    if (v[k] < min[k]) min[k] = v[k];
    if (v[k] > max[k]) max[k] = v[k];
  }
}

void SegmentControlPoint::ResolveAttach(const LargeVector<SegmentControlPoint*>& points) {
  if (!IsAttached()) return;
  at_cp = nullptr;
  anchor_ = nullptr;
  for (SegmentControlPoint* p : points) {
    if (p->cpid == at_cpid) {
      at_cp = p;
      return;
    }
  }
}

void SegmentControlPoint::ResolveAttach(const SegmentPointIndex& index) {
  if (!IsAttached()) return;
  anchor_ = nullptr;
  const auto found = index.find(at_cpid);
  at_cp = found == index.end() ? nullptr : found->second;
}

void SegmentControlPoint::ReplaceId(std::int32_t old_id, std::int32_t new_id) {
  ReplaceIdPair(cpid, at_cpid, old_id, new_id);
}

void SegmentControlPoint::NegateIds() { NegateIdPair(cpid, at_cpid); }

std::unique_ptr<SegmentControlPoint> SegmentControlPoint::MirrorCopy(std::int32_t offset) const {
  auto twin = std::make_unique<SegmentControlPoint>();
  twin->cptype = cptype;
  twin->attached = attached;
  // A point attached to a plane point keeps that shared point as its target.
  if (IsAttached()) twin->at_cpid = !GetX().IsZero() ? WrapAdd(at_cpid, offset) : at_cpid;
  twin->cpid = WrapAdd(cpid, offset);
  twin->x = x;
  twin->y = y;
  twin->z = z;
  twin->line3 = line3;
  twin->line4 = line4;
  return twin;
}

std::vector<std::vector<std::int32_t>> ResolveAnchors(const LargeVector<SegmentControlPoint*>& points) {
  std::vector<std::vector<std::int32_t>> cycles;
  SplitAcrossCores(points.size(), [&points](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) points[i]->anchor_ = nullptr;
  });
  // Points of the walk under way, with their place in it; erased after each walk so that the
  // whole pass stays linear. Walks are nearly always a few steps long, so the first steps are
  // searched in the path itself and only a long walk's later steps go into the map.
  constexpr std::size_t kShortPath = 16;
  std::unordered_map<const SegmentControlPoint*, std::size_t> on_path;
  std::vector<SegmentControlPoint*> path;
  auto place_on_path = [&](const SegmentControlPoint* q) {
    const std::size_t shown = std::min(path.size(), kShortPath);
    for (std::size_t k = 0; k < shown; ++k)
      if (path[k] == q) return k;
    if (path.size() <= kShortPath) return SIZE_MAX;
    const auto seen = on_path.find(q);
    return seen == on_path.end() ? SIZE_MAX : seen->second;
  };
  for (SegmentControlPoint* start : points) {
    if (!start->IsAttached() || start->anchor_ != nullptr) continue;
    path.clear();
    const SegmentControlPoint* result = nullptr;
    std::size_t cycle_start = SIZE_MAX;
    SegmentControlPoint* p = start;
    for (;;) {
      if (path.size() >= kShortPath) on_path.emplace(p, path.size());
      path.push_back(p);
      SegmentControlPoint* next = p->at_cp;
      if (next == nullptr) {
        result = p;
        break;
      }
      if (!next->IsAttached()) {
        result = next;
        break;
      }
      if (next->anchor_ != nullptr) {
        result = next->anchor_;
        break;
      }
      if (const std::size_t seen = place_on_path(next); seen != SIZE_MAX) {
        cycle_start = seen;
        result = next;
        break;
      }
      p = next;
    }
    for (std::size_t k = 0; k < path.size(); ++k) path[k]->anchor_ = k < cycle_start ? result : path[k];
    if (cycle_start != SIZE_MAX) {
      std::vector<std::int32_t>& ids = cycles.emplace_back();
      for (std::size_t k = cycle_start; k < path.size(); ++k) ids.push_back(path[k]->cpid);
    }
    if (path.size() > kShortPath) on_path.clear();
  }
  return cycles;
}

}  // namespace mk
