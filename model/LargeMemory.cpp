#include "model/LargeMemory.h"

#include <cstdint>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace mk {

void* AllocateLargeBlock() {
  void* block = ::operator new(kLargeBlockBytes, std::align_val_t{kLargeBlockBytes});
  PreferHugePages(block, kLargeBlockBytes);
  return block;
}

void FreeLargeBlock(void* block) noexcept {
  ::operator delete(block, std::align_val_t{kLargeBlockBytes});
}

void ReleaseFreedMemory() noexcept {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

void PreferHugePages(void* data, std::size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kLargeBlockBytes - 1) & ~(kLargeBlockBytes - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kLargeBlockBytes - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace mk
