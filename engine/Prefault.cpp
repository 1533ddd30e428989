#include "engine/Prefault.h"

#include <algorithm>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace quillprint {

void PrefaultMemory(const TParallelFor& runner, void* data, size_t bytes)
{
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    // Below this the faults cost too little to bother.
    constexpr size_t kLeast = size_t{16} << 20;
    constexpr size_t kParts = 8;
    if (bytes < kLeast)
        return;
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    if (page == 0 || (page & (page - 1)) != 0)
        return;
    // Whole pages inside the stretch only: the pages at its ends may hold
    // other data, which the call would leave alone anyway.
    const auto first = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
    const auto last = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(page - 1);
    if (last <= first)
        return;
    const uintptr_t pages = (last - first) / page;
    RunParts(runner, kParts, [&](size_t part) {
        const uintptr_t begin = first + pages * part / kParts * page;
        const uintptr_t end = first + pages * (part + 1) / kParts * page;
        if (end > begin)
            madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
    });
#else
    (void)runner;
    (void)data;
    (void)bytes;
#endif
}

}  // namespace quillprint
