// Section framing of ".mdl" files: how a file is cut into nested sections and written back.

#include <gtest/gtest.h>

#include <typeinfo>
#include <utility>

#include "core/mdl/FlattenedSection.h"
#include "core/mdl/MeshSection.h"
#include "core/mdl/ModelSection.h"
#include "core/mdl/UnknownSection.h"
#include "core/mdl/Section.h"
#include "core/util/Errors.h"
#include "support/Files.h"

namespace mk {
namespace {

using Lines = std::vector<std::string>;

LineList Join(const Lines& lines) { return LineList::FromText(test::Crlf(lines)); }

Lines Save(const Section& section) {
  LineWriter out;
  section.SaveToLines(out);
  return out.Lines();
}

Lines RoundTrip(const Lines& input, bool dock = false) {
  Section root(nullptr);
  root.LoadFromLines(Join(input), 0);
  if (dock) root.Dock(0.4);
  return Save(root);
}

TEST(SectionFraming, LinesAreTrimmedAndEndLinesWrittenInCapitals) {
  EXPECT_EQ(RoundTrip({"  [ModelFile] \t", "   key=value  ", "", "\t[Things]", "x", "[endthings]",
                       "[EndModelFile]"}),
            (Lines{"[ModelFile]", "key=value", "", "[Things]", "x", "[ENDThings]",
                   "[ENDModelFile]"}));
}

TEST(SectionFraming, LinesAfterTheOutermostEndLineAreDropped) {
  EXPECT_EQ(RoundTrip({"[MODELFILE]", "a", "[ENDMODELFILE]", "trailing", "[MORE]"}),
            (Lines{"[MODELFILE]", "a", "[ENDMODELFILE]"}));
}

TEST(SectionFraming, ReadingReturnsTheIndexAfterTheEndLine) {
  Section root(nullptr);
  EXPECT_EQ(root.LoadFromLines(Join({"[A]", "[B]", "[ENDB]", "[ENDA]", "x"}), 0), 4u);
  EXPECT_EQ(root.SectionName, "A");
  ASSERT_EQ(root.Entries.size(), 1u);
  EXPECT_NE(dynamic_cast<UnknownSection*>(root.Entries[0].child.get()), nullptr);
}

TEST(SectionFraming, CaseFoldingCoversOnlyAsciiLetters) {
  // "[ENDé]" in another case of é is not the end line, so reading runs off the end.
  Section root(nullptr);
  EXPECT_THROW(root.LoadFromLines(Join({"[\xc3\xa9]", "[END\xc3\x89]"}), 0), ListIndexError);
}

// Every byte against every byte: only the 26 letter pairs are folded, so neighbours of the
// letter ranges ('@', '[', '`', '{') and the bytes above 127 match only themselves.
TEST(SectionCaseFolding, EveryLetterAndNoOtherByteIsFolded) {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      const bool letters = (a >= 'A' && a <= 'Z' && b == a + 32) || (b >= 'A' && b <= 'Z' && a == b + 32);
      const std::string left(1, static_cast<char>(a));
      const std::string right(1, static_cast<char>(b));
      ASSERT_EQ(SameTextIgnoringCase(left, right), a == b || letters) << a << " " << b;
    }
  }
  EXPECT_FALSE(SameTextIgnoringCase("[MESH]", "[MESH] "));
}

// The same folding where the reader uses it: the end line of a section named with every letter,
// in the other case, closes it; the header table and the mesh keys are found in any case.
TEST(SectionCaseFolding, EndLinesHeadersAndKeysIgnoreTheCaseOfEveryLetter) {
  const std::string lower = "abcdefghijklmnopqrstuvwxyz";
  const std::string upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (const auto& [name, end] : {std::pair{lower, upper}, std::pair{upper, lower}}) {
    SCOPED_TRACE(name);
    Section root(nullptr);
    EXPECT_EQ(root.LoadFromLines(Join({"[" + name + "]", "x", "[END" + end + "]", "after"}), 0), 3u);
    EXPECT_EQ(root.SectionName, name);
    ASSERT_EQ(root.Entries.size(), 1u);
  }
  // A letter's neighbour is no letter: "[ENDA@]" does not close "[A`]".
  Section neighbours(nullptr);
  EXPECT_THROW(neighbours.LoadFromLines(Join({"[A`]", "[ENDA@]"}), 0), ListIndexError);

  for (const char* header : {"[modelfile]", "[objects]", "[Model]", "[mesh]", "[Materials]",
                             "[patchs]", "[actions]", "[choreographies]"}) {
    SCOPED_TRACE(header);
    std::string upper_header = header;
    for (char& c : upper_header) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    const auto folded = CreateSection(header, nullptr, nullptr);
    const auto as_listed = CreateSection(upper_header, nullptr, nullptr);
    EXPECT_EQ(typeid(*folded), typeid(*as_listed));
  }
  EXPECT_NE(dynamic_cast<MeshSection*>(CreateSection("[mEsH]", nullptr, nullptr).get()), nullptr);
  EXPECT_NE(dynamic_cast<ModelSection*>(CreateSection("[model]", nullptr, nullptr).get()), nullptr);

  MeshSection mesh(nullptr);
  mesh.LoadFromLines(Join({"[MESH]", "vERSION=7", "cps=1", "0 0 1", "1 2 3", "0", "0", "[ENDMESH]"}), 0);
  EXPECT_EQ(mesh.Version, "7");
  EXPECT_EQ(mesh.SplineCount(), 1);
}

TEST(SectionFraming, HeaderTableChoosesTheSectionClass) {
  Section root(nullptr);
  root.LoadFromLines(Join({"[X]", "[materials]", "[ENDMATERIALS]", "[Objects]", "[ENDObjects]",
                           "[odd]", "[ENDodd]", "[ENDX]"}),
                     0);
  ASSERT_EQ(root.Entries.size(), 3u);
  EXPECT_NE(dynamic_cast<FlattenedSection*>(root.Entries[0].child.get()), nullptr);
  const Section* objects = root.Entries[1].child.get();
  EXPECT_EQ(dynamic_cast<const UnknownSection*>(objects), nullptr);
  EXPECT_EQ(dynamic_cast<const FlattenedSection*>(objects), nullptr);
  EXPECT_NE(dynamic_cast<UnknownSection*>(root.Entries[2].child.get()), nullptr);
}

TEST(SectionFraming, ShortHeaderGivesEmptyName) {
  EXPECT_EQ(RoundTrip({"[", "a", "[END]"}), (Lines{"[]", "a", "[END]"}));
}

TEST(SectionFraming, StrayEndLineOpensAnUnknownSection) {
  Section root(nullptr);
  EXPECT_THROW(root.LoadFromLines(Join({"[A]", "[ENDB]", "[ENDA]"}), 0), ListIndexError);
}

TEST(SectionFraming, MissingEndLineAndEmptyFileRaiseTheListIndexError) {
  Section root(nullptr);
  try {
    root.LoadFromLines(Join({"[A]", "a", "b"}), 0);
    FAIL();
  } catch (const ListIndexError& e) {
    EXPECT_EQ(e.index(), 3);
  }
  Section empty(nullptr);
  EXPECT_THROW(empty.LoadFromLines(LineList::FromText(""), 0), ListIndexError);
}

TEST(SectionFraming, DeepNestingIsRefusedNotOverflowingTheStack) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "[S]\n";
  Section root(nullptr);
  EXPECT_THROW(root.LoadFromLines(LineList::FromText(text), 0), FormatError);
}

TEST(SectionFraming, NestingUpToTheLimitIsRead) {
  Lines lines;
  for (int i = 0; i < 500; ++i) lines.push_back("[S]");
  for (int i = 0; i < 500; ++i) lines.push_back("[ENDS]");
  EXPECT_EQ(RoundTrip(lines), lines);
}

TEST(SectionDocking, UnknownSectionsVanishOnlyAfterDocking) {
  const Lines input{"[MODELFILE]", "[ODD]", "x", "[ENDODD]", "y", "[ENDMODELFILE]"};
  EXPECT_EQ(RoundTrip(input), input);
  EXPECT_EQ(RoundTrip(input, true), (Lines{"[MODELFILE]", "y", "[ENDMODELFILE]"}));
}

TEST(SectionDocking, NodataSectionsKeepTextLinesAndLoseNestedSections) {
  const Lines input{"[MODELFILE]", "[MATERIALS]", "a", "[MAT]", "m", "[ENDMAT]", "",
                    "b",           "[PATCHS]",   "[P]", "[ENDP]", "[ENDPATCHS]", "[ENDMATERIALS]",
                    "[ENDMODELFILE]"};
  EXPECT_EQ(RoundTrip(input), input);
  EXPECT_EQ(RoundTrip(input, true),
            (Lines{"[MODELFILE]", "[MATERIALS]", "a", "", "b", "[ENDMATERIALS]",
                   "[ENDMODELFILE]"}));
}

TEST(SectionBounds, StartAtZeroAndAnswer100OutsideTheRange) {
  Section root(nullptr);
  root.LoadFromLines(Join({"[A]", "[ENDA]"}), 0);
  root.Dock(0.4);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(root.GetBound(i), 0.0L);
  EXPECT_EQ(root.GetBound(6), 100.0L);
  EXPECT_EQ(root.GetBound(-1), 100.0L);
}

}  // namespace
}  // namespace mk
