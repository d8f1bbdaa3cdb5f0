#pragma once
// The correction record that the spline mirror hands to the hook and plane-copy correction.

#include <cstdint>
#include <vector>

namespace mk {

/// One repair of attachments after the mirror.
class CorrectionRecord {
 public:
  std::int32_t oldid = 0;
  std::int32_t newid = 0;
  bool hook = false;
  bool attach = false;
};

/// The correction records of one docking run, in the order made.
using CorrectionList = std::vector<CorrectionRecord>;

}  // namespace mk
