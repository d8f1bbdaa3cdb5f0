#include "core/document/ToleranceSuggestion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/document/SeamRules.h"

namespace mk {

double ToleranceAdvisor::reach() const { return kNearMissReach * tolerance_; }

std::optional<double> ToleranceAdvisor::Suggest() const {
  if (ends_.empty()) return std::nullopt;
  std::vector<double> ends = ends_;
  std::sort(ends.begin(), ends.end());
  std::size_t taken = 1;
  while (taken < ends.size() && ends[taken] - ends[taken - 1] <= tolerance_) ++taken;
  const double farthest = ends[taken - 1];
  double body = beyond_;
  if (taken < ends.size()) body = std::min(body, ends[taken]);
  for (const double d : inner_)
    if (d > farthest) body = std::min(body, d);
  return RoundedUpAbove(farthest, body);
}

double RoundedUpAbove(double above, double limit) {
  for (int digits = 2; digits <= 17; ++digits) {
    const double scale = std::pow(10.0, std::floor(std::log10(above)) - (digits - 1));
    // Through the shortest text of that many digits, so that the suggestion reads as typed;
    // the step is taken again when that text falls back onto the value.
    for (double steps = std::floor(above / scale) + 1;; ++steps) {
      char text[40];
      std::snprintf(text, sizeof text, "%.*g", digits, steps * scale);
      const double candidate = std::strtod(text, nullptr);
      if (candidate <= above) continue;
      if (candidate <= limit) return candidate;
      break;
    }
  }
  return limit;
}

}  // namespace mk
