#include "core/util/LargeMemory.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace mk {

void ReleaseFreedMemory() noexcept {
#ifdef __GLIBC__
  malloc_trim(0);
#endif
}

}  // namespace mk
