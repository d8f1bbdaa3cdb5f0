#pragma once
// One control point of a ".seg" spline: either free, with a position of its own, or attached to
// another point of the segment, whose position it shares. Lines are cut at single blanks and never
// trimmed; the flag word is a plain signed decimal.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/docking/IdArithmetic.h"
#include "core/util/CompactTriple.h"
#include "core/util/Extended.h"
#include "core/util/LargeMemory.h"
#include "core/util/LineList.h"
#include "core/util/PointPool.h"

namespace mk {

class SegmentControlPoint;

/// Attach targets by id: the first point of the collection that carries each id.
using SegmentPointIndex = std::unordered_map<std::int32_t, SegmentControlPoint*>;

class SegmentControlPoint : public Pooled<SegmentControlPoint> {
 public:
  static constexpr std::int32_t kClosedBit = 4;
  /// The line the writer puts after an attached point whose target is missing.
  static constexpr const char* kAttachNilLine = "attach_obj=nil";

  // Ordered for size: a segment holds millions of points. The pointers first, then the words,
  // then the coordinates in their 10 bytes of value: 80 bytes, where the 16 bytes of an x87
  // long double made 96.
  SegmentControlPoint* at_cp = nullptr;  ///< not owned
  /// Lines 3 and 4; the flag of each tells that its line held more than one word. A line of one
  /// word (the default) is written back as "0".
  using Line = CompactTriple<Extended>;
  Line line3;
  Line line4;

 private:
  friend std::vector<std::vector<std::int32_t>> ResolveAnchors(const LargeVector<SegmentControlPoint*>& points);
  const SegmentControlPoint* anchor_ = nullptr;

 public:
  std::int32_t cptype = 0;
  std::int32_t attached = 0;
  std::int32_t at_cpid = 0;
  std::int32_t cpid = 0;
  Extended x, y, z;

  bool Line3Default() const { return !line3.Flag(); }
  bool Line4Default() const { return !line4.Flag(); }
  void SetLine3Default(bool is_default) { line3.SetFlag(!is_default); }
  void SetLine4Default(bool is_default) { line4.SetFlag(!is_default); }

  bool IsAttached() const { return attached == 1; }

  /// Parses the four lines from index and returns the index after them. An "attach_obj=nil" line
  /// right after an attached point is skipped too: the writer puts it there, and no file that
  /// reads without it can hold it (the next line must be a number).
  std::size_t ReadFromLines(const LineList& lines, std::size_t index);
  /// Appends the four lines, and "attach_obj=nil" when attached without a target.
  void WriteToLines(LineWriter& lines) const;

  /// Position through attachments. A chain ends at the first free point; an attached point
  /// without a target answers its own stored position, and a walk that comes back to a point it
  /// has already met answers that point's stored position.
  Extended GetX() const { return Anchor().x; }
  Extended GetY() const { return Anchor().y; }
  Extended GetZ() const { return Anchor().z; }
  /// The point whose stored position this one answers with (itself when free).
  const SegmentControlPoint& Anchor() const;
  bool IsOnPlane() const { return GetX().IsZero(); }

  /// Free points only. The magnitude is taken as a double, so x equal to the tolerance as typed
  /// stays where it is.
  void SnapToPlane(double tolerance);
  /// The mirror image across the plane X=0: x changes sign, every bit else stays.
  void Reflect() { x = -x; }
  /// Free points only: widens the box to enclose the stored position.
  void ExtendBounds(std::array<double, 3>& min, std::array<double, 3>& max) const;

  /// Attached points only: the first point of the list, in order, whose id is at_cpid, or none.
  void ResolveAttach(const LargeVector<SegmentControlPoint*>& points);
  /// The same through an index built once for the whole collection.
  void ResolveAttach(const SegmentPointIndex& index);

  std::int32_t GetCpid() const { return cpid; }
  /// cpid and at_cpid each become new_id where they equal old_id (free points included).
  void ReplaceId(std::int32_t old_id, std::int32_t new_id);
  void NegateIds();
  void SetClosed() { cptype |= kClosedBit; }
  bool IsClosed() const { return (cptype & kClosedBit) != 0; }

  /// The unreflected twin with ids moved by offset; the caller reflects it.
  std::unique_ptr<SegmentControlPoint> MirrorCopy(std::int32_t offset) const;
};

/// Works out every point's anchor at once, in linear time and cycles included, so that position
/// queries need no walk. Call it after every point of the collection has been resolved: the
/// ResolveAttach of one point forgets that point's anchor only, not those of the points whose
/// chains pass through it. Returns the ids of each cycle of attachments met (every point of a cycle once).
std::vector<std::vector<std::int32_t>> ResolveAnchors(const LargeVector<SegmentControlPoint*>& points);

}  // namespace mk
