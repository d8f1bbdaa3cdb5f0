#pragma once
// Storage for the control points of the documents. A big model holds millions of points that are
// made one by one while it is read or docked and freed together with it; the general heap spends
// a header on each of them and its most expensive paths on freeing them. The pool hands out
// slots from large blocks, keeps freed slots for reuse, and gives all blocks back once no point
// is left, which happens whenever the documents are replaced.
//
// Builds with the address sanitizer use the general heap instead, so that it still sees every
// point on its own.

#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>
#include <new>
#include <utility>
#include <vector>

#include "core/util/LargeMemory.h"

#ifdef MK_PLAIN_HEAP
#define MK_POINT_POOL_OFF 1
#endif

namespace mk {

template <std::size_t SlotSize, std::size_t SlotAlign>
class PointPool {
 public:
  static void* Allocate() {
#ifdef MK_POINT_POOL_OFF
    return ::operator new(SlotSize, std::align_val_t{SlotAlign});
#else
    if (Batch* batch = local_batch_) return batch->Take();
    PointPool& pool = Instance();
    const Lock lock(pool.busy_);
    return pool.Take();
#endif
  }

  static void Release(void* slot) noexcept {
#ifdef MK_POINT_POOL_OFF
    ::operator delete(slot, std::align_val_t{SlotAlign});
#else
    PointPool& pool = Instance();
    const Lock lock(pool.busy_);
    pool.Give(slot);
#endif
  }

 private:
  struct FreeSlot {
    FreeSlot* next;
  };

 public:
  /// While one lives, the points made on its thread come from slots taken from the pool a few
  /// thousand at a time, so that threads making points side by side do not meet at the lock for
  /// each of them. The slots it holds unused go back when it ends.
  class Batch {
   public:
    Batch() : outer_(local_batch_) { local_batch_ = this; }
    ~Batch() {
      local_batch_ = outer_;
#ifndef MK_POINT_POOL_OFF
      if (slots_ == nullptr) return;
      PointPool& pool = Instance();
      const Lock lock(pool.busy_);
      while (slots_ != nullptr) pool.Give(std::exchange(slots_, slots_->next));
#endif
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    void* Take() {
      if (slots_ == nullptr) Refill();
      return std::exchange(slots_, slots_->next);
    }

   private:
    static constexpr std::size_t kSlotsPerRefill = 2048;

    void Refill() {
      PointPool& pool = Instance();
      const Lock lock(pool.busy_);
      // Taken in reverse so that the slots are handed out in the order the pool gave them.
      FreeSlot* taken[kSlotsPerRefill];
      std::size_t count = 0;
      try {
        for (; count < kSlotsPerRefill; ++count) taken[count] = static_cast<FreeSlot*>(pool.Take());
      } catch (...) {
        if (count == 0) throw;  // else the ones taken serve until they too run out
      }
      while (count > 0) {
        FreeSlot* slot = taken[--count];
        slot->next = slots_;
        slots_ = slot;
      }
    }

    Batch* outer_;
    FreeSlot* slots_ = nullptr;
  };

 private:
  // Blocks of one huge page: a million points take a few dozen of them.
  static constexpr std::size_t kBlockBytes = kHugePageBytes;
  static constexpr std::size_t kStride = (SlotSize + SlotAlign - 1) / SlotAlign * SlotAlign;
  static constexpr std::size_t kSlotsPerBlock = kBlockBytes / kStride;
  static_assert(kStride >= sizeof(void*) && kSlotsPerBlock > 0);

  /// The documents live on one thread, so the lock is practically never contended; a plain
  /// flag costs a fraction of a mutex on each of millions of points, and still waits safely.
  class Lock {
   public:
    explicit Lock(std::atomic_flag& busy) : busy_(busy) {
      while (busy_.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
    }
    ~Lock() { busy_.clear(std::memory_order_release); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

   private:
    std::atomic_flag& busy_;
  };

  static inline thread_local Batch* local_batch_ = nullptr;
  struct BlockDeleter {
    void operator()(std::byte* block) const noexcept { UnmapLargeRegion(block, kBlockBytes); }
  };

  static PointPool& Instance() {
    // Never destroyed: points of documents that outlive main are still handed back safely.
    static PointPool* pool = new PointPool;
    return *pool;
  }

  void* Take() {
    if (free_ != nullptr) {
      FreeSlot* slot = free_;
      free_ = slot->next;
      ++live_;
      return slot;
    }
    if (used_in_block_ == kSlotsPerBlock || blocks_.empty()) {
      // Room for the block first, so that running out of memory leaks nothing and leaves the
      // count of live points right.
      blocks_.reserve(blocks_.size() + 1);
      blocks_.emplace_back(static_cast<std::byte*>(MapLargeRegion(kBlockBytes)));
      used_in_block_ = 0;
    }
    ++live_;
    return blocks_.back().get() + kStride * used_in_block_++;
  }

  void Give(void* slot) noexcept {
    if (slot == nullptr) return;
    if (--live_ == 0) {
      blocks_.clear();
      free_ = nullptr;
      used_in_block_ = 0;
      return;
    }
    auto* free_slot = static_cast<FreeSlot*>(slot);
    free_slot->next = free_;
    free_ = free_slot;
  }

  std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
  std::vector<std::unique_ptr<std::byte, BlockDeleter>> blocks_;
  std::size_t used_in_block_ = 0;
  FreeSlot* free_ = nullptr;
  std::size_t live_ = 0;
};

/// A base that gives a point class its storage from the pool: class ControlPoint : public Pooled<ControlPoint>.
template <class Point>
struct Pooled {
  static void* operator new(std::size_t size) {
    if (size != sizeof(Point)) return ::operator new(size);  // a derived class
    return PointPool<sizeof(Point), alignof(Point)>::Allocate();
  }
  static void operator delete(void* p, std::size_t size) noexcept {
    if (size != sizeof(Point)) return ::operator delete(p);
    PointPool<sizeof(Point), alignof(Point)>::Release(p);
  }
};

/// Batched making of points of one class on this thread: see PointPool::Batch.
template <class Point>
using PointBatch = typename PointPool<sizeof(Point), alignof(Point)>::Batch;

}  // namespace mk
