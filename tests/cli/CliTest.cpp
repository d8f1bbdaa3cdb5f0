// mirrorknit-cli as a user runs it: arguments, exit codes, what it prints and what it writes.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/Commands.h"
#include "cli/RunCli.h"
#include "support/Files.h"

namespace mk::cli {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

/// Runs in a temporary current directory so that attach_err.txt lands there.
class CliTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    WriteFile(model_, text_);
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  TempDir dir_;
  std::filesystem::path previous_;
  std::string model_ = dir_.File("x.mdl");
  std::string text_ = " [MODELFILE]\n[THING]\n a \n[ENDTHING]\n[ENDMODELFILE]\nafter\n";
};

TEST_F(CliTest, HelpAndVersionSucceed) {
  const Result help = RunCli({"--help"});
  EXPECT_EQ(help.status, kExitOk);
  EXPECT_NE(help.out.find("Usage: mirrorknit-cli"), std::string::npos);
  for (const char* command : {"dock", "roundtrip", "render"}) {
    const Result sub = RunCli({command, "--help"});
    EXPECT_EQ(sub.status, kExitOk) << command;
    EXPECT_NE(sub.out.find(std::string("mirrorknit-cli ") + command), std::string::npos);
  }
  EXPECT_NE(RunCli({"--version"}).out.find("mirrorknit-cli 5.03"), std::string::npos);
}

TEST_F(CliTest, UsageErrorsExitWith2) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {},
           {"frobnicate"},
           {"roundtrip", model_},
           {"roundtrip", "-o"},
           {"dock"},
           {"dock", model_, "--bogus"},
           {"dock", model_, model_, "-o", "y.mdl"},
           {"dock", model_, "-o", "y.mdl", "--in-place"},
           {"dock", model_, "-t", "abc"},
           {"dock", model_, "-t", "0,4"}}) {
    const Result r = RunCli(args);
    EXPECT_EQ(r.status, kExitUsage) << (args.empty() ? "" : args[0]);
    EXPECT_FALSE(r.err.empty());
  }
}

TEST_F(CliTest, RoundTripWritesTheUndockedDocument) {
  const Result r = RunCli({"roundtrip", model_, "-o", dir_.File("y.mdl")});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(ReadFile(dir_.File("y.mdl")),
            "[MODELFILE]\r\n[THING]\r\na\r\n[ENDTHING]\r\n[ENDMODELFILE]\r\n");
}

TEST_F(CliTest, RoundTripAddsTheDefaultExtension) {
  EXPECT_EQ(RunCli({"roundtrip", model_, "-o", dir_.File("y")}).status, kExitOk);
  EXPECT_TRUE(std::filesystem::exists(dir_.File("y.mdl")));
}

TEST_F(CliTest, ErrorsExitWith1AndWriteNothing) {
  WriteFile(dir_.File("bad.mdl"), "[MODELFILE]\n[ODD]\n");
  const Result r = RunCli({"roundtrip", dir_.File("bad.mdl"), "-o", dir_.File("out.mdl")});
  EXPECT_EQ(r.status, kExitError);
  EXPECT_NE(r.err.find("List index out of bounds (2)"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir_.File("out.mdl")));

  const Result missing = RunCli({"dock", dir_.File("none.mdl")});
  EXPECT_EQ(missing.status, kExitError);
  EXPECT_NE(missing.err.find("Cannot open file"), std::string::npos);

  EXPECT_EQ(RunCli({"dock", dir_.File("x.txt")}).status, kExitError);
  EXPECT_EQ(RunCli({"dock", dir_.path().string() + "/sub.mdl"}).status, kExitError);
}

TEST_F(CliTest, DockPrintsExactlyTheTwoStatisticsLines) {
  const Result r = RunCli({"dock", model_, "-o", dir_.File("y.mdl")});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out, "Number of cp=0+0->0\nNumber of spline=0+0->0\n");
  // A docked document leaves unknown sections out.
  EXPECT_EQ(ReadFile(dir_.File("y.mdl")), "[MODELFILE]\r\n[ENDMODELFILE]\r\n");
  EXPECT_EQ(ReadFile(model_), text_);
}

TEST_F(CliTest, DockInPlaceKeepsABackupOfEveryInput) {
  const std::string other = dir_.File("z.MDL");
  WriteFile(other, text_);
  const Result r = RunCli({"dock", "--in-place", model_, other});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_EQ(r.out.find(model_ + ":\n"), 0u) << r.out;
  EXPECT_NE(r.out.find(other + ":\n"), std::string::npos);
  EXPECT_EQ(ReadFile(model_ + ".bak"), text_);
  EXPECT_EQ(ReadFile(other + ".bak"), text_);
  EXPECT_EQ(ReadFile(model_), "[MODELFILE]\r\n[ENDMODELFILE]\r\n");
}

TEST_F(CliTest, OneBadInputDoesNotStopTheOthers) {
  WriteFile(dir_.File("bad.mdl"), "");
  const Result r = RunCli({"dock", "--in-place", dir_.File("bad.mdl"), model_});
  EXPECT_EQ(r.status, kExitError);
  EXPECT_EQ(ReadFile(dir_.File("bad.mdl")), "");
  EXPECT_FALSE(std::filesystem::exists(dir_.File("bad.mdl.bak")));
  EXPECT_TRUE(std::filesystem::exists(model_ + ".bak"));
}

}  // namespace
}  // namespace mk::cli
