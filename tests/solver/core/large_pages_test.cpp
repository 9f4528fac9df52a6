#include "solver/core/large_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>

namespace cw {
namespace {

constexpr std::size_t kLargePage = LargePageAllocator<std::uint8_t>::kLargePage;

bool onLargePageBoundary(const void* block) {
    return reinterpret_cast<std::uintptr_t>(block) % kLargePage == 0;
}

TEST(LargePages, LargeBlocksStartOnALargePageAndHoldTheirValues) {
    LargePageVector<std::uint32_t> table(kLargePage / sizeof(std::uint32_t) * 3 + 5);
    EXPECT_TRUE(onLargePageBoundary(table.data()));
    std::iota(table.begin(), table.end(), 0U);
    EXPECT_EQ(table.front(), 0U);
    EXPECT_EQ(table.back(), table.size() - 1);

    // Growing past the first block moves the values into another aligned one.
    table.resize(table.size() * 2, 7U);
    EXPECT_TRUE(onLargePageBoundary(table.data()));
    EXPECT_EQ(table[1234], 1234U);
    EXPECT_EQ(table.back(), 7U);
}

TEST(LargePages, SmallBlocksAreOrdinary) {
    LargePageVector<std::uint16_t> small(100, 3);
    EXPECT_EQ(small[99], 3);
    small.assign(kLargePage, 1);
    EXPECT_TRUE(onLargePageBoundary(small.data()));
    small.assign(10, 2);
    small.shrink_to_fit();
    EXPECT_EQ(small.size(), 10U);
    EXPECT_EQ(small[9], 2);
}

TEST(LargePages, TheHintLeavesMemoryAsItWas) {
    std::vector<std::uint8_t> bytes(3 * kLargePage, 9);
    preferLargePages(bytes);
    preferLargePages({});
    preferLargePages({bytes.data() + 1, 10});
    EXPECT_EQ(bytes[0], 9);
    EXPECT_EQ(bytes[3 * kLargePage - 1], 9);
}

} // namespace
} // namespace cw
