#pragma once
// A fixed-capacity unsigned integer for the exact real conversions: the rare texts and values
// whose correct rounding the 64- and 128-bit paths cannot decide. The capacity holds the largest
// operands those conversions make (a thousand and more decimal digits scaled by the widest power
// of ten a double's range needs); they never exceed it.

#include <cstddef>
#include <cstdint>

#include "core/util/WideInt.h"

namespace mk {

class BigUnsigned {
 public:
  static constexpr std::size_t kLimbs = 200;  // 32-bit limbs: 6,400 bits

  BigUnsigned() = default;
  explicit BigUnsigned(std::uint64_t value);

  /// this = this * factor + addend.
  void MultiplyAdd(std::uint32_t factor, std::uint32_t addend);
  /// this = this * 10^k.
  void MultiplyByPowerOfTen(int k);
  void ShiftLeft(int bits);
  void ShiftRightOne();
  /// this -= other, with this >= other.
  void Subtract(const BigUnsigned& other);

  int BitLength() const;
  bool IsZero() const { return size_ == 0; }
  friend int Compare(const BigUnsigned& a, const BigUnsigned& b);

 private:
  void Trim();

  std::uint32_t limbs_[kLimbs] = {};
  std::size_t size_ = 0;  // limbs in use; the top one is non-zero
};

/// floor(dividend / divisor), which must be below 2^128; the dividend becomes the remainder.
wide::U128 DivideSmallQuotient(BigUnsigned& dividend, const BigUnsigned& divisor);

}  // namespace mk
