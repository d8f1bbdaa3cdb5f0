// Numbers docking creates are written as the modelling product writes them; mirrored ones are
// the same text with the sign changed.

#include <gtest/gtest.h>

#include "core/tagged/TaggedText.h"

namespace mk::tagged {
namespace {

std::string Product(double value) {
  std::string out;
  AppendProductReal(out, value);
  return out;
}

std::string Negated(std::string_view text) {
  std::string out;
  AppendNegated(out, text);
  return out;
}

TEST(TaggedNumberText, RealsHaveSixDigitsThreeDigitExponentsAndNoPointWhenIntegral) {
  EXPECT_EQ(Product(0.75), "0.75");
  EXPECT_EQ(Product(1 - 0.3), "0.7");
  EXPECT_EQ(Product(2500), "2500");
  EXPECT_EQ(Product(-50), "-50");
  EXPECT_EQ(Product(0), "0");
  EXPECT_EQ(Product(-0.0), "0");
  EXPECT_EQ(Product(1.5e-5), "1.5e-005");
  EXPECT_EQ(Product(-1.0798412e-9), "-1.07984e-009");
  EXPECT_EQ(Product(3.72199e-41), "3.72199e-041");
  EXPECT_EQ(Product(3.40282e38), "3.40282e+038");
  EXPECT_EQ(Product(123456789), "1.23457e+008");
  EXPECT_EQ(Product(0.123456789), "0.123457");
}

TEST(TaggedNumberText, AMirroredNumberIsTheSameTextWithTheOtherSign) {
  EXPECT_EQ(Negated("-30.7126"), "30.7126");
  EXPECT_EQ(Negated("1.19249e-006"), "-1.19249e-006");
  EXPECT_EQ(Negated("0"), "0");
  EXPECT_EQ(Negated("-0"), "0");
  EXPECT_EQ(Negated("0.000"), "0");
  EXPECT_EQ(Negated("0e-005"), "0");
  EXPECT_EQ(Negated("1e-005"), "-1e-005");
}

TEST(TaggedNumberText, WordsAreCutAtSingleBlanks) {
  const Words w = SplitWords("1 0 12 . .");
  ASSERT_EQ(w.count, 5u);
  EXPECT_EQ(w.word[2], "12");
  EXPECT_EQ(w.From("1 0 12 . .", 3), ". .");
  EXPECT_EQ(SplitWords("a  b").count, 3u);
  EXPECT_TRUE(SplitWords(std::string(40, ' ')).more);
}

TEST(TaggedNumberText, ParsingRefusesWhatIsNoNumber) {
  double real = 0;
  std::int32_t id = 0;
  std::uint32_t flags = 0;
  EXPECT_TRUE(ParseReal("-1.5e-005", real));
  EXPECT_DOUBLE_EQ(real, -1.5e-5);
  for (const char* bad : {".", "1:40:0", "nan", "inf", "", "1e", "x"}) EXPECT_FALSE(ParseReal(bad, real)) << bad;
  EXPECT_TRUE(ParseSigned("-7", id));
  EXPECT_FALSE(ParseSigned("+7", id));
  EXPECT_FALSE(ParseSigned("2147483648", id));
  EXPECT_TRUE(ParseUnsigned("4294967295", flags));
  EXPECT_FALSE(ParseUnsigned("-1", flags));
  EXPECT_FALSE(ParseUnsigned("1.0", flags));
}

}  // namespace
}  // namespace mk::tagged
