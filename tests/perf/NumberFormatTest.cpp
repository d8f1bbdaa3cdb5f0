// The writers' 15-digit real format held to the C library's "%.15G" over many kinds of doubles:
// the fast path through the shortest digits must give exactly what the full rounding gives.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/util/NumberText.h"

namespace mk {
namespace {

/// "%.15G" with the exponent written as the files have it: no plus sign, no leading zeros.
std::string Reference(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string text(buffer);
  const std::size_t e = text.find('E');
  if (e == std::string::npos) return text;
  std::string exponent = text.substr(e + 1);
  const bool negative = exponent[0] == '-';
  std::size_t digits = exponent.find_first_not_of("+-0");
  exponent = digits == std::string::npos ? "0" : exponent.substr(digits);
  return text.substr(0, e + 1) + (negative ? "-" : "") + exponent;
}

void ExpectAsReference(double value) {
  if (value == 0 || !std::isfinite(value)) return;
  EXPECT_EQ(FloatToStr(value), Reference(value)) << "bits of " << Reference(value);
}

TEST(RealFormat, ShortDecimalsAsModelsHoldThem) {
  for (int i = -20000; i <= 20000; ++i) {
    ExpectAsReference(i / 100.0);
    ExpectAsReference(i / 7.0);
    ExpectAsReference(i * 1e-7);
  }
  for (double v : {0.1 + 0.2, 1.0 / 3, 2.0 / 3, 100.0, 1e15, 1e14, 999999999999999.0,
                   9999999999999995.0, 0.0001, 0.00001, 123456789012345.0, 1234567890123456.0,
                   2.2250738585072014e-308, 1.7976931348623157e308, 0.30000000000000004})
    ExpectAsReference(v);
}

TEST(RealFormat, RandomBitPatternsAndValuesNearPowersOfTen) {
  std::mt19937_64 random(5);
  for (int i = 0; i < 200000; ++i) {
    const std::uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isnormal(value)) continue;
    ExpectAsReference(value);
  }
  for (int k = -300; k <= 300; ++k) {
    const double p = std::pow(10.0, k);
    ExpectAsReference(p);
    ExpectAsReference(std::nextafter(p, 0.0));
    ExpectAsReference(std::nextafter(p, std::numeric_limits<double>::infinity()));
    ExpectAsReference(-p * 9.999999999999995);
  }
}

TEST(RealFormat, ValuesWithSixteenOrSeventeenDigitsRoundToFifteen) {
  // Their shortest digits are too many, so the full rounding decides.
  for (double v : {0.1 + 0.7, 1.0000000000000002, 123.45678901234567, 9.999999999999998,
                   0.999999999999999944})
    ExpectAsReference(v);
  EXPECT_EQ(FloatToStr(0.1 + 0.2), "0.3");
  EXPECT_EQ(FloatToStr(1e21), "1E21");
  EXPECT_EQ(FloatToStr(-2.5e-7), "-2.5E-7");
}

}  // namespace
}  // namespace mk
