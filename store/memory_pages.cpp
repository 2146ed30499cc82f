#include "store/memory_pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace quillmere {

namespace {

#if defined(__linux__)
// Older C libraries lack the name; kernels before 5.14 refuse the advice
// (EINVAL), which leaves the buffer to fault in as before.
constexpr int kPopulateWrite = 23;  // MADV_POPULATE_WRITE
constexpr int kHugePages = 14;      // MADV_HUGEPAGE
#endif

}  // namespace

void PopulatePages(void* data, std::size_t size) noexcept {
#if defined(__linux__)
    if (data == nullptr || size < kPopulateMinimumBytes) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + size) / page * page;
    if (end > first) {
        madvise(reinterpret_cast<void*>(first), end - first, kHugePages);
        madvise(reinterpret_cast<void*>(first), end - first, kPopulateWrite);
    }
#else
    (void)data;
    (void)size;
#endif
}

}  // namespace quillmere
