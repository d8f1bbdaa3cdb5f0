#pragma once
// The first position of each id in a list of ids, for lookups by id over a whole mesh. After
// renumbering the ids of a mesh are dense (1 to N, and the mirror's copies between N + 1 and 2N),
// so a flat table indexed by id serves them without hashing; ids spread wider, as a file may
// hold them, fall back to a hash map.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/util/LargeMemory.h"

namespace mk {

class FirstPositionById {
 public:
  static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

  /// Indexes the ids id_at(0) .. id_at(n - 1); an id borne more than once keeps its first position.
  /// The ids are read twice, for their range and then for the table, and never copied: at
  /// millions of points a gathered copy of them would be one more array at the dock's peak.
  template <class IdAt>
  void Build(std::size_t n, IdAt id_at) {
    flat_.clear();
    hashed_.clear();
    dense_ = false;
    if (n == 0) return;
    std::int64_t low = id_at(0);
    std::int64_t high = low;
    for (std::size_t i = 1; i < n; ++i) {
      const std::int64_t id = id_at(i);
      low = std::min(low, id);
      high = std::max(high, id);
    }
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    if (n < kEmpty && span <= 4 * static_cast<std::uint64_t>(n) + 64) {
      dense_ = true;
      low_ = low;
      flat_.assign(static_cast<std::size_t>(span), kEmpty);
      for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t& slot = flat_[static_cast<std::size_t>(id_at(i) - low)];
        if (slot == kEmpty) slot = static_cast<std::uint32_t>(i);
      }
      return;
    }
    hashed_.reserve(n);
    for (std::size_t i = 0; i < n; ++i) hashed_.emplace(id_at(i), i);
  }

  /// The same for ids already gathered, position by position.
  void Build(const std::vector<std::int32_t>& ids) {
    Build(ids.size(), [&ids](std::size_t i) { return ids[i]; });
  }

  /// The first position bearing id, or kNone.
  std::size_t Find(std::int32_t id) const {
    if (dense_) {
      const std::int64_t slot = std::int64_t{id} - low_;
      if (slot < 0 || static_cast<std::uint64_t>(slot) >= flat_.size()) return kNone;
      const std::uint32_t position = flat_[static_cast<std::size_t>(slot)];
      return position == kEmpty ? kNone : position;
    }
    const auto it = hashed_.find(id);
    return it == hashed_.end() ? kNone : it->second;
  }

  /// True when the flat table serves the lookups (for tests).
  bool IsFlat() const { return dense_; }

 private:
  static constexpr std::uint32_t kEmpty = std::numeric_limits<std::uint32_t>::max();

  bool dense_ = false;
  std::int64_t low_ = 0;
  LargeVector<std::uint32_t> flat_;
  std::unordered_map<std::int32_t, std::size_t> hashed_;
};

/// A set of (key, position) pairs that answers the smallest position of a key, for the first-match
/// lookups of attachments. It is built once from a whole view and then changes at a few points:
/// the pairs of the build sit in one sorted array, removed ones are skipped through links that
/// each removal shortens for later lookups, and pairs added later go to a small ordered set.
class FirstPositionByKey {
 public:
  static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

  /// The pairs (key_at(i), i) of every i below n for which include(i) holds.
  template <class Include, class KeyAt>
  void Build(std::size_t n, Include include, KeyAt key_at) {
    base_.clear();
    added_.clear();
    for (std::size_t i = 0; i < n; ++i)
      if (include(i)) base_.push_back({key_at(i), i});
    // Positions already rise, so a stable sort by key gives the pairs in full order.
    std::stable_sort(base_.begin(), base_.end(),
                     [](const Pair& a, const Pair& b) { return a.first < b.first; });
    live_.resize(base_.size() + 1);
    for (std::size_t j = 0; j < live_.size(); ++j) live_[j] = j;
  }

  void Insert(std::int32_t key, std::size_t position) { added_.insert({key, position}); }

  void Erase(std::int32_t key, std::size_t position) {
    const Pair pair{key, position};
    const auto it = std::lower_bound(base_.begin(), base_.end(), pair);
    const auto j = static_cast<std::size_t>(it - base_.begin());
    if (it != base_.end() && *it == pair && live_[j] == j) {
      live_[j] = j + 1;
      return;
    }
    added_.erase(pair);
  }

  /// The smallest position paired with key, or kNone.
  std::size_t First(std::int32_t key) {
    const Pair low{key, 0};
    const auto it = std::lower_bound(base_.begin(), base_.end(), low);
    const std::size_t j = NextLive(static_cast<std::size_t>(it - base_.begin()));
    std::size_t best = (j < base_.size() && base_[j].first == key) ? base_[j].second : kNone;
    const auto extra = added_.lower_bound(low);
    if (extra != added_.end() && extra->first == key && extra->second < best) best = extra->second;
    return best;
  }

 private:
  using Pair = std::pair<std::int32_t, std::size_t>;

  /// The first pair at or after j that was not erased (the end when none is).
  std::size_t NextLive(std::size_t j) {
    std::size_t root = j;
    while (live_[root] != root) root = live_[root];
    while (live_[j] != root) j = std::exchange(live_[j], root);
    return root;
  }

  LargeVector<Pair> base_;
  LargeVector<std::size_t> live_;  // live_[j] == j: pair j is present; else a later candidate
  std::set<Pair> added_;
};

}  // namespace mk
