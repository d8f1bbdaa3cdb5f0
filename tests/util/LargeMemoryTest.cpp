// Large regions and the allocator on them: whole runs that can be written to their last byte,
// containers that cross the size where they move between heap and region, and the huge page
// advice that makes a docking's fresh memory cheap.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numeric>
#include <sstream>
#include <string>

#include "core/util/LargeMemory.h"
#include "core/util/LineList.h"

namespace mk {
namespace {

TEST(LargeRegion, IsAlignedToARunAndWritableToItsRoundedEnd) {
  for (const std::size_t bytes : {std::size_t{1}, kHugePageBytes - 1, kHugePageBytes,
                                  kHugePageBytes + 1, 3 * kHugePageBytes + 17}) {
    auto* region = static_cast<unsigned char*>(MapLargeRegion(bytes));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(region) % kHugePageBytes, 0u) << bytes;
    const std::size_t whole = (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    region[0] = 1;
    region[whole - 1] = 2;
    EXPECT_EQ(region[0] + region[whole - 1], 3);
    UnmapLargeRegion(region, bytes);
  }
}

TEST(LargeRegion, RefusesSizesNoAddressSpaceHolds) {
  EXPECT_THROW(MapLargeRegion(static_cast<std::size_t>(-1)), std::bad_alloc);
  LargeAllocator<std::uint64_t> allocator;
  EXPECT_THROW(static_cast<void>(allocator.allocate(static_cast<std::size_t>(-1) / 4)),
               std::bad_array_new_length);
}

TEST(LargeVector, KeepsItsValuesWhileGrowingIntoARegionAndShrinkingBack) {
  // Growing by doubling crosses the region size; each move frees the old buffer by the size it
  // was taken with, the heap's or the region's.
  LargeVector<std::uint32_t> values;
  const std::size_t count = 3 * kLargeBufferBytes / sizeof(std::uint32_t);
  for (std::size_t i = 0; i < count; ++i) values.push_back(static_cast<std::uint32_t>(i * 7));
  for (std::size_t i = 0; i < count; i += 4099) ASSERT_EQ(values[i], i * 7) << i;
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(values.data()) % kHugePageBytes, 0u);
  values.resize(100);
  values.shrink_to_fit();
  EXPECT_EQ(std::accumulate(values.begin(), values.end(), std::uint64_t{0}), 7u * 99 * 100 / 2);
  LargeVector<std::uint32_t> copy(values);
  EXPECT_EQ(copy, values);
}

TEST(LargeVector, TakesARegionFromTheLargeSizeOn) {
  const std::size_t large = kLargeBufferBytes / sizeof(std::uint64_t);
  LargeVector<std::uint64_t> at_the_size(large, 5);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(at_the_size.data()) % kHugePageBytes, 0u);
  at_the_size.back() = 6;  // the last element lies inside the region
  // One element less stays on the heap, which never aligns a block to a huge page's run.
  std::vector<LargeVector<std::uint64_t>> below;
  std::size_t aligned = 0;
  for (int i = 0; i < 4; ++i) {
    below.emplace_back(large - 1, 5);
    if (reinterpret_cast<std::uintptr_t>(below.back().data()) % kHugePageBytes == 0) ++aligned;
  }
  EXPECT_LT(aligned, 4u);
}

TEST(LargeVector, FileTextOfSeveralRunsReadsBackByteForByte) {
  std::ostringstream text;
  for (int i = 0; i < 800000; ++i) text << "line " << i << (i % 3 == 0 ? "\r\n" : "\n");
  const std::string bytes = text.str();
  ASSERT_GT(bytes.size(), 2 * kLargeBufferBytes);
  const std::string name = ::testing::TempDir() + "large_memory_text.txt";
  std::ofstream(name, std::ios::binary) << bytes;
  const LineList lines = LineList::FromFile(name);
  ASSERT_EQ(lines.Count(), 800000u);
  std::string rejoined;
  rejoined.reserve(bytes.size());
  for (std::size_t i = 0; i < lines.Count(); ++i)
    rejoined.append(lines.Get(i)).append(i % 3 == 0 ? "\r\n" : "\n");
  EXPECT_TRUE(rejoined == bytes);
  std::remove(name.c_str());
}

#if defined(__linux__) && !defined(MK_PLAIN_HEAP)
/// The smaps entry of the mapping that holds address, or empty.
std::string SmapsEntryOf(const void* address) {
  std::ifstream smaps("/proc/self/smaps");
  const auto target = reinterpret_cast<std::uintptr_t>(address);
  std::string line;
  std::string entry;
  bool inside = false;
  while (std::getline(smaps, line)) {
    std::uintptr_t low = 0;
    std::uintptr_t high = 0;
    char dash = 0;
    std::istringstream head(line);
    if (head >> std::hex >> low >> dash >> high && dash == '-' && line.find(':') > line.find(' ')) {
      if (inside) return entry;
      inside = low <= target && target < high;
      entry.clear();
    }
    if (inside) entry += line + "\n";
  }
  return inside ? entry : std::string();
}

TEST(LargeRegion, AsksForHugePages) {
  std::string mode;
  std::getline(std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled"), mode);
  if (mode.empty() || mode.find("[never]") != std::string::npos)
    GTEST_SKIP() << "huge pages are off on this system";
  void* region = MapLargeRegion(2 * kHugePageBytes);
  const std::string entry = SmapsEntryOf(region);
  if (entry.find("THPeligible") == std::string::npos) {
    UnmapLargeRegion(region, 2 * kHugePageBytes);
    GTEST_SKIP() << "this kernel does not say which mappings may have huge pages";
  }
  std::istringstream eligible(entry.substr(entry.find("THPeligible:") + 12));
  int flag = 0;
  eligible >> flag;
  EXPECT_EQ(flag, 1) << entry;
  EXPECT_NE(entry.find(" hg"), std::string::npos) << entry;  // the advice flag among VmFlags
  UnmapLargeRegion(region, 2 * kHugePageBytes);
}
#endif

}  // namespace
}  // namespace mk
