// File names beyond ASCII: a model named in Japanese is read, docked and saved over with its
// backup. On Windows this goes through the wide-character calls, whatever the code page.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/util/FileIo.h"
#include "core/util/Utf8Path.h"
#include "core/workflow/Workflow.h"
#include "support/Files.h"

namespace mk {
namespace {

namespace fs = std::filesystem;

std::string Utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

TEST(FileNames, AModelNamedInJapaneseDocksAndSavesWithItsBackup) {
  test::TempDir dir;
  test::ScratchDirectory scratch;
  const std::string folder = Utf8FromPath(dir.path()) + "/" + Utf8(u8"半分");
  fs::create_directory(PathFromUtf8(folder));
  const std::string model = folder + "/" + Utf8(u8"モデル.mdl");
  const FileText half = ReadWholeFile(MK_SOURCE_DIR "/examples/seam.mdl");
  WriteFileAtomically(model, std::string_view(half.data(), half.size()));
  ASSERT_TRUE(fs::is_regular_file(dir.path() / u8"半分" / u8"モデル.mdl"));

  OpenedModel opened = ReadAndDock(model, FileKindOf(model), 0.4, nullptr, nullptr,
                                   WithReference::No);
  EXPECT_TRUE(opened.docked);
  EXPECT_EQ(WriteDocument(*opened.working, model, model), model);

  EXPECT_EQ(ReadWholeFile(model + ".bak"), half);
  EXPECT_GT(ReadWholeFile(model).size(), half.size());
  EXPECT_TRUE(fs::is_regular_file(dir.path() / u8"半分" / u8"モデル.mdl.bak"));
}

TEST(FileNames, AMissingNonAsciiNameIsReportedByItsName) {
  const std::string missing = Utf8(u8"どこにもない.mdl");
  try {
    ReadWholeFile(missing);
    FAIL() << "read a missing file";
  } catch (const FileError& error) {
    EXPECT_EQ(error.file_name(), missing);
  }
}

}  // namespace
}  // namespace mk
