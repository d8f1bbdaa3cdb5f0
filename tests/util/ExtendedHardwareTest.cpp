// The portable extended reals against the x87 long double and the C library's exact conversions,
// over many random values: where long double is the 80-bit type, both must give every bit alike.
// Elsewhere there is nothing to compare with, and the tests skip.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "core/util/DecimalConversion.h"
#include "core/util/Errors.h"
#include "core/util/Extended.h"
#include "core/util/NumberText.h"

namespace mk {
namespace {

constexpr bool kHostIsX87 = std::numeric_limits<long double>::digits == 64 &&
                            std::numeric_limits<long double>::max_exponent == 16384;

// The Windows C libraries are not the reference: only glibc's and the like are known exact.
#if defined(_WIN32)
constexpr bool kExactCLibrary = false;
#else
constexpr bool kExactCLibrary = true;
#endif

#define SKIP_WITHOUT_X87()            \
  if (!kHostIsX87 || !kExactCLibrary) \
  GTEST_SKIP() << "needs the x87 long double and an exactly rounding C library to compare with"

bool SameBits(const Extended& e, long double v) {
  const Extended w = Extended::FromLongDouble(v);
  return e.SignExponent() == w.SignExponent() && e.Significand() == w.Significand();
}

/// Random decimal texts of every form the readers meet: short plain decimals, long digit strings,
/// exponents across the whole double range, and digit strings at the midpoint of two extended
/// reals.
std::string RandomDecimal(std::mt19937_64& rng) {
  std::string text = rng() % 2 ? "-" : (rng() % 8 == 0 ? "+" : "");
  const int kind = static_cast<int>(rng() % 4);
  const int digits = kind == 0 ? 1 + static_cast<int>(rng() % 19)
                               : 1 + static_cast<int>(rng() % (kind == 3 ? 60 : 30));
  const int point = static_cast<int>(rng() % static_cast<unsigned>(digits + 1));
  for (int k = 0; k < digits; ++k) {
    if (k == point && k > 0) text += '.';
    text += static_cast<char>('0' + rng() % 10);
  }
  if (kind >= 2) {
    text += rng() % 2 ? 'e' : 'E';
    text += std::to_string(static_cast<int>(rng() % 660) - 340);
  }
  return text;
}

TEST(ExtendedAgainstX87, ReadsEveryTextAsTheCLibraryDoes) {
  SKIP_WITHOUT_X87();
  std::mt19937_64 rng(2112);
  int compared = 0;
  for (int round = 0; round < 100000; ++round) {
    const std::string text = RandomDecimal(rng);
    const double d = std::strtod(text.c_str(), nullptr);
    if (std::isinf(d)) {
      ASSERT_THROW(StrToFloat(text), ConversionError) << text;
      ASSERT_THROW(StrToExtended(text), ConversionError) << text;
      continue;
    }
    ASSERT_EQ(StrToFloat(text), d) << text;
    const long double ld = std::strtold(text.c_str(), nullptr);
    const long double expected = d == 0 || std::fabs(ld) > DBL_MAX ? d : ld;
    ASSERT_TRUE(SameBits(StrToExtended(text), expected)) << text;
    ++compared;
  }
  EXPECT_GT(compared, 80000);
}

TEST(ExtendedAgainstX87, ReadsTheHalfwayTextsBetweenNeighbours) {
  SKIP_WITHOUT_X87();
  std::mt19937_64 rng(77);
  for (int round = 0; round < 20000; ++round) {
    // Exactly between two extended reals, and a digit's weight to either side of that.
    const long double a = std::ldexp(static_cast<long double>(rng() | (1ull << 63)),
                                     static_cast<int>(rng() % 2000) - 1000 - 63);
    const long double b = std::nextafter(a, 1e4000L);
    char text[200];
    // The midpoint has at most a few hundred significant digits at these exponents; 120 of
    // them put the text within 10^-119 of it, far closer than any rounding boundary but one.
    std::snprintf(text, sizeof text, "%.119Le", a + (b - a) / 2);
    const double d = std::strtod(text, nullptr);
    const long double ld = std::strtold(text, nullptr);
    const long double expected = d == 0 || std::fabs(ld) > DBL_MAX ? d : ld;
    ASSERT_TRUE(SameBits(StrToExtended(text), expected)) << text;
  }
}

/// The digits and exponent of "%.*Le": the reference for the writer's rounding.
int LibraryDigits(long double value, int count, char* digits) {
  char text[80];
  std::snprintf(text, sizeof text, "%.*Le", count - 1, value);
  const char* p = text;
  for (int i = 0; i < count; ++i, ++p) {
    if (*p == '.') ++p;
    digits[i] = *p;
  }
  return std::atoi(std::strchr(text, 'e') + 1);
}

TEST(ExtendedAgainstX87, RoundsToDigitsAsTheCLibraryDoes) {
  SKIP_WITHOUT_X87();
  std::mt19937_64 rng(4242);
  for (int round = 0; round < 60000; ++round) {
    const std::uint64_t significand = rng() | (1ull << 63);
    const int exponent = static_cast<int>(rng() % 2200) - 1100 - 63;
    const long double value = std::ldexp(static_cast<long double>(significand), exponent);
    for (int count : {15, 6, 17}) {
      char mine[20], theirs[20];
      const int e = RoundToDigits(significand, exponent, count, mine);
      const int f = LibraryDigits(value, count, theirs);
      ASSERT_EQ(std::string(mine, static_cast<std::size_t>(count)),
                std::string(theirs, static_cast<std::size_t>(count)))
          << count << " " << significand << " " << exponent;
      ASSERT_EQ(e, f);
    }
  }
}

// Ties (values exactly halfway between two 15-digit decimals) go to the even digit.
TEST(ExtendedAgainstX87, RoundsExactTiesToEven) {
  SKIP_WITHOUT_X87();
  for (std::uint64_t n : {1000000000000005ull, 1000000000000015ull, 2500000000000025ull,
                          9999999999999995ull, 12345678901234565ull}) {
    char mine[15], theirs[15];
    EXPECT_EQ(RoundToDigits(n, 0, 15, mine),
              LibraryDigits(static_cast<long double>(n), 15, theirs));
    EXPECT_EQ(std::string(mine, 15), std::string(theirs, 15)) << n;
  }
  EXPECT_EQ(FloatToStr(1000000000000005.0), "1E15");
  EXPECT_EQ(FloatToStr(1000000000000015.0), "1.00000000000002E15");
}

// Short decimals and their neighbours a few units away, written and read back: the 15 digits
// must be those of exact rounding, in both precisions.
TEST(ExtendedAgainstX87, ShortDecimalsAndTheirNeighboursRoundExactly) {
  SKIP_WITHOUT_X87();
  std::mt19937_64 rng(99);
  for (int i = 0; i < 200000; ++i) {
    const int fraction = static_cast<int>(rng() % 10);
    const int magnitude = static_cast<int>(rng() % 16);
    std::string text = std::to_string(rng() % 1000000000000000ull);
    text =
        text.substr(0, std::min<std::size_t>(text.size(), 1 + static_cast<std::size_t>(magnitude)));
    if (fraction > 0 && text.size() > static_cast<std::size_t>(fraction))
      text.insert(text.size() - static_cast<std::size_t>(fraction), 1, '.');
    long double e = StrToExtended(text).ToLongDouble();
    double d = StrToFloat(text);
    const int steps = static_cast<int>(rng() % 5) - 2;
    for (int s = 0; s < std::abs(steps); ++s) {
      e = std::nextafter(e, steps < 0 ? 0.0L : 1e30L);
      d = std::nextafter(d, steps < 0 ? 0.0 : 1e300);
    }
    char exact[64], again[64];
    std::snprintf(exact, sizeof exact, "%.14Le", e);
    std::snprintf(again, sizeof again, "%.14Le",
                  StrToExtended(FloatToStr(Extended::FromLongDouble(e))).ToLongDouble());
    ASSERT_STREQ(exact, again) << text << " " << steps;
    std::snprintf(exact, sizeof exact, "%.14e", d);
    std::snprintf(again, sizeof again, "%.14e", StrToFloat(FloatToStr(d)));
    ASSERT_STREQ(exact, again) << text << " " << steps;
  }
}

// Just below a power of ten the 15th digit is ten times finer than just above it.
TEST(ExtendedAgainstX87, WritesValuesJustBelowPowersOfTen) {
  SKIP_WITHOUT_X87();
  for (int e = -30; e <= 30; ++e) {
    const long double power = std::pow(10.0L, static_cast<long double>(e));
    for (long double factor : {1 - 5.02e-16L, 1 - 5.2e-16L, 1 - 5.4e-16L, 1 - 4.98e-16L}) {
      const Extended value = Extended::FromLongDouble(power * factor);
      char exact[64], again[64];
      std::snprintf(exact, sizeof exact, "%.14Le", value.ToLongDouble());
      std::snprintf(again, sizeof again, "%.14Le", StrToExtended(FloatToStr(value)).ToLongDouble());
      ASSERT_STREQ(exact, again) << e << " " << FloatToStr(value);
    }
  }
}

/// A random double, often with few significant bits, anywhere in the range.
double RandomDouble(std::mt19937_64& rng) {
  const int bits = 1 + static_cast<int>(rng() % 53);
  const double m = static_cast<double>(rng() >> (64 - bits));
  const double v = std::ldexp(m, static_cast<int>(rng() % 120) - 60 - bits);
  return rng() % 2 ? -v : v;
}

TEST(ExtendedAgainstX87, ArithmeticRoundsAsTheFpuDoes) {
  SKIP_WITHOUT_X87();
  std::mt19937_64 rng(31);
  for (int i = 0; i < 500000; ++i) {
    double a = RandomDouble(rng), b = RandomDouble(rng);
    if (i % 7 == 0) b = a;
    if (i % 11 == 0) b = -a;
    if (i % 13 == 0) a = 0;
    const double ratio = static_cast<double>(rng() % 101) / 100;
    const long double la = a, lb = b, lr = ratio;
    const Extended ea(a), eb(b), er(ratio);
    ASSERT_TRUE(SameBits(Add(ea, eb), la + lb)) << a << " " << b;
    ASSERT_TRUE(SameBits(Subtract(ea, eb), la - lb)) << a << " " << b;
    ASSERT_TRUE(SameBits(Multiply(ea, eb), la * lb)) << a << " " << b;
    // The hook's position: what docking computes in extended precision.
    const Extended hook = Add(ea, Multiply(er, Subtract(eb, ea)));
    const long double expected = la + lr * (lb - la);
    ASSERT_TRUE(SameBits(hook, expected)) << a << " " << b << " " << ratio;
    ASSERT_EQ(detail::PortableToDouble(hook), static_cast<double>(expected));
  }
}

TEST(ExtendedAgainstX87, ConvertsToDoubleAsTheFpuDoes) {
  SKIP_WITHOUT_X87();
  std::mt19937_64 rng(8);
  for (int i = 0; i < 500000; ++i) {
    // Around the whole double range, the gradual underflow included.
    const long double v = std::ldexp(static_cast<long double>(rng() | (1ull << 63)),
                                     static_cast<int>(rng() % 2300) - 1160 - 63);
    const Extended e = Extended::FromLongDouble(rng() % 2 ? -v : v);
    ASSERT_EQ(detail::PortableToDouble(e), static_cast<double>(e.ToLongDouble())) << FloatToStr(e);
    ASSERT_TRUE(SameBits(Extended(e.ToDouble()), static_cast<long double>(e.ToDouble())));
  }
}

}  // namespace
}  // namespace mk
