#include "core/page_prefault.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

void PrefaultForWriting(void* data, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
    if (size < kSmallestPrefault)
        return;
    static const std::uintptr_t kPageMask = std::uintptr_t(sysconf(_SC_PAGESIZE)) - 1;
    // madvise takes whole pages; partial ones at the ends are left to their first write.
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + kPageMask) & ~kPageMask;
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~kPageMask;
    if (end <= begin)
        return;
#ifdef MADV_HUGEPAGE
    // The whole 2 MB stretches inside the range are mapped as huge pages where the system allows it: one
    // mapping instead of 512 (and fewer TLB misses when the memory is read back).
    constexpr std::uintptr_t kHugeMask = (std::uintptr_t(2) << 20) - 1;
    const std::uintptr_t hugeBegin = (begin + kHugeMask) & ~kHugeMask;
    const std::uintptr_t hugeEnd = end & ~kHugeMask;
    if (hugeEnd > hugeBegin)
        madvise(reinterpret_cast<void*>(hugeBegin), hugeEnd - hugeBegin, MADV_HUGEPAGE);
#endif
    // A hint: when it fails (an older kernel), the pages are mapped on first write as usual.
    madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)size;
#endif
}
