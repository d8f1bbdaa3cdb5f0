#include "core/util/BigUnsigned.h"

#include <algorithm>
#include <bit>

namespace mk {

BigUnsigned::BigUnsigned(std::uint64_t value) {
  limbs_[0] = static_cast<std::uint32_t>(value);
  limbs_[1] = static_cast<std::uint32_t>(value >> 32);
  size_ = 2;
  Trim();
}

void BigUnsigned::Trim() {
  while (size_ > 0 && limbs_[size_ - 1] == 0) --size_;
}

void BigUnsigned::MultiplyAdd(std::uint32_t factor, std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (std::size_t i = 0; i < size_; ++i) {
    const std::uint64_t p = static_cast<std::uint64_t>(limbs_[i]) * factor + carry;
    limbs_[i] = static_cast<std::uint32_t>(p);
    carry = p >> 32;
  }
  if (carry != 0 && size_ < kLimbs) limbs_[size_++] = static_cast<std::uint32_t>(carry);
  Trim();
}

void BigUnsigned::MultiplyByPowerOfTen(int k) {
  // 10^k = 5^k * 2^k; 5^13 is the largest power of five below 2^32.
  constexpr std::uint32_t kFive13 = 1220703125;
  int fives = k;
  for (; fives >= 13; fives -= 13) MultiplyAdd(kFive13, 0);
  std::uint32_t rest = 1;
  for (; fives > 0; --fives) rest *= 5;
  if (rest != 1) MultiplyAdd(rest, 0);
  ShiftLeft(k);
}

void BigUnsigned::ShiftLeft(int bits) {
  if (size_ == 0 || bits <= 0) return;
  const auto limbs = static_cast<std::size_t>(bits / 32);
  const int rest = bits % 32;
  std::size_t size = std::min(size_ + limbs + 1, kLimbs);
  for (std::size_t i = size; i-- > 0;) {
    std::uint32_t v = 0;
    if (i >= limbs) {
      const std::size_t from = i - limbs;
      if (from < size_) v = limbs_[from] << rest;
      if (rest != 0 && from >= 1 && from - 1 < size_) v |= limbs_[from - 1] >> (32 - rest);
    }
    limbs_[i] = v;
  }
  size_ = size;
  Trim();
}

void BigUnsigned::ShiftRightOne() {
  for (std::size_t i = 0; i < size_; ++i) {
    limbs_[i] >>= 1;
    if (i + 1 < size_) limbs_[i] |= limbs_[i + 1] << 31;
  }
  Trim();
}

void BigUnsigned::Subtract(const BigUnsigned& other) {
  std::int64_t borrow = 0;
  for (std::size_t i = 0; i < size_; ++i) {
    std::int64_t d = static_cast<std::int64_t>(limbs_[i]) - borrow -
                     (i < other.size_ ? static_cast<std::int64_t>(other.limbs_[i]) : 0);
    borrow = d < 0 ? 1 : 0;
    if (d < 0) d += std::int64_t{1} << 32;
    limbs_[i] = static_cast<std::uint32_t>(d);
  }
  Trim();
}

int BigUnsigned::BitLength() const {
  if (size_ == 0) return 0;
  return static_cast<int>(32 * size_) - std::countl_zero(limbs_[size_ - 1]);
}

int Compare(const BigUnsigned& a, const BigUnsigned& b) {
  if (a.size_ != b.size_) return a.size_ < b.size_ ? -1 : 1;
  for (std::size_t i = a.size_; i-- > 0;)
    if (a.limbs_[i] != b.limbs_[i]) return a.limbs_[i] < b.limbs_[i] ? -1 : 1;
  return 0;
}

wide::U128 DivideSmallQuotient(BigUnsigned& dividend, const BigUnsigned& divisor) {
  // Bit by bit: the quotients here have at most a few dozen bits more than a significand, and
  // the path is taken rarely.
  wide::U128 quotient;
  const int shift = dividend.BitLength() - divisor.BitLength();
  if (shift < 0) return quotient;
  BigUnsigned step = divisor;
  step.ShiftLeft(shift);
  for (int i = shift; i >= 0; --i) {
    quotient = wide::ShiftLeft(quotient, 1);
    if (Compare(dividend, step) >= 0) {
      dividend.Subtract(step);
      quotient.lo |= 1;
    }
    step.ShiftRightOne();
  }
  return quotient;
}

}  // namespace mk
