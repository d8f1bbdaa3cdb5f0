#include "core/tagged/TaggedPositions.h"

#include <algorithm>
#include <unordered_set>

#include "core/docking/IdTable.h"
#include "core/docking/TargetCycles.h"

namespace mk::tagged {

std::uint32_t FindRepeatedId(const LargeVector<TaggedPoint>& points) {
  if (points.empty()) return kNoPoint;
  std::int64_t low = points[0].id, high = points[0].id;
  for (const TaggedPoint& p : points) {
    low = std::min<std::int64_t>(low, p.id);
    high = std::max<std::int64_t>(high, p.id);
  }
  const auto span = static_cast<std::uint64_t>(high - low) + 1;
  if (span <= 8 * static_cast<std::uint64_t>(points.size()) + 64) {
    std::vector<bool> seen(static_cast<std::size_t>(span));
    for (std::size_t i = 0; i < points.size(); ++i) {
      const auto slot = static_cast<std::size_t>(points[i].id - low);
      if (seen[slot]) return static_cast<std::uint32_t>(i);
      seen[slot] = true;
    }
    return kNoPoint;
  }
  std::unordered_set<std::int32_t> seen;
  seen.reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i)
    if (!seen.insert(points[i].id).second) return static_cast<std::uint32_t>(i);
  return kNoPoint;
}

void LinkPoints(TaggedModel& model) {
  auto& points = model.points;
  FirstPositionById by_id;
  by_id.Build(points.size(), [&points](std::size_t i) { return points[i].id; });
  for (TaggedPoint& p : points) {
    p.target_index = kNoPoint;
    if (p.form == PointForm::Positioned) continue;
    const std::size_t at = by_id.Find(p.target);
    if (at != FirstPositionById::kNone) p.target_index = static_cast<std::uint32_t>(at);
  }
  for (const TaggedSpline& spline : model.splines) {
    if (spline.count == 0) continue;
    const std::uint32_t* run = model.chain.data() + spline.begin;
    for (std::uint32_t k = 0; k + 1 < spline.count; ++k) points[run[k]].next = run[k + 1];
    TaggedPoint& last = points[run[spline.count - 1]];
    last.next = (last.flags & kClosedBit) && spline.count > 1 ? run[0] : kNoPoint;
  }
}

std::array<double, 3> Positions::Of(std::uint32_t index) { return Find(index, 0); }

std::array<double, 3> Positions::Find(std::uint32_t index, int depth) {
  // Real stacks are at most six deep; a deeper walk is a cycle, which has no place.
  constexpr int kDeepest = 64;
  for (; depth < kDeepest; ++depth) {
    const TaggedPoint& p = points_[index];
    if (p.form == PointForm::Positioned) return {p.x, p.y, p.z};
    if (p.target_index == kNoPoint) return {0, 0, 0};
    if (p.form == PointForm::Attached) {
      index = p.target_index;
      continue;
    }
    const auto known = hooks_.find(index);
    if (known != hooks_.end()) return known->second;
    hooks_[index] = {0, 0, 0};  // a hook met again on its own way reads as the origin
    const std::uint32_t target = p.target_index;
    const std::array<double, 3> from = Find(target, depth + 1);
    const std::uint32_t after = points_[target].next;
    std::array<double, 3> at = from;
    if (after != kNoPoint) {
      const std::array<double, 3> to = Find(after, depth + 1);
      for (std::size_t k = 0; k < 3; ++k) at[k] = from[k] + p.ratio * (to[k] - from[k]);
    }
    hooks_[index] = at;
    return at;
  }
  return {0, 0, 0};
}

std::vector<std::uint32_t> PointsWithoutTarget(const TaggedModel& model) {
  std::vector<std::uint32_t> missing;
  for (std::size_t i = 0; i < model.points.size(); ++i) {
    const TaggedPoint& p = model.points[i];
    if (p.form != PointForm::Positioned && p.target_index == kNoPoint)
      missing.push_back(static_cast<std::uint32_t>(i));
  }
  return missing;
}

std::vector<std::uint32_t> PointsInTargetCycles(const TaggedModel& model) {
  const auto& points = model.points;
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < points.size(); ++i)
    if (points[i].form != PointForm::Positioned && points[i].target_index != kNoPoint)
      starts.push_back(i);
  const std::vector<std::size_t> cycles =
      FindTargetCycles(points.size(), starts, [&points](std::size_t i) {
        const TaggedPoint& p = points[i];
        if (p.form == PointForm::Positioned || p.target_index == kNoPoint) return kNoTarget;
        return std::size_t{p.target_index};
      });
  return {cycles.begin(), cycles.end()};
}

}  // namespace mk::tagged
