// Reading and writing back without docking gives the same bytes, for every public-domain sample
// model and for the line ends each was written with.

#include <gtest/gtest.h>

#include "core/workflow/Workflow.h"
#include "tagged/TaggedTestSupport.h"

namespace mk::test {
namespace {

std::string WithLf(const std::string& crlf) {
  std::string lf;
  for (std::size_t i = 0; i < crlf.size(); ++i)
    if (!(crlf[i] == '\r' && i + 1 < crlf.size() && crlf[i + 1] == '\n')) lf += crlf[i];
  return lf;
}

TEST(TaggedRoundTrip, EverySampleModelComesBackByteForByteWithCrLfAndWithLf) {
  MK_SKIP_WITHOUT_SAMPLE_MODELS();
  ScratchDirectory scratch;
  const auto files = SampleModelFiles();
  ASSERT_EQ(files.size(), 15u);
  for (const auto& file : files) {
    SCOPED_TRACE(file.filename().string());
    const std::string bytes = ReadFile(file);
    EXPECT_EQ(SaveTagged(*LoadTagged(bytes)), bytes);
    const std::string lf = WithLf(bytes);
    EXPECT_EQ(SaveTagged(*LoadTagged(lf)), lf);
  }
  EXPECT_FALSE(scratch.HasReport());
}

TEST(TaggedRoundTrip, TheWorkflowTellsTheDialectByTheFirstLineAndSavesIt) {
  ScratchDirectory scratch;
  const std::string bytes = ReadFile(std::string(MK_TEST_DATA) + "/tagged/Groundplane.mdl");
  WriteFile(scratch.File("part.mdl"), bytes);
  OpenedModel model = ReadModel(scratch.File("part.mdl"), FileKind::Model, nullptr, nullptr,
                                WithReference::Yes);
  ASSERT_NE(dynamic_cast<TaggedDocument*>(model.working.get()), nullptr);
  ASSERT_NE(dynamic_cast<TaggedDocument*>(model.reference.get()), nullptr);
  WriteDocument(*model.working, scratch.File("part.mdl"), scratch.File("copy.mdl"));
  EXPECT_EQ(ReadFile(scratch.File("copy.mdl")), bytes);
}

TEST(TaggedRoundTrip, OddBytesOutsideTheMeshStayAsTheyWere) {
  // Trailing blanks, a Latin-1 byte, a last line without an end, and a tag-like text that is
  // no tag.
  std::string text = TaggedFileText({"<SPLINE>", "1 0 1 1 2 3 . .", "1 0 2 4 5 6 . .", "</SPLINE>"},
                                    {"Name=Jos\xE9 ", "<BOOL> Hidden", "Value=<1>", "</BOOL>"});
  text.resize(text.size() - 2);
  EXPECT_EQ(SaveTagged(*LoadTagged(text)), text);
}

}  // namespace
}  // namespace mk::test
