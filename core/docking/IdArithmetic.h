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

}  // namespace mk
