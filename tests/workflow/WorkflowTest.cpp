// The shared document workflow: file kinds, statistics lines and saving with a backup. What a
// full or failing disk does to a save is in hardening/FaultTest.cpp, for both formats.

#include <gtest/gtest.h>

#include <filesystem>

#include "core/util/Errors.h"
#include "core/util/FileIo.h"
#include "core/util/LineList.h"
#include "core/workflow/Workflow.h"
#include "support/Files.h"

namespace mk {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(FileKindOf, ChoosesByExtensionIgnoringAsciiCase) {
  EXPECT_EQ(FileKindOf("PART.MDL"), FileKind::Model);
  EXPECT_EQ(FileKindOf("part.Mdl"), FileKind::Model);
  EXPECT_EQ(FileKindOf("/x/y/part.mdl"), FileKind::Model);
  EXPECT_EQ(FileKindOf("old.SEG"), FileKind::Segment);
  EXPECT_EQ(FileKindOf("part.mdl.txt"), FileKind::Other);
  EXPECT_EQ(FileKindOf("part.md"), FileKind::Other);
  EXPECT_EQ(FileKindOf("part"), FileKind::Other);
  EXPECT_EQ(FileKindOf("dir.mdl/part"), FileKind::Other);  // the folder's dot is not the name's
  EXPECT_EQ(FileKindOf(".mdl"), FileKind::Model);
}

TEST(ExtensionOf, TakesTheLastDotOfTheLastComponent) {
  EXPECT_EQ(ExtensionOf("a.b.mdl"), ".mdl");
  EXPECT_EQ(ExtensionOf("a.d/b"), "");
  EXPECT_EQ(ExtensionOf("b."), ".");
}

TEST(StatisticsLines, ConcatenateCountsAndDifferences) {
  const auto lines = StatisticsLines({10, 18, 5, 4});
  EXPECT_EQ(lines[0], "Number of cp=10+8->18");
  EXPECT_EQ(lines[1], "Number of spline=5+-1->4");
  const auto extreme = StatisticsLines({-2147483647 - 1, 2147483647, 0, 0});
  EXPECT_EQ(extreme[0], "Number of cp=-2147483648+4294967295->2147483647");
}

class SaveTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteFile(model_, original_);
    document_ = CreateDocument(FileKind::Model, nullptr, nullptr);
    document_->LoadFromLines(LineList::FromFile(model_), 0);
  }

  TempDir dir_;
  std::string model_ = dir_.File("x.mdl");
  std::string original_ = "  [MODELFILE]\n  note\n[ENDMODELFILE]\ngarbage\n";
  std::string saved_ = "[MODELFILE]\r\nnote\r\n[ENDMODELFILE]\r\n";
  std::unique_ptr<Document> document_;
};

TEST_F(SaveTest, SaveOverTheOpenedFileMakesABackupFirst) {
  WriteFile(model_ + ".bak", "older backup");
  EXPECT_EQ(WriteDocument(*document_, model_, model_), model_);
  EXPECT_EQ(ReadFile(model_ + ".bak"), original_);
  EXPECT_EQ(ReadFile(model_), saved_);
}

TEST_F(SaveTest, KeepingTheBackupLeavesAnExistingOneAndTakesOneWhenMissing) {
  // A second save of the same document: the file on the disk is the first save's output, and the
  // half model sits only in the backup.
  WriteFile(model_ + ".bak", "the half model");
  WriteDocument(*document_, model_, model_, Backup::KeepExisting);
  EXPECT_EQ(ReadFile(model_ + ".bak"), "the half model");
  EXPECT_EQ(ReadFile(model_), saved_);

  std::filesystem::remove(model_ + ".bak");
  WriteFile(model_, original_);
  WriteDocument(*document_, model_, model_, Backup::KeepExisting);
  EXPECT_EQ(ReadFile(model_ + ".bak"), original_);
}

TEST_F(SaveTest, SaveAsAnotherNameMakesNoBackupAndAddsTheExtension) {
  EXPECT_EQ(WriteDocument(*document_, model_, dir_.File("y")), dir_.File("y.mdl"));
  EXPECT_EQ(ReadFile(dir_.File("y.mdl")), saved_);
  EXPECT_FALSE(std::filesystem::exists(model_ + ".bak"));
}

TEST_F(SaveTest, SameNameInAnotherCaseCountsAsTheOpenedFile) {
  const std::string upper = dir_.File("X.MDL");
  WriteDocument(*document_, model_, upper);
  // The backup is made of the opened file; the save goes to the name as typed.
  EXPECT_EQ(ReadFile(model_ + ".bak"), original_);
  EXPECT_EQ(ReadFile(upper), saved_);
}

TEST_F(SaveTest, OpenedFileGoneStopsTheSaveBeforeWriting) {
  std::filesystem::remove(model_);
  try {
    WriteDocument(*document_, model_, model_);
    FAIL();
  } catch (const FileError& e) {
    EXPECT_EQ(e.kind(), FileError::Kind::Open);
    EXPECT_EQ(e.Message(Language::Japanese), "ﾌｧｲﾙ " + model_ + " は開けません");
  }
  EXPECT_FALSE(std::filesystem::exists(model_));
}

TEST_F(SaveTest, UnwritableBackupLeavesEverythingAsItWas) {
  std::filesystem::create_directory(model_ + ".bak");  // a folder where the backup would go
  EXPECT_THROW(WriteDocument(*document_, model_, model_), FileError);
  EXPECT_EQ(ReadFile(model_), original_);
  EXPECT_TRUE(std::filesystem::is_directory(model_ + ".bak"));
}

TEST_F(SaveTest, FolderAsTargetIsRefused) {
  std::filesystem::create_directory(dir_.File("folder.mdl"));
  EXPECT_THROW(WriteDocument(*document_, model_, dir_.File("folder.mdl")), FileError);
  EXPECT_TRUE(std::filesystem::is_directory(dir_.File("folder.mdl")));
}

TEST_F(SaveTest, MissingFolderRaisesTheCreateError) {
  try {
    WriteDocument(*document_, model_, dir_.File("no/such/y.mdl"));
    FAIL();
  } catch (const FileError& e) {
    EXPECT_EQ(e.kind(), FileError::Kind::Create);
  }
}

// Seam points within the tolerance straddle the plane in a genuine half model; the docking
// snaps them onto it, so they must not make the model look docked.
TEST(LooksDocked, PointsTheDockSnapsLieOnNeitherSide) {
  TempDir dir;
  const std::string file = dir.File("half.mdl");
  WriteFile(file,
            "[MODELFILE]\n[OBJECTS]\n[MODEL]\n[MESH]\nSplines=1\nCPs=3\n"
            "0 0 1\n-0.36 0 0\n0\n0\n0 0 2\n0.2 1 0\n0\n0\n0 0 3\n0.36 2 0\n0\n0\n"
            "[ENDMESH]\n[ENDMODEL]\n[ENDOBJECTS]\n[ENDMODELFILE]\n");
  const auto model = ReadModel(file, FileKind::Model, nullptr, nullptr, WithReference::No);
  EXPECT_TRUE(LooksDocked(*model.working, 0).looks_docked);
  EXPECT_FALSE(LooksDocked(*model.working, 0.4).looks_docked);
  // Just outside the tolerance the points count again.
  EXPECT_TRUE(LooksDocked(*model.working, 0.36).looks_docked);
}

TEST(ReadWholeFile, RefusesFoldersAndDevicesAndMissingFiles) {
  TempDir dir;
  EXPECT_THROW(ReadWholeFile(dir.path().string()), FileError);
  EXPECT_THROW(ReadWholeFile(dir.File("missing.mdl")), FileError);
#ifndef _WIN32
  EXPECT_THROW(ReadWholeFile("/dev/zero"), FileError);
#endif
}

TEST(CopyWholeFile, CopiesBytesExactlyAcrossBufferBoundaries) {
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 8192 * 2 + 17; ++i) bytes.push_back(static_cast<char>(i * 7));
  WriteFile(dir.File("a"), bytes);
  CopyWholeFile(dir.File("a"), dir.File("b"));
  EXPECT_EQ(ReadFile(dir.File("b")), bytes);
  WriteFile(dir.File("c"), std::string(8192, 'x'));
  CopyWholeFile(dir.File("c"), dir.File("d"));
  EXPECT_EQ(ReadFile(dir.File("d")), std::string(8192, 'x'));
}

}  // namespace
}  // namespace mk
