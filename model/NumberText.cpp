#include "model/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

#include "model/Errors.h"

namespace mk {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/// Checks the real grammar; on success tells whether the decimal magnitude is below 1 (so that an
/// out-of-range result is an underflow) and where the part without a plus sign starts.
bool ScanReal(std::string_view t, std::size_t& number_start, bool& tiny) {
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  number_start = (i == 1 && t[0] == '+') ? 1 : 0;
  std::size_t int_digits = 0, frac_digits = 0;
  long long lead_exponent = 0;  // decimal exponent of the first non-zero digit
  bool seen_nonzero = false;
  while (i < t.size() && IsDigit(t[i])) {
    if (t[i] != '0' && !seen_nonzero) seen_nonzero = true;
    if (seen_nonzero) ++lead_exponent;
    ++i;
    ++int_digits;
  }
  if (seen_nonzero) --lead_exponent;
  if (i < t.size() && t[i] == '.') {
    ++i;
    long long position = -1;
    while (i < t.size() && IsDigit(t[i])) {
      if (!seen_nonzero && t[i] != '0') {
        seen_nonzero = true;
        lead_exponent = position;
      }
      --position;
      ++i;
      ++frac_digits;
    }
  }
  if (int_digits + frac_digits == 0) return false;
  long long exponent = 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (i == t.size() || !IsDigit(t[i])) return false;
    while (i < t.size() && IsDigit(t[i])) {
      if (exponent < 1000000000) exponent = exponent * 10 + (t[i] - '0');
      ++i;
    }
    if (negative) exponent = -exponent;
  }
  tiny = lead_exponent + exponent < 0;
  return i == t.size();
}

/// 10^k for 0 <= k <= kMaxExactPower<Real>: every such power is exact in Real.
template <typename Real>
constexpr int kMaxExactPower = [] {
  // 10^k = 5^k * 2^k is exact while 5^k fits the mantissa.
  int k = 0;
  unsigned long long five = 1;
  while (k < 27 && five * 5 < (1ull << std::min(std::numeric_limits<Real>::digits, 63))) {
    five *= 5;
    ++k;
  }
  return k;
}();

template <typename Real>
Real ExactPowerOfTen(int k) {
  static const auto table = [] {
    std::array<Real, kMaxExactPower<Real> + 1> t{};
    Real p = 1;
    for (auto& v : t) {
      v = p;
      p *= 10;
    }
    return t;
  }();
  return table[static_cast<std::size_t>(k)];
}

/// Plain decimals such as "-44.125", the words of nearly every model file, when their digits
/// and the power of ten are exact in Real: one correctly rounded division then gives exactly the
/// value of the general conversion, several times faster. False sends any other text (exponents,
/// long digit strings, bad words) to the general path, which also reports the errors.
template <typename Real>
bool ParseShortDecimal(std::string_view t, Real& out) {
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  std::uint64_t mantissa = 0;
  int digits = 0;
  int fraction = 0;
  for (bool after_point = false; i < t.size(); ++i) {
    const char c = t[i];
    if (c == '.' && !after_point) {
      after_point = true;
      continue;
    }
    if (!IsDigit(c) || digits == 19) return false;
    mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
    ++digits;
    if (after_point) ++fraction;
  }
  constexpr int kBits = std::numeric_limits<Real>::digits;
  if (digits == 0 || fraction > kMaxExactPower<Real>) return false;
  if (kBits < 64 && (mantissa >> (kBits < 64 ? kBits : 0)) != 0) return false;
  Real value = static_cast<Real>(mantissa);
  if (fraction > 0) value /= ExactPowerOfTen<Real>(fraction);
  out = negative ? -value : value;
  return true;
}

template <typename Real>
Real ParseReal(std::string_view text) {
  if (Real value; ParseShortDecimal(text, value)) return value;
  std::size_t start = 0;
  bool tiny = false;
  if (!ScanReal(text, start, tiny))
    throw ConversionError(ConversionError::Kind::Real, std::string(text));
  const std::string_view number = text.substr(start);
  Real value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    if (!tiny) throw ConversionError(ConversionError::Kind::Real, std::string(text));
    return number.front() == '-' ? -Real(0) : Real(0);
  }
  if (result.ec != std::errc() || result.ptr != number.data() + number.size() ||
      !std::isfinite(value))
    throw ConversionError(ConversionError::Kind::Real, std::string(text));
  return value;
}

/// Writes the general 15-digit form of a value given as 15 rounded digits and their exponent.
void AppendGeneral(std::string& out, bool negative, const char* digits, int exponent) {
  int count = 15;
  while (count > 1 && digits[count - 1] == '0') --count;
  if (count == 1 && digits[0] == '0') {
    out.push_back('0');
    return;
  }
  // Built in place and appended once: the writer's hottest path.
  char text[48];
  char* t = text;
  if (negative) *t++ = '-';
  if (exponent >= -4 && exponent < 15) {
    if (exponent >= 0) {
      for (int i = 0; i <= exponent; ++i) *t++ = i < count ? digits[i] : '0';
      if (count > exponent + 1) {
        *t++ = '.';
        for (int i = exponent + 1; i < count; ++i) *t++ = digits[i];
      }
    } else {
      *t++ = '0';
      *t++ = '.';
      for (int i = -1; i > exponent; --i) *t++ = '0';
      for (int i = 0; i < count; ++i) *t++ = digits[i];
    }
  } else {
    *t++ = digits[0];
    if (count > 1) {
      *t++ = '.';
      for (int i = 1; i < count; ++i) *t++ = digits[i];
    }
    *t++ = 'E';
    t = std::to_chars(t, text + sizeof text, exponent).ptr;
  }
  out.append(text, t);
}

/// The 15 correctly rounded significant digits of a positive finite magnitude, and the decimal
/// exponent of the first one.
template <typename Real>
void ScientificDigits(Real magnitude, char (&digits)[15], int& exponent) {
  if constexpr (std::is_same_v<Real, double>) {
    // The shortest digits that read back as the same double are several times cheaper to find
    // than 15 rounded ones, and model files hold short numbers. When there are at most 15 of
    // them they are the rounded digits too: every decimal of 15 significant digits comes back
    // unchanged through its nearest normal double and a rounding to 15 digits.
    if (std::isnormal(magnitude)) {
      char shortest[64];
      const auto r = std::to_chars(shortest, shortest + sizeof shortest, magnitude,
                                   std::chars_format::scientific);
      const char* e = shortest;
      while (e < r.ptr && *e != 'e') ++e;
      // "d" or "d.ddd", then "e[+-]x"
      const std::ptrdiff_t mantissa = e - shortest;
      const std::ptrdiff_t count = mantissa == 1 ? 1 : mantissa - 1;
      if (e < r.ptr && count <= 15) {
        digits[0] = shortest[0];
        for (int i = 1; i < 15; ++i)
          digits[i] = i < count ? shortest[i + 1] : '0';
        std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), r.ptr, exponent);
        return;
      }
    }
  }
  // "d.ddddddddddddddde[+-]x"
  char buffer[64];
  const auto r =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
  digits[0] = buffer[0];
  for (int i = 0; i < 14; ++i) digits[i + 1] = buffer[2 + i];
  std::from_chars(buffer + 17 + (buffer[17] == '+' ? 1 : 0), r.ptr, exponent);
}

/// 10^k in extended precision: from a table for the usual range (powl is slow), else powl.
long double PowerOfTen(int k) {
  constexpr int kRange = 64;
  static const auto table = [] {
    std::array<long double, 2 * kRange + 1> t{};
    long double p = 1;
    for (int i = 0; i <= kRange; ++i, p *= 10) {
      t[static_cast<std::size_t>(kRange + i)] = p;
      t[static_cast<std::size_t>(kRange - i)] = 1 / p;
    }
    return t;
  }();
  if (k >= -kRange && k <= kRange) return table[static_cast<std::size_t>(k + kRange)];
  return std::pow(10.0L, static_cast<long double>(k));
}

/// Extended reals: the library formats them through a slow multi-precision path, so the digits of
/// the nearest double are used whenever they are provably the correctly rounded digits of the
/// extended value too, that is, when the value lies clearly inside their rounding interval.
void ScientificDigits(long double magnitude, char (&digits)[15], int& exponent) {
  const double nearest = static_cast<double>(magnitude);
  if (std::isnormal(nearest)) {
    ScientificDigits(nearest, digits, exponent);
    if (static_cast<long double>(nearest) == magnitude) return;
    std::uint64_t d = 0;
    for (char c : digits) d = d * 10 + static_cast<std::uint64_t>(c - '0');
    const long double unit = PowerOfTen(exponent - 14);
    const long double low = (static_cast<long double>(d) - 0.5L) * unit;
    const long double high = (static_cast<long double>(d) + 0.5L) * unit;
    // The interval ends carry errors of a few extended ulps; the margin is far wider.
    const long double margin = magnitude * 1e-17L;
    if (magnitude > low + margin && magnitude < high - margin) return;
  }
  ScientificDigits<long double>(magnitude, digits, exponent);
}

constexpr auto kPowersOfTen = [] {
  std::array<std::uint64_t, 16> p{};
  std::uint64_t v = 1;
  for (auto& e : p) {
    e = v;
    v *= 10;
  }
  return p;
}();

/// The 15 rounded digits of magnitudes that are short decimals, as model files hold nearly
/// everywhere, found without the library's digit generation. With d the magnitude rounded to a
/// double, m = d * 10^k is computed for k = 0, 1, ...; m is within 2^-52 of the exact product,
/// that is within 0.23 units of its own 15th digit. So once m lies within 0.25 such units of an
/// integer c, the exact product lies within half a unit of c, and c (padded with zeros) is
/// provably the correct rounding to 15 digits. Doubles keep this off the slow extended unit.
/// False when no small k qualifies.
bool ShortDecimalDigits(long double magnitude, char (&digits)[15], int& exponent) {
  constexpr int kMaxFractionDigits = 8;
  // 0.25 units of the 15th digit of a number with n digits before the point (0: below 1)
  static const auto tolerance = [] {
    std::array<double, 16> t{};
    for (int n = 0; n <= 15; ++n)
      t[static_cast<std::size_t>(n)] = static_cast<double>(0.25L * PowerOfTen(n - 15));
    return t;
  }();
  const auto d = static_cast<double>(magnitude);
  if (!(d >= 1e-5 && d < 1e15)) return false;
  for (int k = 0; k <= kMaxFractionDigits; ++k) {
    const double m = d * ExactPowerOfTen<double>(k);
    if (m >= 1e15) return false;
    // m + 0.5 is exact below 10^15; a tie is never within the tolerance anyway.
    const auto c = static_cast<std::uint64_t>(m + 0.5);
    if (c == 0) continue;
    int n = 1;
    while (n < 16 && c >= kPowersOfTen[static_cast<std::size_t>(n)]) ++n;
    if (n > 15) return false;
    // The unit of the 15th digit is that of m, which has a digit less than c when it rounded up
    // to a power of ten.
    const auto rounded = static_cast<double>(c);
    const int m_digits = (c == kPowersOfTen[static_cast<std::size_t>(n - 1)] && m < rounded) ? n - 1 : n;
    if (std::fabs(m - rounded) > tolerance[static_cast<std::size_t>(m_digits)]) continue;
    char text[20];
    std::to_chars(text, text + sizeof text, c);
    for (int i = 0; i < 15; ++i) digits[i] = i < n ? text[i] : '0';
    exponent = n - 1 - k;
    return true;
  }
  return false;
}

template <typename Real>
void AppendReal(std::string& out, Real value) {
  if (value == 0 || !std::isfinite(value)) {
    // Readers never produce non-finite values; zero of either sign is "0".
    if (value == 0) {
      out.push_back('0');
    } else {
      out.append(std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF"));
    }
    return;
  }
  const bool negative = value < 0;
  char digits[15];
  int exponent = 0;
  const Real magnitude = negative ? -value : value;
  if (!ShortDecimalDigits(magnitude, digits, exponent)) ScientificDigits(magnitude, digits, exponent);
  AppendGeneral(out, negative, digits, exponent);
}

}  // namespace

std::int32_t StrToInt(std::string_view text) {
  std::size_t start = 0;
  if (!text.empty() && text[0] == '+') start = 1;
  const std::string_view number = text.substr(start);
  // from_chars accepts a leading "-" only; a sign alone or "+-1" must fail.
  const bool minus = !number.empty() && number[0] == '-';
  if (number.empty() || (minus && (start == 1 || number.size() < 2 || !IsDigit(number[1]))) ||
      (!minus && !IsDigit(number[0])))
    throw ConversionError(ConversionError::Kind::Integer, std::string(text));
  std::int32_t value = 0;
  const auto r = std::from_chars(number.data(), number.data() + number.size(), value);
  if (r.ec != std::errc() || r.ptr != number.data() + number.size())
    throw ConversionError(ConversionError::Kind::Integer, std::string(text));
  return value;
}

double StrToFloat(std::string_view text) { return ParseReal<double>(text); }
long double StrToExtended(std::string_view text) {
  if (long double value; ParseShortDecimal(text, value)) return value;
  // Extended reals keep their digits but not their range: bounds, views and the other format
  // work in doubles, and a value beyond them would be saved as a text no reader accepts.
  const double in_range = ParseReal<double>(text);
  if (in_range == 0) return in_range;
  const long double value = ParseReal<long double>(text);
  return std::fabs(value) > std::numeric_limits<double>::max() ? in_range : value;
}

void AppendInt(std::string& out, std::int32_t value) {
  char buffer[16];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, r.ptr);
}

std::string IntToStr(std::int32_t value) {
  std::string out;
  AppendInt(out, value);
  return out;
}

void AppendFloat(std::string& out, double value) { AppendReal(out, value); }
void AppendFloat(std::string& out, long double value) { AppendReal(out, value); }

std::string FloatToStr(double value) {
  std::string out;
  AppendReal(out, value);
  return out;
}

std::string FloatToStr(long double value) {
  std::string out;
  AppendReal(out, value);
  return out;
}

}  // namespace mk
