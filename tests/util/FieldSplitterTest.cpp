// Field splitting and word rules: they decide which model lines are accepted.

#include <gtest/gtest.h>

#include "core/util/Words.h"
#include "core/util/FieldSplitter.h"

namespace mk {
namespace {

std::vector<std::string> SplitAll(std::string_view text, std::string_view separator, int calls) {
  FieldSplitter splitter;
  splitter.Separator = separator;
  splitter.SetText(text);
  std::vector<std::string> fields;
  for (int i = 0; i < calls; ++i) fields.emplace_back(splitter.NextField());
  return fields;
}

TEST(FieldSplitter, KeyLineGivesKeyValueThenEmptyFields) {
  FieldSplitter splitter;
  splitter.Separator = "=";
  splitter.SetText("CPs=3");
  EXPECT_EQ(splitter.NextField(), "CPs");
  EXPECT_EQ(splitter.NextField(), "3");
  EXPECT_EQ(splitter.NextField(), "");
  EXPECT_EQ(splitter.NextField(), "");
  EXPECT_EQ(splitter.FieldCount(), 2);
}

TEST(FieldSplitter, SourceIsNotTrimmedBeforeTheFirstSplit) {
  EXPECT_EQ(SplitAll(" 1 2 3 ", " ", 5),
            (std::vector<std::string>{"", "1", "2", "3", ""}));
}

TEST(FieldSplitter, RunsOfBlanksAfterTheFirstFieldSeparateLikeOne) {
  EXPECT_EQ(SplitAll("1  2   3", " ", 4), (std::vector<std::string>{"1", "2", "3", ""}));
  // Only the blank separates: a tab stays in its field.
  EXPECT_EQ(SplitAll("1\t 2", " ", 2), (std::vector<std::string>{"1\t", "2"}));
}

TEST(FieldSplitter, TextWithoutSeparatorIsOneField) {
  EXPECT_EQ(SplitAll("abc", "=", 3), (std::vector<std::string>{"abc", "", ""}));
}

TEST(FieldSplitter, BlankBeforeSeparatorStaysInTheKey) {
  EXPECT_EQ(SplitAll("Version =3", "=", 2), (std::vector<std::string>{"Version ", "3"}));
}

TEST(FieldSplitter, LongSeparatorLeavesItsTailInFrontOfTheRest) {
  FieldSplitter splitter;
  splitter.Separator = "::";
  splitter.SetText("a::b");
  EXPECT_EQ(splitter.NextField(), "a");
  EXPECT_EQ(splitter.Rest(), ":b");
  EXPECT_EQ(splitter.RestLength(), 2);
}

TEST(FieldSplitter, SeparatorCanChangeMidLine) {
  FieldSplitter splitter;
  splitter.Separator = "=";
  splitter.SetText("Bounds= 1  2 3");
  EXPECT_EQ(splitter.NextField(), "Bounds");
  splitter.Separator = " ";
  EXPECT_EQ(splitter.NextField(), "1");
  EXPECT_EQ(splitter.NextField(), "2");
  EXPECT_EQ(splitter.NextField(), "3");
  EXPECT_EQ(splitter.FieldCount(), 4);
}

TEST(SeparatorFunctions, BeforeAndAfter) {
  EXPECT_EQ(BeforeSeparator("=", "a=b=c"), "a");
  EXPECT_EQ(AfterSeparator("=", "a=b=c"), "b=c");
  EXPECT_EQ(BeforeSeparator("=", "abc"), "abc");
  EXPECT_EQ(AfterSeparator("=", "abc"), "");
  EXPECT_EQ(AfterSeparator("ab", "xaby"), "by");
}

TEST(TrimControls, RemovesCodesUpTo32ButKeepsHighBytes) {
  EXPECT_EQ(TrimControls("\t \x01 x y \r\x1f"), "x y");
  EXPECT_EQ(TrimControls("\x82\xa0"), "\x82\xa0");  // Shift-JIS bytes are text
  EXPECT_EQ(TrimControls("  "), "");
}

TEST(NthWord, CountsFromZeroAndRepeatsTheLastWord) {
  EXPECT_EQ(NthWord("a b c", 0), "a");
  EXPECT_EQ(NthWord("a b c", 1), "b");
  EXPECT_EQ(NthWord("a b c", 2), "c");
  EXPECT_EQ(NthWord("a b c", 5), "c");
  EXPECT_EQ(NthWord("a b c", -1), "a");
}

TEST(NthWord, DoubledBlankMakesAnEmptyWord) {
  EXPECT_EQ(NthWord("a  b", 0), "a");
  EXPECT_EQ(NthWord("a  b", 1), "");
  EXPECT_EQ(NthWord("a  b", 2), "b");
  EXPECT_EQ(NthWord(" a", 0), "");
  EXPECT_EQ(NthWord("abc", 3), "abc");
}

TEST(WordCount, CountsBlanksPlusOne) {
  EXPECT_EQ(WordCount(""), 1);
  EXPECT_EQ(WordCount("0"), 1);
  EXPECT_EQ(WordCount("1 2 3"), 3);
  EXPECT_EQ(WordCount("1  2"), 3);
  EXPECT_EQ(WordCount("0 "), 2);
}

}  // namespace
}  // namespace mk
