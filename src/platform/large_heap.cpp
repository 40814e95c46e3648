#include "platform/large_heap.h"

#include <cstdint>
#include <cstdlib>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr size_t HugePage = size_t{2} << 20;
// Below this the usual small pages cost less than the huge pages' zeroing.
constexpr size_t WorthIt = size_t{4} << 20;
// A bound, so that a damaged size estimate cannot reserve the machine.
constexpr size_t MostReserved = size_t{256} << 20;

void* volatile UnusedStretch = nullptr;

}  // namespace

void PrepareLargeHeap(size_t expectedBytes) {
    static bool prepared = false;
    if (prepared || expectedBytes < WorthIt) return;
    prepared = true;
    const size_t reserve = expectedBytes < MostReserved ? expectedBytes : MostReserved;
    // Everything from the main heap (large blocks too, up to the most the
    // allocator takes as its threshold, so that they share its huge pages),
    // and nothing handed back to the system meanwhile.
    constexpr int LargestFromHeap = 32 << 20;
    mallopt(M_MMAP_THRESHOLD, LargestFromHeap);
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(MostReserved + HugePage));
    mallopt(M_TOP_PAD, static_cast<int>(HugePage));
    // A block of the whole size makes the heap grow by that much now; freed,
    // it stays as the heap's free top, untouched until used.
    void* probe = std::malloc(reserve);
    if (!probe) return;
    const auto from = reinterpret_cast<uintptr_t>(probe);
    std::free(probe);
    const auto top = reinterpret_cast<uintptr_t>(sbrk(0));
    if (top == static_cast<uintptr_t>(-1) || top <= from) return;
    // Only whole huge pages inside the heap can be huge pages. The stretch
    // before the first one is taken by a block that is never used (nor
    // touched, but for its header): what follows starts on a huge page
    // instead of faulting in up to 2 MiB of small ones first.
    const uintptr_t begin = (from + HugePage - 1) & ~(HugePage - 1);
    const uintptr_t end = top & ~(HugePage - 1);
    if (end <= begin) return;
    // The allocator puts a block's size in the word before it, and the next
    // block's after it: asking that much less than the stretch makes the
    // next block begin right at the huge page.
    constexpr size_t SizeWord = sizeof(size_t);
    if (begin - from > 4 * SizeWord) {
        // Kept where the compiler must store it: an allocation nothing
        // uses may otherwise be left out altogether.
        UnusedStretch = std::malloc(begin - from - SizeWord);
    }
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}
