#pragma once
// Where the points of an angle-tag model are: their own position, their target's (a stack, up to
// six deep in real files) or, for a hook, a fraction of the way from its target to the point
// after the target on the target's spline.

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/tagged/TaggedModel.h"

namespace mk::tagged {

/// The index of a point whose id an earlier point bears already; kNoPoint when ids are unique.
std::uint32_t FindRepeatedId(const LargeVector<TaggedPoint>& points);

/// Finds every target by id and links each point to the next one of its spline.
void LinkPoints(TaggedModel& model);

/// The positions of one model's points. Hooks are remembered once asked: a hook's place takes
/// two others, which may be hooks too.
class Positions {
 public:
  explicit Positions(const TaggedModel& model) : points_(model.points) {}
  std::array<double, 3> Of(std::uint32_t index);
  double XOf(std::uint32_t index) { return Of(index)[0]; }

 private:
  std::array<double, 3> Find(std::uint32_t index, int depth);

  const LargeVector<TaggedPoint>& points_;
  std::unordered_map<std::uint32_t, std::array<double, 3>> hooks_;
};

/// The attached points and hooks whose target no point bears, in file order.
std::vector<std::uint32_t> PointsWithoutTarget(const TaggedModel& model);
/// Every point of every cycle of targets, each cycle from its first point in file order.
std::vector<std::uint32_t> PointsInTargetCycles(const TaggedModel& model);

}  // namespace mk::tagged
