// Tests of the depths a breadth-first search fills in packed form: the two depths of a byte
// are kept apart, an entry is stored once only, even by threads racing for it, and what is
// stored is what a packed depth table reads back; and the same for the two-bit levels that
// keep only the last depths apart.
#include "solver/core/shared_depths.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <span>
#include <stdexcept>
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

constexpr std::size_t kRacedEntries = 1 << 16;

// How many stores succeed when four runners try every entry of `depths`, each from its own
// end, storing depthOf(runner).
template <typename Depths, typename DepthOf>
std::size_t storesByRacingThreads(Depths& depths, const DepthOf& depthOf) {
    std::atomic<std::size_t> stored{0};
    runOnThreads(Depths::usableThreads(4), [&](unsigned runner) {
        std::size_t mine = 0;
        for (std::size_t i = 0; i < depths.size(); ++i) {
            const std::size_t index = runner % 2 == 0 ? i : depths.size() - 1 - i;
            mine += depths.storeIfUnknown(index, depthOf(runner)) ? 1U : 0U;
        }
        stored += mine;
    });
    return stored;
}

TEST(SharedDepths, ThreadsRacingOverSharedBytesStoreEveryEntryExactlyOnce) {
    constexpr std::size_t kEntries = kRacedEntries;
    std::vector<std::uint8_t> bytes(kEntries / 2);
    SharedDepths depths(bytes, kEntries);
    // Each runner with its own depth.
    EXPECT_EQ(
        storesByRacingThreads(depths, [](unsigned runner) { return static_cast<int>(runner) + 1; }),
        kEntries);
    for (std::size_t i = 0; i < kEntries; ++i) {
        ASSERT_NE(depths.load(i), SharedDepths::kUnknown) << i;
    }
}

TEST(SharedLevels, KeepTheFrontierAndTheEntriesJustReachedApartFromAllBeforeThem) {
    std::vector<std::uint8_t> bytes(3, 0xA7);
    SharedLevels levels(bytes, 9);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        EXPECT_EQ(levels.load(i), SharedLevels::kUnknown) << i;
    }
    EXPECT_TRUE(levels.storeIfUnknown(4, 0));
    EXPECT_FALSE(levels.storeIfUnknown(4, 0));
    levels.startDepth(0);
    EXPECT_EQ(levels.load(4), 0);
    EXPECT_TRUE(levels.storeIfUnknown(1, 1));
    EXPECT_TRUE(levels.storeIfUnknown(8, 1));
    EXPECT_FALSE(levels.storeIfUnknown(4, 1));
    EXPECT_EQ(levels.load(1), 1);
    levels.startDepth(1);
    EXPECT_TRUE(levels.storeIfUnknown(0, 2));
    EXPECT_EQ(levels.load(4), 0);
    EXPECT_EQ(levels.load(8), 1);
    EXPECT_EQ(levels.load(0), 2);
    levels.startDepth(2);
    // Everything before the frontier reads as the depth before it.
    EXPECT_EQ(levels.level(4), SharedLevels::earlier);
    EXPECT_EQ(levels.level(8), SharedLevels::earlier);
    EXPECT_EQ(levels.level(0), SharedLevels::frontier);
    EXPECT_EQ(levels.level(2), SharedLevels::unreached);
    EXPECT_EQ(levels.load(4), 1);
    EXPECT_EQ(levels.frontierDepth(), 2);
    // Four to a byte, the lowest bits first: entry 0 frontier (2), entry 1 earlier (1).
    EXPECT_EQ(bytes[0], 0x06);
    EXPECT_EQ(bytes[1], 0x01);
    EXPECT_EQ(bytes[2], 0x01);
#ifndef __EMSCRIPTEN__
    // Only the depth after the frontier can be stored, and depths come one at a time.
    EXPECT_THROW(levels.storeIfUnknown(3, 2), std::logic_error);
    EXPECT_THROW(levels.startDepth(4), std::logic_error);
#endif
}

TEST(SharedLevels, EntriesAtALevelAreFoundInAnyStretchThatStartsAnywhere) {
    std::vector<std::uint8_t> storage(40, 0xEE);
    const std::span<std::uint8_t> bytes = std::span(storage).subspan(3, 35);
    SharedLevels levels(bytes, 137);
    // Four depths deep, every entry at a depth of its own choosing or never reached.
    for (int depth = 0; depth <= 3; ++depth) {
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (static_cast<int>((i * 7 + i / 3) % 6) == depth) {
                levels.storeIfUnknown(i, depth);
            }
        }
        levels.startDepth(depth);
    }
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const auto d = static_cast<int>((i * 7 + i / 3) % 6);
        ASSERT_EQ(levels.load(i), d > 3 ? SharedLevels::kUnknown : d == 3 ? 3 : 2) << i;
    }
    for (const int depth : {1, 2, 3, 4, SharedLevels::kUnknown}) {
        for (std::size_t begin = 0; begin < levels.size(); begin += 5) {
            for (std::size_t end = begin; end <= levels.size(); end += 3) {
                std::vector<std::size_t> expected;
                for (std::size_t i = begin; i < end; ++i) {
                    if (levels.load(i) == depth) {
                        expected.push_back(i);
                    }
                }
                std::vector<std::size_t> found;
                levels.forEachHolding(begin, end, depth,
                                      [&found](std::size_t i) { found.push_back(i); });
                ASSERT_EQ(found, expected) << depth << " in [" << begin << ", " << end << ")";
            }
        }
    }
    // Nothing outside the entries' bytes changes.
    EXPECT_EQ(storage[2], 0xEE);
    EXPECT_EQ(storage[38], 0xEE);
}

TEST(SharedLevels, ThreadsRacingOverSharedBytesStoreEveryEntryExactlyOnce) {
    constexpr std::size_t kEntries = kRacedEntries;
    std::vector<std::uint8_t> bytes(kEntries / 4);
    SharedLevels levels(bytes, kEntries);
    EXPECT_EQ(storesByRacingThreads(levels, [](unsigned) { return 0; }), kEntries);
    for (std::size_t i = 0; i < kEntries; ++i) {
        ASSERT_EQ(levels.load(i), 0) << i;
    }
}

} // namespace
} // namespace cw::core
