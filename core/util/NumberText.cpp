#include "core/util/NumberText.h"

#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/util/DecimalConversion.h"
#include "core/util/Errors.h"

namespace mk {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

/// The form nearly every number of a model file takes: a sign, at most 19 digits with an optional
/// point and an optional exponent, read in one pass as w * 10^exponent. False for anything else;
/// the general path then reads the text or reports it.
bool ScanShort(std::string_view t, bool& negative, std::uint64_t& w, int& exponent) {
  // Locals throughout: results written through the references inside the loop would go to
  // memory at every digit.
  const char* p = t.data();
  const char* const end = p + t.size();
  bool minus = false;
  if (p < end && (*p == '+' || *p == '-')) minus = *p++ == '-';
  // The integer digits, then those of the fraction, each in a loop of its own. More than 19
  // digits may wrap the value; such texts are refused below.
  std::uint64_t value = 0;
  const char* const integer = p;
  while (p < end && IsDigit(*p)) value = value * 10 + static_cast<std::uint64_t>(*p++ - '0');
  const auto integer_digits = static_cast<int>(p - integer);
  int fraction = 0;
  if (p < end && *p == '.') {
    const char* const first = ++p;
    while (p < end && IsDigit(*p)) value = value * 10 + static_cast<std::uint64_t>(*p++ - '0');
    fraction = static_cast<int>(p - first);
  }
  const int digits = integer_digits + fraction;
  if (digits == 0 || digits > 19) return false;
  int scale = -fraction;
  if (p < end) {
    if (*p != 'e' && *p != 'E') return false;
    ++p;
    bool negative_exponent = false;
    if (p < end && (*p == '+' || *p == '-')) negative_exponent = *p++ == '-';
    if (p == end || end - p > 4) return false;
    int e = 0;
    for (; p < end; ++p) {
      if (!IsDigit(*p)) return false;
      e = e * 10 + (*p - '0');
    }
    scale += negative_exponent ? -e : e;
  }
  negative = minus;
  w = value;
  exponent = scale;
  return true;
}

/// Digits kept for the exact conversion. Any further digit can only tell whether the value lies
/// above the kept ones; the closest call between two extended reals in a double's range needs
/// fewer than 900.
constexpr int kMaxDigits = 1100;

/// Checks the real grammar and reads the significant digits and the decimal exponent.
bool ScanReal(std::string_view t, bool& negative, char (&digits)[kMaxDigits],
              DecimalText& decimal) {
  std::size_t i = 0;
  negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  decimal = DecimalText{digits, 0, 0, false};
  long long adjust = 0;
  std::size_t mantissa_digits = 0;
  bool after_point = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (c == '.' && !after_point) {
      after_point = true;
      continue;
    }
    if (!IsDigit(c)) break;
    ++mantissa_digits;
    if (decimal.count == 0 && c == '0') {
      if (after_point) --adjust;
    } else if (decimal.count < kMaxDigits) {
      digits[decimal.count++] = c;
      if (after_point) --adjust;
    } else {
      if (c != '0') decimal.truncated = true;
      if (!after_point) ++adjust;
    }
  }
  if (mantissa_digits == 0) return false;
  long long exponent = 0;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    bool negative_exponent = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative_exponent = t[i++] == '-';
    if (i == t.size() || !IsDigit(t[i])) return false;
    for (; i < t.size() && IsDigit(t[i]); ++i)
      if (exponent < 1000000000) exponent = exponent * 10 + (t[i] - '0');
    if (negative_exponent) exponent = -exponent;
  }
  decimal.exponent = exponent + adjust;
  return i == t.size();
}

constexpr std::array<double, 23> kDoublePowersOfTen = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

/// w * 10^exponent when one correctly rounded double operation gives it: both operands exact
/// (Clinger's fast path). Needs doubles evaluated as doubles, which every 64-bit target does.
bool QuickDouble(std::uint64_t w, int exponent, double& value) {
#if defined(FLT_EVAL_METHOD) && FLT_EVAL_METHOD == 0
  if (w >> 53 != 0 || exponent < -22 || exponent > 22) return false;
  const auto d = static_cast<double>(w);
  const double power =
      kDoublePowersOfTen[static_cast<std::size_t>(exponent < 0 ? -exponent : exponent)];
  value = exponent < 0 ? d / power : d * power;
  return true;
#else
  (void)w;
  (void)exponent;
  (void)value;
  return false;
#endif
}

[[noreturn]] void FailReal(std::string_view text) {
  throw ConversionError(ConversionError::Kind::Real, std::string(text));
}

/// The double nearest the decimal; a magnitude beyond the range is an error, one too small
/// for it reads as zero of the same sign.
double DoubleOf(std::string_view text, bool negative, const DecimalText& decimal) {
  const BinaryReal r = RoundDecimal(decimal, 53, -1074);
  if (r.significand != 0 && static_cast<int>(std::bit_width(r.significand)) + r.exponent > 1024)
    FailReal(text);
  const double magnitude = std::ldexp(static_cast<double>(r.significand), r.exponent);
  return negative ? -magnitude : magnitude;
}

double ParseDouble(std::string_view text) {
  bool negative = false;
  std::uint64_t w = 0;
  int exponent = 0;
  if (ScanShort(text, negative, w, exponent)) {
    double value = 0;
    if (QuickDouble(w, exponent, value)) return negative ? -value : value;
  }
  char digits[kMaxDigits];
  DecimalText decimal;
  if (!ScanReal(text, negative, digits, decimal)) FailReal(text);
  return DoubleOf(text, negative, decimal);
}

Extended ParseExtended(std::string_view text) {
  bool negative = false;
  std::uint64_t w = 0;
  int exponent = 0;
  if (ScanShort(text, negative, w, exponent) && exponent <= 0 && -exponent <= kMaxQuickFraction) {
    if (w == 0) return negative ? -Extended() : Extended();
    if (exponent == 0) return Extended::FromScaled(negative, w, 0);
    const BinaryReal r = QuickExtendedQuotient(w, -exponent);
    return Extended::FromScaled(negative, r.significand, r.exponent);
  }
  char digits[kMaxDigits];
  DecimalText decimal;
  if (!ScanReal(text, negative, digits, decimal)) FailReal(text);
  // Extended reals keep their digits but not their range: bounds, views and the other format
  // work in doubles, and a value beyond them would be saved as a text no reader accepts.
  const double in_range = DoubleOf(text, negative, decimal);
  if (in_range == 0) return Extended(in_range);
  const BinaryReal r = RoundDecimal(decimal, 64, -16445);
  // Above the largest double: beyond its last significand or its top binade.
  const int top = static_cast<int>(std::bit_width(r.significand)) + r.exponent;
  if (top > 1024 ||
      (top == 1024 && (r.significand << std::countl_zero(r.significand)) > 0xFFFFFFFFFFFFF800u))
    return Extended(in_range);
  return Extended::FromScaled(negative, r.significand, r.exponent);
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

/// The 15 correctly rounded digits of significand * 2^exponent, written in the general form.
void AppendDigitsOf(std::string& out, bool negative, std::uint64_t significand, int exponent) {
  char digits[15];
  const int decimal_exponent = RoundToDigits(significand, exponent, 15, digits);
  AppendGeneral(out, negative, digits, decimal_exponent);
}

/// Zero of either sign is "0"; readers never produce non-finite values.
bool AppendSpecial(std::string& out, bool zero, bool finite, bool nan, bool negative) {
  if (zero) {
    out.push_back('0');
  } else if (!finite) {
    out.append(nan ? "NAN" : (negative ? "-INF" : "INF"));
  }
  return zero || !finite;
}

/// The significand and exponent of a finite non-zero double.
void Decompose(double value, std::uint64_t& significand, int& exponent) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, 8);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  significand = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0) {
    exponent = -1074;
  } else {
    significand |= std::uint64_t{1} << 52;
    exponent = biased - 1075;
  }
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

double StrToFloat(std::string_view text) { return ParseDouble(text); }
Extended StrToExtended(std::string_view text) { return ParseExtended(text); }

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

void AppendFloat(std::string& out, double value) {
  if (AppendSpecial(out, value == 0, std::isfinite(value), std::isnan(value), value < 0)) return;
  std::uint64_t significand = 0;
  int exponent = 0;
  Decompose(value, significand, exponent);
  AppendDigitsOf(out, std::signbit(value), significand, exponent);
}

void AppendFloat(std::string& out, const Extended& value) {
  const bool nan = !value.IsFinite() && (value.Significand() << 1) != 0;
  if (AppendSpecial(out, value.IsZero(), value.IsFinite(), nan, value.SignBit())) return;
  const int biased = value.SignExponent() & Extended::kExponentMask;
  AppendDigitsOf(out, value.SignBit(), value.Significand(),
                 (biased == 0 ? 1 : biased) - Extended::kBias - 63);
}

void AppendFloat(std::string& out, long double value) {
  AppendFloat(out, Extended::FromLongDouble(value));
}

std::string FloatToStr(double value) {
  std::string out;
  AppendFloat(out, value);
  return out;
}

std::string FloatToStr(const Extended& value) {
  std::string out;
  AppendFloat(out, value);
  return out;
}

int SignificantDigits(double value, int digits, char* out) {
  std::uint64_t significand = 0;
  int exponent = 0;
  Decompose(std::fabs(value), significand, exponent);
  return RoundToDigits(significand, exponent, digits, out);
}

}  // namespace mk
