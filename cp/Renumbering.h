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

#include "cp/IdArithmetic.h"
#include "model/LargeMemory.h"

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
  LargeVector<std::int32_t> fields(2 * n);
  std::int64_t high = -1;
  for (std::size_t i = 0; i < n; ++i) {
    fields[2 * i] = id_at(i);
    fields[2 * i + 1] = ref_at(i);
    high = std::max<std::int64_t>({high, fields[2 * i], fields[2 * i + 1]});
  }
  const auto count = static_cast<std::int64_t>(std::min<std::size_t>(n, std::size_t{1} << 31));
  renumbering::ValueClasses classes(-count, std::min<std::int64_t>(high, 4 * count + 1024));
  renumbering::Run(classes, fields, n);
  for (std::size_t i = 0; i < n; ++i) store(i, fields[2 * i], fields[2 * i + 1]);
}

}  // namespace mk
