#include "core/mdl/Spline.h"

#include "core/docking/MirrorCorrections.h"
#include "core/document/SeamRules.h"
#include "core/util/Errors.h"
#include "core/util/NumberText.h"
#include "core/util/FieldSplitter.h"

namespace mk {
namespace {

/// A spline's chain as the record pass of the mirror sees it.
class MirroredChain {
 public:
  using Point = ControlPoint*;
  MirroredChain(Spline& spline, RestingPoints* memo) : spline_(spline), memo_(memo) {}

  Point First() const { return spline_.First; }
  std::int32_t Count() const { return spline_.Count; }
  static Point NextOrHead(Point p) { return p->NextOrHead(); }
  static std::int32_t Id(Point p) { return p->cpid; }
  static bool IsHook(Point p) { return p->IsHook(); }
  static bool IsMirror(Point p) { return p->is_mirror; }
  static bool IsFirst(Point p) { return p->IsFirst(); }
  static bool IsLast(Point p) { return p->IsLast(); }
  static bool IsClosed(Point p) { return p->IsClosed(); }
  static double OwnRatio(Point p) { return p->HookRatio(); }
  double XAtRest(Point p) const { return p->GetX(0, memo_); }
  double XAtOwnRatio(Point p) const { return p->GetX(p->HookRatio(), memo_); }
  /// A copy shares its source's target until the attach correction. That target ended its
  /// chain when it still does, or when the mirror has continued the chain past it.
  bool TargetHasImage(Point p) const {
    const ControlPoint* target = p->at_cp;
    if (target == nullptr || p->attached != 1) return false;
    const bool last_end = target->IsLast() || target->next->is_mirror;
    return mk::TargetHasImage(target->IsOnPlane(memo_), target->IsHook(), last_end);
  }
  static void MakeHookHolder(Point p) { p->MakeHookHolder(); }
  static void ClearHook(Point p) { p->ClearHook(); }

 private:
  Spline& spline_;
  RestingPoints* memo_;
};

}  // namespace

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
  // repair.
  MirroredChain chain(twin ? *twin : *this, memo);
  RecordMirrorCorrections(chain, n, records);
  return twin;
}

}  // namespace mk
