// Hostile but well-formed files: deep nesting, huge counts, huge lines, attachment cycles, ids at
// the 32-bit limits and reals out of range. Each must end in a typed error or a sound docking,
// and the sanitizer build runs all of them.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "hardening/HardeningSupport.h"
#include "core/util/NumberText.h"

namespace mk {
namespace {

using test::RunWholeDocument;
using test::ScratchDirectory;

std::string Nested(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "[OBJECTS]\r\n";
  text += "[MODEL]\r\nBounds=1 2 3 1 2 3 1 2 3 1 2 3 1 2 3 1 2 3 1 2 3 1 2 3\r\n[ENDMODEL]\r\n";
  for (int i = 0; i < depth; ++i) text += "[ENDOBJECTS]\r\n";
  return text;
}

std::string Mesh(const std::string& points) {
  return "[MODELFILE]\r\n[MESH]\r\nVersion=2\r\nSplines=1\r\n" + points +
         "[ENDMESH]\r\n[ENDMODELFILE]\r\n";
}

std::string Segment(const std::string& splines) {
  return "SCUL 1 0 4 0 0 0\r\n0\r\n0 0 0 1 1 1\r\n1 1 1\r\nhalf\r\n0\r\n" + splines;
}

TEST(Nesting, ThousandLevelsLoadDockSaveAndDrawThousandAndOneAreRefused) {
  ScratchDirectory scratch;
  // The outermost section is level 0, so 1001 containers put the model at level 1001, one
  // beyond the limit.
  const auto refused = RunWholeDocument(FileKind::Model, Nested(1001));
  EXPECT_TRUE(refused.failed);
  EXPECT_EQ(refused.message, "Sections are nested too deeply (line 1001)");

  const auto accepted = RunWholeDocument(FileKind::Model, Nested(1000));
  ASSERT_FALSE(accepted.failed) << accepted.message;
  // Docking travels the whole depth: the model's box comes out symmetrical, written back in place.
  EXPECT_NE(accepted.saved_after.find("Bounds=1 2 3 1 2 0 1 0 0 1 0 3 -1 2 3 -1 2 0 -1 0 0 -1 0 3 \r\n"),
            std::string::npos);
}

TEST(Nesting, ADeepUnclosedFileIsRefusedBeforeTheListRunsOut) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "[\r\n";
  const auto outcome = RunWholeDocument(FileKind::Model, text);
  EXPECT_TRUE(outcome.failed);
  EXPECT_EQ(outcome.message, "Sections are nested too deeply (line 1001)");
}

TEST(Counts, TwoBillionPointsOrSplinesEndAtTheLastLineWithoutReservingMemory) {
  const auto mdl = RunWholeDocument(
      FileKind::Model, Mesh("CPs=2000000000\r\n0 0 1\r\n1 2 3\r\n0\r\n0\r\n"));
  EXPECT_EQ(mdl.message, "List index out of bounds (7)");
  const auto seg = RunWholeDocument(FileKind::Segment, Segment("2000000000\r\n0\r\n0\r\n"));
  EXPECT_EQ(seg.message, "List index out of bounds (9)");
  const auto points = RunWholeDocument(FileKind::Segment, Segment("1\r\n2000000000\r\n"));
  EXPECT_EQ(points.message, "List index out of bounds (8)");
}

TEST(Counts, NegativeCountsGiveEmptySplines) {
  ScratchDirectory scratch;
  const auto mdl = RunWholeDocument(FileKind::Model, Mesh("CPs=-2147483648\r\n"));
  ASSERT_FALSE(mdl.failed) << mdl.message;
  EXPECT_NE(mdl.saved_before.find("CPs=0\r\n"), std::string::npos);
  const auto seg = RunWholeDocument(FileKind::Segment, Segment("-2147483648\r\n"));
  ASSERT_FALSE(seg.failed) << seg.message;
  EXPECT_EQ(seg.saved_before, "SCUL 1 0 4 0 0 0\r\n0\r\n0 0 0 1 1 1\r\n1 1 1\r\nhalf\r\n0\r\n0\r\n");
}

TEST(LongLines, ManyMegabyteLinesAreCarriedOrRefusedWithAShortMessage) {
  ScratchDirectory scratch;
  const std::string huge(8 << 20, '7');
  // A text line of an unknown key is carried through unchanged.
  const auto carried = RunWholeDocument(
      FileKind::Model, "[MODELFILE]\r\nNote=" + huge + "\r\n[ENDMODELFILE]\r\n");
  ASSERT_FALSE(carried.failed);
  EXPECT_EQ(carried.saved_after.size(), huge.size() + 36);

  // A number of eight million digits is not a 32-bit integer; the message names the word but
  // stays short enough for a message box.
  const auto refused = RunWholeDocument(FileKind::Model, Mesh("CPs=" + huge + "\r\n"));
  ASSERT_TRUE(refused.failed);
  EXPECT_LT(refused.message.size(), 200u);
  EXPECT_EQ(refused.message.rfind("'7777777777", 0), 0u) << refused.message.substr(0, 80);
  EXPECT_NE(refused.message.find("is not a valid integer value"), std::string::npos);

  // The same in a segment's point, and a real with eight million digits reads as a real.
  const auto seg = RunWholeDocument(FileKind::Segment, Segment("1\r\n1\r\n0 0 " + huge + "\r\n"));
  EXPECT_TRUE(seg.failed);
  EXPECT_LT(seg.message.size(), 200u);
  EXPECT_EQ(StrToFloat("0." + huge), 7.0 / 9.0);

  // Short words are quoted whole; a long one is cut between characters, never inside one.
  EXPECT_EQ(ConversionError(ConversionError::Kind::Integer, "12a").Message(Language::English),
            "'12a' is not a valid integer value");
  std::string kana;
  for (int i = 0; i < 30; ++i) kana += "\xE3\x81\x82";
  const std::string cut = ConversionError(ConversionError::Kind::Real, kana).Message(Language::English);
  EXPECT_EQ(cut, "'" + kana.substr(0, 63) + "...' is not a valid floating point value");
}

TEST(Attachments, CyclesAreReportedAndDockingDrawingAndSavingGoOn) {
  ScratchDirectory scratch;
  // 1 -> 2 -> 3 -> 1, and 4 sits on the cycle.
  const std::string points =
      "CPs=4\r\n0 1 1\r\n2\r\n0\r\n0\r\n0 1 2\r\n3\r\n0\r\n0\r\n0 1 3\r\n1\r\n0\r\n0\r\n"
      "0 1 4\r\n1\r\n0\r\n0\r\n";
  const auto mdl = RunWholeDocument(FileKind::Model, Mesh(points));
  ASSERT_FALSE(mdl.failed) << mdl.message;
  ASSERT_FALSE(mdl.warnings.warnings.empty());
  EXPECT_EQ(mdl.warnings.warnings[0].kind, DockWarning::Kind::AttachCycle);

  const auto self = RunWholeDocument(FileKind::Model, Mesh("CPs=1\r\n0 1 1\r\n1\r\n0\r\n0\r\n"));
  ASSERT_FALSE(self.failed) << self.message;
  ASSERT_FALSE(self.warnings.warnings.empty());
  EXPECT_EQ(self.warnings.warnings[0].kind, DockWarning::Kind::AttachCycle);

  const auto seg = RunWholeDocument(
      FileKind::Segment, Segment("1\r\n2\r\n0 1 10\r\n20\r\n0\r\n0\r\n0 1 20\r\n10\r\n0\r\n0\r\n"));
  ASSERT_FALSE(seg.failed) << seg.message;
  ASSERT_FALSE(seg.warnings.warnings.empty());
  EXPECT_EQ(seg.warnings.warnings[0].kind, DockWarning::Kind::AttachCycle);
}

TEST(Ids, ValuesAtThe32BitLimitsDockWithoutOverflow) {
  ScratchDirectory scratch;
  // A free point with the largest id, a point attached to the smallest (missing) id, and a
  // point attached to the largest: renumbering and the mirror offset must stay in range.
  const std::string points =
      "CPs=3\r\n0 0 2147483647\r\n0.1 2 3\r\n0\r\n0\r\n"
      "0 1 7\r\n-2147483648\r\n0\r\n0\r\n"
      "0 1 5\r\n2147483647\r\n0\r\n0\r\n";
  const auto mdl = RunWholeDocument(FileKind::Model, Mesh(points));
  ASSERT_FALSE(mdl.failed) << mdl.message;
  EXPECT_NE(mdl.saved_before.find("0 0 2147483647\r\n"), std::string::npos);
  EXPECT_NE(mdl.saved_before.find("0 1 7\r\n-2147483648\r\n"), std::string::npos);

  const std::string seg_points =
      "1\r\n3\r\n0 0 2147483647\r\n5 2 3\r\n0\r\n0\r\n"
      "0 1 7\r\n-2147483648\r\n0\r\n0\r\n"
      "0 1 5\r\n2147483647\r\n0\r\n0\r\n";
  const auto seg = RunWholeDocument(FileKind::Segment, Segment(seg_points));
  ASSERT_FALSE(seg.failed) << seg.message;
  EXPECT_NE(seg.saved_before.find("0 0 2147483647\r\n"), std::string::npos);

  // Flag words at both ends of their range.
  const auto flags = RunWholeDocument(
      FileKind::Model, Mesh("CPs=2\r\n2147483647 0 1\r\n1 2 3\r\n0\r\n0\r\n"
                       "4294967295 0 2\r\n1 2 3\r\n0\r\n0\r\n"));
  EXPECT_FALSE(flags.failed) << flags.message;
}

TEST(Reals, NanInfinityAndOverflowAreRefusedUnderflowReadsAsZero) {
  for (const char* word : {"nan", "NAN", "-nan", "inf", "-inf", "Infinity", "1e999", "-1e999",
                           "1e2147483648", "1.8e308", "0x10", "1e", "e5", ""}) {
    EXPECT_THROW(StrToFloat(word), ConversionError) << word;
    EXPECT_THROW(StrToExtended(word), ConversionError) << word;
  }
  // Extended reals end where doubles end: every such value is drawn and boxed through doubles.
  EXPECT_EQ(StrToExtended("1e-999"), 0.0);
  EXPECT_EQ(StrToFloat("1e-999"), 0.0);
  EXPECT_TRUE(std::signbit(StrToFloat("-1e-999")));
  EXPECT_EQ(StrToFloat("1e-99999999999999999999"), 0.0);
  EXPECT_EQ(StrToFloat("0e99999999999999"), 0.0);
  EXPECT_EQ(StrToFloat("1.7976931348623157e308"), 1.7976931348623157e308);

  ScratchDirectory scratch;
  const auto tiny = RunWholeDocument(FileKind::Model, Mesh("CPs=1\r\n0 0 1\r\n1e-999 2 3\r\n0\r\n0\r\n"));
  ASSERT_FALSE(tiny.failed) << tiny.message;
  EXPECT_NE(tiny.saved_before.find("\r\n0 2 3\r\n"), std::string::npos);

  // A real that is finite but whose mirror image and bounds stay finite too.
  const auto largest = RunWholeDocument(
      FileKind::Model, Mesh("CPs=1\r\n0 0 1\r\n-1.7976931348623157e308 2 3\r\n0\r\n0\r\n"));
  EXPECT_FALSE(largest.failed) << largest.message;
}

TEST(Integers, SignsAndRangeAreChecked) {
  for (const char* word : {"2147483648", "-2147483649", "99999999999999999999", "+", "-", "",
                           "1.0", " 1", "1 ", "0x1"}) {
    EXPECT_THROW(StrToInt(word), ConversionError) << '"' << word << '"';
  }
  EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
}

}  // namespace
}  // namespace mk
