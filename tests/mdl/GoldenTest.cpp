// Whole-file cases: every folder of tests/data/mdl holding input.mdl is read, docked (tolerance
// 0.4, or the one in tolerance.txt), saved and compared byte for byte with expected.mdl; where
// expected_attach_err.txt exists the attach report must match it, elsewhere none may be written.
// On a mismatch actual.mdl (and actual_attach_err.txt) are written beside the expectation.
// MK_REGENERATE_GOLDEN=1 rewrites the expectations; review every change by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "mdl/MdlTestSupport.h"
#include "model/Globals.h"
#include "model/LineList.h"
#include "model/NumberText.h"
#include "model/Workflow.h"

namespace fs = std::filesystem;

namespace mk {
namespace {

using mdltest::ReadAll;

std::vector<std::string> GoldenCases() {
  std::vector<std::string> cases;
  for (const auto& entry : fs::directory_iterator(fs::path(MK_TEST_DATA) / "mdl"))
    if (fs::exists(entry.path() / "input.mdl")) cases.push_back(entry.path().filename().string());
  std::sort(cases.begin(), cases.end());
  return cases;
}

class MdlGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(MdlGolden, DocksToExpectedFile) {
  const fs::path folder = fs::path(MK_TEST_DATA) / "mdl" / GetParam();
  double tolerance = 0.4;
  if (fs::exists(folder / "tolerance.txt")) {
    std::string text = ReadAll(folder / "tolerance.txt");
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    tolerance = StrToFloat(text);
  }
  const bool regenerate = std::getenv("MK_REGENERATE_GOLDEN") != nullptr;

  mdltest::WorkingFolder work;
  const LineList lines = LineList::FromFile((folder / "input.mdl").string());
  auto document = CreateDocument(kModelFile, nullptr, nullptr);
  ASSERT_NE(document, nullptr);
  document->LoadFromLines(lines, 0);
  document->Dock(tolerance);
  LineWriter out;
  document->SaveToLines(out);

  const fs::path expected_path = folder / "expected.mdl";
  const fs::path expected_report = folder / "expected_attach_err.txt";
  if (regenerate) {
    std::ofstream(expected_path, std::ios::binary) << out.Bytes();
    if (work.HasReport()) std::ofstream(expected_report, std::ios::binary) << work.Report();
    GTEST_SKIP() << "regenerated " << expected_path;
  }
  ASSERT_TRUE(fs::exists(expected_path)) << expected_path;
  const std::string expected = ReadAll(expected_path);
  if (out.Bytes() != expected) std::ofstream(folder / "actual.mdl", std::ios::binary) << out.Bytes();
  EXPECT_EQ(out.Bytes(), expected) << "see " << (folder / "actual.mdl");

  if (fs::exists(expected_report)) {
    ASSERT_TRUE(work.HasReport()) << "no attach_err.txt written";
    if (work.Report() != ReadAll(expected_report))
      std::ofstream(folder / "actual_attach_err.txt", std::ios::binary) << work.Report();
    EXPECT_EQ(work.Report(), ReadAll(expected_report));
  } else {
    EXPECT_FALSE(work.HasReport()) << work.Report();
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, MdlGolden, ::testing::ValuesIn(GoldenCases()),
                         [](const ::testing::TestParamInfo<std::string>& test_case) { return test_case.param; });

}  // namespace
}  // namespace mk
