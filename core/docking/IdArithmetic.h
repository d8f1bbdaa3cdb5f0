#pragma once
// Sums and negations of ids wrap in 32 bits: ids near the ends of the range are legal words in a
// file, and the offset of the mirror must not make them undefined.

#include <cstdint>

namespace mk {

inline std::int32_t WrapAdd(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t WrapSub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline std::int32_t WrapNeg(std::int32_t a) { return WrapSub(0, a); }

/// A point's own id and its target id, as the renumbering changes both formats' points: old
/// becomes new in each of them independently.
inline void ReplaceIdPair(std::int32_t& own, std::int32_t& target, std::int32_t old_id,
                          std::int32_t new_id) {
  if (own == old_id) own = new_id;
  if (target == old_id) target = new_id;
}
inline void NegateIdPair(std::int32_t& own, std::int32_t& target) {
  own = WrapNeg(own);
  target = WrapNeg(target);
}

}  // namespace mk
