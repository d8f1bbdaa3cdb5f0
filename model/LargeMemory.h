#pragma once
// Memory for the big buffers of a model: a model of millions of points touches hundreds of
// megabytes once, and with ordinary 4 KiB pages the kernel's page faults alone cost a tenth of a
// docking run. Where the system offers transparent huge pages on request, these ask for them.

#include <cstddef>

namespace mk {

/// 2 MiB, the size and alignment of a huge page.
inline constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;

/// A block of kLargeBlockBytes aligned to its size, backed by a huge page where possible.
void* AllocateLargeBlock();
void FreeLargeBlock(void* block) noexcept;

/// Gives the memory of freed temporaries back to the system where the heap keeps it: the
/// docking stages free large indexes just before the mirror doubles the model.
void ReleaseFreedMemory() noexcept;

/// Asks for huge pages behind the untouched memory [data, data + bytes) of a large buffer; the
/// whole 2 MiB pieces inside it are affected, and nothing happens where the system cannot.
void PreferHugePages(void* data, std::size_t bytes) noexcept;

}  // namespace mk
