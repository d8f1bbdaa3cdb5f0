#include "core/util/DecimalConversion.h"

#include <array>
#include <bit>

#include "core/util/BigUnsigned.h"
#include "core/util/WideInt.h"

namespace mk {
namespace {

constexpr std::array<std::uint64_t, 20> kPowersOfTen = [] {
  std::array<std::uint64_t, 20> p{};
  std::uint64_t v = 1;
  for (auto& e : p) {
    e = v;
    v *= 10;
  }
  return p;
}();

/// floor(x * log10(2)), exact for |x| below 2,600.
int FloorLog10OfPowerOfTwo(int x) { return (x * 78913) >> 18; }

/// The rounding of a quotient whose lowest bit is the guard bit, with `sticky` telling whether
/// anything below it is non-zero; bumps exponent when the result carried to 2^64.
std::uint64_t RoundGuarded(wide::U128 guarded, bool sticky, int& exponent) {
  bool none = false;
  const wide::U128 kept = wide::ShiftRight(guarded, 1, none);
  const bool guard = (guarded.lo & 1) != 0;
  std::uint64_t result = kept.lo;
  if (guard && (sticky || (result & 1) != 0)) {
    ++result;
    if (result == 0) {
      result = std::uint64_t{1} << 63;
      ++exponent;
    }
  }
  return result;
}

/// floor(value * 10^shift) with a guard bit below it and the sticky rest, exactly.
wide::U128 ScaledWithGuard(std::uint64_t significand, int exponent, int decimal_shift,
                           bool& sticky) {
  BigUnsigned numerator(significand);
  BigUnsigned denominator(1);
  if (exponent > 0) numerator.ShiftLeft(exponent);
  if (exponent < 0) denominator.ShiftLeft(-exponent);
  if (decimal_shift > 0) numerator.MultiplyByPowerOfTen(decimal_shift);
  if (decimal_shift < 0) denominator.MultiplyByPowerOfTen(-decimal_shift);
  numerator.ShiftLeft(1);
  const wide::U128 quotient = DivideSmallQuotient(numerator, denominator);
  sticky = !numerator.IsZero();
  return quotient;
}

/// Quotient and remainder of (u1 * 2^64 + u0) / d for a normalized d and u1 < d, with the
/// precomputed reciprocal v = floor((2^128 - 1) / d) - 2^64 (Moller and Granlund, 2011).
std::uint64_t DivideByReciprocal(std::uint64_t u1, std::uint64_t u0, std::uint64_t d,
                                 std::uint64_t v, std::uint64_t& remainder) {
  wide::U128 q = wide::Multiply(v, u1);
  q = wide::Add(q, {u1, u0});
  std::uint64_t q1 = q.hi + 1;
  std::uint64_t r = u0 - q1 * d;
  if (r > q.lo) {
    --q1;
    r += d;
  }
  if (r >= d) {
    ++q1;
    r -= d;
  }
  remainder = r;
  return q1;
}

struct Divisor {
  std::uint64_t normalized = 0;
  std::uint64_t reciprocal = 0;
  int shift = 0;
};

/// 5^f for f up to kMaxQuickFraction, normalized, with their reciprocals.
constexpr std::array<Divisor, kMaxQuickFraction + 1> kFivePowers = [] {
  std::array<Divisor, kMaxQuickFraction + 1> t{};
  std::uint64_t five = 1;
  for (auto& d : t) {
    d.shift = std::countl_zero(five);
    d.normalized = five << d.shift;
    // floor((2^128 - 1) / d) - 2^64 is the quotient of (~d, ~0) by d, found bit by bit.
    std::uint64_t hi = ~d.normalized, lo = ~std::uint64_t{0}, q = 0;
    for (int i = 0; i < 64; ++i) {
      const bool top = (hi >> 63) != 0;
      hi = (hi << 1) | (lo >> 63);
      lo <<= 1;
      q <<= 1;
      if (top || hi >= d.normalized) {
        hi -= d.normalized;
        q |= 1;
      }
    }
    d.reciprocal = q;
    five *= 5;
  }
  return t;
}();

}  // namespace

BinaryReal RoundDecimal(const DecimalText& decimal, int precision, int min_exponent) {
  if (decimal.count == 0) return {};
  const long long lead = decimal.count - 1 + decimal.exponent;
  if (lead > 400)
    return {(precision == 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << precision) - 1), 1 << 20};
  if (lead < -400) return {};
  BigUnsigned numerator;
  for (int i = 0; i < decimal.count;) {
    std::uint32_t chunk = 0, scale = 1;
    for (int k = 0; k < 9 && i < decimal.count; ++k, ++i) {
      chunk = chunk * 10 + static_cast<std::uint32_t>(decimal.digits[i] - '0');
      scale *= 10;
    }
    numerator.MultiplyAdd(scale, chunk);
  }
  long long exponent10 = decimal.exponent;
  if (decimal.truncated) {
    numerator.MultiplyAdd(10, 1);
    --exponent10;
  }
  if (numerator.IsZero()) return {};
  BigUnsigned denominator(1);
  if (exponent10 > 0) numerator.MultiplyByPowerOfTen(static_cast<int>(exponent10));
  if (exponent10 < 0) denominator.MultiplyByPowerOfTen(static_cast<int>(-exponent10));
  // A quotient of precision + 2 or + 3 bits: the kept bits, the guard bit and one more.
  const int k = precision + 2 - (numerator.BitLength() - denominator.BitLength());
  if (k > 0) numerator.ShiftLeft(k);
  if (k < 0) denominator.ShiftLeft(-k);
  const wide::U128 quotient = DivideSmallQuotient(numerator, denominator);
  bool sticky = !numerator.IsZero();
  const int bits = wide::BitLength(quotient);
  const int lead_exponent = bits - 1 - k;
  int kept = precision;
  if (lead_exponent - min_exponent + 1 < kept) kept = lead_exponent - min_exponent + 1;
  if (kept < 0) return {};
  const int drop = bits - kept;  // at least 2
  const wide::U128 guarded = wide::ShiftRight(quotient, drop - 1, sticky);
  int exponent = drop - k;
  std::uint64_t significand = RoundGuarded(guarded, sticky, exponent);
  if (precision < 64 && significand == std::uint64_t{1} << precision) {
    significand >>= 1;
    ++exponent;
  }
  return {significand, exponent};
}

int RoundToDigits(std::uint64_t significand, int exponent, int count, char* digits) {
  const int shift = std::countl_zero(significand);
  const std::uint64_t s = significand << shift;
  const int e = exponent - shift;
  // The value lies in [2^(e+63), 2^(e+64)): its decimal exponent is this estimate or one more.
  int decimal_exponent = FloorLog10OfPowerOfTwo(e + 63);
  for (;;) {
    const int j = count - 1 - decimal_exponent;
    wide::U128 guarded;
    bool sticky = false;
    if (j >= 0 && j <= 19 && e < 0 && e >= -127) {
      // value * 10^j = s * 10^j * 2^e with the 128-bit product exact: the usual case.
      guarded = wide::ShiftRight(wide::Multiply(s, kPowersOfTen[static_cast<std::size_t>(j)]),
                                 -e - 1, sticky);
    } else {
      guarded = ScaledWithGuard(s, e, j, sticky);
    }
    if (guarded.hi != 0 || (guarded.lo >> 1) >= kPowersOfTen[static_cast<std::size_t>(count)]) {
      ++decimal_exponent;
      continue;
    }
    int carried = 0;
    std::uint64_t q = RoundGuarded(guarded, sticky, carried);
    if (q == kPowersOfTen[static_cast<std::size_t>(count)]) {
      q = kPowersOfTen[static_cast<std::size_t>(count - 1)];
      ++decimal_exponent;
    }
    for (int i = count; i-- > 0;) {
      digits[i] = static_cast<char>('0' + q % 10);
      q /= 10;
    }
    return decimal_exponent;
  }
}

BinaryReal QuickExtendedQuotient(std::uint64_t w, int fraction) {
  const Divisor& d = kFivePowers[static_cast<std::size_t>(fraction)];
  const int lead = std::countl_zero(w);
  const std::uint64_t n = w << lead;
  // n / d lies in (1/2, 2): a dividend of n * 2^63 or n * 2^64 gives a 64-bit quotient. Both
  // choices here are data, not branches: they go either way at random.
  const std::uint64_t above = n >= d.normalized ? 1 : 0;
  const std::uint64_t u1 = n >> above;
  const std::uint64_t u0 = (n << 63) & (0 - above);
  std::uint64_t r = 0;
  std::uint64_t q = DivideByReciprocal(u1, u0, d.normalized, d.reciprocal, r);
  int exponent = d.shift - lead - fraction - 64 + static_cast<int>(above);
  const std::uint64_t rest = d.normalized - r;
  q += static_cast<std::uint64_t>((r > rest) | ((r == rest) & ((q & 1) != 0)));
  if (q == 0) {  // carried out of the top
    q = std::uint64_t{1} << 63;
    ++exponent;
  }
  return {q, exponent};
}

}  // namespace mk
