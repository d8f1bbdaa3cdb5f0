#pragma once
// One control point of a ".mdl" mesh: its four-line text block, its effective position (on its
// own, on an attach target, or along a hook's stretch) and the per-point steps of docking.
//
// Chains of points are plain linked lists that can hold millions of points, and attachments can
// stack just as deep, so every walk over a chain or an attachment chain here is a loop.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "core/docking/IdArithmetic.h"
#include "core/docking/CorrectionRecord.h"
#include "core/docking/PlaneEnds.h"
#include "core/document/PointIds.h"
#include "core/util/LargeMemory.h"
#include "core/util/Words.h"
#include "core/util/RareReals.h"
#include "core/util/LineList.h"
#include "core/util/PointPool.h"
#include "core/view/View3D.h"

namespace mk {


class ControlPoint;

/// Remembers where attachment walks with ratio 0 end, for passes that ask the position of every
/// point of a mesh: without it a stack of n attached points costs n^2 steps. Valid only while no
/// at_cp changes; make one per pass.
class RestingPoints {
 public:
  /// The point whose own coordinates a ratio-0 position of p is.
  const ControlPoint* Of(const ControlPoint* p);

 private:
  // A point's entry is found through its view_slot stamp, not a hash map: at millions of
  // points the map's misses cost more than the walks.
  struct Known {
    const ControlPoint* point;  // null: no longer valid
    const ControlPoint* end;    // null: on the walk under way
  };
  Known* Find(const ControlPoint* q);

  std::vector<Known> known_;
  std::vector<const ControlPoint*> path_;
};

class ControlPoint : public Pooled<ControlPoint> {
 public:
  static constexpr std::uint32_t kClosedBit = 0x00000004u;
  static constexpr std::uint32_t kHookBits = 0x80000080u;
  static constexpr std::uint32_t kRatioBits = 0x00001010u;

  // Ordered for size: a mesh holds millions of points, so no padding between small fields.
  std::uint32_t cptype = 0;
  std::int32_t attached = 0;
  std::int32_t at_cpid = 0;
  std::int32_t cpid = 0;
  ControlPoint* at_cp = nullptr;
  double x = 0;
  double y = 0;
  double z = 0;
 private:
  // Line 4, line 3, then the hook's ratio: nearly always all zero. Line 4 is the one a model
  // most often has, and the ratio, asked at every point drawn or docked, the one it has least.
  RareReals<7> rare_;
  static constexpr std::size_t kLine4Slot = 0;
  static constexpr std::size_t kLine3Slot = 3;
  static constexpr std::size_t kRatioSlot = 6;

 public:
  ControlPoint* prev = nullptr;
  ControlPoint* next = nullptr;
  bool ratio_flipped = false;
  bool line3_default = false;
  bool line4_default = false;
  bool is_mirror = false;
  /// Scratch for whole-view passes: a pass stamps a point's position here before it reads it.
  /// Stamps are checked before use, so a stale one is harmless.
  mutable std::uint32_t view_slot = 0;

  /// Parses the four lines from index; returns the index after them. Throws ConversionError for a
  /// bad word and ListIndexError (with the index) when the lines run out.
  std::size_t ReadFromLines(std::span<const std::string_view> lines, std::size_t index);
  /// Appends the four lines of this point.
  void WriteTo(LineWriter& lines) const;
  /// Appends the blocks of this point and every later point of its chain.
  void WriteChain(LineWriter& lines) const;
  void DrawChain(View3D& screen, PointIds ids, RestingPoints* memo = nullptr) const;

  /// The ratio along a hook's stretch; 0 for a point without one.
  double HookRatio() const { return rare_.Get(kRatioSlot); }
  void SetHookRatio(double ratio) { rare_.Set(kRatioSlot, ratio); }
  /// Lines 3 and 4 of the block (all zero for a default line).
  std::array<double, 3> Line3() const { return LineValues(kLine3Slot); }
  std::array<double, 3> Line4() const { return LineValues(kLine4Slot); }
  void SetLine3(const std::array<double, 3>& values) { SetLineValues(kLine3Slot, values); }
  void SetLine4(const std::array<double, 3>& values) { SetLineValues(kLine4Slot, values); }

  std::int32_t GetCpid() const { return cpid; }
  /// The attach target id of an attached point, -1 otherwise.
  std::int32_t GetAtCpid() const { return attached == 1 ? at_cpid : -1; }
  void SetAtCpid(std::int32_t id) { at_cpid = id; }
  void AttachTo(std::int32_t id) {
    at_cpid = id;
    attached = 1;
  }
  /// The first point of the list bearing at_cpid becomes the target (attached points only).
  void ResolveAttach(std::span<ControlPoint* const> points);
  /// Replaces old by new in cpid and, independently, in at_cpid (whatever attached says).
  void ReplaceId(std::int32_t old_id, std::int32_t new_id);
  void NegateIds();
  void FlipHookRatio();
  /// Applies one correction record; returns this point when it changed, else null.
  ControlPoint* RetargetAttach(const CorrectionRecord& record);

  void SetClosed() { cptype |= kClosedBit; }
  void ClearClosed() { cptype &= ~kClosedBit; }
  /// Moves the closed bit of the chain from here on onto its last point.
  void MoveClosedToEnd(bool carry);
  void MakeHookHolder() { cptype = (cptype & ~kHookBits) | 0x80000000u; }
  void ClearHook() { cptype &= ~kHookBits; }
  bool IsAttached() const { return attached == 1; }
  bool IsAttachUnresolved() const { return at_cp == nullptr; }
  bool IsClosed() const { return (cptype & kClosedBit) != 0; }
  bool IsHook() const { return (cptype & kHookBits) != 0; }
  bool HasHookRatio() const { return (cptype & kRatioBits) != 0; }
  bool IsFirst() const { return prev == nullptr; }
  bool IsLast() const { return next == nullptr; }
  bool IsOnPlane(RestingPoints* memo = nullptr) const { return GetX(HookRatio(), memo) == 0; }
  /// True when this and every later point is on the plane and none is a hook.
  bool ChainOnPlaneWithoutHook(RestingPoints* memo = nullptr) const;

  /// Effective coordinates, all three from one walk along the attachments. Attachment cycles
  /// end at the first point met twice, whose own coordinates are then the answer.
  std::array<double, 3> GetXYZ(double ratio, RestingPoints* memo = nullptr) const;
  double GetX(double ratio, RestingPoints* memo = nullptr) const { return GetXYZ(ratio, memo)[0]; }
  double GetY(double ratio, RestingPoints* memo = nullptr) const { return GetXYZ(ratio, memo)[1]; }
  double GetZ(double ratio, RestingPoints* memo = nullptr) const { return GetXYZ(ratio, memo)[2]; }
  void SnapToPlane(double tolerance);

  const ControlPoint* ChainHead() const;
  ControlPoint* ChainHead();
  const ControlPoint* NextOrHead() const { return next ? next : ChainHead(); }
  ControlPoint* NextOrHead() { return next ? next : ChainHead(); }
  void CollectChain(LargeVector<ControlPoint*>& list);
  /// Appends unlinked mirror copies of the chain's points, leaving out the ends on the plane,
  /// which both halves share.
  void MirrorChain(std::vector<std::unique_ptr<ControlPoint>>& out, PlaneEnds shared,
                   std::int32_t offset) const;

 private:
  std::array<double, 3> LineValues(std::size_t first) const {
    return {rare_.Get(first), rare_.Get(first + 1), rare_.Get(first + 2)};
  }
  void SetLineValues(std::size_t first, const std::array<double, 3>& values) {
    // The last first, so that the block grows at most once.
    for (std::size_t k = 3; k-- > 0;) rare_.Set(first + k, values[k]);
  }
};

}  // namespace mk
