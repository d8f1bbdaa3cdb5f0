#include "core/mdl/ControlPointList.h"

#include <algorithm>
#include <limits>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "core/docking/AttachErrorFile.h"
#include "core/docking/IdTable.h"
#include "core/docking/Renumbering.h"
#include "core/docking/TargetCycles.h"
#include "core/util/SecondCore.h"

namespace mk {
namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

}  // namespace

/// First-match indexes over the view. Ids stay fixed while they live (renumbering drops them);
/// attachments and ratios change, and every such change goes through Unlink before and Link
/// after it.
class ControlPointList::Lookups {
 public:
  explicit Lookups(const LargeVector<ControlPoint*>& points)
      : points_(points), kind_(points.size()) {
    // The kinds are read in one pass over the points, on both cores. The indexes then read the
    // ids and targets from the points themselves: copies of them, two arrays as long as the
    // view, would sit at the peak of a dock. The attachment indexes read only the points of
    // their kind, and the three are built side by side.
    const std::size_t n = points.size();
    SplitAcrossCores(n, [&](std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) kind_[i] = KindOf(*points[i]);
    });
    const auto key = [&points](std::size_t i) { return points[i]->at_cpid; };
    auto build_attached = [&] {
      attached_.Build(n, [this](std::size_t i) { return (kind_[i] & kAttached) != 0; }, key);
      with_ratio_.Build(n, [this](std::size_t i) { return (kind_[i] & kWithRatio) != 0; }, key);
    };
    auto build_by_id = [&] {
      by_id_.Build(n, [&points](std::size_t i) { return points[i]->cpid; });
    };
    if (WorthASecondCore(n)) {
      RunSideBySide(build_attached, build_by_id);
    } else {
      build_attached();
      build_by_id();
    }
  }

  /// Whether the point at position i is attached, without reading the point.
  bool IsAttached(std::size_t i) const { return (kind_[i] & kAttached) != 0; }

  std::size_t ById(std::int32_t id) const {
    const std::size_t i = by_id_.Find(id);
    return i == FirstPositionById::kNone ? kNone : i;
  }
  /// First attached point whose at_cpid is id.
  std::size_t AttachedTo(std::int32_t id) { return First(attached_, id); }
  /// First point whose raw at_cpid is id and whose hook ratio is not 0.
  std::size_t WithRatioAt(std::int32_t id) { return First(with_ratio_, id); }
  /// First point whose raw at_cpid is id. Only records of neither kind need it, and the mirror
  /// never makes those, so it is built on demand.
  std::size_t AnyAt(std::int32_t id) {
    if (!any_built_) {
      for (std::size_t i = 0; i < points_.size(); ++i) any_.emplace(points_[i]->at_cpid, i);
      any_built_ = true;
    }
    return First(any_, id);
  }

  void Unlink(std::size_t i) {
    const ControlPoint& p = *points_[i];
    if (p.attached == 1) attached_.Erase(p.at_cpid, i);
    if (p.HookRatio() != 0) with_ratio_.Erase(p.at_cpid, i);
    if (any_built_) any_.erase({p.at_cpid, i});
  }
  void Link(std::size_t i) {
    const ControlPoint& p = *points_[i];
    kind_[i] = KindOf(p);
    if (p.attached == 1) attached_.Insert(p.at_cpid, i);
    if (p.HookRatio() != 0) with_ratio_.Insert(p.at_cpid, i);
    if (any_built_) any_.emplace(p.at_cpid, i);
  }

  /// Starts a walk with no point met yet.
  void NewWalk() {
    met_.clear();
    met_beyond_.clear();
  }
  /// Marks the point as met in this walk; false when it was met already. Walks are short, a
  /// few steps or once round a cycle, so a short list serves them and a set takes over for a
  /// long one: a mark for every point of the view would sit at the peak of a dock.
  bool Meet(std::size_t i) {
    if (met_.size() < kShortWalk) {
      if (std::find(met_.begin(), met_.end(), i) != met_.end()) return false;
      met_.push_back(i);
      return true;
    }
    if (met_beyond_.empty()) met_beyond_.insert(met_.begin(), met_.end());
    return met_beyond_.insert(i).second;
  }

 private:
  using KeyedPositions = std::set<std::pair<std::int32_t, std::size_t>>;
  static constexpr std::uint8_t kAttached = 1;
  static constexpr std::uint8_t kWithRatio = 2;

  static std::uint8_t KindOf(const ControlPoint& p) {
    return static_cast<std::uint8_t>((p.attached == 1 ? kAttached : 0) |
                                     (p.HookRatio() != 0 ? kWithRatio : 0));
  }

  static std::size_t First(FirstPositionByKey& index, std::int32_t id) {
    const std::size_t i = index.First(id);
    return i == FirstPositionByKey::kNone ? kNone : i;
  }

  static std::size_t First(const KeyedPositions& set, std::int32_t id) {
    const auto it = set.lower_bound({id, 0});
    return (it != set.end() && it->first == id) ? it->second : kNone;
  }

  const LargeVector<ControlPoint*>& points_;
  std::vector<std::uint8_t> kind_;  // kAttached and kWithRatio of each position
  FirstPositionById by_id_;
  FirstPositionByKey attached_;
  FirstPositionByKey with_ratio_;
  KeyedPositions any_;
  bool any_built_ = false;
  static constexpr std::size_t kShortWalk = 32;
  std::vector<std::size_t> met_;
  std::unordered_set<std::size_t> met_beyond_;
};

ControlPointList::ControlPointList(const std::vector<std::unique_ptr<Spline>>& splines, WarningSink* warnings)
    : warnings_(warnings) {
  std::size_t total = 0;
  for (const auto& spline : splines) total += static_cast<std::size_t>(std::max(spline->Count, 0));
  points_.reserve(total);
  for (const auto& spline : splines) spline->CollectCps(points_);
}

ControlPointList::~ControlPointList() = default;

ControlPointList::Lookups& ControlPointList::Index() {
  if (!lookups_) lookups_ = std::make_unique<Lookups>(points_);
  return *lookups_;
}

void ControlPointList::InvalidateLookups() { lookups_.reset(); }

void ControlPointList::SnapAllToPlane(double tolerance) {
  for (ControlPoint* p : points_) p->SnapToPlane(tolerance);
}

std::int32_t ControlPointList::Renumber() {
  if (points_.empty()) return 0;
  lookups_.reset();
  RenumberPoints(
      points_.size(), [this](std::size_t i) { return points_[i]->cpid; },
      [this](std::size_t i) { return points_[i]->at_cpid; },
      [this](std::size_t i, std::int32_t id, std::int32_t ref) {
        points_[i]->cpid = id;
        points_[i]->at_cpid = ref;
      });
  return CpCount();
}

ControlPoint* ControlPointList::FindById(std::int32_t id) {
  const std::size_t i = Index().ById(id);
  return i == kNone ? nullptr : points_[i];
}

ControlPoint* ControlPointList::FindAttachedTo(std::int32_t id) {
  const std::size_t i = Index().AttachedTo(id);
  return i == kNone ? nullptr : points_[i];
}

// The three walks follow attachments outward, from a point to the first point attached to it.
// A walk that comes back to a point it met stops there, so a cycle of attachments ends it.

ControlPoint* ControlPointList::FindAttachChainEnd(std::int32_t id) {
  Lookups& index = Index();
  index.NewWalk();
  ControlPoint* result = nullptr;
  for (;;) {
    const std::size_t i = index.AttachedTo(id);
    if (i == kNone || !index.Meet(i)) return result;
    result = points_[i];
    id = result->cpid;
  }
}

ControlPoint* ControlPointList::FindRatiolessInAttachChain(std::int32_t id) {
  const std::size_t i = RatiolessInAttachChain(id);
  return i == kNone ? nullptr : points_[i];
}

std::size_t ControlPointList::RatiolessInAttachChain(std::int32_t id) {
  Lookups& index = Index();
  index.NewWalk();
  for (;;) {
    const std::size_t i = index.AttachedTo(id);
    if (i == kNone || !index.Meet(i)) return kNone;
    if (!points_[i]->HasHookRatio()) return i;
    id = points_[i]->cpid;
  }
}

void ControlPointList::FlipRatiosInAttachChain(std::int32_t id) {
  Lookups& index = Index();
  index.NewWalk();
  for (;;) {
    const std::size_t i = index.AttachedTo(id);
    if (i == kNone || !index.Meet(i)) return;
    index.Unlink(i);
    points_[i]->FlipHookRatio();
    index.Link(i);
    id = points_[i]->cpid;
  }
}

void ControlPointList::ApplyCorrections(const CorrectionList& records,
                                        std::vector<CorrectionNote>* notes) {
  if (points_.empty() || records.empty()) return;
  Lookups& index = Index();
  for (const CorrectionRecord& record : records) {
    if (record.kind == CorrectionKind::PlaneCopy) {
      const std::size_t t = index.ById(record.oldid);
      if (t == kNone) continue;
      const ControlPoint* end = FindAttachChainEnd(record.newid);
      const std::int32_t before = points_[t]->IsAttached() ? points_[t]->at_cpid : 0;
      index.Unlink(t);
      points_[t]->AttachTo(end ? end->cpid : record.newid);
      index.Link(t);
      if (notes) notes->push_back({points_[t], record.kind, before, points_[t]->at_cpid});
      continue;
    }
    // The first point in view order that RetargetAttach would change: hooks hold a ratio.
    const std::size_t t = index.WithRatioAt(record.oldid);
    if (t == kNone) continue;
    ControlPoint* target = points_[t];
    index.Unlink(t);
    target->RetargetAttach(record);
    index.Link(t);
    if (notes) notes->push_back({target, record.kind, record.oldid, target->at_cpid});
    const std::size_t m = RatiolessInAttachChain(target->cpid);
    if (m != kNone) {
      index.Unlink(m);
      points_[m]->SetAtCpid(record.oldid);
      index.Link(m);
    }
    FlipRatiosInAttachChain(target->cpid);
  }
}

void ControlPointList::ResolveAttachments(AttachFindings* findings) {
  Lookups& index = Index();
  // One pass resolves, stamps the points that have a target for the cycle search and lists
  // those without one for the report: at millions of points each pass is memory traffic.
  // Only attached points are visited: the index knows them without reading the points, and a
  // point that is not attached never has a target.
  // Each point is resolved on its own, so the halves of the view go to both cores, each with
  // lists of its own, joined in view order.
  struct Found {
    std::vector<std::size_t> missing;
    std::vector<std::size_t> with_target;
  };
  Found first;
  Found second;
  SplitAcrossCores(points_.size(), [&](std::size_t begin, std::size_t end) {
    Found& found = begin == 0 ? first : second;
    for (std::size_t k = begin; k < end; ++k) {
      if (!index.IsAttached(k)) continue;
      ControlPoint* p = points_[k];
      const std::size_t i = index.ById(p->at_cpid);
      p->at_cp = i == kNone ? nullptr : points_[i];
      if (p->at_cp == nullptr) {
        found.missing.push_back(k);
      } else {
        p->view_slot = static_cast<std::uint32_t>(k);
        found.with_target.push_back(k);
      }
    }
  });
  first.missing.insert(first.missing.end(), second.missing.begin(), second.missing.end());
  first.with_target.insert(first.with_target.end(), second.with_target.begin(),
                           second.with_target.end());
  WriteAttachReport(first.missing);
  if (warnings_ == nullptr && findings == nullptr) return;
  const std::vector<std::size_t> in_cycles = FindAttachCycles(first.with_target);
  if (warnings_ != nullptr && !in_cycles.empty()) {
    DockWarning cycles;
    cycles.kind = DockWarning::Kind::AttachCycle;
    for (const std::size_t c : in_cycles) cycles.ids.push_back(points_[c]->cpid);
    warnings_->Warn(cycles);
  }
  if (findings == nullptr) return;
  for (const std::size_t k : first.missing) findings->missing.push_back(points_[k]);
  for (const std::size_t c : in_cycles) findings->in_cycles.push_back(points_[c]);
}

void ControlPointList::ReportAttachErrors() {
  std::vector<std::size_t> missing;
  for (std::size_t k = 0; k < points_.size(); ++k)
    if (points_[k]->attached == 1 && points_[k]->at_cp == nullptr) missing.push_back(k);
  WriteAttachReport(missing);
}

void ControlPointList::WriteAttachReport(const std::vector<std::size_t>& missing) {
  std::vector<MissingAttachTarget> listed;
  listed.reserve(missing.size());
  for (const std::size_t k : missing) listed.push_back({points_[k]->cpid, points_[k]->at_cpid});
  // The report is advice, not part of the model: docking goes on without it.
  if (!WriteAttachErrorFile(CpCount(), listed) && warnings_) {
    DockWarning warning;
    warning.kind = DockWarning::Kind::AttachReportUnwritable;
    warning.file = kAttachErrorFileName;
    warnings_->Warn(warning);
  }
}

std::vector<std::size_t> ControlPointList::FindAttachCycles(
    const std::vector<std::size_t>& with_target) {
  if (with_target.empty()) return {};
  // Positions are stamped into the points rather than kept in a map from point to position: at a
  // million points the map's misses cost more than the whole walk.
  return FindTargetCycles(points_.size(), with_target, [&](std::size_t i) {
    const ControlPoint* t = points_[i]->at_cp;
    if (t == nullptr || t->at_cp == nullptr) return kNoTarget;  // the walk ends at t
    const std::size_t slot = t->view_slot;  // a target outside this view bears a stale stamp
    return slot < points_.size() && points_[slot] == t ? slot : kNoTarget;
  });
}

}  // namespace mk
