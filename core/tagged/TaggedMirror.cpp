#include "core/tagged/TaggedMirror.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "core/docking/IdTable.h"
#include "core/docking/PlaneEnds.h"
#include "core/document/SeamRules.h"
#include "core/tagged/TaggedPositions.h"
#include "core/tagged/TaggedReport.h"

namespace mk::tagged {
namespace {

class ModelDocking {
 public:
  ModelDocking(TaggedModel& model, double tolerance, TaggedReport* report)
      : model_(model), points_(model.points), tolerance_(tolerance), report_(report) {}

  DockStatistics Run() {
    DockStatistics statistics;
    if (model_.splines.empty()) return statistics;
    const std::size_t n = points_.size();
    statistics.cp_before = static_cast<std::int32_t>(n);
    statistics.splines_before = static_cast<std::int32_t>(model_.splines.size());
    Snap();
    FindPlanePoints();
    std::int64_t highest = 0;
    for (const TaggedPoint& p : points_) highest = std::max<std::int64_t>(highest, p.id);
    next_id_ = static_cast<std::int32_t>(std::max<std::int64_t>(highest, 0));
    copy_of_.assign(n, kNoPoint);
    in_mirrored_.assign(n, 0);
    MirrorSplines();
    TargetCopies(n);
    MirrorPatches(n);
    ExtendIdLists(n);
    model_.docked = true;
    LinkPoints(model_);
    statistics.cp_after = static_cast<std::int32_t>(points_.size());
    statistics.splines_after = static_cast<std::int32_t>(model_.splines.size());
    return statistics;
  }

 private:
  void Snap() {
    if (report_) {
      std::vector<std::uint8_t> is_end(points_.size(), 0);
      for (const TaggedSpline& s : model_.splines) {
        if (s.count == 0) continue;
        is_end[model_.chain[s.begin]] = 1;
        is_end[model_.chain[s.begin + s.count - 1]] = 1;
      }
      report_->NoteBeforeSnap(model_, is_end);
    }
    for (TaggedPoint& p : points_) {
      if (p.form != PointForm::Positioned || p.x == 0 || !(std::fabs(p.x) < tolerance_)) continue;
      p.x = 0;
      p.x_text = XText::Zero;
      p.composed = true;
    }
  }

  void FindPlanePoints() {
    Positions positions(model_);
    on_plane_.assign(points_.size(), 0);
    for (std::uint32_t i = 0; i < points_.size(); ++i) on_plane_[i] = positions.XOf(i) == 0;
    if (!report_) return;
    for (const TaggedSpline& s : model_.splines) {
      if (s.count == 0) continue;
      const std::uint32_t first = model_.chain[s.begin];
      const std::uint32_t last = model_.chain[s.begin + s.count - 1];
      report_->NoteSplineEnd(first, std::fabs(positions.XOf(first)));
      if (last != first) report_->NoteSplineEnd(last, std::fabs(positions.XOf(last)));
    }
  }

  std::uint32_t CopyOf(std::uint32_t source) {
    TaggedPoint copy = points_[source];
    copy.id = ++next_id_;
    copy.x = -copy.x;
    copy.x_text = copy.x_text == XText::Zero ? XText::Zero : XText::Negated;
    copy.composed = true;
    copy.flags &= ~kClosedBit;  // set again where the copy ends a loop
    const auto index = static_cast<std::uint32_t>(points_.size());
    points_.push_back(copy);
    copy_of_[source] = index;
    source_of_.push_back(source);
    return index;
  }

  void SetClosed(std::uint32_t point, bool closed) {
    TaggedPoint& p = points_[point];
    const std::uint32_t flags = closed ? (p.flags | kClosedBit) : (p.flags & ~kClosedBit);
    if (flags == p.flags) return;
    p.flags = flags;
    p.composed = true;
  }

  void MirrorSplines() {
    // Room for every copy at once: growing the points by doubling would hold the old and the
    // new array together at the dock's peak.
    points_.reserve(2 * points_.size());
    LargeVector<std::uint32_t> chain;
    chain.reserve(2 * model_.chain.size());
    std::vector<TaggedSpline> splines;
    std::vector<std::vector<std::uint32_t>> twins;
    std::vector<std::uint32_t> copies;
    for (std::size_t s = 0; s < model_.splines.size(); ++s) {
      TaggedSpline spline = model_.splines[s];
      const std::uint32_t* run = model_.chain.data() + spline.begin;
      const std::uint32_t count = spline.count;
      spline.begin = static_cast<std::uint32_t>(chain.size());
      if (count == 0) {
        Note(s, 0, 0, SplineFate::OnPlane);
        splines.push_back(spline);
        continue;
      }
      const std::uint32_t first = run[0];
      const std::uint32_t last = run[count - 1];
      const bool closed = (points_[last].flags & kClosedBit) != 0;
      bool lies_on_plane = true;
      for (std::uint32_t k = 0; k < count && lies_on_plane; ++k)
        lies_on_plane = on_plane_[run[k]] && points_[run[k]].form != PointForm::Hook;
      const PlaneEnds ends = PlaneEndsOf(on_plane_[first] != 0, on_plane_[last] != 0);
      Note(s, points_[first].id, points_[last].id, FateOf(lies_on_plane, ends, closed));
      if (lies_on_plane) {
        chain.insert(chain.end(), run, run + count);
        splines.push_back(spline);
        continue;
      }
      for (std::uint32_t k = 0; k < count; ++k) in_mirrored_[run[k]] = 1;
      const std::uint32_t from = FirstEndOnPlane(ends) ? 1 : 0;
      const std::uint32_t to = LastEndOnPlane(ends) ? count - 1 : count;
      copies.clear();
      for (std::uint32_t k = from; k < to; ++k) copies.push_back(CopyOf(run[k]));
      std::reverse(copies.begin(), copies.end());  // the image runs the other way
      switch (ends) {
        case PlaneEnds::None:
          chain.insert(chain.end(), run, run + count);
          if (closed && !copies.empty()) SetClosed(copies.back(), true);
          twins.push_back(copies);
          break;
        case PlaneEnds::First:
          chain.insert(chain.end(), copies.begin(), copies.end());
          chain.insert(chain.end(), run, run + count);
          break;
        case PlaneEnds::Last:
        case PlaneEnds::Both:
          chain.insert(chain.end(), run, run + count);
          chain.insert(chain.end(), copies.begin(), copies.end());
          // The loop mark belongs on the last point, which is now the image's.
          if (!copies.empty() && (closed || ends == PlaneEnds::Both)) {
            SetClosed(last, false);
            SetClosed(copies.back(), true);
          }
          break;
      }
      spline.count = static_cast<std::uint32_t>(chain.size()) - spline.begin;
      splines.push_back(spline);
      MarkPlaneCopies(chain.data() + spline.begin, spline.count);
    }
    for (const std::vector<std::uint32_t>& twin : twins) {
      TaggedSpline spline;
      spline.begin = static_cast<std::uint32_t>(chain.size());
      spline.count = static_cast<std::uint32_t>(twin.size());
      chain.insert(chain.end(), twin.begin(), twin.end());
      splines.push_back(spline);
      MarkPlaneCopies(chain.data() + spline.begin, spline.count);
    }
    model_.chain = std::move(chain);
    model_.splines = std::move(splines);
  }

  void Note(std::size_t s, std::int32_t first_id, std::int32_t last_id, SplineFate fate) {
    if (report_) report_->NoteSpline(static_cast<std::int32_t>(s), first_id, last_id, fate);
  }

  /// Copies of plane points inside a spline join the halves there: each will sit on its source.
  void MarkPlaneCopies(const std::uint32_t* run, std::uint32_t count) {
    for (std::uint32_t k = 1; k + 1 < count; ++k) {
      const std::uint32_t p = run[k];
      if (p >= on_plane_.size() && on_plane_[source_of_[p - on_plane_.size()]])
        plane_copies_.push_back(p);
    }
  }

  /// The id the image of a target has: its copy's, or its own where it was not copied (a point
  /// on the plane that both halves share, or a spline that lies in the plane).
  std::int32_t MirrorId(std::uint32_t target, std::int32_t id) const {
    if (target == kNoPoint) return id;
    const std::uint32_t copy = copy_of_[target];
    return copy == kNoPoint ? points_[target].id : points_[copy].id;
  }

  void TargetCopies(std::size_t n) {
    for (std::size_t c = n; c < points_.size(); ++c) {
      TaggedPoint& copy = points_[c];
      if (copy.form == PointForm::Attached) {
        copy.target = MirrorId(copy.target_index, copy.target);
      } else if (copy.form == PointForm::Hook) {
        TargetHook(static_cast<std::uint32_t>(c));
      }
    }
    // Only hook targets carry the target mark: it goes to the copies hooks now name.
    for (std::size_t c = n; c < points_.size(); ++c) points_[c].flags &= ~kHookTargetBit;
    for (const auto& [target, marked] : hook_targets_)
      if (marked && target >= n) points_[target].flags |= kHookTargetBit;
    AttachPlaneCopies();
  }

  /// A hook sits at its ratio from its target towards the point after it. The image of that
  /// stretch runs the other way wherever the target's spline was mirrored, so the image of
  /// the hook names the image of the point after the target, at 1 - ratio.
  void TargetHook(std::uint32_t c) {
    TaggedPoint& copy = points_[c];
    const std::uint32_t target = copy.target_index;
    if (target == kNoPoint) return;
    const std::uint32_t after = points_[target].next;
    const bool reversed = in_mirrored_[target] && after != kNoPoint;
    const std::uint32_t named = reversed ? after : target;
    const std::int32_t old_target = MirrorId(target, copy.target);
    copy.target = MirrorId(named, points_[named].id);
    // A target that ends an open spline has no stretch after it, and the hook sits on it; its
    // image has one, the image running the other way, so the image hook takes the ratio 0.
    const bool on_end = in_mirrored_[target] && after == kNoPoint;
    if (reversed || (on_end && copy.ratio != 0)) {
      copy.ratio = reversed ? 1 - copy.ratio : 0;
      copy.ratio_changed = true;
      if (report_) report_->NoteCorrection(c, CorrectionKind::Hook, old_target, copy.target);
    }
    const std::uint32_t image = copy_of_[named];
    if (image != kNoPoint)
      hook_targets_.emplace_back(image, (points_[target].flags & kHookTargetBit) != 0);
  }

  void AttachPlaneCopies() {
    if (plane_copies_.empty()) return;
    // The first point stacked on each id: the stack is followed to its end, so that every copy
    // sits on the last point already stacked there and each stack stays one chain.
    std::unordered_map<std::int32_t, std::uint32_t> stacked_on;
    for (std::uint32_t i = 0; i < points_.size(); ++i)
      if (points_[i].form == PointForm::Attached) stacked_on.emplace(points_[i].target, i);
    for (const std::uint32_t c : plane_copies_) {
      TaggedPoint& copy = points_[c];
      const std::uint32_t source = source_of_[c - on_plane_.size()];
      std::int32_t end = points_[source].id;
      for (int steps = 0; steps < 64; ++steps) {
        const auto it = stacked_on.find(end);
        if (it == stacked_on.end() || it->second == c) break;
        end = points_[it->second].id;
      }
      const std::int32_t before = copy.form == PointForm::Attached ? copy.target : 0;
      if (copy.form == PointForm::Attached) {
        const auto old = stacked_on.find(copy.target);
        if (old != stacked_on.end() && old->second == c) stacked_on.erase(old);
      }
      copy.form = PointForm::Attached;
      copy.target = end;
      stacked_on.emplace(end, c);
      if (report_) report_->NoteCorrection(c, CorrectionKind::PlaneCopy, before, end);
    }
  }

  /// Where a stack of points is, the point it rests on.
  std::uint32_t RootOf(std::uint32_t point) const {
    for (int depth = 0; depth < 64 && point != kNoPoint; ++depth) {
      const TaggedPoint& p = points_[point];
      if (p.form != PointForm::Attached || p.target_index == kNoPoint) return point;
      point = p.target_index;
    }
    return point;
  }

  /// A patch names at each corner the member of the corner's stack on the spline that runs to
  /// the next corner. The image runs the other way round, so its corner wants the member on the
  /// spline that runs to the corner before: the neighbour, on its spline, of the member named
  /// there. The corner's own member where there is no such neighbour.
  std::uint32_t MemberTowards(std::uint32_t corner, std::uint32_t before,
                              const LargeVector<std::uint32_t>& prev) const {
    if (corner == kNoPoint || before == kNoPoint) return corner;
    const std::uint32_t root = RootOf(corner);
    for (const std::uint32_t neighbour : {points_[before].next, prev[before]})
      if (neighbour != kNoPoint && neighbour < prev.size() && RootOf(neighbour) == root)
        return neighbour;
    return corner;
  }

  void MirrorPatches(std::size_t n) {
    if (model_.patches.empty()) return;
    FirstPositionById by_id;
    by_id.Build(n, [this](std::size_t i) { return points_[i].id; });
    // The splines as read: next links still are theirs until the points are linked anew.
    LargeVector<std::uint32_t> prev(n, kNoPoint);
    for (std::uint32_t i = 0; i < n; ++i)
      if (points_[i].next != kNoPoint) prev[points_[i].next] = i;
    std::vector<std::uint32_t> normal_copy(model_.normals.lines.size(), kNoPoint);
    auto normal_of = [&](std::uint32_t normal) {
      if (normal_copy[normal] == kNoPoint) {
        normal_copy[normal] =
            static_cast<std::uint32_t>(model_.normals.lines.size() + model_.new_normals.size());
        model_.new_normals.push_back(normal);
      }
      return normal_copy[normal];
    };
    for (std::uint32_t s = 0; s < model_.patches.size(); ++s) {
      const TaggedPatch& patch = model_.patches[s];
      std::uint32_t corner[5];
      bool flat = true;
      for (std::uint32_t c = 0; c < patch.corners; ++c) {
        const std::size_t at = by_id.Find(patch.id[c]);
        corner[c] = at == FirstPositionById::kNone ? kNoPoint : static_cast<std::uint32_t>(at);
        flat = flat && corner[c] != kNoPoint && on_plane_[corner[c]];
      }
      if (flat) continue;
      // Reversed corner order, so that the image faces outwards; the first corner stays first.
      MirroredPatch image;
      image.source = s;
      const std::uint32_t corners = patch.corners;
      for (std::uint32_t c = 0; c < corners; ++c) {
        const std::uint32_t from = c == 0 ? 0 : corners - c;
        const std::uint32_t before = (from + corners - 1) % corners;
        const std::uint32_t member = MemberTowards(corner[from], corner[before], prev);
        image.id[c] = MirrorId(member, member == corner[from] ? patch.id[from] : points_[member].id);
        image.normal[c] = normal_of(patch.normal[from]);
      }
      if (corners == 3) {  // written as four corners, the last repeating the first
        image.id[3] = image.id[0];
        image.normal[3] = image.normal[0];
      }
      model_.new_patches.push_back(image);
    }
  }

  void ExtendIdLists(std::size_t n) {
    FirstPositionById by_id;
    by_id.Build(n, [this](std::size_t i) { return points_[i].id; });
    for (IdList& list : model_.id_lists) {
      for (std::uint32_t k = 0; k < list.ids.size(); ++k) {
        const std::size_t at = by_id.Find(list.ids[k]);
        if (at == FirstPositionById::kNone || copy_of_[at] == kNoPoint) continue;
        list.added.emplace_back(k, points_[copy_of_[at]].id);
      }
    }
  }

  TaggedModel& model_;
  LargeVector<TaggedPoint>& points_;
  double tolerance_;
  TaggedReport* report_;
  std::vector<std::uint8_t> on_plane_;     // of the points as read
  std::vector<std::uint8_t> in_mirrored_;  // on a spline the mirror copied
  LargeVector<std::uint32_t> copy_of_;
  std::vector<std::uint32_t> source_of_;  // of each copy, from the first copy on
  std::vector<std::uint32_t> plane_copies_;
  std::vector<std::pair<std::uint32_t, bool>> hook_targets_;
  std::int32_t next_id_ = 0;
};

}  // namespace

DockStatistics DockModel(TaggedModel& model, double tolerance, TaggedReport* report) {
  return ModelDocking(model, tolerance, report).Run();
}

}  // namespace mk::tagged
