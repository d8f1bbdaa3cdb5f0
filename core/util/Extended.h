#pragma once
// An 80-bit extended real held in its own bytes, the same on every platform: a 64-bit significand
// with an explicit integer bit and a 16-bit word of sign and biased exponent, in the order an x87
// FPU stores them. Segment files need all 64 bits of their reals, and the long double of a
// compiler may have 53, 64 or 113: values and the operations docking applies to them are done
// here, so every build writes the same bytes. Ten bytes and no alignment also keep a segment's
// millions of points small.

#include <concepts>
#include <cstdint>
#include <cstring>

namespace mk {

class Extended {
 public:
  static constexpr int kBias = 16383;
  static constexpr std::uint16_t kSignBit = 0x8000;
  static constexpr std::uint16_t kExponentMask = 0x7FFF;

  /// +0.
  Extended() = default;
  /// Exactly the double's value, signed zeros included.
  Extended(double value);  // NOLINT: exact, as a long double is from a double
  /// Not silently: the platform's long double may hold more or fewer bits (FromLongDouble).
  template <class T>
  requires std::same_as<T, long double> Extended(T value)
  = delete;
  /// The value whose significand and sign-and-exponent word these are.
  static Extended FromBits(std::uint16_t sign_exponent, std::uint64_t significand) {
    Extended e;
    std::memcpy(e.bytes_, &significand, 8);
    std::memcpy(e.bytes_ + 8, &sign_exponent, 2);
    return e;
  }
  /// ±significand × 2^exponent, exactly. The value must lie within the normal range; the readers
  /// keep every value within the range of a double.
  static Extended FromScaled(bool negative, std::uint64_t significand, int exponent);
  /// The long double's value rounded to 64 bits where it holds more.
  static Extended FromLongDouble(long double value);

  std::uint64_t Significand() const {
    std::uint64_t s = 0;
    std::memcpy(&s, bytes_, 8);
    return s;
  }
  std::uint16_t SignExponent() const {
    std::uint16_t w = 0;
    std::memcpy(&w, bytes_ + 8, 2);
    return w;
  }
  bool SignBit() const { return (SignExponent() & kSignBit) != 0; }
  bool IsZero() const { return (SignExponent() & kExponentMask) == 0 && Significand() == 0; }
  bool IsFinite() const { return (SignExponent() & kExponentMask) != kExponentMask; }
  /// Zero of either sign, or none of the bits set but the sign: what needs no storage.
  bool IsPositiveZero() const { return SignExponent() == 0 && Significand() == 0; }

  Extended operator-() const { return FromBits(SignExponent() ^ kSignBit, Significand()); }

  /// Rounded to nearest, ties to even, as a conversion of the hardware type does.
  double ToDouble() const;
  explicit operator double() const { return ToDouble(); }
  /// For drawing and measuring, where the platform's own precision serves.
  long double ToLongDouble() const;

  /// As reals compare: +0 equals -0, and a NaN equals nothing.
  friend bool operator==(const Extended& a, const Extended& b);

 private:
  unsigned char bytes_[10] = {};
};

/// Whether the value needs no storage in a compact holder: +0 only, as -0 must come back as read.
inline bool IsPositiveZero(const Extended& value) { return value.IsPositiveZero(); }

/// The few operations docking does in extended precision, each rounded once to 64 bits (to
/// nearest, ties to even) as x87 arithmetic does. Finite operands within the range of doubles
/// and their products.
Extended Add(const Extended& a, const Extended& b);
Extended Subtract(const Extended& a, const Extended& b);
Extended Multiply(const Extended& a, const Extended& b);

namespace detail {
/// The software conversion that ToDouble uses where long double is not the x87 format; open for
/// the comparison tests on hosts where it is.
double PortableToDouble(const Extended& value);
}  // namespace detail

}  // namespace mk
