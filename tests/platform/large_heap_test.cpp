// The heap a large report is built in: what follows the preparation starts
// on a huge page, and the allocator works as before.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/large_heap.h"

namespace {

TEST(LargeHeap, WhatFollowsStartsOnAHugePage) {
    PrepareLargeHeap(size_t{16} << 20);
    // A block of this size comes from the heap's top (no freed block that
    // large lies around), which the preparation moved to a huge page's start.
    void* block = std::malloc(size_t{512} << 10);
    ASSERT_NE(block, nullptr);
#if defined(__GLIBC__)
    constexpr uintptr_t HugePage = uintptr_t{2} << 20;
    EXPECT_LT(reinterpret_cast<uintptr_t>(block) % HugePage, 64u) << block;
#endif
    std::memset(block, 1, size_t{512} << 10);
    std::free(block);
    // Small requests and a second preparation change nothing.
    PrepareLargeHeap(size_t{64} << 20);
    void* small = std::malloc(100);
    ASSERT_NE(small, nullptr);
    std::free(small);
}

}  // namespace
