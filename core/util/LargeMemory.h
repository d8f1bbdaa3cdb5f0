#pragma once
// Memory of the big temporaries of a docking.

namespace mk {

/// Gives the memory of freed temporaries that the heap still holds back to the system: a
/// docking frees tables of millions of entries just before the mirror doubles the points.
void ReleaseFreedMemory() noexcept;

}  // namespace mk
