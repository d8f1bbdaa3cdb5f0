#pragma once
// The correction records of one mirrored chain: which hooks the reversal turned round, and
// which copies of points on the plane must sit on their sources. Every ".mdl" dialect mirrors
// chains the same way, so the records, and the rules deciding them, live here once.
//
// A dialect hands the pass an adapter over its chain (see RecordMirrorCorrections); the pass
// goes once round the chain in pairs of a point P and the point Q after it (the last point
// pairs with the first) and makes at most one record per pair.

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/docking/CorrectionRecord.h"
#include "core/docking/IdArithmetic.h"

namespace mk {

/// A mirrored copy inside a chain joins the halves at its source when it lies on the plane.
/// Where an attachment chain comes to rest (x at ratio 0) is not enough for a point with a
/// ratio of its own that hangs on a hook: it lies along the hook's stretch, and the stretch may
/// start on the plane while the point does not. Its own position decides, provided what it is
/// attached to has an image for it to hang on (see TargetHasImage); otherwise it is tied to its
/// source as before, which at least leaves it attached. x_at_own_ratio is only asked when the
/// rest leaves it open (it walks the attachment chain again).
template <class OwnX>
bool CopyLiesOnPlane(double x_at_rest, double own_ratio, bool target_has_image,
                     OwnX x_at_own_ratio) {
  if (x_at_rest != 0) return false;
  if (own_ratio == 0 || !target_has_image) return true;
  return x_at_own_ratio() == 0;
}

/// Whether the id a copy's attachment names (its source's target raised by the offset) will
/// lead somewhere: a target off the plane is copied; a hook on the plane is copied inside its
/// chain, or, as a first end both halves share, hands its dependants on by a record of its own.
/// A last end on the plane is shared without such a record.
inline bool TargetHasImage(bool target_on_plane, bool target_is_hook, bool target_is_last_end) {
  return !target_on_plane || (target_is_hook && !target_is_last_end);
}

/// The id whose dependants a hook on a closed chain's closing stretch hands to the chain's last
/// point. A hook read from the file is shared by both halves, so its dependants' copies name
/// the copy it never got (its id raised by the offset); a hook that is itself a copy, heading a
/// twinned loop, is named by its own id.
inline std::int32_t ClosingHookOldId(std::int32_t hook_id, bool hook_is_copy, std::int32_t offset) {
  return hook_is_copy ? hook_id : WrapAdd(hook_id, offset);
}

/// Makes the records of one mirrored chain and moves hook marks to their new holders.
///
/// Chain is the dialect's adapter: Point is its handle of one point, and it answers First(),
/// Count() and NextOrHead(p); Id(p); IsHook(p), IsMirror(p), IsFirst(p), IsLast(p),
/// IsClosed(p) and OwnRatio(p); XAtRest(p) (the x at ratio 0) and XAtOwnRatio(p);
/// TargetHasImage(p), from the rule of that name; and it changes hooks with MakeHookHolder(p)
/// and ClearHook(p). offset is the id offset of the mirror.
template <class Chain>
void RecordMirrorCorrections(Chain& chain, std::int32_t offset, CorrectionList& records) {
  const std::int32_t count = chain.Count();
  if (count <= 0) return;
  const std::size_t first_record = records.size();
  auto p = chain.First();
  auto q = chain.NextOrHead(p);
  // The head may be made a holder by the first pair; only a hook of its own has dependants
  // that the closing pair can hand on.
  const bool head_was_hook = chain.IsHook(p);
  // How many pairs from the head on, without a break, turned a hook round onto their first
  // point (the first of them onto the head itself).
  std::size_t leading_turns = 0;
  bool closing_hands_on = false;
  for (std::int32_t step = 0; step < count; ++step) {
    if (chain.IsHook(q) && chain.IsMirror(q) && !chain.IsLast(p)) {
      records.push_back({chain.Id(q), chain.Id(p), CorrectionKind::Hook});
      chain.MakeHookHolder(p);
      chain.ClearHook(q);
      if (leading_turns == static_cast<std::size_t>(step)) ++leading_turns;
    } else if (chain.IsHook(q) && ((chain.IsMirror(p) && !chain.IsMirror(q) && !chain.IsLast(p)) ||
                                   (chain.IsLast(p) && chain.IsClosed(p)))) {
      // On a twinned loop of three or more points, the closing stretch is the image of the
      // source's closing stretch run backwards, so the hook on it passes to the last point.
      // On two points that image is also the first stretch, run the same way, where the
      // hook's dependants already hang. A loop whose every other pair turned a hook has no
      // order of records that serves them all (see below) and is left as the walk made it.
      closing_hands_on = chain.IsLast(p) && chain.IsMirror(p) && chain.IsMirror(q) &&
                         head_was_hook && count > 2 &&
                         leading_turns < static_cast<std::size_t>(step);
      records.push_back({ClosingHookOldId(chain.Id(q), closing_hands_on, offset), chain.Id(p),
                         CorrectionKind::Hook});
      chain.MakeHookHolder(p);
    } else if (!chain.IsFirst(p) && !chain.IsLast(p) && chain.IsMirror(p) &&
               CopyLiesOnPlane(chain.XAtRest(p), chain.OwnRatio(p), chain.TargetHasImage(p),
                               [&chain, p] { return chain.XAtOwnRatio(p); })) {
      // The coordinate tests come last: they may walk a long attachment chain.
      records.push_back({chain.Id(p), WrapSub(chain.Id(p), offset), CorrectionKind::PlaneCopy});
    }
    p = q;
    q = chain.NextOrHead(q);
  }
  if (!closing_hands_on || leading_turns == 0) return;
  // The records are applied in order, each moving the first dependant found at its old id. The
  // pairs from the head moved dependants onto the head, whose own ones the closing record moves
  // on: it must come before them, or it would take the newcomers. It must also come after the
  // record that cleared its new holder, the last point, so the run from the head goes to the
  // end rather than the closing record to the front.
  std::rotate(records.begin() + static_cast<std::ptrdiff_t>(first_record),
              records.begin() + static_cast<std::ptrdiff_t>(first_record + leading_turns),
              records.end());
}

}  // namespace mk
