// Storage for tables of many megabytes that are looked up at random: a lookup lands anywhere
// in them, and with the system's small pages nearly every one also misses the processor's
// cache of page addresses. Large pages (2 MB) cut those misses, and the page faults of
// filling the table, by a factor of 512. Used by the short and the optimal solvers' tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <span>
#include <vector>

namespace cw {

/// Asks the system to back `bytes` (not yet touched) with large pages where it can. Only
/// whole 2 MB pages inside the span can be large ones. A hint: where the system declines or
/// has no such request, the memory works the same, more slowly.
void preferLargePages(std::span<std::uint8_t> bytes);

/// An allocator that places blocks of a large page or more on large-page boundaries and asks
/// for large pages behind them before anything touches them; smaller blocks are ordinary.
template <typename T>
class LargePageAllocator {
public:
    using value_type = T;
    static constexpr std::size_t kLargePage = std::size_t{2} << 20;

    LargePageAllocator() = default;
    template <typename U>
    explicit LargePageAllocator(const LargePageAllocator<U>& /*other*/) {}

    T* allocate(std::size_t count) {
        const std::size_t bytes = count * sizeof(T);
        if (bytes < kLargePage) {
            return std::allocator<T>().allocate(count);
        }
        void* block = ::operator new (bytes, std::align_val_t{kLargePage});
        preferLargePages({static_cast<std::uint8_t*>(block), bytes});
        return static_cast<T*>(block);
    }

    void deallocate(T* block, std::size_t count) {
        if (count * sizeof(T) < kLargePage) {
            std::allocator<T>().deallocate(block, count);
        } else {
            ::operator delete (block, std::align_val_t{kLargePage});
        }
    }

    template <typename U>
    bool operator==(const LargePageAllocator<U>& /*other*/) const {
        return true;
    }
};

template <typename T>
using LargePageVector = std::vector<T, LargePageAllocator<T>>;

} // namespace cw
