// Faults around opening and saving. Whatever goes wrong, the user gets a clear error and loses
// nothing: the opened file and an earlier backup keep every byte, and no temporary file is left.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "hardening/HardeningSupport.h"
#include "core/util/FileIo.h"
#include "support/Posix.h"

namespace mk {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;
using test::WriteFile;

std::vector<std::string> Leftovers(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().filename().string().find(".tmp") != std::string::npos)
      names.push_back(entry.path().filename().string());
  return names;
}

/// An opened and docked document with an older backup beside it, as after a day's work.
class FaultTest : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const std::string example = GetParam();
    opened_ = scratch_.File(fs::path(example).filename().string());
    original_ = ReadFile(MK_SOURCE_DIR "/examples/" + example);
    ASSERT_FALSE(original_.empty());
    // Several copy buffers long: notes that a model file carries, and for a segment the lines
    // after its last spline, which the reader ignores and the backup must keep all the same.
    std::string padding;
    for (int i = 0; i < 2000; ++i) padding += "Note=line " + std::to_string(i) + "\r\n";
    if (FileKindOf(example) == FileKind::Model)
      original_.insert(original_.find('\n') + 1, padding);
    else
      original_ += padding;
    WriteFile(opened_, original_);
    WriteFile(opened_ + ".bak", older_backup_);
    document_ = CreateDocument(FileKindOf(opened_), nullptr, &warnings_);
    document_->LoadFromLines(LineList::FromFile(opened_), 0);
    document_->Dock(0.4);
    LineWriter docked;
    document_->SaveToLines(docked);
    docked_ = docked.Bytes();
  }
  void TearDown() override {
    SimulateDiskFullAfter(-1);
    SimulateFailureAt(SaveStep::Flush, 0);
  }

  /// Saves and returns the error it raised; fails the test when the save succeeded.
  FileError SaveFails(const std::string& target) {
    try {
      WriteDocument(*document_, opened_, target);
    } catch (const FileError& e) {
      return e;
    }
    ADD_FAILURE() << "the save to " << target << " succeeded";
    return FileError(FileError::Kind::Open, "");
  }

  void ExpectNothingLost() {
    EXPECT_EQ(ReadFile(opened_), original_);
    EXPECT_EQ(ReadFile(opened_ + ".bak"), older_backup_);
    EXPECT_EQ(Leftovers(scratch_.path()), std::vector<std::string>{});
  }

  test::ScratchDirectory scratch_;
  std::string opened_;
  std::string original_;
  std::string older_backup_ = "the backup of yesterday\r\n";
  std::string docked_;
  WarningList warnings_;
  std::unique_ptr<Document> document_;
};

TEST_P(FaultTest, SaveUnderAMissingFolder) {
  const std::string target = scratch_.File("gone/part");
  const FileError e = SaveFails(target);
  EXPECT_EQ(e.kind(), FileError::Kind::Create);
  EXPECT_EQ(e.Message(Language::English).rfind("Cannot create file " + target, 0), 0u);
  EXPECT_EQ(e.Message(Language::Japanese).rfind("ﾌｧｲﾙ " + target, 0), 0u);
  EXPECT_FALSE(fs::exists(scratch_.File("gone")));
  ExpectNothingLost();
}

TEST_P(FaultTest, SaveIntoAReadOnlyFolder) {
  MK_SKIP_ON_WINDOWS("a folder's read-only mark does not stop new files in it");
  const fs::path folder = scratch_.path() / "locked";
  fs::create_directory(folder);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  const bool enforced = access(folder.string().c_str(), W_OK) != 0;  // not for a superuser
  if (!enforced) {
    fs::permissions(folder, fs::perms::owner_all);
    GTEST_SKIP() << "permissions are not enforced for this user";
  }
  const std::string target = (folder / "part").string();
  EXPECT_EQ(SaveFails(target).kind(), FileError::Kind::Create);
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_TRUE(fs::is_empty(folder));
  ExpectNothingLost();
}

TEST_P(FaultTest, DiskFullAtAnyByteOfTheBackupOrTheSave) {
  // The save writes the backup (the original's bytes), then the docked model.
  const long long backup = static_cast<long long>(original_.size());
  const long long model = static_cast<long long>(docked_.size());
  for (long long room : {0LL, 1LL, 8191LL, 8192LL, 8193LL, backup - 1, backup, backup + 1,
                         backup + model / 2, backup + model - 1}) {
    SCOPED_TRACE(room);
    ASSERT_LT(room, backup + model);
    SimulateDiskFullAfter(room);
    const FileError e = SaveFails(opened_);
    SimulateDiskFullAfter(-1);
    EXPECT_EQ(e.kind(), FileError::Kind::Write);
    EXPECT_NE(e.Message(Language::English).find("Cannot write file "), std::string::npos);
    EXPECT_EQ(ReadFile(opened_), original_);
    // Even a backup that was copied completely must not replace the older one: the save failed.
    EXPECT_EQ(ReadFile(opened_ + ".bak"), older_backup_);
    EXPECT_EQ(Leftovers(scratch_.path()), std::vector<std::string>{});
  }
  // With room for everything the same save goes through.
  SimulateDiskFullAfter(backup + model);
  WriteDocument(*document_, opened_, opened_);
  EXPECT_EQ(ReadFile(opened_), docked_);
  EXPECT_EQ(ReadFile(opened_ + ".bak"), original_);
}

// The steps after the bytes: each can fail for the backup's copy (first pass) or the model
// (second pass). Until the backup's rename nothing is replaced; the model's rename comes after
// it, so when that one fails the older backup has already given way to a whole copy of the
// opened file, which is still there as it was.
TEST_P(FaultTest, FailedFlushSyncCloseOrRenameKeepsTheFileAndItsBackup) {
  for (const SaveStep step : {SaveStep::Flush, SaveStep::Sync, SaveStep::Close, SaveStep::Rename}) {
    for (const int pass : {1, 2}) {
      SCOPED_TRACE("step " + std::to_string(static_cast<int>(step)) + " pass " + std::to_string(pass));
      WriteFile(opened_ + ".bak", older_backup_);
      SimulateFailureAt(step, pass);
      const FileError e = SaveFails(opened_);
      SimulateFailureAt(step, 0);
      EXPECT_EQ(e.kind(), step == SaveStep::Rename ? FileError::Kind::Create : FileError::Kind::Write);
      const std::string failed_file = pass == 1 ? fs::absolute(opened_ + ".bak").string() : opened_;
      EXPECT_EQ(e.file_name(), failed_file);
      EXPECT_EQ(ReadFile(opened_), original_);
      const bool backup_renamed = step == SaveStep::Rename && pass == 2;
      EXPECT_EQ(ReadFile(opened_ + ".bak"), backup_renamed ? original_ : older_backup_);
      EXPECT_EQ(Leftovers(scratch_.path()), std::vector<std::string>{});
    }
  }
  // Saved under another name there is no backup: one pass, and the new name stays free.
  WriteFile(opened_ + ".bak", older_backup_);
  const std::string other = scratch_.File("other" + fs::path(opened_).extension().string());
  for (const SaveStep step : {SaveStep::Flush, SaveStep::Sync, SaveStep::Close, SaveStep::Rename}) {
    SimulateFailureAt(step, 1);
    EXPECT_EQ(SaveFails(other).file_name(), other);
    SimulateFailureAt(step, 0);
    EXPECT_FALSE(fs::exists(other));
  }
  ExpectNothingLost();
  // Switched off, the same save goes through.
  WriteDocument(*document_, opened_, opened_);
  EXPECT_EQ(ReadFile(opened_), docked_);
}

TEST_P(FaultTest, OpenedFileDeletedBeforeTheSave) {
  fs::remove(opened_);
  const FileError e = SaveFails(opened_);
  EXPECT_EQ(e.kind(), FileError::Kind::Open);
  EXPECT_EQ(e.Message(Language::English), "Cannot open file " + opened_);
  EXPECT_EQ(e.Message(Language::Japanese), "ﾌｧｲﾙ " + opened_ + " は開けません");
  EXPECT_FALSE(fs::exists(opened_));
  EXPECT_EQ(ReadFile(opened_ + ".bak"), older_backup_);
  EXPECT_EQ(Leftovers(scratch_.path()), std::vector<std::string>{});
}

TEST_P(FaultTest, OpenedFileReplacedBeforeTheSaveEndsUpInTheBackup) {
  // Another program rewrote the file: its version is what a save over it must keep.
  const std::string replacement = "written by someone else\r\n";
  WriteFile(opened_, replacement);
  WriteDocument(*document_, opened_, opened_);
  EXPECT_EQ(ReadFile(opened_ + ".bak"), replacement);
  EXPECT_EQ(ReadFile(opened_), docked_);
  EXPECT_EQ(Leftovers(scratch_.path()), std::vector<std::string>{});
}

TEST_P(FaultTest, OpenedFileReplacedByAFolderBeforeTheSave) {
  fs::remove(opened_);
  fs::create_directory(opened_);
  EXPECT_EQ(SaveFails(opened_).kind(), FileError::Kind::Open);
  EXPECT_TRUE(fs::is_directory(opened_));
  EXPECT_TRUE(fs::is_empty(opened_));
  EXPECT_EQ(ReadFile(opened_ + ".bak"), older_backup_);
  EXPECT_EQ(Leftovers(scratch_.path()), std::vector<std::string>{});
}

TEST_P(FaultTest, FolderAsTheSaveTarget) {
  const std::string folder = scratch_.File("folder" + fs::path(opened_).extension().string());
  fs::create_directory(folder);
  const FileError e = SaveFails(folder);
  EXPECT_EQ(e.kind(), FileError::Kind::Create);
  EXPECT_EQ(e.Message(Language::English), "Cannot create file " + folder + " (not a regular file)");
  EXPECT_TRUE(fs::is_empty(folder));
  ExpectNothingLost();
}

TEST_P(FaultTest, PipeAsTheSaveTarget) {
  MK_SKIP_ON_WINDOWS("named pipes");
  const std::string pipe = scratch_.File("pipe" + fs::path(opened_).extension().string());
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(SaveFails(pipe).kind(), FileError::Kind::Create);
  EXPECT_TRUE(fs::is_fifo(pipe));
  ExpectNothingLost();
}

TEST_P(FaultTest, FolderAsTheBackupStopsTheSaveBeforeAnythingIsWritten) {
  fs::remove(opened_ + ".bak");
  fs::create_directory(opened_ + ".bak");
  const FileError folder = SaveFails(opened_);
  EXPECT_EQ(folder.kind(), FileError::Kind::Create);
  EXPECT_EQ(folder.file_name(), fs::absolute(opened_ + ".bak").string());
  EXPECT_EQ(ReadFile(opened_), original_);
  EXPECT_TRUE(fs::is_empty(opened_ + ".bak"));
  EXPECT_EQ(Leftovers(scratch_.path()), std::vector<std::string>{});
}

TEST_P(FaultTest, PipeAsTheBackupStopsTheSaveBeforeAnythingIsWritten) {
  MK_SKIP_ON_WINDOWS("named pipes");
  fs::remove(opened_ + ".bak");
  ASSERT_EQ(mkfifo((opened_ + ".bak").c_str(), 0600), 0);
  EXPECT_EQ(SaveFails(opened_).kind(), FileError::Kind::Create);
  EXPECT_EQ(ReadFile(opened_), original_);
  EXPECT_TRUE(fs::is_fifo(opened_ + ".bak"));
  EXPECT_EQ(Leftovers(scratch_.path()), std::vector<std::string>{});
}

std::string ExampleName(const testing::TestParamInfo<const char*>& example) {
  return std::string(example.param).replace(4, 1, "_");
}

INSTANTIATE_TEST_SUITE_P(Examples, FaultTest, testing::Values("ring.mdl", "ring.seg"), ExampleName);

TEST(OpenFaults, FoldersDevicesAndPipesAreNotModelFiles) {
  MK_SKIP_ON_WINDOWS("named pipes and devices; a folder is refused in FaultTest");
  test::ScratchDirectory scratch;
  const std::string folder = scratch.File("folder.mdl");
  fs::create_directory(folder);
  const std::string pipe = scratch.File("pipe.seg");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);  // reading it would wait for a writer forever
  for (const std::string& name : {folder, pipe, std::string("/dev/null"), std::string("/dev/zero"),
                                  scratch.File("missing.mdl")}) {
    SCOPED_TRACE(name);
    try {
      (void)LineList::FromFile(name);
      ADD_FAILURE() << "read";
    } catch (const FileError& e) {
      EXPECT_EQ(e.kind(), FileError::Kind::Open);
      EXPECT_EQ(e.Message(Language::English), "Cannot open file " + name);
    }
  }
}

TEST(AttachReport, UnwritableReportGivesAWarningAndDockingGoesOn) {
  test::ScratchDirectory scratch;
  fs::create_directory(scratch.File("attach_err.txt"));
  const std::string text = ReadFile(MK_TEST_DATA "/mdl/dangling_attachments/input.mdl");
  ASSERT_FALSE(text.empty());
  const auto outcome = test::RunWholeDocument(FileKind::Model, text);
  ASSERT_FALSE(outcome.failed) << outcome.message;
  EXPECT_EQ(outcome.saved_after,
            ReadFile(MK_TEST_DATA "/mdl/dangling_attachments/expected.mdl"));
  ASSERT_FALSE(outcome.warnings.warnings.empty());
  const DockWarning& warning = outcome.warnings.warnings.front();
  EXPECT_EQ(warning.kind, DockWarning::Kind::AttachReportUnwritable);
  EXPECT_EQ(warning.Message(Language::English), "Warning: cannot write attach_err.txt");
  EXPECT_EQ(warning.Message(Language::Japanese), "警告: attach_err.txt を書き込めません");
  EXPECT_TRUE(fs::is_empty(scratch.File("attach_err.txt")));
  EXPECT_EQ(Leftovers(scratch.path()), std::vector<std::string>{});
}

TEST(AttachReport, FullDiskLeavesNoHalfReport) {
  test::ScratchDirectory scratch;
  WriteFile(scratch.File("attach_err.txt"), "earlier report\r\n");
  SimulateDiskFullAfter(10);
  const auto outcome = test::RunWholeDocument(
      FileKind::Model, ReadFile(MK_TEST_DATA "/mdl/dangling_attachments/input.mdl"));
  SimulateDiskFullAfter(-1);
  EXPECT_FALSE(outcome.failed) << outcome.message;
  EXPECT_EQ(ReadFile(scratch.File("attach_err.txt")), "earlier report\r\n");
  EXPECT_EQ(Leftovers(scratch.path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace mk
