#pragma once
// The docking stages written the plain way: renumbering by n rounds of ReplaceId over the whole
// view, and every lookup a scan from the first point. Slow, but obviously the rules; the property
// tests hold the indexed stages of ControlPointList to it.

#include <cstdint>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "core/mdl/ControlPoint.h"
#include "core/mdl/MeshSection.h"
#include "core/mdl/Spline.h"
#include "core/util/NumberText.h"

namespace mk::reference {

using View = std::vector<ControlPoint*>;

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

/// The docking pipeline of a mesh with the stages above.
inline void Dock(MeshSection& mesh, double tolerance) {
  if (mesh.Splines.empty()) return;
  View all = BuildView(mesh);
  for (ControlPoint* p : all) p->SnapToPlane(tolerance);
  const std::int32_t n = Renumber(all);
  CorrectionList records;
  mesh.MirrorSplines(n, records);
  ApplyCorrections(BuildView(mesh), records);
  ResolveAttachments(BuildView(mesh));
}

}  // namespace mk::reference
