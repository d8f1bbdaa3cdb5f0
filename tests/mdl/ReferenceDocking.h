#pragma once
// The docking stages written the plain way: renumbering by n rounds of ReplaceId over the whole
// view, the mirror point by point from its rules, and every lookup a scan from the first point. Slow, but obviously the rules; the property
// tests hold the indexed stages of ControlPointList to it.

#include <cstdint>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/mdl/ControlPoint.h"
#include "core/mdl/MeshSection.h"
#include "core/mdl/Spline.h"
#include "core/util/NumberText.h"

namespace mk::reference {

using View = LargeVector<ControlPoint*>;

inline View BuildView(const MeshSection& mesh) {
  View view;
  // Walked through the links, independently of the spline's own collection.
  for (const auto& spline : mesh.Splines)
    for (ControlPoint* p = spline->First; p != nullptr; p = p->next) view.push_back(p);
  return view;
}

inline std::int32_t Renumber(View& view) {
  const std::size_t n = view.size();
  for (std::size_t i = 0; i < n; ++i) {
    const std::int32_t id = view[i]->cpid;
    const std::int32_t temporary = WrapNeg(static_cast<std::int32_t>(i + 1));
    for (ControlPoint* p : view) p->ReplaceId(id, temporary);
  }
  for (ControlPoint* p : view) p->NegateIds();
  return static_cast<std::int32_t>(n);
}

inline ControlPoint* FindById(const View& view, std::int32_t id) {
  for (ControlPoint* p : view)
    if (p->cpid == id) return p;
  return nullptr;
}

inline ControlPoint* FindAttachedTo(const View& view, std::int32_t id) {
  for (ControlPoint* p : view)
    if (p->GetAtCpid() == id) return p;
  return nullptr;
}

inline ControlPoint* FindAttachChainEnd(const View& view, std::int32_t id) {
  std::set<ControlPoint*> met;
  ControlPoint* result = nullptr;
  for (;;) {
    ControlPoint* p = FindAttachedTo(view, id);
    if (p == nullptr || !met.insert(p).second) return result;
    result = p;
    id = p->cpid;
  }
}

inline ControlPoint* FindRatiolessInAttachChain(const View& view, std::int32_t id) {
  std::set<ControlPoint*> met;
  for (;;) {
    ControlPoint* p = FindAttachedTo(view, id);
    if (p == nullptr || !met.insert(p).second) return nullptr;
    if (!p->HasHookRatio()) return p;
    id = p->cpid;
  }
}

inline void FlipRatiosInAttachChain(const View& view, std::int32_t id) {
  std::set<ControlPoint*> met;
  for (;;) {
    ControlPoint* p = FindAttachedTo(view, id);
    if (p == nullptr || !met.insert(p).second) return;
    p->FlipHookRatio();
    id = p->cpid;
  }
}

inline void ApplyCorrections(const View& view, const CorrectionList& records) {
  if (view.empty()) return;
  for (const CorrectionRecord& record : records) {
    if (record.kind == CorrectionKind::PlaneCopy) {
      ControlPoint* t = FindById(view, record.oldid);
      if (t == nullptr) continue;
      ControlPoint* e = FindAttachChainEnd(view, record.newid);
      t->AttachTo(e ? e->cpid : record.newid);
      continue;
    }
    ControlPoint* t = nullptr;
    for (ControlPoint* p : view) {
      if (p->RetargetAttach(record) != nullptr) {
        t = p;
        break;
      }
    }
    if (t == nullptr) continue;
    if (ControlPoint* m = FindRatiolessInAttachChain(view, t->cpid)) m->SetAtCpid(record.oldid);
    FlipRatiosInAttachChain(view, t->cpid);
  }
}

inline void ResolveAttachments(const View& view) {
  for (ControlPoint* p : view) p->ResolveAttach(view);
  std::string report = "\xE3\x82\xA2\xE3\x82\xBF\xE3\x83\x83\xE3\x83\x81\xE5\x85\x88\xE3\x81\x8C\xE7\x84\xA1\xE3\x81\x84\r\n";
  report += "num_of_cp=" + std::to_string(view.size()) + "\r\n";
  bool any = false;
  for (const ControlPoint* p : view) {
    if (p->attached == 1 && p->at_cp == nullptr) {
      report += "cpid=" + std::to_string(p->cpid) + " at_cpid=" + std::to_string(p->at_cpid) + "\r\n";
      any = true;
    }
  }
  if (any) std::ofstream("attach_err.txt", std::ios::binary | std::ios::trunc) << report;
}

// The mirror, written from what it must do rather than from the spline's own steps, so that a
// fault there shows as a difference: every point off a shared end gets a copy with its x
// negated and its ids moved by n (an attachment that found no target keeps its id); an end on
// the plane is shared and gets none. The copies, last first, continue a spline whose last end
// is on the plane, run into one whose first end only is on it, or else form a twin of their own
// that carries the closed flag on its last point. Both ends on the plane close the spline.

inline std::int32_t Plus(std::int32_t id, std::int32_t n) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(id) + static_cast<std::uint32_t>(n));
}
inline std::int32_t Minus(std::int32_t id, std::int32_t n) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(id) - static_cast<std::uint32_t>(n));
}

constexpr std::uint32_t kHookBits = 0x80000080u;
constexpr std::uint32_t kHolderBit = 0x80000000u;
constexpr std::uint32_t kClosedBit = 0x4u;

inline bool IsHook(const ControlPoint& p) { return (p.cptype & kHookBits) != 0; }
inline bool IsClosed(const ControlPoint& p) { return (p.cptype & kClosedBit) != 0; }
inline bool OnPlane(const ControlPoint& p) { return p.GetX(p.HookRatio()) == 0; }
inline void MakeHolder(ControlPoint& p) { p.cptype = (p.cptype & ~kHookBits) | kHolderBit; }

inline std::unique_ptr<ControlPoint> MirrorCopy(const ControlPoint& p, std::int32_t n) {
  auto copy = std::make_unique<ControlPoint>(p);
  copy->cpid = Plus(p.cpid, n);
  const bool dangling = p.attached == 1 && p.at_cp == nullptr;
  copy->at_cpid = dangling ? p.at_cpid : Plus(p.at_cpid, n);
  copy->x = -p.x;
  copy->is_mirror = true;
  copy->ratio_flipped = false;
  copy->prev = nullptr;
  copy->next = nullptr;
  return copy;
}

/// Whether the copy's attachment (its source's target, raised by n) names a point the mirror
/// makes or hands on: any target off the plane, or a hook on it that is not a last end.
inline bool TargetHasImage(const ControlPoint& copy) {
  const ControlPoint* t = copy.at_cp;
  if (copy.attached != 1 || t == nullptr) return false;
  if (!OnPlane(*t)) return true;
  const bool last_end = t->next == nullptr || t->next->is_mirror;
  return IsHook(*t) && !last_end;
}

/// The correction records of a mirrored chain, going once round it so that the last point
/// pairs with the first: a hook the reversal turned round passes to its new holder, and a copy
/// of an inner point on the plane is tied to its original. A copy with a ratio whose target
/// has an image counts as on the plane only where its own position is, not merely where its
/// hook's stretch starts. On a twinned loop of
/// three or more points, a hook of its own at the head hands its dependants, named by the
/// head's own id, to the last point; that record goes before the unbroken run of turned hooks
/// from the head, which would otherwise hand it their dependants too (unless every pair but
/// the closing one turned a hook).
inline void RecordCorrections(Spline& chain, std::int32_t n, CorrectionList& records) {
  const std::size_t first_record = records.size();
  const bool head_was_hook = IsHook(*chain.First);
  std::vector<bool> turned;
  ControlPoint* p = chain.First;
  for (std::int32_t step = 0; step < chain.Count; ++step) {
    ControlPoint* q = p->next != nullptr ? p->next : chain.First;
    const bool p_first = p->prev == nullptr;
    const bool p_last = p->next == nullptr;
    turned.push_back(false);
    if (IsHook(*q) && q->is_mirror && !p_last) {
      records.push_back({q->cpid, p->cpid, CorrectionKind::Hook});
      MakeHolder(*p);
      q->cptype &= ~kHookBits;
      turned.back() = true;
    } else if (IsHook(*q) && ((p->is_mirror && !q->is_mirror && !p_last) ||
                              (p_last && IsClosed(*p)))) {
      std::size_t run = 0;
      while (run < turned.size() && turned[run]) ++run;
      const bool twin_closing = p_last && p->is_mirror && q->is_mirror && head_was_hook &&
                                chain.Count > 2 && run + 1 < turned.size();
      const CorrectionRecord closing{twin_closing ? q->cpid : Plus(q->cpid, n), p->cpid,
                                     CorrectionKind::Hook};
      MakeHolder(*p);
      if (twin_closing) {
        // Before the run of turned hooks from the head, after everything else.
        std::vector<CorrectionRecord> reordered(records.begin(), records.begin() + static_cast<std::ptrdiff_t>(first_record));
        for (std::size_t r = first_record + run; r < records.size(); ++r) reordered.push_back(records[r]);
        reordered.push_back(closing);
        for (std::size_t r = first_record; r < first_record + run; ++r) reordered.push_back(records[r]);
        records = reordered;
      } else {
        records.push_back(closing);
      }
    } else if (!p_first && !p_last && p->is_mirror && p->GetX(0) == 0 &&
               (p->HookRatio() == 0 || !TargetHasImage(*p) || p->GetX(p->HookRatio()) == 0)) {
      records.push_back({p->cpid, Minus(p->cpid, n), CorrectionKind::PlaneCopy});
    }
    p = q;
  }
}

/// One spline's mirror; returns the twin when it makes one.
inline std::unique_ptr<Spline> MirrorSpline(Spline& spline, std::int32_t n, CorrectionList& records) {
  if (spline.Count <= 0) return nullptr;
  bool on_plane_without_hook = true;
  bool any_closed = false;
  for (const ControlPoint* p = spline.First; p != nullptr; p = p->next) {
    if (!OnPlane(*p) || IsHook(*p)) on_plane_without_hook = false;
    any_closed = any_closed || IsClosed(*p);
  }
  if (on_plane_without_hook) return nullptr;  // it serves both halves as it is
  const bool first_shared = OnPlane(*spline.First);
  const bool last_shared = OnPlane(*spline.Last);

  std::vector<std::unique_ptr<ControlPoint>> copies;
  for (const ControlPoint* p = spline.First; p != nullptr; p = p->next) {
    if ((first_shared && p == spline.First) || (last_shared && p == spline.Last)) continue;
    copies.push_back(MirrorCopy(*p, n));
  }
  std::unique_ptr<Spline> twin;
  if (last_shared) {
    for (std::size_t i = copies.size(); i-- > 0;) spline.Append(std::move(copies[i]));
  } else if (first_shared) {
    for (auto& copy : copies) spline.Prepend(std::move(copy));  // the last copy ends up first
  } else {
    twin = std::make_unique<Spline>();
    for (std::size_t i = copies.size(); i-- > 0;) twin->Append(std::move(copies[i]));
    for (ControlPoint* p = twin->First; p != nullptr; p = p->next) p->cptype &= ~kClosedBit;
    if (any_closed) twin->Last->cptype |= kClosedBit;
  }
  if (first_shared && last_shared) spline.Last->cptype |= kClosedBit;
  RecordCorrections(twin ? *twin : spline, n, records);
  return twin;
}

/// Every spline present now, last first; the twins join the mesh in that order.
inline void MirrorSplines(MeshSection& mesh, std::int32_t n, CorrectionList& records) {
  for (std::size_t s = mesh.Splines.size(); s-- > 0;)
    if (auto twin = MirrorSpline(*mesh.Splines[s], n, records)) mesh.Splines.push_back(std::move(twin));
}

/// The docking pipeline of a mesh with the stages above.
inline void Dock(MeshSection& mesh, double tolerance) {
  if (mesh.Splines.empty()) return;
  View all = BuildView(mesh);
  for (ControlPoint* p : all) p->SnapToPlane(tolerance);
  const std::int32_t n = Renumber(all);
  CorrectionList records;
  MirrorSplines(mesh, n, records);
  ApplyCorrections(BuildView(mesh), records);
  ResolveAttachments(BuildView(mesh));
}

}  // namespace mk::reference
