#include "core/document/DockStatistics.h"

namespace mk {

std::array<std::string, 2> StatisticsLines(const DockStatistics& s) {
  // The differences are taken in 64 bits: counters near the 32-bit limits must not overflow.
  auto line = [](const char* label, std::int32_t before, std::int32_t after) {
    return std::string(label) + std::to_string(before) + "+" +
           std::to_string(std::int64_t{after} - before) + "->" + std::to_string(after);
  };
  return {line("Number of cp=", s.cp_before, s.cp_after),
          line("Number of spline=", s.splines_before, s.splines_after)};
}

}  // namespace mk
