#include "core/util/LargeMemory.h"

#include <cstdint>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#if defined(__linux__) && !defined(MK_PLAIN_HEAP)
#include <sys/mman.h>
#define MK_MAPPED_REGIONS 1
#endif

namespace mk {
namespace {

/// At least one run, for a region of no bytes too.
std::size_t WholeRuns(std::size_t bytes) noexcept {
  return bytes == 0 ? kHugePageBytes : (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
}

}  // namespace

void ReleaseFreedMemory() noexcept {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

void* MapLargeRegion(std::size_t bytes) {
  if (bytes > static_cast<std::size_t>(-1) / 2) throw std::bad_alloc();
  const std::size_t size = WholeRuns(bytes);
#ifdef MK_MAPPED_REGIONS
  // One run more than needed, so that an aligned stretch lies inside; the ends are given back.
  const std::size_t mapped = size + kHugePageBytes;
  void* const start = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (start == MAP_FAILED) throw std::bad_alloc();
  const auto first = reinterpret_cast<std::uintptr_t>(start);
  const std::uintptr_t aligned = (first + kHugePageBytes - 1) & ~std::uintptr_t{kHugePageBytes - 1};
  if (aligned > first) munmap(start, aligned - first);
  const std::uintptr_t end = first + mapped;
  if (aligned + size < end) munmap(reinterpret_cast<void*>(aligned + size), end - aligned - size);
  // Only advice: without huge pages the region works the same.
  madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
#else
  return ::operator new(size, std::align_val_t{kHugePageBytes});
#endif
}

void UnmapLargeRegion(void* region, std::size_t bytes) noexcept {
  if (region == nullptr) return;
#ifdef MK_MAPPED_REGIONS
  munmap(region, WholeRuns(bytes));
#else
  // The unsized form: not every compiler turns sized deallocation on.
  (void)bytes;
  ::operator delete(region, std::align_val_t{kHugePageBytes});
#endif
}

}  // namespace mk
