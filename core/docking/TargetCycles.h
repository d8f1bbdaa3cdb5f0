#pragma once
// Cycles of attachments: every point has at most one target, so following targets from any
// point either ends or runs into a cycle. Both ".mdl" dialects look for them the same way.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/util/LargeMemory.h"

namespace mk {

inline constexpr std::size_t kNoTarget = std::numeric_limits<std::size_t>::max();

/// Every position of every cycle among n positions, each cycle from its smallest position, in
/// the order the walks from starts (rising positions) meet them. target_of(i) answers the
/// position i sits on, or kNoTarget where the walk ends. Each position is walked once.
template <class Starts, class TargetOf>
std::vector<std::size_t> FindTargetCycles(std::size_t n, const Starts& starts, TargetOf target_of) {
  std::vector<std::size_t> in_cycles;
  // 0 not walked yet, 1 on the current walk, 2 finished.
  LargeVector<std::uint8_t> state(n, 0);
  std::vector<std::size_t> path;
  for (const std::size_t start : starts) {
    if (state[start] != 0) continue;
    path.clear();
    std::size_t j = start;
    while (j != kNoTarget && state[j] == 0) {
      state[j] = 1;
      path.push_back(j);
      j = target_of(j);
    }
    if (j != kNoTarget && state[j] == 1) {
      std::vector<std::size_t> cycle(std::find(path.begin(), path.end(), j), path.end());
      std::rotate(cycle.begin(), std::min_element(cycle.begin(), cycle.end()), cycle.end());
      in_cycles.insert(in_cycles.end(), cycle.begin(), cycle.end());
    }
    for (const std::size_t p : path) state[p] = 2;
  }
  return in_cycles;
}

}  // namespace mk
