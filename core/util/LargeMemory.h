#pragma once
// Memory for the big buffers of a model: a model of millions of points touches hundreds of
// megabytes once, and the kernel's page faults alone cost a good part of a docking run. Where the
// system offers transparent huge pages on request, these ask for them.
//
// A docking frees the file's line index just before the mirror doubles the points. While a
// model is read and docked, freed large buffers are therefore kept in 2 MiB pieces, and the
// point blocks are taken from these first: the pages are already faulted in, and the peak does
// not grow by what the index held.

#include <cstddef>
#include <new>
#include <vector>

namespace mk {

/// 2 MiB, the size and alignment of a huge page.
inline constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;

/// A block of kLargeBlockBytes aligned to its size: a kept piece where there is one, otherwise
/// new memory backed by a huge page where possible. Throws std::bad_alloc.
void* AllocateLargeBlock();
/// Gives the block back to the system.
void FreeLargeBlock(void* block) noexcept;

/// A buffer of at least bytes, aligned to kLargeBlockBytes. Throws std::bad_alloc.
void* AllocateLargeBuffer(std::size_t bytes);
/// Frees a buffer from AllocateLargeBuffer with the same size; while a SparePiecesScope lives,
/// its pieces are kept for blocks and later buffers.
void FreeLargeBuffer(void* data, std::size_t bytes) noexcept;

/// Gives the memory of freed temporaries that the heap still holds back to the system.
void ReleaseFreedMemory() noexcept;
/// Gives the kept pieces of freed buffers back to the system: a docking calls this once its
/// points are made.
void ReleaseSparePieces() noexcept;

/// Held around reading and docking a model: freed large buffers are kept in pieces while one
/// lives, and what is left goes back to the system when the last one ends, whether the docking
/// ran, failed or never came.
class SparePiecesScope {
 public:
  SparePiecesScope();
  ~SparePiecesScope();
  SparePiecesScope(const SparePiecesScope&) = delete;
  SparePiecesScope& operator=(const SparePiecesScope&) = delete;
};

/// Asks for huge pages behind the untouched memory [data, data + bytes) of a large buffer; the
/// whole 2 MiB pieces inside it are affected, and nothing happens where the system cannot.
void PreferHugePages(void* data, std::size_t bytes) noexcept;

/// A standard allocator for containers that grow to many megabytes: requests of a block or more
/// are large buffers, smaller ones go to the general heap.
template <class T>
struct LargeBufferAllocator {
  using value_type = T;
  LargeBufferAllocator() = default;
  template <class U>
  LargeBufferAllocator(const LargeBufferAllocator<U>&) noexcept {}  // NOLINT: rebinding

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kLargeBlockBytes) return static_cast<T*>(::operator new(bytes));
    return static_cast<T*>(AllocateLargeBuffer(bytes));
  }
  void deallocate(T* p, std::size_t n) noexcept {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kLargeBlockBytes) return ::operator delete(p);
    FreeLargeBuffer(p, bytes);
  }
  template <class U>
  friend bool operator==(const LargeBufferAllocator&, const LargeBufferAllocator<U>&) noexcept {
    return true;
  }
};

/// A vector for per-point temporaries of millions of entries.
template <class T>
using LargeVector = std::vector<T, LargeBufferAllocator<T>>;

}  // namespace mk
