// Counting of C++ allocations for the allocation tests: allocation_count.cpp replaces the
// global operator new of the test binary that links it, and records the size of every
// allocation the program makes while a CountingScope lives. Allocations that the GL
// driver, the window system or the font libraries make for themselves while the program
// calls them, and any made on their threads, are not the program's and are not counted.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace cw::robustness {

/// Sizes and counts of the allocations seen. A fixed table, as the recorder must not
/// allocate itself.
struct AllocationRecord {
    static constexpr std::size_t kMaxSizes = 64;

    void clear();
    void note(std::size_t size);
    /// How many allocations of exactly `size` bytes were seen.
    std::size_t countOf(std::size_t size) const;

    std::array<std::size_t, kMaxSizes> sizes{};
    std::array<std::size_t, kMaxSizes> counts{};
    std::size_t distinct = 0;
    std::size_t total = 0;
    bool overflowed = false;
};

/// Records every allocation made while it lives; `record()` holds them afterwards.
class CountingScope {
public:
    CountingScope();
    ~CountingScope();
    CountingScope(const CountingScope&) = delete;
    CountingScope& operator=(const CountingScope&) = delete;

    /// A copy of what has been recorded so far.
    static AllocationRecord record();
};

/// One line listing every size and its count, for failure messages.
std::string describe(const AllocationRecord& record);

/// The size of one node of a move list, as the list itself asks for it; 0 when pushing
/// one move did not make exactly one allocation.
std::size_t moveListNodeSize();

} // namespace cw::robustness
