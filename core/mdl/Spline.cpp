#include "core/mdl/Spline.h"

#include "core/document/SeamRules.h"
#include "core/util/Errors.h"
#include "core/util/NumberText.h"
#include "core/util/FieldSplitter.h"

namespace mk {

std::size_t Spline::LoadFromLines(std::span<const std::string_view> lines, std::size_t index) {
  if (index >= lines.size()) throw ListIndexError(static_cast<std::int64_t>(index));
  const std::int32_t n = CountOf(lines[index]);
  ++index;
  // No reservation from n: the count is the file's word, and the blocks that really follow
  // bound what is allocated. A count beyond them ends in the index error.
  for (std::int32_t k = 0; k < n; ++k) {
    auto point = std::make_unique<ControlPoint>();
    index = point->ReadFromLines(lines, index);
    Append(std::move(point));
  }
  return index;
}

std::int32_t Spline::CountOf(std::string_view cps_line) {
  FieldSplitter fields;
  fields.Separator = "=";
  fields.SetText(cps_line);
  fields.NextField();  // the key; the mesh reader only calls this on a "CPs" line
  return StrToInt(fields.NextField());
}

void Spline::SaveToLines(LineWriter& lines) const {
  std::string& text = lines.Text();
  text += "CPs=";
  AppendInt(text, Count);
  lines.EndLine();
  if (Count > 0) First->WriteChain(lines);
}

Spline::~Spline() {
  for (ControlPoint* p = First; p != nullptr;) {
    ControlPoint* next = p->next;
    delete p;
    p = next;
  }
}

void Spline::CollectCps(LargeVector<ControlPoint*>& list) const {
  if (Count > 0) First->CollectChain(list);
}

void Spline::Draw(View3D& view, PointIds ids, RestingPoints* memo) const {
  if (Count > 0) First->DrawChain(view, ids, memo);
}

void Spline::Append(std::unique_ptr<ControlPoint> point) {
  ControlPoint* p = point.release();
  p->next = nullptr;
  p->prev = Last;
  if (First == nullptr) First = p;
  if (Last != nullptr) Last->next = p;
  Last = p;
  ++Count;
}

void Spline::Prepend(std::unique_ptr<ControlPoint> point) {
  ControlPoint* p = point.release();
  p->next = First;
  p->prev = nullptr;
  if (First != nullptr) First->prev = p;
  First = p;
  if (Last == nullptr) Last = p;
  ++Count;
}

bool Spline::LiesOnPlane(RestingPoints* memo) const {
  return First->ChainOnPlaneWithoutHook(memo);
}

PlaneEnds Spline::EndsOnPlane(RestingPoints* memo) const {
  return PlaneEndsOf(First->IsOnPlane(memo), Last->IsOnPlane(memo));
}

std::unique_ptr<Spline> Spline::MakeMirror(std::int32_t n, CorrectionList& records,
                                             RestingPoints* memo, SplineFate* fate) {
  if (Count <= 0 || LiesOnPlane(memo)) {
    if (fate) *fate = SplineFate::OnPlane;
    return nullptr;
  }
  const PlaneEnds ends = EndsOnPlane(memo);
  if (fate) *fate = FateOf(false, ends, First->IsClosed() || Last->IsClosed());

  std::vector<std::unique_ptr<ControlPoint>> copies;
  copies.reserve(static_cast<std::size_t>(Count));
  First->MirrorChain(copies, ends, n);

  std::unique_ptr<Spline> twin;
  if (!copies.empty()) {
    if (LastEndOnPlane(ends)) {
      for (auto it = copies.rbegin(); it != copies.rend(); ++it) Append(std::move(*it));
    } else if (ends == PlaneEnds::First) {
      for (auto& copy : copies) Prepend(std::move(copy));
    } else {
      twin = std::make_unique<Spline>();
      for (auto it = copies.rbegin(); it != copies.rend(); ++it) twin->Append(std::move(*it));
      twin->First->MoveClosedToEnd(First->IsClosed());
    }
  }
  if (ends == PlaneEnds::Both) Last->SetClosed();

  // The reversal turns hooks round and doubles plane points; note what the correction must
  // repair, walking the chain once round so that the last point pairs with the first.
  Spline& w = twin ? *twin : *this;
  if (w.Count > 0) {
    ControlPoint* p = w.First;
    ControlPoint* q = p->NextOrHead();
    for (std::int32_t step = 0; step < w.Count; ++step) {
      if (q->IsHook() && q->is_mirror && !p->IsLast()) {
        records.push_back({q->cpid, p->cpid, CorrectionKind::Hook});
        p->MakeHookHolder();
        q->ClearHook();
      } else if (q->IsHook() && ((p->is_mirror && !q->is_mirror && !p->IsLast()) ||
                                 (p->IsLast() && p->IsClosed()))) {
        records.push_back({WrapAdd(q->cpid, n), p->cpid, CorrectionKind::Hook});
        p->MakeHookHolder();
      } else if (!p->IsFirst() && !p->IsLast() && p->is_mirror && p->GetX(0, memo) == 0) {
        // The coordinate test comes last: it may walk a long attachment chain.
        records.push_back({p->cpid, WrapSub(p->cpid, n), CorrectionKind::PlaneCopy});
      }
      p = q;
      q = q->NextOrHead();
    }
  }
  return twin;
}

}  // namespace mk
