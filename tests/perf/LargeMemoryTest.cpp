// Large buffers and the blocks made from their pieces: whatever a freed buffer leaves behind, the
// memory handed out next must be whole, writable and separate from everything still in use.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/util/LargeMemory.h"

namespace mk {
namespace {

bool Aligned(const void* p) { return reinterpret_cast<std::uintptr_t>(p) % kLargeBlockBytes == 0; }

void Fill(void* p, std::size_t bytes, unsigned char value) { std::memset(p, value, bytes); }

bool Holds(const void* p, std::size_t bytes, unsigned char value) {
  const auto* b = static_cast<const unsigned char*>(p);
  for (std::size_t i = 0; i < bytes; i += 4093)
    if (b[i] != value) return false;
  return b[bytes - 1] == value;
}

TEST(LargeMemory, FreedBuffersBecomeBlocksAndLargerBuffersWithoutOverlap) {
  const SparePiecesScope keep;
  const std::size_t first_size = 3 * kLargeBlockBytes + 123;
  void* first = AllocateLargeBuffer(first_size);
  ASSERT_TRUE(Aligned(first));
  Fill(first, first_size, 1);
  void* kept = AllocateLargeBuffer(kLargeBlockBytes);
  Fill(kept, kLargeBlockBytes, 2);
  FreeLargeBuffer(first, first_size);

  // Two blocks and a buffer bigger than what is left: each is whole and none overlaps another
  // or the buffer still in use.
  void* block_a = AllocateLargeBlock();
  void* block_b = AllocateLargeBlock();
  const std::size_t second_size = 5 * kLargeBlockBytes;
  void* second = AllocateLargeBuffer(second_size);
  for (void* p : {block_a, block_b, second}) ASSERT_TRUE(Aligned(p));
  Fill(block_a, kLargeBlockBytes, 3);
  Fill(block_b, kLargeBlockBytes, 4);
  Fill(second, second_size, 5);
  EXPECT_TRUE(Holds(block_a, kLargeBlockBytes, 3));
  EXPECT_TRUE(Holds(block_b, kLargeBlockBytes, 4));
  EXPECT_TRUE(Holds(second, second_size, 5));
  EXPECT_TRUE(Holds(kept, kLargeBlockBytes, 2));

  FreeLargeBlock(block_a);
  FreeLargeBlock(block_b);
  FreeLargeBuffer(second, second_size);
  FreeLargeBuffer(kept, kLargeBlockBytes);
  ReleaseSparePieces();
  void* fresh = AllocateLargeBlock();
  Fill(fresh, kLargeBlockBytes, 6);
  EXPECT_TRUE(Holds(fresh, kLargeBlockBytes, 6));
  FreeLargeBlock(fresh);
}

TEST(LargeMemory, VectorsGrowAcrossTheBlockSizeKeepingTheirValues) {
  const SparePiecesScope keep;
  LargeVector<std::uint32_t> values;
  for (std::uint32_t i = 0; i < 3'000'000; ++i) values.push_back(i * 7);
  LargeVector<std::uint32_t> copy = values;
  values.clear();
  values.shrink_to_fit();
  LargeVector<std::uint64_t> other(1'000'000, 9);  // may reuse what values held
  bool same = true;
  for (std::uint32_t i = 0; i < copy.size(); ++i) same = same && copy[i] == i * 7;
  for (std::uint64_t v : other) same = same && v == 9;
  EXPECT_TRUE(same);
}

}  // namespace
}  // namespace mk
