// Tests of the search over symmetry classes on a table small enough to check whole: the
// classes of the slice coordinate with the corner twists, against a plain breadth-first
// search over both coordinates as they are.
#include "solver/core/class_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "solver/core/move_table.h"

namespace cw::core {
namespace {

// The slice classes, the twist's moves and conjugates, and a table of depths over them.
struct SliceTwistTable {
    std::vector<std::uint16_t> classSym;
    std::vector<std::uint16_t> reps;
    std::vector<std::uint16_t> stabilizers;
    std::vector<std::uint16_t> sliceMove =
        moveTable<std::uint16_t>(kSliceCount, allMoves(), setSlice, slice);
    std::vector<std::uint16_t> twistMove =
        moveTable<std::uint16_t>(kTwistCount, allMoves(), setTwist, twist);
    std::vector<std::uint16_t> twistConj = conjugationTable(kTwistCount, cubeWith<setTwist>, twist);
    std::vector<std::uint8_t> bytes;

    SliceTwistTable() {
        stabilizers = symmetryClasses(kSliceCount, cubeWith<setSlice>, slice, classSym, reps);
    }

    std::size_t entries() const { return reps.size() * kTwistCount; }

    // Fills the depths to `deepest` on `threads` threads; returns what it reported.
    std::vector<std::size_t> build(unsigned threads, int deepest) {
        bytes.assign((entries() + 1) / 2, 0);
        SharedDepths depths(bytes, entries());
        return search(depths, threads, deepest);
    }

    template <typename Depths>
    std::vector<std::size_t> search(Depths& depths, unsigned threads, int deepest) {
        ClassSearch search{
            depths,
            static_cast<int>(reps.size()),
            kTwistCount,
            kMoveCount,
            stabilizers,
            [this](int cls, int m) {
                const std::size_t moved =
                    sliceMove[std::size_t{reps[static_cast<std::size_t>(cls)]} * kMoveCount +
                              static_cast<std::size_t>(m)];
                const unsigned next = classSym[moved];
                return std::pair<int, int>(static_cast<int>(next >> 4),
                                           static_cast<int>(next & 15));
            },
            [this](int raw, int m, int s) {
                return conjugated(twistMove[static_cast<std::size_t>(raw * kMoveCount + m)], s);
            },
            [this](int raw, int s) { return conjugated(raw, s); }};
        std::vector<std::size_t> reported;
        search.run(threads, deepest, [&reported](std::size_t known) { reported.push_back(known); });
        return reported;
    }

    int conjugated(int raw, int s) const {
        return twistConj[static_cast<std::size_t>(raw * kUdSymmetryCount + s)];
    }

    std::size_t entryOf(int sliceValue, int twistValue) const {
        const unsigned both = classSym[static_cast<std::size_t>(sliceValue)];
        return std::size_t{both >> 4} * kTwistCount +
               static_cast<std::size_t>(conjugated(twistValue, both & 15));
    }

    int depth(int sliceValue, int twistValue) const {
        const std::size_t index = entryOf(sliceValue, twistValue);
        return bytes[index / 2] >> (index % 2 * 4) & 15;
    }
};

TEST(SymmetryClasses, CarryEveryValueOntoTheSmallestOfItsClassAndKnowItsSymmetries) {
    SliceTwistTable t;
    ASSERT_GT(t.reps.size(), 1U);
    for (int value = 0; value < kSliceCount; ++value) {
        const unsigned both = t.classSym[static_cast<std::size_t>(value)];
        const int rep = t.reps[both >> 4];
        EXPECT_LE(rep, value);
        EXPECT_EQ(slice(conjugate(cubeWith<setSlice>(value), static_cast<int>(both & 15))), rep)
            << value;
    }
    for (std::size_t cls = 0; cls < t.reps.size(); ++cls) {
        EXPECT_EQ(t.classSym[t.reps[cls]] >> 4, cls);
        for (int s = 0; s < kUdSymmetryCount; ++s) {
            const bool keeps = slice(conjugate(cubeWith<setSlice>(t.reps[cls]), s)) == t.reps[cls];
            EXPECT_EQ((t.stabilizers[cls] >> s & 1) != 0, keeps) << cls << " " << s;
        }
    }
}

TEST(ClassSearch, AgreesEntryForEntryWithAPlainSearchOnAnyNumberOfThreads) {
    SliceTwistTable t;
    const std::vector<std::uint8_t> plain =
        pairDistances(kSliceCount, t.sliceMove, kTwistCount, t.twistMove, kMoveCount);
    const int farthest = *std::max_element(plain.begin(), plain.end());
    ASSERT_LT(farthest, SharedDepths::kUnknown);
    for (const unsigned threads : {1U, 2U}) {
        // To the end, which takes the search from spreading out forwards to asking each
        // unknown entry about its neighbours; and stopped short, leaving the rest one deeper.
        for (const int deepest : {14, farthest - 3}) {
            const std::vector<std::size_t> reported = t.build(threads, deepest);
            for (int sliceValue = 0; sliceValue < kSliceCount; ++sliceValue) {
                for (int twistValue = 0; twistValue < kTwistCount; ++twistValue) {
                    const int expected = std::min<int>(
                        plain[static_cast<std::size_t>(sliceValue * kTwistCount + twistValue)],
                        deepest + 1);
                    ASSERT_EQ(t.depth(sliceValue, twistValue), expected)
                        << "slice " << sliceValue << " twist " << twistValue << " threads "
                        << threads << " deepest " << deepest;
                }
            }
            ASSERT_FALSE(reported.empty());
            EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
            EXPECT_EQ(reported.back(), t.entries());
        }
    }
}

TEST(ClassSearch, InTwoBitsAnEntryTellsTheLastTwoDepthsFromTheNearerAndTheFartherOnes) {
    SliceTwistTable t;
    const std::vector<std::uint8_t> plain =
        pairDistances(kSliceCount, t.sliceMove, kTwistCount, t.twistMove, kMoveCount);
    const int farthest = *std::max_element(plain.begin(), plain.end());
    for (const unsigned threads : {1U, 2U}) {
        // Both ways of reaching the last depth: spreading out from the frontier, and (near
        // the end) asking every entry not reached about its neighbours.
        for (const int deepest : {4, farthest - 1}) {
            std::vector<std::uint8_t> bytes((t.entries() + 3) / 4);
            SharedLevels levels(bytes, t.entries());
            t.search(levels, threads, deepest);
            ASSERT_EQ(levels.frontierDepth(), deepest - 1);
            for (int sliceValue = 0; sliceValue < kSliceCount; ++sliceValue) {
                for (int twistValue = 0; twistValue < kTwistCount; ++twistValue) {
                    const int d =
                        plain[static_cast<std::size_t>(sliceValue * kTwistCount + twistValue)];
                    const SharedLevels::Level expected = d > deepest    ? SharedLevels::unreached
                                                         : d == deepest ? SharedLevels::reached
                                                         : d + 1 == deepest ? SharedLevels::frontier
                                                                            : SharedLevels::earlier;
                    ASSERT_EQ(levels.level(t.entryOf(sliceValue, twistValue)), expected)
                        << "slice " << sliceValue << " twist " << twistValue << " threads "
                        << threads << " deepest " << deepest;
                }
            }
        }
    }
}

TEST(ClassSearch, StepsThatReachNothingAreAnError) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "the browser build catches no exception by its type";
#endif
    std::vector<std::uint8_t> bytes(8);
    SharedDepths depths(bytes, 16);
    const std::vector<std::uint16_t> stabilizers(4, 1);
    ClassSearch stuck{depths,
                      4,
                      4,
                      kMoveCount,
                      stabilizers,
                      [](int cls, int) { return std::pair<int, int>(cls, 0); },
                      [](int raw, int, int) { return raw; },
                      [](int raw, int) { return raw; }};
    EXPECT_THROW(stuck.run(1, 14, [](std::size_t) {}), std::logic_error);
}

} // namespace
} // namespace cw::core
