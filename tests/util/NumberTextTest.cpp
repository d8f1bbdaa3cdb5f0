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
  // 0.4 as 64 bits: 1.6 x 2^-2, the significand 0xCCCC...CCCD rounded up.
  EXPECT_EQ(StrToExtended("0.4"), Extended::FromBits(0x3FFD, 0xCCCCCCCCCCCCCCCDu));
  EXPECT_EQ(StrToExtended("4e-1"), StrToExtended("0.4"));
  EXPECT_EQ(StrToExtended("0.400000000000000000000000000000000000001"), StrToExtended("0.4"));
  EXPECT_NE(StrToExtended("0.4"), Extended(0.4));
  EXPECT_EQ(StrToExtended("0.4").ToDouble(), 0.4);
  EXPECT_TRUE(StrToExtended("-0").SignBit());
  EXPECT_THROW(StrToExtended("1e99999"), ConversionError);
  // Beyond the largest double the value is the double's; below the smallest it is zero.
  EXPECT_EQ(StrToExtended("1.7976931348623158e308"), Extended(1.7976931348623157e308));
  EXPECT_EQ(StrToExtended("2e-324"), Extended());
  EXPECT_TRUE(StrToExtended("-2e-324").SignBit());
}

struct FormatCase {
  double value;
  const char* text;
};

class FloatToStrTest : public testing::TestWithParam<FormatCase> {};

TEST_P(FloatToStrTest, WritesTheGeneralFormat) {
  EXPECT_EQ(FloatToStr(GetParam().value), GetParam().text);
  EXPECT_EQ(FloatToStr(Extended(GetParam().value)), GetParam().text);
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
}

}  // namespace
}  // namespace mk
