#include "core/document/PointFinder.h"

#include <algorithm>
#include <cmath>

namespace mk {
PointFinder::PointFinder(const Document& document, int direction) : direction_(direction) {
  struct Collect : PointVisitor {
    std::vector<Entry>* out;
    void Visit(const VisitedPoint& p) override {
      out->push_back({static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z),
                      p.mesh, p.id});
    }
  } collect;
  collect.out = &points_;
  document.VisitPoints(collect);
  std::stable_sort(points_.begin(), points_.end(), [this](const Entry& a, const Entry& b) {
    return OnPlane(a).h < OnPlane(b).h;
  });
}

PlanePoint PointFinder::OnPlane(const Entry& entry) const {
  return PlanePointOf(direction_, entry.x, entry.y, entry.z);
}

VisitedPoint PointFinder::ToVisited(const Entry& entry) {
  return {entry.mesh, entry.id, entry.x, entry.y, entry.z};
}

std::optional<VisitedPoint> PointFinder::Nearest(PlanePoint at, long double radius) const {
  if (!(radius >= 0) || !std::isfinite(at.h) || !std::isfinite(at.v)) return std::nullopt;
  const auto first = std::lower_bound(
      points_.begin(), points_.end(), at.h - radius,
      [this](const Entry& e, long double h) { return OnPlane(e).h < h; });
  const Entry* best = nullptr;
  long double best_distance = radius * radius;
  for (auto it = first; it != points_.end(); ++it) {
    const PlanePoint p = OnPlane(*it);
    if (p.h > at.h + radius) break;
    const long double dh = p.h - at.h;
    const long double dv = p.v - at.v;
    const long double distance = dh * dh + dv * dv;
    if (distance < best_distance || (best == nullptr && distance <= best_distance)) {
      best = &*it;
      best_distance = distance;
    }
  }
  if (best == nullptr) return std::nullopt;
  return ToVisited(*best);
}

std::optional<VisitedPoint> PointFinder::WithId(std::int32_t mesh, std::int32_t id) const {
  // A docked model numbers its points afresh, so an id names one point of its mesh.
  for (const Entry& entry : points_)
    if (entry.mesh == mesh && entry.id == id) return ToVisited(entry);
  return std::nullopt;
}

}  // namespace mk
