// SPDX-License-Identifier: GPL-3.0-or-later
// Allocator settings for a program that takes large texts from the clipboard again and
// again: blocks up to 32 MiB come from the heap and are reused, instead of being mapped
// fresh (and faulted in page by page) for every capture.
#pragma once

namespace tessaro {

// Call once at start, before large allocations. Has no effect where glibc's malloc is not in use.
void keepLargeBlocksForReuse();

}  // namespace tessaro
