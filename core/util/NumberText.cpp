#include "core/util/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

#include "core/util/Errors.h"

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

/// Plain decimals such as "-44.125", the words of nearly every segment file, read as extended
/// reals when their digits and the power of ten are exact in Real: one correctly rounded division
/// then gives exactly the value of the general conversion, which is much slower for extended
/// reals. False sends any other text (exponents, long digit strings, bad words) to the general
/// path, which also reports the errors.
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
  {
    // from_chars takes the real grammar but for a plus sign, and besides it the words of
    // non-finite values, refused here; every other text, an underflow among them, goes the
    // checked way below.
    const bool plus = !text.empty() && text.front() == '+';
    const std::string_view number = text.substr(plus ? 1 : 0);
    if (!number.empty() && !(plus && number.front() == '-')) {
      Real value = 0;
      const auto r = std::from_chars(number.data(), number.data() + number.size(), value);
      if (r.ec == std::errc() && r.ptr == number.data() + number.size() && std::isfinite(value))
        return value;
    }
  }
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
    // The shortest digits that read back as the same double are cheaper to find than 15
    // rounded ones, and model files hold short numbers. When there are at most 15 of
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
    // Below a power of ten the digits of the decade beneath are ten times finer, and so is
    // the lower half of its rounding interval.
    const long double below = d == 100000000000000u ? 0.05L : 0.5L;
    const long double low = (static_cast<long double>(d) - below) * unit;
    const long double high = (static_cast<long double>(d) + 0.5L) * unit;
    // The interval ends carry errors of a few extended ulps; the margin is far wider.
    const long double margin = magnitude * 1e-17L;
    if (magnitude > low + margin && magnitude < high - margin) return;
  }
  ScientificDigits<long double>(magnitude, digits, exponent);
}

/// Writes magnitudes that are short decimals, as model files hold nearly everywhere, without the
/// library's digit generation; false leaves every other value to the library's digits. With d the
/// magnitude rounded to a double, m = d * 10^k is computed for k = 0, 1, ...; it lies within
/// 2^-52 * m of the exact product p. Once an integer c lies within 2.5e-16 * m of m, it lies
/// within half a unit of p's 15th significant digit, so c / 10^k is exactly the rounding to
/// 15 digits that the general path would write.
bool AppendShortDecimal(std::string& out, bool negative, long double magnitude) {
  constexpr int kMaxFractionDigits = 8;
  const auto d = static_cast<double>(magnitude);
  if (!(d >= 1e-4 && d < 1e15)) return false;  // the plain notation, without exponent
  for (int k = 0; k <= kMaxFractionDigits; ++k) {
    const double m = d * ExactPowerOfTen<double>(k);
    if (m >= 1e15) return false;
    // m + 0.5 is exact below 10^15; a tie is never close enough to count.
    const auto c = static_cast<std::uint64_t>(m + 0.5);
    if (c >= 1000000000000000u) return false;  // rounded up to 10^15, written with an exponent
    if (c == 0 || std::fabs(m - static_cast<double>(c)) > 2.5e-16 * m) continue;
    // Below 10^15, c has at most 15 digits: written in place and padded with zeros to 15.
    char digits[20];
    char* end = std::to_chars(digits, digits + sizeof digits, c).ptr;
    const int n = static_cast<int>(end - digits);
    std::fill(end, digits + 15, '0');
    AppendGeneral(out, negative, digits, n - 1 - k);
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
  if (AppendShortDecimal(out, negative, magnitude)) return;
  ScientificDigits(magnitude, digits, exponent);
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
