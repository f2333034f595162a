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
    // A hint: when it fails (an older kernel), the pages are mapped on first write as usual.
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)size;
#endif
}
