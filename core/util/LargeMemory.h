#pragma once
// Memory of the big buffers and temporaries of a docking.
//
// A docking touches some 200 MiB of fresh memory. Where each 4 KiB page costs a fault of its
// own, and under a hypervisor such faults are dear, those faults were a quarter of a dock's CPU
// time. Big buffers are therefore mapped in whole 2 MiB runs aligned to 2 MiB, and the system is
// asked for huge pages there: one fault then brings in 2 MiB. Where the system gives none, they
// are ordinary pages, as from the heap.

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

// Set in builds with the address sanitizer: big buffers and points then come from the heap.
#if defined(__SANITIZE_ADDRESS__)
#define MK_PLAIN_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MK_PLAIN_HEAP 1
#endif
#endif

namespace mk {

/// Gives the memory of freed temporaries that the heap still holds back to the system: a
/// docking frees tables of millions of entries just before the mirror doubles the points.
void ReleaseFreedMemory() noexcept;

/// The run of a huge page; large regions are whole runs, aligned to one.
inline constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
/// Buffers from this size on are large regions; below it the heap wastes less.
inline constexpr std::size_t kLargeBufferBytes = std::size_t{4} << 20;

/// A region of at least bytes (rounded up to whole runs), aligned to a run, with huge pages asked
/// for. Throws std::bad_alloc. Builds with the address sanitizer take it from the
/// heap, so that it still sees every buffer, and so do systems other than Linux.
void* MapLargeRegion(std::size_t bytes);
/// Gives back a region from MapLargeRegion of the same bytes.
void UnmapLargeRegion(void* region, std::size_t bytes) noexcept;

/// An allocator for containers that may grow big: from kLargeBufferBytes on they live in large
/// regions, smaller ones on the heap.
template <class T>
class LargeAllocator {
 public:
  using value_type = T;

  LargeAllocator() noexcept = default;
  template <class U>
  LargeAllocator(const LargeAllocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    if (IsLarge(n)) return static_cast<T*>(MapLargeRegion(n * sizeof(T)));
    return std::allocator<T>().allocate(n);
  }
  void deallocate(T* p, std::size_t n) noexcept {
    if (IsLarge(n))
      UnmapLargeRegion(p, n * sizeof(T));
    else
      std::allocator<T>().deallocate(p, n);
  }

  template <class U>
  bool operator==(const LargeAllocator<U>&) const noexcept {
    return true;
  }

 private:
  static bool IsLarge(std::size_t n) noexcept { return n * sizeof(T) >= kLargeBufferBytes; }
};

/// A vector that may grow as long as a model's points.
template <class T>
using LargeVector = std::vector<T, LargeAllocator<T>>;

}  // namespace mk
