#include "core/util/Extended.h"

#include <bit>
#include <cmath>
#include <limits>

#include "core/util/WideInt.h"

namespace mk {
namespace {

/// Where long double is the x87 format, conversions are a copy of the bytes or one instruction,
/// and the hardware's rounding is the one the software here does.
constexpr bool kNativeX87 = std::numeric_limits<long double>::digits == 64 &&
                            std::numeric_limits<long double>::max_exponent == 16384 &&
                            std::endian::native == std::endian::little && sizeof(long double) >= 10;

/// A finite non-zero value as a significand with its top bit set and the exponent of that bit.
struct Unpacked {
  bool negative = false;
  std::uint64_t significand = 0;
  int exponent = 0;
};

Unpacked Unpack(const Extended& v) {
  const int biased = v.SignExponent() & Extended::kExponentMask;
  Unpacked u{v.SignBit(), v.Significand(), (biased == 0 ? 1 : biased) - Extended::kBias};
  const int shift = std::countl_zero(u.significand);  // only for values no reader makes
  u.significand <<= shift;
  u.exponent -= shift;
  return u;
}

Extended Pack(bool negative, std::uint64_t significand, int exponent) {
  const auto biased = static_cast<std::uint16_t>(exponent + Extended::kBias);
  return Extended::FromBits(
      static_cast<std::uint16_t>(biased | (negative ? Extended::kSignBit : 0)), significand);
}

Extended Zero(bool negative) { return Extended::FromBits(negative ? Extended::kSignBit : 0, 0); }

}  // namespace

Extended::Extended(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, 8);
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0x7FF) {
    *this = FromBits(static_cast<std::uint16_t>(kExponentMask | (negative ? kSignBit : 0)),
                     (std::uint64_t{1} << 63) | (fraction << 11));
  } else if (biased == 0) {
    *this = fraction == 0 ? Zero(negative) : FromScaled(negative, fraction, -1074);
  } else {
    *this = Pack(negative, (std::uint64_t{1} << 63) | (fraction << 11), biased - 1023);
  }
}

Extended Extended::FromScaled(bool negative, std::uint64_t significand, int exponent) {
  if (significand == 0) return Zero(negative);
  const int shift = std::countl_zero(significand);
  return Pack(negative, significand << shift, exponent + 63 - shift);
}

Extended Extended::FromLongDouble(long double value) {
  if constexpr (kNativeX87) {
    Extended e;
    std::memcpy(e.bytes_, &value, 10);
    return e;
  } else {
    if (std::isnan(value)) return FromBits(kExponentMask, std::uint64_t{3} << 62);
    const bool negative = std::signbit(value);
    if (std::isinf(value))
      return FromBits(kExponentMask | (negative ? kSignBit : 0), std::uint64_t{1} << 63);
    if (value == 0) return Zero(negative);
    int exponent = 0;
    const long double fraction = std::frexp(std::fabs(value), &exponent);
    // nearbyint rounds to nearest with ties to even, the default mode.
    long double top = std::nearbyint(std::ldexp(fraction, 64));
    if (top == std::ldexp(1.0L, 64)) {
      top /= 2;
      ++exponent;
    }
    return FromScaled(negative, static_cast<std::uint64_t>(top), exponent - 64);
  }
}

double detail::PortableToDouble(const Extended& value) {
  const bool negative = value.SignBit();
  double magnitude = 0;
  if (!value.IsFinite()) {
    magnitude = (value.Significand() << 1) == 0 ? std::numeric_limits<double>::infinity()
                                                : std::numeric_limits<double>::quiet_NaN();
  } else if (value.Significand() != 0) {
    const Unpacked u = Unpack(value);
    if (u.exponent > 1023) {
      magnitude = std::numeric_limits<double>::infinity();
    } else {
      // 53 bits for normal doubles, fewer below 2^-1022.
      const int kept = u.exponent >= -1022 ? 53 : 53 - (-1022 - u.exponent);
      const int drop = 64 - kept;
      const std::uint64_t rounded = wide::RoundShift(u.significand, drop, false);
      magnitude = std::ldexp(static_cast<double>(rounded), u.exponent - 63 + drop);
    }
  }
  return negative ? -magnitude : magnitude;
}

double Extended::ToDouble() const {
  if constexpr (kNativeX87) {
    return static_cast<double>(ToLongDouble());
  } else {
    return detail::PortableToDouble(*this);
  }
}

long double Extended::ToLongDouble() const {
  if constexpr (kNativeX87) {
    long double value = 0;
    std::memcpy(&value, bytes_, 10);
    return value;
  } else {
    if (!IsFinite()) return static_cast<long double>(detail::PortableToDouble(*this));
    if (Significand() == 0) return SignBit() ? -0.0L : 0.0L;
    const Unpacked u = Unpack(*this);
    const long double magnitude =
        std::ldexp(static_cast<long double>(u.significand), u.exponent - 63);
    return u.negative ? -magnitude : magnitude;
  }
}

bool operator==(const Extended& a, const Extended& b) {
  if (!a.IsFinite() && (a.Significand() << 1) != 0) return false;
  if (!b.IsFinite() && (b.Significand() << 1) != 0) return false;
  if (a.IsZero() && b.IsZero()) return true;
  return a.SignExponent() == b.SignExponent() && a.Significand() == b.Significand();
}

Extended Add(const Extended& a, const Extended& b) {
  if (a.IsZero() && b.IsZero()) return Zero(a.SignBit() && b.SignBit());
  if (b.IsZero()) return a;
  if (a.IsZero()) return b;
  Unpacked big = Unpack(a), small = Unpack(b);
  if (big.exponent < small.exponent ||
      (big.exponent == small.exponent && big.significand < small.significand))
    std::swap(big, small);
  // Both significands with 64 bits of room below them: the sum is then exact but for the
  // sticky bit of what the smaller one loses in the alignment.
  const wide::U128 x{big.significand, 0};
  bool sticky = false;
  const wide::U128 y =
      wide::ShiftRight({small.significand, 0}, big.exponent - small.exponent, sticky);
  int exponent = big.exponent;
  wide::U128 sum;
  if (big.negative == small.negative) {
    sum = wide::Add(x, y);
    if (sum.hi < x.hi) {  // carried into bit 128
      sum = wide::ShiftRight(sum, 1, sticky);
      sum.hi |= std::uint64_t{1} << 63;
      ++exponent;
    }
  } else {
    // x - y - e with 0 < e < 1 when sticky: x - y - 1 with the sticky bit below it.
    sum = wide::Subtract(x, y);
    if (sticky) sum = wide::Subtract(sum, {0, 1});
    if (sum.hi == 0 && sum.lo == 0) return Zero(false);
    // Only a small alignment cancels bits, and then nothing was shifted out.
    const int shift = 128 - wide::BitLength(sum);
    sum = wide::ShiftLeft(sum, shift);
    exponent -= shift;
  }
  bool carry = false;
  const std::uint64_t top = wide::RoundTop(sum, sticky, carry);
  return Pack(big.negative, top, exponent + (carry ? 1 : 0));
}

Extended Subtract(const Extended& a, const Extended& b) { return Add(a, -b); }

Extended Multiply(const Extended& a, const Extended& b) {
  const bool negative = a.SignBit() != b.SignBit();
  if (a.IsZero() || b.IsZero()) return Zero(negative);
  const Unpacked x = Unpack(a), y = Unpack(b);
  wide::U128 product = wide::Multiply(x.significand, y.significand);
  int exponent = x.exponent + y.exponent + 1;
  if ((product.hi >> 63) == 0) {
    product = wide::ShiftLeft(product, 1);
    --exponent;
  }
  bool carry = false;
  const std::uint64_t top = wide::RoundTop(product, false, carry);
  return Pack(negative, top, exponent + (carry ? 1 : 0));
}

}  // namespace mk
