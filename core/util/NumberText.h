#pragma once
// Number text of the model files: decimal integers, and reals in the general format with 15
// significant digits. Files always use "." as the decimal separator, whatever the user's locale,
// because they are exchanged between machines and with the modelling product.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/util/Extended.h"

namespace mk {

/// Optional sign and decimal digits in the signed 32-bit range; nothing else (no blanks, no hex).
/// Throws ConversionError (integer) with the text.
std::int32_t StrToInt(std::string_view text);

/// Optional sign, digits with an optional fraction (".5" and "5." included) and an optional
/// exponent. "inf", "nan", "1e" and magnitudes beyond the range are errors; a magnitude too small
/// for the range reads as zero of the same sign. Throws ConversionError (real) with the text.
double StrToFloat(std::string_view text);
/// As StrToFloat, with the digits of an extended real but the range of a double.
Extended StrToExtended(std::string_view text);

std::string IntToStr(std::int32_t value);
void AppendInt(std::string& out, std::int32_t value);

/// The general format with 15 significant digits: fixed notation for rounded magnitudes from
/// 0.0001 up to but not including 10^15, else one digit, ".", the other digits, "E" and the
/// exponent (1E-5, 1.5E20). Trailing zeros go; zero, negative zero included, is "0".
std::string FloatToStr(double value);
std::string FloatToStr(const Extended& value);
void AppendFloat(std::string& out, double value);
void AppendFloat(std::string& out, const Extended& value);
/// Values worked out in the platform's long double (places in views and reports): the digits
/// of the value rounded to an extended real.
void AppendFloat(std::string& out, long double value);

/// The `digits` (1 to 17) correctly rounded significant digits of a finite non-zero value, and
/// the decimal exponent of the first: the digits of the C library's "%.*e" on every platform.
int SignificantDigits(double value, int digits, char* out);

/// Appends three values as the point blocks write them: separated by single blanks.
template <class Real>
void AppendTriple(std::string& out, const std::array<Real, 3>& values) {
  AppendFloat(out, values[0]);
  out += ' ';
  AppendFloat(out, values[1]);
  out += ' ';
  AppendFloat(out, values[2]);
}

}  // namespace mk
