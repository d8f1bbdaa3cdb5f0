// Line lists: how bytes become lines and lines become bytes.

#include <gtest/gtest.h>

#include "core/util/Errors.h"
#include "core/util/LineList.h"

namespace mk {
namespace {

std::vector<std::string> Split(std::string text) {
  const LineList list = LineList::FromText(std::move(text));
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < list.Count(); ++i) lines.emplace_back(list.Get(i));
  return lines;
}

using Lines = std::vector<std::string>;

TEST(LineList, SplitsAtCrLfLoneCrAndLoneLf) {
  EXPECT_EQ(Split("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(Split("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(Split("a\r\r\nb"), (Lines{"a", "", "b"}));
}

TEST(LineList, FinalLineBreakAddsNoLine) {
  EXPECT_EQ(Split(""), Lines{});
  EXPECT_EQ(Split("a\r\n"), Lines{"a"});
  EXPECT_EQ(Split("\r\n"), Lines{""});
  EXPECT_EQ(Split("a\r\n\r\n"), (Lines{"a", ""}));
}

TEST(LineList, EachLineLosesExactlyItsOwnLineEnd) {
  EXPECT_EQ(Split("a\r"), Lines{"a"});
  EXPECT_EQ(Split("\r\r"), (Lines{"", ""}));
  EXPECT_EQ(Split("a\n\n"), (Lines{"a", ""}));
  EXPECT_EQ(Split("\n\r\n\r"), (Lines{"", "", ""}));
  EXPECT_EQ(Split(std::string("a\r\0\nb", 5)), Lines{"a"});
}

TEST(LineList, NulEndsTheText) {
  EXPECT_EQ(Split(std::string("a\nb\0c\nd", 7)), (Lines{"a", "b"}));
}

TEST(LineList, BytesAreCarriedUnchanged) {
  const std::string sjis = "\x83\x82\x83\x66\x83\x8b \xff\xfe\x01";
  EXPECT_EQ(Split(sjis + "\n"), Lines{sjis});
}

TEST(LineList, IndexPastTheEndRaisesWithTheIndex) {
  const LineList list = LineList::FromText("a\nb");
  try {
    list.Get(2);
    FAIL();
  } catch (const ListIndexError& e) {
    EXPECT_EQ(e.index(), 2);
    EXPECT_EQ(e.Message(Language::Japanese), "ﾘｽﾄのｲﾝﾃﾞｯｸｽが範囲を超えています (2)");
  }
}

TEST(LineList, SurvivesMoves) {
  LineList list = LineList::FromText("short\nlines");
  LineList moved = std::move(list);
  EXPECT_EQ(moved.Get(1), "lines");
}

TEST(LineWriter, EveryLineEndsInCrLf) {
  LineWriter out;
  out.Add("a");
  out.Add("");
  out.Text() += "b";
  out.EndLine();
  EXPECT_EQ(out.Bytes(), "a\r\n\r\nb\r\n");
  EXPECT_EQ(out.Count(), 3u);
  EXPECT_EQ(out.Lines(), (Lines{"a", "", "b"}));
}

}  // namespace
}  // namespace mk
