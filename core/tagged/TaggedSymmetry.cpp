#include "core/tagged/TaggedSymmetry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace mk::tagged {
namespace {

/// Points closer to the plane than this share of the model's size count as on it.
constexpr double kPlaneBand = 1e-5;
/// A mirror image this close (as a share of the size) counts as found: modellers place the
/// halves by hand, so whole models are symmetric to a few thousandths, not exactly.
constexpr double kMatch = 1e-3;

struct Cell {
  std::int64_t x, y, z;
  bool operator==(const Cell&) const = default;
};
struct CellHash {
  std::size_t operator()(const Cell& c) const {
    return static_cast<std::size_t>(c.x * 73856093 ^ c.y * 19349663 ^ c.z * 83492791);
  }
};

void Count(const TaggedModel& model, Symmetry& symmetry) {
  std::vector<const TaggedPoint*> points;
  double low = 0, high = 0;
  for (const TaggedPoint& p : model.points) {
    if (p.form != PointForm::Positioned) continue;
    points.push_back(&p);
    low = std::min({low, p.x, p.y, p.z});
    high = std::max({high, p.x, p.y, p.z});
  }
  const double size = high - low;
  if (points.empty() || size <= 0) return;
  const double band = kPlaneBand * size;
  const double match = kMatch * size;
  auto cell = [match](double x, double y, double z) {
    return Cell{static_cast<std::int64_t>(std::floor(x / match)),
                static_cast<std::int64_t>(std::floor(y / match)),
                static_cast<std::int64_t>(std::floor(z / match))};
  };
  std::size_t off_plane = 0, below = 0;
  for (const TaggedPoint* p : points) {
    if (std::fabs(p->x) <= band) continue;
    ++off_plane;
    if (p->x < 0) ++below;
  }
  symmetry.off_plane += off_plane;
  symmetry.below += below;
  // A half model has (nearly) nothing on the other side: no need to look for images, which
  // would cost a big model more than its docking.
  if (below * 4 < off_plane || (off_plane - below) * 4 < off_plane) return;
  std::unordered_multimap<Cell, const TaggedPoint*, CellHash> grid;
  grid.reserve(off_plane);
  for (const TaggedPoint* p : points)
    if (std::fabs(p->x) > band) grid.emplace(cell(p->x, p->y, p->z), p);
  for (const TaggedPoint* p : points) {
    if (std::fabs(p->x) <= band) continue;
    const Cell c = cell(-p->x, p->y, p->z);
    bool found = false;
    for (std::int64_t dx = -1; dx <= 1 && !found; ++dx)
      for (std::int64_t dy = -1; dy <= 1 && !found; ++dy)
        for (std::int64_t dz = -1; dz <= 1 && !found; ++dz) {
          const auto [from, to] = grid.equal_range({c.x + dx, c.y + dy, c.z + dz});
          for (auto it = from; it != to && !found; ++it) {
            const TaggedPoint* q = it->second;
            found = std::fabs(q->x + p->x) <= match && std::fabs(q->y - p->y) <= match &&
                    std::fabs(q->z - p->z) <= match;
          }
        }
    if (found) ++symmetry.mirrored;
  }
}

}  // namespace

Symmetry SymmetryOf(const TaggedFile& file) {
  Symmetry symmetry;
  for (const TaggedModel& model : file.models) Count(model, symmetry);
  return symmetry;
}

}  // namespace mk::tagged
