// Whole-file cases: every folder of tests/data/seg holding input.seg is read, docked (tolerance
// 0.4, or the one in tolerance.txt), saved and compared byte for byte with expected.seg.
// MK_REGENERATE_GOLDEN=1 rewrites the expectations; review every change by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/LineList.h"
#include "model/NumberText.h"
#include "model/Workflow.h"

namespace fs = std::filesystem;

namespace mk {
namespace {

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> GoldenCases() {
  std::vector<std::string> cases;
  for (const auto& entry : fs::directory_iterator(fs::path(MK_TEST_DATA) / "seg"))
    if (fs::exists(entry.path() / "input.seg")) cases.push_back(entry.path().filename().string());
  std::sort(cases.begin(), cases.end());
  return cases;
}

class SegmentGolden : public ::testing::TestWithParam<std::string> {};

TEST_P(SegmentGolden, DocksToExpectedFile) {
  const fs::path folder = fs::path(MK_TEST_DATA) / "seg" / GetParam();
  double tolerance = 0.4;
  if (fs::exists(folder / "tolerance.txt")) {
    std::string text = ReadAll(folder / "tolerance.txt");
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    tolerance = StrToFloat(text);
  }
  const LineList lines = LineList::FromFile((folder / "input.seg").string());
  auto document = CreateDocument(kSegmentFile, nullptr, nullptr);
  ASSERT_NE(document, nullptr);
  document->LoadFromLines(lines, 0);
  document->Dock(tolerance);
  LineWriter out;
  document->SaveToLines(out);

  const fs::path expected_path = folder / "expected.seg";
  if (std::getenv("MK_REGENERATE_GOLDEN") != nullptr) {
    std::ofstream(expected_path, std::ios::binary) << out.Bytes();
    GTEST_SKIP() << "regenerated " << expected_path;
  }
  const std::string expected = ReadAll(expected_path);
  if (out.Bytes() != expected) {
    std::ofstream(folder / "actual.seg", std::ios::binary) << out.Bytes();
    FAIL() << "docked " << GetParam() << " differs from expected.seg; see actual.seg beside it";
  }
  fs::remove(folder / "actual.seg");
}

INSTANTIATE_TEST_SUITE_P(Cases, SegmentGolden, ::testing::ValuesIn(GoldenCases()),
                         [](const auto& test_case) { return test_case.param; });

TEST(SegmentGoldenData, AllCasesPresent) { EXPECT_GE(GoldenCases().size(), 15u); }

}  // namespace
}  // namespace mk
