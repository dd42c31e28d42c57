// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/allocator_tuning.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tessaro {

void keepLargeBlocksForReuse() {
#if defined(__GLIBC__)
    // 32 MiB is the largest threshold glibc accepts; memory above 128 MiB of free heap
    // is still given back to the system.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
#endif
}

}  // namespace tessaro
