#include "core/mdl/ControlPoint.h"

#include <cmath>
#include <string>
#include <unordered_set>

#include "core/util/Errors.h"
#include "core/util/Extended.h"
#include "core/util/FieldSplitter.h"
#include "core/util/NumberText.h"

namespace mk {
namespace {

std::string_view LineAt(std::span<const std::string_view> lines, std::size_t index) {
  if (index >= lines.size()) throw ListIndexError(static_cast<std::int64_t>(index));
  return lines[index];
}

/// Line 3 or 4 of a block: one word (normally "0") stands for the default triple.
std::array<double, 3> ReadTriple(std::string_view line, bool& is_default) {
  std::array<double, 3> values{};
  is_default = WordCount(line) == 1;
  if (is_default) return values;
  FieldSplitter fields;
  fields.Separator = " ";
  fields.SetText(line);
  for (double& value : values) value = StrToFloat(fields.NextField());
  return values;
}

void WriteTriple(LineWriter& lines, bool is_default, const std::array<double, 3>& triple) {
  std::string& text = lines.Text();
  if (is_default) {
    text += '0';
  } else {
    AppendTriple(text, triple);
  }
  lines.EndLine();
}

/// Follows at_cp from p until a point without a target, a point where stop holds, or the first
/// point met a second time (an attachment cycle), and returns that point. Short walks, the normal
/// case, need no memory; a long one starts again with visited marks so that a cycle ends.
template <class Stop>
const ControlPoint* WalkTargets(const ControlPoint* p, Stop stop) {
  constexpr int kUnmarkedSteps = 64;
  const ControlPoint* q = p;
  for (int step = 0; step < kUnmarkedSteps; ++step) {
    if (stop(q) || q->at_cp == nullptr) return q;
    q = q->at_cp;
  }
  std::unordered_set<const ControlPoint*> met;
  for (q = p;; q = q->at_cp) {
    if (stop(q) || q->at_cp == nullptr) return q;
    if (!met.insert(q).second) return q;
  }
}

const ControlPoint* RestingPoint(const ControlPoint* p, RestingPoints* memo) {
  if (memo != nullptr) return memo->Of(p);
  return WalkTargets(p, [](const ControlPoint*) { return false; });
}

}  // namespace

RestingPoints::Known* RestingPoints::Find(const ControlPoint* q) {
  const std::size_t slot = q->view_slot;
  return slot < known_.size() && known_[slot].point == q ? &known_[slot] : nullptr;
}

const ControlPoint* RestingPoints::Of(const ControlPoint* p) {
  if (p->at_cp == nullptr) return p;
  path_.clear();
  const ControlPoint* q = p;
  const ControlPoint* end = nullptr;
  for (;;) {
    if (q->at_cp == nullptr) {
      end = q;
      break;
    }
    if (const Known* known = Find(q)) {
      end = known->end;  // null: this walk came round to itself
      break;
    }
    q->view_slot = static_cast<std::uint32_t>(known_.size());
    known_.push_back({q, nullptr});
    path_.push_back(q);
    q = q->at_cp;
  }
  if (end == nullptr) {
    // A cycle: where a walk ends then depends on where it started, so nothing on it is kept.
    for (const ControlPoint* r : path_) known_[r->view_slot].point = nullptr;
    return WalkTargets(p, [](const ControlPoint*) { return false; });
  }
  for (const ControlPoint* r : path_) known_[r->view_slot].end = end;
  return end;
}

std::size_t ControlPoint::ReadFromLines(std::span<const std::string_view> lines, std::size_t index) {
  FieldSplitter fields;
  fields.Separator = " ";

  fields.SetText(LineAt(lines, index));
  const std::string_view flags = fields.NextField();
  try {
    cptype = static_cast<std::uint32_t>(ParseFlagWord(flags));
  } catch (const ConversionError&) {
    // A long flag word is converted without its first character; the user must see the word
    // as the file has it.
    throw ConversionError(ConversionError::Kind::Integer, std::string(flags));
  }
  attached = StrToInt(fields.NextField());
  cpid = StrToInt(fields.NextField());
  SetHookRatio(HasHookRatio() && fields.RestLength() > 0 ? StrToFloat(fields.NextField()) : 0.0);

  fields.SetText(LineAt(lines, index + 1));
  if (attached == 1) {
    at_cpid = StrToInt(fields.NextField());
    x = y = z = 0;
  } else {
    at_cpid = 0;
    x = StrToFloat(fields.NextField());
    y = StrToFloat(fields.NextField());
    z = StrToFloat(fields.NextField());
  }
  at_cp = nullptr;

  SetLine3(ReadTriple(LineAt(lines, index + 2), line3_default));
  SetLine4(ReadTriple(LineAt(lines, index + 3), line4_default));
  is_mirror = false;
  ratio_flipped = false;
  return index + 4;
}

void ControlPoint::WriteTo(LineWriter& lines) const {
  std::string& text = lines.Text();
  text += FormatFlagWord(static_cast<std::int32_t>(cptype));
  text += ' ';
  AppendInt(text, attached);
  text += ' ';
  AppendInt(text, cpid);
  if (HasHookRatio()) {
    text += ' ';
    AppendFloat(text, HookRatio());
  }
  lines.EndLine();

  if (attached == 1) {
    AppendInt(lines.Text(), at_cpid);
    lines.EndLine();
  } else {
    WriteTriple(lines, false, {x, y, z});
  }
  WriteTriple(lines, line3_default, Line3());
  WriteTriple(lines, line4_default, Line4());
}

void ControlPoint::WriteChain(LineWriter& lines) const {
  for (const ControlPoint* p = this; p != nullptr; p = p->next) p->WriteTo(lines);
}

void ControlPoint::DrawChain(View3D& screen, PointIds ids, RestingPoints* memo) const {
  for (const ControlPoint* p = this; p != nullptr; p = p->next) {
    const auto [px, py, pz] = p->GetXYZ(p->HookRatio(), memo);
    if (p->prev == nullptr) {
      screen.MoveTo3D(px, py, pz);
    } else {
      screen.LineTo3D(px, py, pz);
      if (p->next == nullptr && p->IsClosed()) {
        const ControlPoint* head = p->ChainHead();
        const auto [hx, hy, hz] = head->GetXYZ(head->HookRatio(), memo);
        screen.LineTo3D(hx, hy, hz);
      }
    }
    if (ids == PointIds::Shown) screen.TextOut3D(IntToStr(p->cpid), px, py, pz);
  }
}

void ControlPoint::ResolveAttach(std::span<ControlPoint* const> points) {
  if (attached != 1) return;
  at_cp = nullptr;
  for (ControlPoint* p : points) {
    if (p->cpid == at_cpid) {
      at_cp = p;
      return;
    }
  }
}

void ControlPoint::ReplaceId(std::int32_t old_id, std::int32_t new_id) {
  ReplaceIdPair(cpid, at_cpid, old_id, new_id);
}

void ControlPoint::NegateIds() { NegateIdPair(cpid, at_cpid); }

void ControlPoint::FlipHookRatio() {
  if (HookRatio() == 0 || ratio_flipped) return;
  ratio_flipped = true;
  SetHookRatio(1 - HookRatio());
}

ControlPoint* ControlPoint::RetargetAttach(const CorrectionRecord& record) {
  if (at_cpid != record.oldid) return nullptr;
  if (record.kind == CorrectionKind::PlaneCopy) {
    at_cpid = record.newid;
    return this;
  }
  if (HookRatio() == 0) return nullptr;
  at_cpid = record.newid;
  FlipHookRatio();
  return this;
}

void ControlPoint::MoveClosedToEnd(bool carry) {
  ControlPoint* p = this;
  for (; p->next != nullptr; p = p->next) {
    carry = carry || p->IsClosed();
    p->ClearClosed();
  }
  if (carry) p->SetClosed();
}

bool ControlPoint::ChainOnPlaneWithoutHook(RestingPoints* memo) const {
  for (const ControlPoint* p = this; p != nullptr; p = p->next)
    if (!p->IsOnPlane(memo) || p->IsHook()) return false;
  return true;
}

std::array<double, 3> ControlPoint::GetXYZ(double ratio, RestingPoints* memo) const {
  const auto own = [](const ControlPoint* p) { return std::array<double, 3>{p->x, p->y, p->z}; };
  if (ratio == 0) return own(RestingPoint(this, memo));
  const ControlPoint* end = WalkTargets(this, [](const ControlPoint* q) { return q->IsHook(); });
  if (!end->IsHook()) return own(end);
  // A hook asked with a ratio: the position lies that far from the hook's target towards the
  // next point of its own chain. Extended precision keeps the result as the modeller's own,
  // and the same on every platform.
  const std::array<double, 3> c = own(end->at_cp ? RestingPoint(end->at_cp, memo) : end);
  const std::array<double, 3> b = own(RestingPoint(end->NextOrHead(), memo));
  const Extended share(ratio);
  std::array<double, 3> at{};
  for (std::size_t axis = 0; axis < 3; ++axis) {
    const Extended from(c[axis]);
    at[axis] = Add(from, Multiply(share, Subtract(Extended(b[axis]), from))).ToDouble();
  }
  return at;
}

void ControlPoint::SnapToPlane(double tolerance) {
  if (std::fabs(x) < tolerance) x = 0;
}

const ControlPoint* ControlPoint::ChainHead() const {
  const ControlPoint* p = this;
  while (p->prev != nullptr) p = p->prev;
  return p;
}

ControlPoint* ControlPoint::ChainHead() {
  ControlPoint* p = this;
  while (p->prev != nullptr) p = p->prev;
  return p;
}

void ControlPoint::CollectChain(LargeVector<ControlPoint*>& list) {
  for (ControlPoint* p = this; p != nullptr; p = p->next) list.push_back(p);
}

void ControlPoint::MirrorChain(std::vector<std::unique_ptr<ControlPoint>>& out, PlaneEnds shared,
                               std::int32_t offset) const {
  const bool skip_first = FirstEndOnPlane(shared);
  const bool skip_last = LastEndOnPlane(shared);
  for (const ControlPoint* p = this; p != nullptr; p = p->next) {
    if ((skip_first && p->prev == nullptr) || (skip_last && p->next == nullptr)) continue;
    auto copy = std::make_unique<ControlPoint>(*p);
    copy->cpid = WrapAdd(p->cpid, offset);
    // An attachment that found no target keeps its id: raised by the offset it could land on an
    // unrelated copy. It stays unresolved and is reported like its source.
    if (!(p->attached == 1 && p->at_cp == nullptr)) copy->at_cpid = WrapAdd(p->at_cpid, offset);
    copy->x = -p->x;
    copy->is_mirror = true;
    copy->ratio_flipped = false;
    copy->prev = nullptr;
    copy->next = nullptr;
    out.push_back(std::move(copy));
  }
}

}  // namespace mk
