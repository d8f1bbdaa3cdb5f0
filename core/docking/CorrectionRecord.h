#pragma once
// The correction record that the spline mirror hands to the hook and plane-copy correction.

#include <cstdint>
#include <vector>

namespace mk {

/// What a correction repairs.
enum class CorrectionKind {
  /// A hook that the reversal turned round: its holder moves from oldid to newid.
  Hook,
  /// A mirrored copy of a point on the plane: the copy oldid attaches to its original newid.
  PlaneCopy,
};

/// One repair of attachments after the mirror.
struct CorrectionRecord {
  std::int32_t oldid = 0;
  std::int32_t newid = 0;
  CorrectionKind kind = CorrectionKind::Hook;
};

/// The correction records of one docking run, in the order made.
using CorrectionList = std::vector<CorrectionRecord>;

}  // namespace mk
