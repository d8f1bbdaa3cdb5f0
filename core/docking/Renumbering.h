#pragma once
// Renumbering of a whole collection of points, shared by both file formats.
//
// It is defined as n rounds over the collection: round i takes the current id of point i and
// rewrites that value, in every id and reference field, to -(i+1); a final pass negates every
// field. Fields that hold equal values are rewritten together and so stay equal for ever: the
// rounds only relabel and merge classes of equal values. This runs the same rounds on those
// classes (a union-find over the distinct values, with a map from each class's current value to
// the class), which gives the result of the rounds exactly in linear time, including ids shared
// by several points, references that match no id, and negative ids of the file that a
// temporary value -(i+1) meets and merges with.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/docking/IdArithmetic.h"
#include "core/util/LargeMemory.h"
#include "core/util/SecondCore.h"

namespace mk {
namespace renumbering {

constexpr std::uint32_t kNoClass = std::numeric_limits<std::uint32_t>::max();

/// Value -> class. The values of a file usually lie between about -n and a few times n (its ids
/// and the temporary values -1 .. -n), served by a plain array; the rest, such as references far
/// beyond every id, by a hash map.
class ValueClasses {
 public:
  ValueClasses(std::int64_t low, std::int64_t high)
      : low_(low), slots_(static_cast<std::size_t>(high - low + 1), kNoClass) {}
  std::uint32_t Find(std::int32_t v) {
    if (std::uint32_t* slot = Slot(v)) return *slot;
    const auto it = others_.find(v);
    return it == others_.end() ? kNoClass : it->second;
  }
  void Set(std::int32_t v, std::uint32_t c) {
    if (std::uint32_t* slot = Slot(v)) {
      *slot = c;
    } else {
      others_[v] = c;
    }
  }
  void Erase(std::int32_t v) {
    if (std::uint32_t* slot = Slot(v)) {
      *slot = kNoClass;
    } else {
      others_.erase(v);
    }
  }

 private:
  std::uint32_t* Slot(std::int32_t v) {
    const auto k = static_cast<std::uint64_t>(std::int64_t{v} - low_);
    return k < slots_.size() ? &slots_[static_cast<std::size_t>(k)] : nullptr;
  }
  std::int64_t low_;
  LargeVector<std::uint32_t> slots_;
  std::unordered_map<std::int32_t, std::uint32_t> others_;
};

inline void Run(ValueClasses& class_of_value, LargeVector<std::int32_t>& fields, std::size_t n) {
  // fields holds the id and the reference of every point, side by side; on return the new ones.
  LargeVector<std::uint32_t> parent;
  LargeVector<std::int32_t> value;
  parent.reserve(fields.size());
  value.reserve(fields.size());
  LargeVector<std::uint32_t> field_class(fields.size());
  for (std::size_t f = 0; f < fields.size(); ++f) {
    std::uint32_t c = class_of_value.Find(fields[f]);
    if (c == kNoClass) {
      c = static_cast<std::uint32_t>(parent.size());
      parent.push_back(c);
      value.push_back(fields[f]);
      class_of_value.Set(fields[f], c);
    }
    field_class[f] = c;
  }
  auto find = [&parent](std::uint32_t c) {
    std::uint32_t root = c;
    while (parent[root] != root) root = parent[root];
    while (parent[c] != root) c = std::exchange(parent[c], root);
    return root;
  };
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t r = find(field_class[2 * i]);
    const std::int32_t target = WrapNeg(static_cast<std::int32_t>(static_cast<std::uint32_t>(i) + 1u));
    if (value[r] == target) continue;
    class_of_value.Erase(value[r]);
    const std::uint32_t holder = class_of_value.Find(target);
    if (holder != kNoClass) {
      parent[r] = holder;  // a file value equal to the temporary one joins the class
    } else {
      value[r] = target;
      class_of_value.Set(target, r);
    }
  }
  for (std::size_t f = 0; f < fields.size(); ++f) fields[f] = WrapNeg(value[find(field_class[f])]);
}

}  // namespace renumbering

/// Renumbers points 0 .. n-1: id_at(i) and ref_at(i) read point i's id and reference, and
/// store(i, id, ref) gives it the new ones.
template <class IdAt, class RefAt, class Store>
void RenumberPoints(std::size_t n, IdAt id_at, RefAt ref_at, Store store) {
  if (n == 0) return;
  // The fields are read once into a plain array: the points lie wherever the heap put them.
  // Reading and storing touch each point alone, so both go to both cores; the rounds between
  // them depend on the order and stay on this one.
  LargeVector<std::int32_t> fields(2 * n);
  struct Range {
    std::int64_t low = 0;      // of every field, 0 when none is negative
    std::int64_t high = -1;    // of every field
    std::int64_t id_high = -1;
  };
  Range ranges[2];
  SplitAcrossCores(n, [&](std::size_t begin, std::size_t end) {
    Range range;
    for (std::size_t i = begin; i < end; ++i) {
      const std::int32_t id = id_at(i);
      const std::int32_t ref = ref_at(i);
      fields[2 * i] = id;
      fields[2 * i + 1] = ref;
      range.low = std::min<std::int64_t>({range.low, id, ref});
      range.high = std::max<std::int64_t>({range.high, id, ref});
      range.id_high = std::max<std::int64_t>(range.id_high, id);
    }
    ranges[begin == 0 ? 0 : 1] = range;
  });
  const std::int64_t low = std::min(ranges[0].low, ranges[1].low);
  const std::int64_t high = std::max(ranges[0].high, ranges[1].high);
  const std::int64_t id_high = std::max(ranges[0].id_high, ranges[1].id_high);
  const auto count = static_cast<std::int64_t>(std::min<std::size_t>(n, std::size_t{1} << 31));
  const std::int64_t dense_limit = 4 * count + 1024;
  if (low >= 0 && id_high <= dense_limit && n < (std::size_t{1} << 31)) {
    // No value of the file is negative, so none meets a temporary value -(i+1): every id's class
    // ends as the id of the last point bearing it, and a reference to no id is just negated.
    constexpr std::uint32_t kNoPoint = renumbering::kNoClass;
    const auto table_size = static_cast<std::size_t>(id_high + 1);
    LargeVector<std::uint32_t> last_bearer(table_size, kNoPoint);
    for (std::size_t i = 0; i < n; ++i)
      last_bearer[static_cast<std::size_t>(fields[2 * i])] = static_cast<std::uint32_t>(i);
    SplitAcrossCores(n, [&](std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) {
        const auto ref = static_cast<std::size_t>(fields[2 * i + 1]);
        const std::uint32_t target = ref < table_size ? last_bearer[ref] : kNoPoint;
        store(i, static_cast<std::int32_t>(last_bearer[static_cast<std::size_t>(fields[2 * i])] + 1),
              target == kNoPoint ? WrapNeg(fields[2 * i + 1]) : static_cast<std::int32_t>(target + 1));
      }
    });
    return;
  }
  renumbering::ValueClasses classes(-count, std::min<std::int64_t>(high, dense_limit));
  renumbering::Run(classes, fields, n);
  SplitAcrossCores(n, [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) store(i, fields[2 * i], fields[2 * i + 1]);
  });
}

}  // namespace mk
