#pragma once
// Exact conversions between decimal numbers and binary reals of up to 64 significant bits, with
// nothing from the platform's floating point: every build reads and writes the same values.
// Both round to nearest with ties to even.

#include <cstdint>

namespace mk {

/// A decimal number as read: the significant digits (the first non-zero) times 10^exponent.
struct DecimalText {
  const char* digits = nullptr;
  int count = 0;
  long long exponent = 0;
  /// Non-zero digits followed those given: the value lies just above them.
  bool truncated = false;
};

/// significand * 2^exponent.
struct BinaryReal {
  std::uint64_t significand = 0;
  int exponent = 0;
};

/// The decimal rounded to `precision` (1 to 64) significant bits, and to the bit of weight
/// 2^min_exponent below the normal range, as gradual underflow does. Magnitudes far beyond
/// any double give a significand of 2^precision - 1 at exponent 2^20, far below give zero.
BinaryReal RoundDecimal(const DecimalText& decimal, int precision, int min_exponent);

/// significand * 2^exponent (non-zero) rounded to `count` (1 to 17) significant decimal digits:
/// writes the digits and returns the decimal exponent of the first.
int RoundToDigits(std::uint64_t significand, int exponent, int count, char* digits);

/// w / 10^fraction rounded to 64 bits, for w non-zero and fraction from 0 to kMaxQuickFraction,
/// with two products and no division: the plain decimals of nearly every segment file.
inline constexpr int kMaxQuickFraction = 27;
BinaryReal QuickExtendedQuotient(std::uint64_t w, int fraction);

}  // namespace mk
