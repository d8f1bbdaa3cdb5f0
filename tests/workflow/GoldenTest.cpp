// Whole-file cases of both formats: every folder of tests/data/mdl holding input.mdl and of
// tests/data/seg holding input.seg is read, docked (tolerance 0.4, or the one in tolerance.txt),
// saved and compared byte for byte with expected.mdl or expected.seg; where
// expected_attach_err.txt exists the attach report must match it, elsewhere none may be written.
// On a mismatch actual.* (and actual_attach_err.txt) are written beside the expectation.
// MK_REGENERATE_GOLDEN=1 rewrites the expectations; review every change by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "mdl/MdlTestSupport.h"
#include "core/util/LineList.h"
#include "core/util/NumberText.h"
#include "core/workflow/Workflow.h"

namespace fs = std::filesystem;

namespace mk {
namespace {

using mdltest::ReadAll;

struct GoldenCase {
  std::string format;  // "mdl" or "seg": the data folder and the file extension
  std::string name;
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.format << "/" << c.name; }

std::vector<GoldenCase> GoldenCases() {
  std::vector<GoldenCase> cases;
  for (const std::string format : {"mdl", "seg"}) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::path(MK_TEST_DATA) / format))
      if (fs::exists(entry.path() / ("input." + format)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) cases.push_back({format, name});
  }
  return cases;
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, DocksToExpectedFile) {
  const GoldenCase& c = GetParam();
  const fs::path folder = fs::path(MK_TEST_DATA) / c.format / c.name;
  const std::string extension = "." + c.format;
  double tolerance = 0.4;
  if (fs::exists(folder / "tolerance.txt")) {
    std::string text = ReadAll(folder / "tolerance.txt");
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    tolerance = StrToFloat(text);
  }

  mdltest::WorkingFolder work;
  const LineList lines = LineList::FromFile((folder / ("input" + extension)).string());
  auto document = CreateDocument(FileKindOf(extension), nullptr, nullptr);
  ASSERT_NE(document, nullptr);
  document->LoadFromLines(lines, 0);
  document->Dock(tolerance);
  LineWriter out;
  document->SaveToLines(out);

  const fs::path expected_path = folder / ("expected" + extension);
  const fs::path actual_path = folder / ("actual" + extension);
  const fs::path expected_report = folder / "expected_attach_err.txt";
  if (std::getenv("MK_REGENERATE_GOLDEN") != nullptr) {
    std::ofstream(expected_path, std::ios::binary) << out.Bytes();
    if (work.HasReport()) std::ofstream(expected_report, std::ios::binary) << work.Report();
    GTEST_SKIP() << "regenerated " << expected_path;
  }
  ASSERT_TRUE(fs::exists(expected_path)) << expected_path;
  const std::string expected = ReadAll(expected_path);
  if (out.Bytes() != expected) {
    std::ofstream(actual_path, std::ios::binary) << out.Bytes();
    ADD_FAILURE() << "docked " << c.name << " differs from its expectation; see " << actual_path;
  } else {
    fs::remove(actual_path);
  }

  if (fs::exists(expected_report)) {
    ASSERT_TRUE(work.HasReport()) << "no attach_err.txt written";
    if (work.Report() != ReadAll(expected_report))
      std::ofstream(folder / "actual_attach_err.txt", std::ios::binary) << work.Report();
    EXPECT_EQ(work.Report(), ReadAll(expected_report));
  } else {
    EXPECT_FALSE(work.HasReport()) << work.Report();
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(GoldenCases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& test_case) {
                           return test_case.param.format + "_" + test_case.param.name;
                         });

}  // namespace
}  // namespace mk
