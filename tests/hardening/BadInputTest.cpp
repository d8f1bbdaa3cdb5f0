// Every file in tests/data/bad must give exactly the error written beside it, and nothing else:
// no crash, no hang, no sanitizer report.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "hardening/HardeningSupport.h"

namespace mk {
namespace {

using test::ReadFile;

std::vector<std::filesystem::path> BadInputs() {
  std::vector<std::filesystem::path> inputs;
  for (const auto& entry : std::filesystem::directory_iterator(MK_TEST_DATA "/bad")) {
    const FileKind kind = FileKindOf(entry.path().string());
    if (kind == FileKind::Model || kind == FileKind::Segment) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

std::string FirstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

TEST(BadInputs, EachGivesTheErrorWrittenBesideIt) {
  test::ScratchDirectory scratch;
  const auto inputs = BadInputs();
  ASSERT_GE(inputs.size(), 16u);
  for (const auto& input : inputs) {
    SCOPED_TRACE(input.filename().string());
    const std::string error_file = input.string() + ".error";
    ASSERT_TRUE(std::filesystem::exists(error_file)) << "no " << error_file;
    const std::string expected = FirstLine(ReadFile(error_file));
    const auto outcome = test::RunWholeDocument(FileKindOf(input.string()), ReadFile(input.string()));
    if (expected == "none") {
      EXPECT_FALSE(outcome.failed) << outcome.message;
    } else {
      EXPECT_TRUE(outcome.failed);
      EXPECT_EQ(outcome.message, expected);
    }
  }
}

TEST(BadInputs, EveryErrorFileHasItsInput) {
  for (const auto& entry : std::filesystem::directory_iterator(MK_TEST_DATA "/bad")) {
    const std::string name = entry.path().string();
    if (entry.path().extension() != ".error") continue;
    EXPECT_TRUE(std::filesystem::exists(name.substr(0, name.size() - 6))) << name;
  }
}

}  // namespace
}  // namespace mk
