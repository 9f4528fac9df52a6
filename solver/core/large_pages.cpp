#include "solver/core/large_pages.h"

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace cw {

void preferLargePages(std::span<std::uint8_t> bytes) {
#ifdef __linux__
    constexpr std::uintptr_t kLargePage = LargePageAllocator<std::uint8_t>::kLargePage;
    const auto first = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t begin = (first + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = (first + bytes.size()) & ~(kLargePage - 1);
    if (end > begin) {
        static_cast<void>(madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE));
    }
#else
    static_cast<void>(bytes);
#endif
}

} // namespace cw
