// The dock report from the command line: dock --report, check and its exit codes, and the
// refusal of a model that looks docked already.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/Commands.h"
#include "cli/RunCli.h"
#include "support/Files.h"

namespace mk::cli {
namespace {

using test::ReadFile;
using test::TempDir;

const std::string kData = std::string(MK_TEST_DATA) + "/report/";
const std::string kExamples = std::string(MK_SOURCE_DIR) + "/examples/";

/// Runs in a temporary current directory so that attach_err.txt lands there.
class ReportCommands : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  TempDir dir_;
  std::filesystem::path previous_;
};

TEST_F(ReportCommands, DockWritesTheReportToAFileOrToStdout) {
  const std::string json = ReadFile(kData + "every_entry.json");
  const Result to_file =
      RunCli({"dock", kData + "every_entry.mdl", "-o", "whole.mdl", "--report", "report.json"});
  EXPECT_EQ(to_file.status, kExitOk) << to_file.err;
  EXPECT_EQ(ReadFile("report.json"), json);
  EXPECT_EQ(to_file.out, "Number of cp=29+20->49\nNumber of spline=11+6->17\n");

  // On stdout the report stands alone; the statistics lines go to stderr after the warnings.
  const Result to_stdout = RunCli({"dock", kData + "every_entry.mdl", "--report=-"});
  EXPECT_EQ(to_stdout.status, kExitOk);
  EXPECT_EQ(to_stdout.out, json);
  EXPECT_NE(to_stdout.err.find("Number of cp=29+20->49\nNumber of spline=11+6->17\n"),
            std::string::npos);
  // The model docked with a report is the model docked without one.
  EXPECT_EQ(RunCli({"dock", kData + "every_entry.mdl", "-o", "plain.mdl"}).status, kExitOk);
  EXPECT_EQ(ReadFile("whole.mdl"), ReadFile("plain.mdl"));
}

TEST_F(ReportCommands, DockRefusesADockedModelUnlessForced) {
  ASSERT_EQ(RunCli({"dock", kExamples + "head.mdl", "-o", "whole.mdl"}).status, kExitOk);
  const Result refused = RunCli({"dock", "whole.mdl", "-o", "twice.mdl", "--report", "r.json"});
  EXPECT_EQ(refused.status, kExitError);
  EXPECT_NE(refused.err.find("looks docked already"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("--force"), std::string::npos);
  EXPECT_EQ(refused.out, "");
  EXPECT_FALSE(std::filesystem::exists("twice.mdl"));
  EXPECT_FALSE(std::filesystem::exists("r.json"));

  const Result forced = RunCli({"dock", "whole.mdl", "-o", "twice.mdl", "--force"});
  EXPECT_EQ(forced.status, kExitOk) << forced.err;
  EXPECT_EQ(forced.out, "Number of cp=132+117->249\nNumber of spline=10+2->12\n");
}

// The half model lives on in the backup: a forced second run over the docked file keeps it.
TEST_F(ReportCommands, InPlaceTwiceWithForceKeepsTheHalfModelInTheBackup) {
  std::filesystem::copy_file(kExamples + "ring.mdl", "ring.mdl");
  const std::string half = ReadFile("ring.mdl");
  ASSERT_EQ(RunCli({"dock", "--in-place", "ring.mdl"}).status, kExitOk);
  EXPECT_EQ(ReadFile("ring.mdl.bak"), half);
  const Result again = RunCli({"dock", "--in-place", "--force", "ring.mdl"});
  ASSERT_EQ(again.status, kExitOk) << again.err;
  EXPECT_EQ(ReadFile("ring.mdl.bak"), half);
}

TEST_F(ReportCommands, CheckExitsBySeamFaultsAndWritesNoModel) {
  const Result clean = RunCli({"check", kExamples + "car.seg"});
  EXPECT_EQ(clean.status, kExitOk) << clean.out << clean.err;
  EXPECT_NE(clean.out.find("Near misses: 0\n"), std::string::npos);
  EXPECT_NE(clean.out.find("Number of cp=43+31->74\n"), std::string::npos);

  const Result faulty = RunCli({"check", kData + "every_entry.mdl"});
  EXPECT_EQ(faulty.status, kExitError);
  EXPECT_NE(faulty.out.find("Near misses: 2\n"), std::string::npos) << faulty.out;
  EXPECT_NE(faulty.out.find("Suggested tolerance: 0.42\n"), std::string::npos);
  // The suggested tolerance takes the spline end at 0.41 and leaves the body point at 0.5.
  const Result wider = RunCli({"check", kData + "every_entry.mdl", "-t", "0.42"});
  EXPECT_NE(wider.out.find("3 points snapped"), std::string::npos) << wider.out;
  EXPECT_NE(wider.out.find("Near misses: 1\n  point mesh 0 id 2 "), std::string::npos);
  EXPECT_EQ(wider.status, kExitError);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                          std::filesystem::directory_iterator()),
            1);  // attach_err.txt only, as docking writes it
}

TEST_F(ReportCommands, CheckTellsOfADockedModel) {
  ASSERT_EQ(RunCli({"dock", kExamples + "ring.seg", "-o", "whole.seg"}).status, kExitOk);
  const Result r = RunCli({"check", "whole.seg"});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_NE(r.out.find("Looks docked already: "), std::string::npos) << r.out;
}

TEST_F(ReportCommands, UsageErrorsAndHelp) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"check"},
           {"check", "a.mdl", "b.mdl"},
           {"check", "a.mdl", "--report", "r.json"},
           {"dock", "a.mdl", "b.mdl", "--report", "r.json"},
           {"dock", "a.mdl", "--report"}}) {
    const Result r = RunCli(args);
    EXPECT_EQ(r.status, kExitUsage) << args.size();
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_NE(RunCli({"--help"}).out.find("check"), std::string::npos);
  const Result help = RunCli({"check", "--help"});
  EXPECT_EQ(help.status, kExitOk);
  EXPECT_NE(help.out.find("Usage: mirrorknit-cli check"), std::string::npos);
  EXPECT_NE(RunCli({"dock", "--help"}).out.find("--report FILE"), std::string::npos);
}

}  // namespace
}  // namespace mk::cli
