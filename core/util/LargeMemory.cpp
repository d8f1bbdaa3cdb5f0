#include "core/util/LargeMemory.h"

#include <cstdint>
#include <mutex>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

// Mapped memory is invisible to the address sanitizer; its builds use the general heap.
#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
#define MK_MAPPED_LARGE_MEMORY 1
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#undef MK_MAPPED_LARGE_MEMORY
#endif
#endif
#endif

namespace mk {
namespace {

std::size_t RoundUpToBlocks(std::size_t bytes) {
  if (bytes > static_cast<std::size_t>(-1) - kLargeBlockBytes) throw std::bad_alloc();
  return (bytes + kLargeBlockBytes - 1) & ~(kLargeBlockBytes - 1);
}

#ifdef MK_MAPPED_LARGE_MEMORY

/// Maps bytes (a whole number of blocks) aligned to a block: one block more is mapped and the
/// ends around the aligned range are unmapped again.
void* MapAligned(std::size_t bytes) {
  const std::size_t span = bytes + kLargeBlockBytes;
  void* mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto begin = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t first = (begin + kLargeBlockBytes - 1) & ~(kLargeBlockBytes - 1);
  const std::uintptr_t last = first + bytes;
  if (first > begin) munmap(mapped, first - begin);
  if (begin + span > last) munmap(reinterpret_cast<void*>(last), begin + span - last);
  PreferHugePages(reinterpret_cast<void*>(first), bytes);
  return reinterpret_cast<void*>(first);
}

/// Pieces of freed buffers, waiting to become point blocks while a keeping scope lives.
struct SparePieces {
  std::mutex lock;
  std::vector<void*> pieces;
  int scopes = 0;
};

SparePieces& Spares() {
  // Never destroyed: documents freed after main still return their buffers safely.
  static SparePieces* spares = new SparePieces;
  return *spares;
}

#endif

}  // namespace

void* AllocateLargeBlock() {
#ifdef MK_MAPPED_LARGE_MEMORY
  {
    SparePieces& spares = Spares();
    const std::lock_guard<std::mutex> hold(spares.lock);
    if (!spares.pieces.empty()) {
      void* piece = spares.pieces.back();
      spares.pieces.pop_back();
      return piece;
    }
  }
  return MapAligned(kLargeBlockBytes);
#else
  return ::operator new(kLargeBlockBytes, std::align_val_t{kLargeBlockBytes});
#endif
}

void FreeLargeBlock(void* block) noexcept {
#ifdef MK_MAPPED_LARGE_MEMORY
  if (block != nullptr) munmap(block, kLargeBlockBytes);
#else
  ::operator delete(block, std::align_val_t{kLargeBlockBytes});
#endif
}

void* AllocateLargeBuffer(std::size_t bytes) {
  const std::size_t rounded = RoundUpToBlocks(bytes);
#ifdef MK_MAPPED_LARGE_MEMORY
  auto* const buffer = static_cast<std::byte*>(MapAligned(rounded));
  // Kept pieces are moved into the front of the new range: the kernel moves their page tables,
  // nothing is copied, and the rest of the range is faulted in as it is touched.
  SparePieces& spares = Spares();
  const std::lock_guard<std::mutex> hold(spares.lock);
  for (std::size_t at = 0; at < rounded && !spares.pieces.empty(); at += kLargeBlockBytes) {
    void* piece = spares.pieces.back();
    spares.pieces.pop_back();
    if (mremap(piece, kLargeBlockBytes, kLargeBlockBytes, MREMAP_MAYMOVE | MREMAP_FIXED,
               buffer + at) != MAP_FAILED)
      continue;
    // A failed move may already have unmapped the target: fresh memory fills the gap again.
    munmap(piece, kLargeBlockBytes);
    if (mmap(buffer + at, kLargeBlockBytes, PROT_READ | PROT_WRITE,
             MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED) {
      munmap(buffer, rounded);
      throw std::bad_alloc();
    }
  }
  return buffer;
#else
  return ::operator new(rounded, std::align_val_t{kLargeBlockBytes});
#endif
}

void FreeLargeBuffer(void* data, std::size_t bytes) noexcept {
  if (data == nullptr) return;
#ifdef MK_MAPPED_LARGE_MEMORY
  const std::size_t rounded = (bytes + kLargeBlockBytes - 1) & ~(kLargeBlockBytes - 1);
  auto* piece = static_cast<std::byte*>(data);
  std::byte* const end = piece + rounded;
  SparePieces& spares = Spares();
  const std::lock_guard<std::mutex> hold(spares.lock);
  try {
    if (spares.scopes > 0) {
      spares.pieces.reserve(spares.pieces.size() + rounded / kLargeBlockBytes);
      for (; piece < end; piece += kLargeBlockBytes) spares.pieces.push_back(piece);
    }
  } catch (...) {
    // No room to keep them: they go back with the rest below.
  }
  if (piece < end) munmap(piece, static_cast<std::size_t>(end - piece));
#else
  (void)bytes;
  ::operator delete(data, std::align_val_t{kLargeBlockBytes});
#endif
}

void ReleaseFreedMemory() noexcept {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

void ReleaseSparePieces() noexcept {
#ifdef MK_MAPPED_LARGE_MEMORY
  SparePieces& spares = Spares();
  const std::lock_guard<std::mutex> hold(spares.lock);
  for (void* piece : spares.pieces) munmap(piece, kLargeBlockBytes);
  spares.pieces.clear();
  spares.pieces.shrink_to_fit();
#endif
}

SparePiecesScope::SparePiecesScope() {
#ifdef MK_MAPPED_LARGE_MEMORY
  SparePieces& spares = Spares();
  const std::lock_guard<std::mutex> hold(spares.lock);
  ++spares.scopes;
#endif
}

SparePiecesScope::~SparePiecesScope() {
#ifdef MK_MAPPED_LARGE_MEMORY
  bool last = false;
  {
    SparePieces& spares = Spares();
    const std::lock_guard<std::mutex> hold(spares.lock);
    last = --spares.scopes == 0;
  }
  if (last) ReleaseSparePieces();
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
