#pragma once
// 64 x 64 -> 128-bit products and rounding of shifted integers, for the exact real conversions and
// the extended arithmetic. The compiler's 128-bit integer is used where it has one; the plain
// 32-bit schoolbook product stands in elsewhere.

#include <bit>
#include <cstdint>

namespace mk::wide {

struct U128 {
  std::uint64_t hi = 0;
  std::uint64_t lo = 0;
};

inline U128 Multiply(std::uint64_t a, std::uint64_t b) {
#if defined(__SIZEOF_INT128__)
  __extension__ using Native = unsigned __int128;
  const Native p = static_cast<Native>(a) * b;
  return {static_cast<std::uint64_t>(p >> 64), static_cast<std::uint64_t>(p)};
#else
  const std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
  const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  const std::uint64_t middle = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & 0xFFFFFFFFu)};
#endif
}

inline U128 Add(U128 a, U128 b) {
  const std::uint64_t lo = a.lo + b.lo;
  return {a.hi + b.hi + (lo < a.lo ? 1u : 0u), lo};
}

inline U128 Subtract(U128 a, U128 b) {
  return {a.hi - b.hi - (a.lo < b.lo ? 1u : 0u), a.lo - b.lo};
}

inline bool Less(U128 a, U128 b) { return a.hi < b.hi || (a.hi == b.hi && a.lo < b.lo); }

/// a >> n for 0 <= n; sticky gains whether a non-zero bit was shifted out.
inline U128 ShiftRight(U128 a, int n, bool& sticky) {
  if (n <= 0) return a;
  if (n >= 128) {
    sticky = sticky || a.hi != 0 || a.lo != 0;
    return {};
  }
  if (n >= 64) {
    const int m = n - 64;
    sticky = sticky || a.lo != 0 || (m > 0 && (a.hi << (64 - m)) != 0);
    return {0, m == 0 ? a.hi : a.hi >> m};
  }
  sticky = sticky || (a.lo << (64 - n)) != 0;
  return {a.hi >> n, (a.lo >> n) | (a.hi << (64 - n))};
}

/// a << n for 0 <= n < 128; the bits shifted out must be zero.
inline U128 ShiftLeft(U128 a, int n) {
  if (n <= 0) return a;
  if (n >= 64) return {a.lo << (n - 64), 0};
  return {(a.hi << n) | (a.lo >> (64 - n)), a.lo << n};
}

inline int BitLength(U128 a) {
  return a.hi != 0 ? 128 - std::countl_zero(a.hi) : 64 - std::countl_zero(a.lo);
}

/// The top 64 bits of a value whose highest set bit is bit 127, rounded to nearest with ties to
/// even; sticky tells whether anything below `a` was non-zero. Sets carry when the rounding
/// reached 2^64 (the result is then 2^63, one binary place up).
inline std::uint64_t RoundTop(U128 a, bool sticky, bool& carry) {
  const bool guard = (a.lo >> 63) != 0;
  const bool rest = (a.lo << 1) != 0 || sticky;
  std::uint64_t top = a.hi;
  carry = false;
  if (guard && (rest || (top & 1) != 0)) {
    ++top;
    if (top == 0) {
      top = std::uint64_t{1} << 63;
      carry = true;
    }
  }
  return top;
}

/// value >> drop rounded to nearest with ties to even, for any drop >= 0; sticky tells whether
/// anything below `value` was non-zero.
inline std::uint64_t RoundShift(std::uint64_t value, int drop, bool sticky) {
  if (drop <= 0) return value;
  if (drop > 64) return 0;
  const std::uint64_t kept = drop == 64 ? 0 : value >> drop;
  const bool guard = ((value >> (drop - 1)) & 1) != 0;
  const std::uint64_t below = drop == 1 ? 0 : value << (65 - drop);
  const bool rest = below != 0 || sticky;
  return kept + ((guard && (rest || (kept & 1) != 0)) ? 1 : 0);
}

}  // namespace mk::wide
