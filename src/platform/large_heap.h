// Preparing the heap of a short-lived process that is about to build a large
// structure in one go (a command-line report over a big data file).
//
// Most of such a run's kernel time is page faults: every fresh 4 KiB page
// the allocator hands out costs one. Growing the heap in one large step and
// asking for transparent huge pages there makes that a few faults of 2 MiB
// each. Nothing depends on it: where the system offers no huge pages the
// heap is only grown sooner.
#pragma once

#include <cstddef>

// `expectedBytes`: about how much the run will allocate. Small amounts are
// left to the allocator's usual ways; calling it again does nothing.
void PrepareLargeHeap(size_t expectedBytes);
