// Number text of the model files: what is accepted, and the 15-digit general real format.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "core/util/Words.h"
#include "core/util/Errors.h"
#include "core/util/NumberText.h"

namespace mk {
namespace {

TEST(StrToInt, AcceptsSignedDecimalsInThe32BitRange) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("-17"), -17);
  EXPECT_EQ(StrToInt("+17"), 17);
  EXPECT_EQ(StrToInt("007"), 7);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(StrToInt, RejectsEverythingElseWithTheWord) {
  for (const char* text : {"", "-", "+", " 1", "1 ", "0x10", "$10", "1.0", "2147483648",
                           "-2147483649", "+-1", "--1", "1e3", "abc"}) {
    try {
      StrToInt(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.kind(), ConversionError::Kind::Integer);
      EXPECT_EQ(e.word(), text);
      EXPECT_EQ(e.Message(Language::Japanese), std::string("'") + text + "' は整数ではありません");
    }
  }
}

TEST(StrToFloat, AcceptsTheDecimalForms) {
  EXPECT_EQ(StrToFloat("1.5"), 1.5);
  EXPECT_EQ(StrToFloat(".5"), 0.5);
  EXPECT_EQ(StrToFloat("5."), 5.0);
  EXPECT_EQ(StrToFloat("-2"), -2.0);
  EXPECT_EQ(StrToFloat("+2"), 2.0);
  EXPECT_EQ(StrToFloat("1e3"), 1000.0);
  EXPECT_EQ(StrToFloat("1.5E-2"), 0.015);
  EXPECT_EQ(StrToFloat("2e+2"), 200.0);
  EXPECT_TRUE(std::signbit(StrToFloat("-0")));
}

TEST(StrToFloat, TinyMagnitudesReadAsZeroOfTheirSign) {
  EXPECT_EQ(StrToFloat("1e-400"), 0.0);
  EXPECT_TRUE(std::signbit(StrToFloat("-1e-400")));
  EXPECT_GT(StrToFloat("4e-320"), 0.0);  // subnormals are kept
  EXPECT_EQ(StrToFloat("0e999999"), 0.0);
}

TEST(StrToFloat, RejectsNonNumbersAndOverflow) {
  for (const char* text : {"", ".", "-", "1e", "1e+", "e5", "inf", "nan", "INF", "1e400",
                           "-1e400", "1,5", " 1", "1 ", "0x1p3", "1.2.3", "++1", "+-1", "-+1", "+",
                           "infinity", "-inf", "+nan", "nan(1)", "1e5x"}) {
    try {
      StrToFloat(text);
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.kind(), ConversionError::Kind::Real);
      EXPECT_EQ(e.Message(Language::Japanese),
                std::string("'") + text + "' は浮動小数点数ではありません");
    }
  }
}

TEST(StrToExtended, ReadsWithExtendedPrecision) {
  EXPECT_NE(StrToExtended("0.4"), static_cast<long double>(0.4));
  EXPECT_EQ(static_cast<double>(StrToExtended("0.4")), 0.4);
  EXPECT_THROW(StrToExtended("1e99999"), ConversionError);
}

// Plain decimals take a short path of their own as extended reals; it must round exactly as
// the C library does, at every digit count and position of the point around its limits.
TEST(StrToExtended, PlainDecimalsRoundAsTheLibraryDoes) {
  std::mt19937_64 rng(11);
  for (int round = 0; round < 200000; ++round) {
    const int digits = 1 + static_cast<int>(rng() % 21);
    std::string text = rng() % 2 ? "-" : "";
    const int point = static_cast<int>(rng() % static_cast<unsigned>(digits + 1));
    for (int k = 0; k < digits; ++k) {
      if (k == point && k > 0) text += '.';
      text += static_cast<char>('0' + rng() % 10);
    }
    ASSERT_EQ(StrToExtended(text), std::strtold(text.c_str(), nullptr)) << text;
    ASSERT_EQ(StrToFloat(text), std::strtod(text.c_str(), nullptr)) << text;
  }
}

struct FormatCase {
  double value;
  const char* text;
};

class FloatToStrTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FloatToStrTest, WritesTheGeneralFormat) {
  EXPECT_EQ(FloatToStr(GetParam().value), GetParam().text);
  EXPECT_EQ(FloatToStr(static_cast<long double>(GetParam().value)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, FloatToStrTest,
    testing::Values(FormatCase{0.0, "0"}, FormatCase{-0.0, "0"}, FormatCase{1.0, "1"},
                    FormatCase{-5.0, "-5"}, FormatCase{0.5, "0.5"}, FormatCase{-1.25, "-1.25"},
                    FormatCase{0.1, "0.1"}, FormatCase{1.0 / 3.0, "0.333333333333333"},
                    FormatCase{2.0 / 3.0, "0.666666666666667"}, FormatCase{0.0001, "0.0001"},
                    FormatCase{0.00001, "1E-5"}, FormatCase{0.000123, "0.000123"},
                    FormatCase{0.0000123, "1.23E-5"}, FormatCase{1.5e20, "1.5E20"},
                    FormatCase{1e15, "1E15"}, FormatCase{999999999999999.0, "999999999999999"},
                    FormatCase{123456789012345678.0, "1.23456789012346E17"},
                    FormatCase{-2.5e-7, "-2.5E-7"}, FormatCase{100.0, "100"},
                    FormatCase{1234.5, "1234.5"},
                    // Rounding to 15 digits carries into a new leading digit.
                    FormatCase{9.9999999999999999, "10"},
                    FormatCase{999999999999999.9, "1E15"},
                    // Rounds up to 0.0001 and so is written in fixed notation.
                    FormatCase{0.000099999999999999999, "0.0001"},
                    FormatCase{0.30000000000000004, "0.3"}, FormatCase{1e-300, "1E-300"},
                    FormatCase{1.7976931348623157e308, "1.79769313486232E308"}));

TEST(IntToStr, PlainDecimal) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

TEST(BigNumber, SmallTextsAreOrdinaryIntegers) {
  EXPECT_EQ(ParseFlagWord("123"), 123);
  EXPECT_EQ(ParseFlagWord("-12345678"), -12345678);
  EXPECT_EQ(FormatFlagWord(123), "123");
  EXPECT_EQ(FormatFlagWord(0), "0");
}

TEST(BigNumber, TenCharacterTextsCarryTheTopBit) {
  EXPECT_EQ(static_cast<std::uint32_t>(ParseFlagWord("2147483648")), 0x80000000u);
  EXPECT_EQ(static_cast<std::uint32_t>(ParseFlagWord("2147483649")), 0x80000001u);
  EXPECT_EQ(static_cast<std::uint32_t>(ParseFlagWord("2147483650")), 0x80000002u);
  // The first character is dropped unchecked.
  EXPECT_EQ(ParseFlagWord("9147483649"), ParseFlagWord("2147483649"));
  // Ten characters that are an ordinary positive value are still rebased.
  EXPECT_EQ(static_cast<std::uint32_t>(ParseFlagWord("1000000000")),
            (0u - 147483648u) | 0x80000000u);
}

TEST(BigNumber, RoundTripsUpToTheMaskBoundary) {
  for (std::uint32_t low : {0u, 1u, 2u, 4096u, 19625215u}) {
    const auto value = static_cast<std::int32_t>(0x80000000u | low);
    const std::string text = FormatFlagWord(value);
    EXPECT_EQ(text, std::to_string(0x80000000ull | low));
    EXPECT_EQ(ParseFlagWord(text), value);
  }
  // Past the boundary the 26-bit mask wraps.
  EXPECT_EQ(FormatFlagWord(static_cast<std::int32_t>(0x80000000u | 19625216u)), "210");
}

TEST(BigNumber, BadTextsRaiseTheIntegerError) {
  EXPECT_THROW(ParseFlagWord("12a"), ConversionError);
  EXPECT_THROW(ParseFlagWord("-2147483648"), ConversionError);  // 2147483648 is out of range
  EXPECT_THROW(ParseFlagWord(""), ConversionError);
  EXPECT_THROW(ParseFlagWord("2x47483648"), ConversionError);
}

// Short decimals and their neighbours a few units away: the writer's short path must round
// them to 15 digits as an exact rounding does, in both precisions.
TEST(FloatToStr, ShortDecimalsAndTheirNeighboursRoundExactly) {
  std::mt19937_64 rng(99);
  for (int i = 0; i < 200000; ++i) {
    const int fraction = static_cast<int>(rng() % 10);
    const int magnitude = static_cast<int>(rng() % 16);
    std::string text = std::to_string(rng() % 1000000000000000ull);
    text = text.substr(0, std::min<std::size_t>(text.size(), 1 + static_cast<std::size_t>(magnitude)));
    if (fraction > 0 && text.size() > static_cast<std::size_t>(fraction))
      text.insert(text.size() - static_cast<std::size_t>(fraction), 1, '.');
    const long double extended = StrToExtended(text);
    const double real = StrToFloat(text);
    const int steps = static_cast<int>(rng() % 5) - 2;
    long double e = extended;
    double d = real;
    for (int s = 0; s < std::abs(steps); ++s) {
      e = std::nextafter(e, steps < 0 ? 0.0L : 1e30L);
      d = std::nextafter(d, steps < 0 ? 0.0 : 1e300);
    }
    char exact[64], again[64];
    std::snprintf(exact, sizeof exact, "%.14Le", e);
    std::snprintf(again, sizeof again, "%.14Le", StrToExtended(FloatToStr(e)));
    ASSERT_STREQ(exact, again) << text << " " << steps;
    std::snprintf(exact, sizeof exact, "%.14e", d);
    std::snprintf(again, sizeof again, "%.14e", StrToFloat(FloatToStr(d)));
    ASSERT_STREQ(exact, again) << text << " " << steps;
  }
}

}  // namespace
}  // namespace mk

namespace mk {
namespace {

// Extended reals take a shortcut through doubles; it must give the digits of exact rounding.
TEST(FloatToStrExtended, AgreesWithExactRoundingNearRoundingMidpoints) {
  std::mt19937_64 rng(12345);
  for (int i = 0; i < 200000; ++i) {
    // Values just beside a 15-digit midpoint are where a rounding through double could go wrong.
    const long double base = 1.0L + 9.0L * std::ldexp(static_cast<long double>(rng()), -64);
    const long double midpoint = std::floor(base * 1e14L) / 1e14L + 0.5e-14L;
    for (long double value : {base, midpoint, std::nextafter(midpoint, 0.0L),
                              std::nextafter(midpoint, 1e30L), StrToExtended("0.17"),
                              -base * 1e-7L}) {
      char exact[64];
      std::snprintf(exact, sizeof exact, "%.14Le", value);
      const std::string text = FloatToStr(value);
      // Reading the shortcut's text back as an extended value must give the same 15 digits.
      char again[64];
      std::snprintf(again, sizeof again, "%.14Le", StrToExtended(text));
      ASSERT_STREQ(exact, again) << text;
    }
  }
}

}  // namespace
}  // namespace mk

namespace mk {
namespace {

// Just below a power of ten the 15th digit is ten times finer than just above it: an extended
// value there that rounds down must not come out as the power itself.
TEST(FloatToStrExtended, RoundsDownJustBelowAPowerOfTen) {
  EXPECT_EQ(FloatToStr(StrToExtended("999999999999999.48")), "999999999999999");
  EXPECT_EQ(FloatToStr(StrToExtended("-999999999999999.48")), "-999999999999999");
  EXPECT_EQ(FloatToStr(StrToExtended("0.0000999999999999999495")), "9.99999999999999E-5");
  EXPECT_EQ(FloatToStr(StrToExtended("0.0999999999999999495")), "0.0999999999999999");
  EXPECT_EQ(FloatToStr(StrToExtended("9999.9999999999949")), "9999.99999999999");
  EXPECT_EQ(FloatToStr(StrToExtended("9.9999999999999949E20")), "9.99999999999999E20");
  // Close enough above the midpoint, they still become the power.
  EXPECT_EQ(FloatToStr(StrToExtended("999999999999999.52")), "1E15");
  EXPECT_EQ(FloatToStr(StrToExtended("0.0999999999999999505")), "0.1");
  for (int e = -30; e <= 30; ++e) {
    const long double power = std::pow(10.0L, static_cast<long double>(e));
    for (long double factor : {1 - 5.02e-16L, 1 - 5.2e-16L, 1 - 5.4e-16L, 1 - 4.98e-16L}) {
      const long double value = power * factor;
      char exact[64], again[64];
      std::snprintf(exact, sizeof exact, "%.14Le", value);
      std::snprintf(again, sizeof again, "%.14Le", StrToExtended(FloatToStr(value)));
      ASSERT_STREQ(exact, again) << e << " " << FloatToStr(value);
    }
  }
}

}  // namespace
}  // namespace mk
