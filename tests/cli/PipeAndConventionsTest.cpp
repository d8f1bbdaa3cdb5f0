// The command line's conventions: "-" for standard input and output, "--" ending the options,
// check's exit codes, and errors that name the file and the line.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/Commands.h"
#include "cli/RunCli.h"
#include "cli/StandardStreams.h"
#include "support/Files.h"

namespace mk::cli {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const std::string kExamples = std::string(MK_SOURCE_DIR) + "/examples/";

class PipeAndConventions : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override {
    SetStandardInput(nullptr);
    std::filesystem::current_path(previous_);
  }

  TempDir dir_;
  std::filesystem::path previous_;
};

TEST_F(PipeAndConventions, DockReadsStandardInputAndWritesStandardOutput) {
  for (const char* example : {"ring.mdl", "car.seg"}) {
    ASSERT_EQ(
        RunCli({"dock", kExamples + example, "-o", std::string("file.") + (example + 5)}).status,
        kExitOk);
    std::istringstream in(ReadFile(kExamples + example));
    SetStandardInput(&in);
    const Result piped = RunCli({"dock", "-", "-o", "-"});
    EXPECT_EQ(piped.status, kExitOk) << piped.err;
    // The model alone on stdout, byte for byte what the file gets; the counts on stderr.
    EXPECT_EQ(piped.out, ReadFile(std::string("file.") + (example + 5))) << example;
    EXPECT_NE(piped.err.find("Number of cp="), std::string::npos);
  }
}

TEST_F(PipeAndConventions, RoundTripThroughAPipe) {
  std::istringstream in(ReadFile(kExamples + "head.mdl"));
  SetStandardInput(&in);
  const Result r = RunCli({"roundtrip", "-", "-o", "-"});
  ASSERT_EQ(r.status, kExitOk) << r.err;
  ASSERT_EQ(RunCli({"roundtrip", kExamples + "head.mdl", "-o", "head.mdl"}).status, kExitOk);
  EXPECT_EQ(r.out, ReadFile("head.mdl"));
}

TEST_F(PipeAndConventions, StandardInputCannotBeWrittenInPlace) {
  EXPECT_EQ(RunCli({"dock", "--in-place", "-"}).status, kExitUsage);
  EXPECT_EQ(RunCli({"dock", kExamples + "ring.mdl", "-o", "-", "--report", "-"}).status,
            kExitUsage);
}

TEST_F(PipeAndConventions, DoubleDashEndsTheOptions) {
  std::filesystem::copy_file(kExamples + "ring.mdl", "-odd.mdl");
  EXPECT_EQ(RunCli({"dock", "-odd.mdl"}).status, kExitUsage);
  const Result r = RunCli({"dock", "-o", "whole.mdl", "--", "-odd.mdl"});
  EXPECT_EQ(r.status, kExitOk) << r.err;
  EXPECT_TRUE(std::filesystem::exists("whole.mdl"));
  EXPECT_EQ(RunCli({"check", "--", "-odd.mdl"}).status, kExitOk);
  EXPECT_EQ(RunCli({"roundtrip", "-o", "copy.mdl", "--", "-odd.mdl"}).status, kExitOk);
}

TEST_F(PipeAndConventions, CheckTellsAnUnreadableFileFromSeamFaults) {
  WriteFile("broken.mdl",
            "[MODELFILE]\n[MODEL]\n[MESH]\nSplines=1\nCPs=1\n0 0 1\n2x8 0 "
            "0\n0\n0\n[ENDMESH]\n[ENDMODEL]\n[ENDMODELFILE]\n");
  const Result broken = RunCli({"check", "broken.mdl"});
  EXPECT_EQ(broken.status, kExitUnreadable);
  EXPECT_EQ(broken.err,
            "mirrorknit-cli: broken.mdl, line 7: '2x8' is not a valid floating point value\n");
  EXPECT_EQ(RunCli({"check", "missing.mdl"}).status, kExitUnreadable);
  EXPECT_EQ(RunCli({"check", kExamples + "ring.mdl"}).status, kExitOk);
  EXPECT_EQ(RunCli({"check"}).status, kExitUsage);
}

TEST_F(PipeAndConventions, DockErrorsNameTheLine) {
  WriteFile("broken.mdl",
            "[MODELFILE]\n[MODEL]\n[MESH]\nSplines=1\nCPs=1\n0 0 x1\n0 0 "
            "0\n0\n0\n[ENDMESH]\n[ENDMODEL]\n[ENDMODELFILE]\n");
  const Result r = RunCli({"dock", "broken.mdl", "-o", "out.mdl"});
  EXPECT_EQ(r.status, kExitError);
  EXPECT_NE(r.err.find("broken.mdl, line 6: 'x1'"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists("out.mdl"));
}

}  // namespace
}  // namespace mk::cli
