// Tests of the depths a breadth-first search fills in packed form: the two depths of a byte
// are kept apart, an entry is stored once only, even by threads racing for it, and what is
// stored is what a packed depth table reads back.
#include "solver/core/shared_depths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <span>
#include <vector>

#include "solver/core/threads.h"

namespace cw::core {
namespace {

TEST(SharedDepths, EntriesStartUnknownAndAreStoredOnceEachBesideTheirNeighbour) {
    std::vector<std::uint8_t> bytes(3, 0x21);
    SharedDepths depths(bytes, 5);
    for (std::size_t i = 0; i < depths.size(); ++i) {
        EXPECT_EQ(depths.load(i), SharedDepths::kUnknown) << i;
    }
    EXPECT_TRUE(depths.storeIfUnknown(1, 7));
    EXPECT_FALSE(depths.storeIfUnknown(1, 3));
    EXPECT_TRUE(depths.storeIfUnknown(0, 0));
    EXPECT_TRUE(depths.storeIfUnknown(4, 14));
    EXPECT_EQ(depths.load(0), 0);
    EXPECT_EQ(depths.load(1), 7);
    EXPECT_EQ(depths.load(2), SharedDepths::kUnknown);
    EXPECT_EQ(depths.load(4), 14);
    // The low half of a byte holds the even entry, as the packed tables read them.
    EXPECT_EQ(bytes[0], 0x70);
    EXPECT_EQ(bytes[2], 0xFE);
    // The entries still unknown can be given a depth all at once; the half byte past the
    // last entry is none of them.
    depths.fillUnknown(9);
    EXPECT_EQ(bytes[0], 0x70);
    EXPECT_EQ(bytes[1], 0x99);
    EXPECT_EQ(bytes[2], 0xFE);
    SharedDepths unknown(bytes, 5);
    unknown.fillUnknown(3);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x33, 0x33, 0xF3}));
}

TEST(SharedDepths, EntriesHoldingADepthAreFoundInAnyStretchOfStorageThatStartsAnywhere) {
    // 123 entries from the third byte on, so that whole words of the storage start inside.
    std::vector<std::uint8_t> storage(72);
    const std::span<std::uint8_t> bytes = std::span(storage).subspan(3, 62);
    SharedDepths depths(bytes, 123);
    for (std::size_t i = 0; i < depths.size(); ++i) {
        if (i % 7 != 3) {
            depths.storeIfUnknown(i, static_cast<int>(i * i % 13));
        }
    }
    for (const int depth : {0, 1, 12, SharedDepths::kUnknown}) {
        for (std::size_t begin = 0; begin < depths.size(); begin += 5) {
            for (std::size_t end = begin; end <= depths.size(); end += 3) {
                std::vector<std::size_t> expected;
                for (std::size_t i = begin; i < end; ++i) {
                    if (depths.load(i) == depth) {
                        expected.push_back(i);
                    }
                }
                std::vector<std::size_t> found;
                depths.forEachHolding(begin, end, depth,
                                      [&found](std::size_t i) { found.push_back(i); });
                ASSERT_EQ(found, expected) << depth << " in [" << begin << ", " << end << ")";
            }
        }
    }
    depths.fillUnknown(6);
    for (std::size_t i = 0; i < depths.size(); ++i) {
        ASSERT_EQ(depths.load(i), i % 7 == 3 ? 6 : static_cast<int>(i * i % 13)) << i;
    }
    // Nothing outside the entries changes: the half byte past the last and the bytes around.
    EXPECT_EQ(bytes[61], 0xF6);
    EXPECT_EQ(storage[2], 0);
    EXPECT_EQ(storage[65], 0);
}

TEST(SharedDepths, ThreadsRacingOverSharedBytesStoreEveryEntryExactlyOnce) {
    constexpr std::size_t kEntries = 1 << 16;
    std::vector<std::uint8_t> bytes(kEntries / 2);
    SharedDepths depths(bytes, kEntries);
    std::atomic<std::size_t> stored{0};
    runOnThreads(SharedDepths::usableThreads(4), [&](unsigned runner) {
        // Every runner tries every entry, each from its own end and with its own depth.
        std::size_t mine = 0;
        for (std::size_t i = 0; i < kEntries; ++i) {
            const std::size_t index = runner % 2 == 0 ? i : kEntries - 1 - i;
            mine += depths.storeIfUnknown(index, static_cast<int>(runner) + 1) ? 1U : 0U;
        }
        stored += mine;
    });
    EXPECT_EQ(stored, kEntries);
    for (std::size_t i = 0; i < kEntries; ++i) {
        ASSERT_NE(depths.load(i), SharedDepths::kUnknown) << i;
    }
}

} // namespace
} // namespace cw::core
