#pragma once
// The counts a docking reports: control points and splines before and after.

#include <array>
#include <cstdint>
#include <string>

namespace mk {

struct DockStatistics {
  std::int32_t cp_before = 0;
  std::int32_t cp_after = 0;
  std::int32_t splines_before = 0;
  std::int32_t splines_after = 0;

  bool operator==(const DockStatistics&) const = default;
};

/// "Number of cp=B+D->A" and "Number of spline=B+D->A".
std::array<std::string, 2> StatisticsLines(const DockStatistics& statistics);

}  // namespace mk
