// Tests of phase two, shared by both searches, with each search's settings: cubes in the
// subgroup are solved in the fewest moves within the cap, and the moves found, played on the
// pieces, bring them back to solved.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>

#include "solver/core/cubie.h"
#include "solver/two_phase/phase_two.h"
#include "solver/two_phase/search.h"
#include "solver/two_phase/tables.h"

namespace cw::two_phase {
namespace {

using Path = std::array<std::uint8_t, kMaxPath>;

// `count` random phase-two moves played on a solved cube.
CubieCube subgroupCube(std::mt19937& random, int count) {
    CubieCube cube;
    for (int i = 0; i < count; ++i) {
        const std::size_t k = random() % kPhase2Moves.size();
        cube = multiply(cube, moveCube(kPhase2Moves[k]));
    }
    return cube;
}

CubieCube played(CubieCube cube, const Path& path, int from, int to) {
    for (int i = from; i < to; ++i) {
        cube = multiply(cube, moveCube(path[static_cast<std::size_t>(i)]));
    }
    return cube;
}

// The shortest phase two of `cube` within `cap` with `kSettings`, checked on the pieces.
template <SearchSettings kSettings>
int shortestChecked(const CubieCube& cube, int cap, std::uint64_t& nodes) {
    const SmallTablesPhase2Moves moves(tables());
    const PhaseTwo<kSettings, SmallTablesPhase2Moves> phaseTwo(moves);
    Path path{};
    const int length =
        phaseTwo.shortest(path, SmallTablesPhase2Moves::positionOf(cube), 0, cap, nodes);
    if (length >= 0) {
        EXPECT_EQ(played(cube, path, 0, length), CubieCube{});
        for (int i = 0; i < length; ++i) {
            EXPECT_TRUE(isPhase2Move(path[static_cast<std::size_t>(i)]));
        }
    }
    return length;
}

TEST(PhaseTwo, BothSettingsSolveSubgroupCubesInTheFewestMovesWithinTheCap) {
    std::mt19937 random(27);
    for (int scramble = 0; scramble <= 10; ++scramble) {
        for (int sample = 0; sample < 4; ++sample) {
            const CubieCube cube = subgroupCube(random, scramble);
            std::uint64_t smallNodes = 0;
            std::uint64_t largeNodes = 0;
            const int small = shortestChecked<kSmallTablesSettings>(cube, scramble, smallNodes);
            const int large = shortestChecked<kLargeTablesSettings>(cube, scramble, largeNodes);
            ASSERT_GE(small, 0) << scramble << " moves made the cube";
            EXPECT_LE(small, scramble);
            EXPECT_EQ(large, small);
            // Only the small tables' search counts phase two's nodes towards its limit.
            EXPECT_GT(smallNodes, 0U);
            EXPECT_EQ(largeNodes, 0U);
            // One move fewer than the fewest finds nothing.
            if (small > 0) {
                EXPECT_EQ(shortestChecked<kSmallTablesSettings>(cube, small - 1, smallNodes), -1);
                EXPECT_EQ(shortestChecked<kLargeTablesSettings>(cube, small - 1, largeNodes), -1);
            }
        }
    }
}

TEST(PhaseTwo, StartsOnlyWhereItCanBeatTheBestSoFar) {
    const SmallTablesPhase2Moves moves(tables());
    const PhaseTwo<kSmallTablesSettings, SmallTablesPhase2Moves> phaseTwo(moves);
    std::mt19937 random(3);
    const CubieCube inside = subgroupCube(random, 8);
    std::uint64_t nodes = 0;
    const int fewest = shortestChecked<kSmallTablesSettings>(inside, kPhase2Limit, nodes);
    ASSERT_GE(fewest, 0);
    // A first phase of two moves that ends on L', which neither L2 nor R2 may follow.
    Path path{};
    path[0] = 3;  // R
    path[1] = 14; // L'
    const auto enter = [&](int) {
        return std::optional(SmallTablesPhase2Moves::positionOf(inside));
    };

    const Phase2Result found = phaseTwo.start(path, 2, kMaxPath + 1, kPhase2Limit, enter, nodes);
    EXPECT_TRUE(found.tried);
    EXPECT_GE(found.length, 2 + fewest);
    EXPECT_EQ(played(inside, path, 2, found.length), CubieCube{});
    EXPECT_TRUE(mayFollow(path[2], path[1]));

    // A best of that length leaves nothing to beat, and so does a pass limit one move short.
    const Phase2Result tie = phaseTwo.start(path, 2, found.length, kPhase2Limit, enter, nodes);
    EXPECT_TRUE(tie.tried);
    EXPECT_EQ(tie.length, 0);
    EXPECT_EQ(phaseTwo.start(path, 2, kMaxPath + 1, found.length - 3, enter, nodes).length, 0);

    // No phase two at all when the first phase alone is as long as the best, or when the
    // way in is turned away at once.
    EXPECT_FALSE(phaseTwo.start(path, 2, 2, kPhase2Limit, enter, nodes).tried);
    const auto turnedAway = [](int) { return std::optional<Phase2Position>(); };
    EXPECT_FALSE(phaseTwo.start(path, 2, kMaxPath + 1, kPhase2Limit, turnedAway, nodes).tried);
}

} // namespace
} // namespace cw::two_phase
