// Faults of the angle-tag dialect: each stops the reading with an error naming its line, and
// nothing is written.

#include <gtest/gtest.h>

#include "core/util/Errors.h"
#include "core/workflow/Workflow.h"
#include "tagged/TaggedTestSupport.h"

namespace mk::test {
namespace {

struct BadCase {
  const char* name;
  std::vector<std::string> mesh;
  FormatFault fault;
  std::int64_t line;  // 0-based, in the file TaggedFileText makes (the mesh starts at 6)
  const char* detail;
};

const std::vector<std::string> kSpline = {"<SPLINE>", "1 0 1 1 2 3 . .", "1 0 2 4 5 6 . .",
                                          "</SPLINE>"};

std::vector<BadCase> Cases() {
  return {
      {"a closer that does not match", {"<SPLINE>", "1 0 1 1 2 3 . .", "</SPLIN>"},
       FormatFault::CloserMismatch, 8, "</SPLIN>, open: <SPLINE> of line 7"},
      {"a point line of unknown form", {"<SPLINE>", "1 0 1 1 2 3 .", "</SPLINE>"},
       FormatFault::UnknownPointForm, 7, "1 0 1 1 2 3 ."},
      {"an attached flag other than 0 and 1", {"<SPLINE>", "1 2 1 1 2 3 . .", "</SPLINE>"},
       FormatFault::UnknownPointForm, 7, "1 2 1 1 2 3 . ."},
      {"a hook without its ratio", {"<SPLINE>", "17 1 1 5", "</SPLINE>"},
       FormatFault::UnknownPointForm, 7, "17 1 1 5"},
      {"two blanks between fields", {"<SPLINE>", "1 0 1  1 2 3 . .", "</SPLINE>"},
       FormatFault::NotANumber, 7, ""},
      {"a coordinate that is no number", {"<SPLINE>", "1 0 1 1 2 x3 . .", "</SPLINE>"},
       FormatFault::NotANumber, 7, "x3"},
      {"an id beyond 32 bits", {"<SPLINE>", "1 0 4294967296 1 2 3 . .", "</SPLINE>"},
       FormatFault::NotANumber, 7, "4294967296"},
      {"a duplicate id", {"<SPLINE>", "1 0 7 1 2 3 . .", "1 0 7 4 5 6 . .", "</SPLINE>"},
       FormatFault::DuplicateId, 8, "7"},
      {"a patch of six fields", {"<PATCHES>", "0 1 2 3 4 0", "</PATCHES>"},
       FormatFault::UnknownPatchForm, 7, "0 1 2 3 4 0"},
      {"a patch naming a normal that is not there",
       {"<PATCHES>", "0 1 2 3 4 0 0 0 9 0", "</PATCHES>", "<NORMALS>", "1 0 0", "</NORMALS>"},
       FormatFault::HugeCount, 7, "normal 9 of 1"},
      {"ids so high that the mirror's would not fit",
       {"<SPLINE>", "1 0 2147483646 1 2 3 . .", "1 0 1 4 5 6 . .", "</SPLINE>"},
       FormatFault::HugeCount, 4, "2 control points above the id 2147483646"},
  };
}

TEST(TaggedBadInput, EachFaultNamesItsLineAndWhatIsWrong) {
  for (const BadCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    try {
      LoadTagged(TaggedFileText(c.mesh));
      ADD_FAILURE() << "no error";
    } catch (const FormatError& e) {
      EXPECT_EQ(e.kind(), c.fault);
      EXPECT_EQ(e.line_index(), c.line);
      if (*c.detail) {
        EXPECT_EQ(e.detail(), c.detail);
      }
      EXPECT_FALSE(e.Message(Language::Japanese).empty());
    }
  }
}

TEST(TaggedBadInput, ATagNeverClosedIsNamedWithTheLineThatOpenedIt) {
  std::string text = TaggedFileText(kSpline);
  text = text.substr(0, text.find("</MODELFILE>"));
  try {
    LoadTagged(text);
    FAIL() << "no error";
  } catch (const FormatError& e) {
    EXPECT_EQ(e.kind(), FormatFault::TagNeverClosed);
    EXPECT_EQ(e.line_index(), 0);
    EXPECT_EQ(std::string(e.what()), "The tag '<MODELFILE>' is never closed");
  }
}

TEST(TaggedBadInput, NothingIsWrittenForAFaultyFile) {
  ScratchDirectory scratch;
  WriteFile(scratch.File("bad.mdl"), TaggedFileText({"<SPLINE>", "1 0 1 1 2 3 . .", "</SPLIN>"}));
  EXPECT_THROW(ReadAndDock(scratch.File("bad.mdl"), FileKind::Model, 0.4, nullptr, nullptr,
                           WithReference::No),
               FormatError);
  EXPECT_FALSE(std::filesystem::exists(scratch.File("out.mdl")));
  EXPECT_FALSE(scratch.HasReport());
}

TEST(TaggedBadInput, MissingTargetsAreListedAsForTheBracketDialectAndCyclesWarned) {
  ScratchDirectory scratch;
  WarningList warnings;
  auto document = LoadTagged(TaggedFileText({"<SPLINE>", "1 0 1 1 2 3 . .", "1 1 2 99 . .",
                                             "1 1 3 4 . .", "1 1 4 3 . .", "</SPLINE>"}),
                             &warnings);
  EXPECT_EQ(scratch.Report(),
            "\xE3\x82\xA2\xE3\x82\xBF\xE3\x83\x83\xE3\x83\x81\xE5\x85\x88\xE3\x81\x8C\xE7\x84\xA1"
            "\xE3\x81\x84\r\nnum_of_cp=4\r\ncpid=2 at_cpid=99\r\n");
  ASSERT_EQ(warnings.warnings.size(), 1u);
  EXPECT_EQ(warnings.warnings[0].kind, DockWarning::Kind::AttachCycle);
  EXPECT_EQ(warnings.warnings[0].ids, (std::vector<std::int32_t>{3, 4}));
  // Docking goes on: the points in the cycle have no place, and the report names them.
  DockReport report;
  document->Dock(0.4, &report);
  std::size_t cycles = 0;
  for (const AttachmentIssue& issue : report.attachments)
    cycles += issue.problem == AttachmentProblem::Cycle;
  EXPECT_EQ(cycles, 2u);  // their images sit on them, outside the cycle
}

}  // namespace
}  // namespace mk::test
