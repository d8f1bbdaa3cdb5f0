// Whether a model as read is the output of a docking already: docking it again would mirror
// the whole model and double it. The test must cost little next to the docking itself and
// never fire on a half model, so it looks only at free points (their own coordinates are the
// ones the mirror copies) and reads every point only when a sample finds both sides filled.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/docking/IdTable.h"
#include "core/mdl/MeshSection.h"
#include "core/seg/SegmentDocument.h"
#include "core/tagged/TaggedDocument.h"
#include "core/tagged/TaggedSymmetry.h"
#include "core/workflow/Workflow.h"

namespace mk {
namespace {

struct Sample {
  std::int32_t id;
  double x, y, z;
};

bool MirrorOf(const Sample& a, const Sample& b) { return b.x == -a.x && b.y == a.y && b.z == a.z; }

/// A point the docking will snap onto the plane lies on neither side: a half model whose seam
/// points straddle X=0 within the tolerance is still a half model.
bool OnPlane(double x, double tolerance) { return x == 0 || std::abs(x) < tolerance; }
bool Below(double x, double tolerance) { return x < 0 && !OnPlane(x, tolerance); }
bool Above(double x, double tolerance) { return x > 0 && !OnPlane(x, tolerance); }

/// The id offset between a point and its mirror image, found from the first few points off the
/// plane; 0 when none of them has an image.
std::int64_t IdOffset(const std::vector<Sample>& points, double tolerance) {
  constexpr int kTries = 4;
  int tries = 0;
  for (const Sample& p : points) {
    if (OnPlane(p.x, tolerance)) continue;
    for (const Sample& q : points)
      if (q.id != p.id && MirrorOf(p, q)) return std::int64_t{q.id} - p.id;
    if (++tries == kTries) break;
  }
  return 0;
}

/// Points spread over the list, each checked for its image at the id offset.
bool MirroredInPairs(const std::vector<Sample>& points, std::int64_t offset, double tolerance) {
  if (offset == 0) return false;
  FirstPositionById by_id;
  by_id.Build(points.size(), [&points](std::size_t i) { return points[i].id; });
  constexpr std::size_t kChecks = 64;
  const std::size_t step = points.size() / kChecks + 1;
  std::size_t checked = 0, paired = 0;
  for (std::size_t i = 0; i < points.size(); i += step) {
    const Sample& p = points[i];
    if (OnPlane(p.x, tolerance)) continue;
    ++checked;
    for (const std::int64_t id : {p.id + offset, p.id - offset}) {
      if (id < INT32_MIN || id > INT32_MAX) continue;
      const std::size_t at = by_id.Find(static_cast<std::int32_t>(id));
      if (at != FirstPositionById::kNone && MirrorOf(p, points[at])) {
        ++paired;
        break;
      }
    }
  }
  return paired >= 2 && paired * 10 >= checked * 9;
}

DockedLook Judge(const std::vector<Sample>& points, double tolerance) {
  double low = 0, high = 0;
  std::size_t below = 0, above = 0;
  for (const Sample& p : points) {
    if (Below(p.x, tolerance)) ++below, low = std::min(low, p.x);
    if (Above(p.x, tolerance)) ++above, high = std::max(high, p.x);
  }
  // A half lies on one side; a few points just across the plane are near misses, not a half.
  if (below == 0 || above == 0) return {};
  const std::int64_t offset = IdOffset(points, tolerance);
  if (MirroredInPairs(points, offset, tolerance)) {
    const std::int64_t distance = offset < 0 ? -offset : offset;
    return {true,
            "points are mirrored in pairs across X=0, the ids of one half " +
                std::to_string(distance) + " above the other's",
            DockedLook::Sign::MirroredPairs, distance};
  }
  const bool balanced = below * 4 >= points.size() && above * 4 >= points.size();
  if (low == -high && balanced)
    return {true, "the points lie symmetrically on both sides of X=0",
            DockedLook::Sign::SymmetricBox, 0};
  return {};
}

template <class Point>
void AddFree(const Point& p, std::vector<Sample>& out) {
  if (!p.IsAttached())
    out.push_back({p.cpid, static_cast<double>(p.x), static_cast<double>(p.y),
                   static_cast<double>(p.z)});
}

/// Points on both sides of the plane among those of a few thousand splines spread over the
/// list: a docked model has them everywhere, and a half model nearly never, so most files are
/// judged without reading all their points.
template <class Splines, class AddPointsOf>
bool SampleHasBothSides(const Splines& splines, AddPointsOf add_points_of, double tolerance) {
  constexpr std::size_t kSampledSplines = 4096;
  const std::size_t step = splines.size() / kSampledSplines + 1;
  std::vector<Sample> sample;
  for (std::size_t s = 0; s < splines.size(); s += step) add_points_of(*splines[s], sample);
  bool below = false, above = false;
  for (const Sample& p : sample) {
    below = below || Below(p.x, tolerance);
    above = above || Above(p.x, tolerance);
  }
  return below && above;
}

template <class Splines, class AddPointsOf>
DockedLook JudgeSplines(const Splines& splines, AddPointsOf add_points_of, double tolerance) {
  if (!SampleHasBothSides(splines, add_points_of, tolerance)) return {};
  std::vector<Sample> points;
  for (const auto& spline : splines) add_points_of(*spline, points);
  return Judge(points, tolerance);
}

void AddPointsOfSpline(const Spline& spline, std::vector<Sample>& out) {
  if (spline.Count <= 0) return;
  for (const ControlPoint* p = spline.First; p != nullptr; p = p->next) AddFree(*p, out);
}

void AddPointsOfSegmentSpline(const SegmentSpline& spline, std::vector<Sample>& out) {
  for (const auto& p : spline.ControlPoints) AddFree(*p, out);
}

DockedLook JudgeTree(const Section& section, double tolerance) {
  if (const auto* mesh = dynamic_cast<const MeshSection*>(&section))
    return JudgeSplines(mesh->Splines, AddPointsOfSpline, tolerance);
  for (const Section::Entry& entry : section.Entries) {
    if (!entry.child) continue;
    DockedLook look = JudgeTree(*entry.child, tolerance);
    if (look.looks_docked) return look;
  }
  return {};
}

/// An angle-tag model is judged by its images: whole models are symmetric by construction, but
/// their ids pair up by no offset, and their points on the plane lie on both sides of it.
DockedLook JudgeTagged(const TaggedDocument& document) {
  const tagged::Symmetry symmetry = tagged::SymmetryOf(document.File());
  if (symmetry.off_plane == 0 || symmetry.mirrored * 10 < symmetry.off_plane * 9) return {};
  return {true,
          std::to_string(symmetry.mirrored) + " of " + std::to_string(symmetry.off_plane) +
              " points off the plane have their mirror image across X=0",
          DockedLook::Sign::SymmetricBox, 0};
}

}  // namespace

DockedLook LooksDocked(const Document& document, double tolerance) {
  if (const auto* tagged = dynamic_cast<const TaggedDocument*>(&document)) return JudgeTagged(*tagged);
  if (const auto* segment = dynamic_cast<const SegmentDocument*>(&document))
    return JudgeSplines(segment->Splines, AddPointsOfSegmentSpline, tolerance);
  if (const auto* tree = dynamic_cast<const Section*>(&document)) return JudgeTree(*tree, tolerance);
  return {};
}

}  // namespace mk
