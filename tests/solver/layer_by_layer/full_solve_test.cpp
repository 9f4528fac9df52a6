// Complete solves of many scrambles: every solution, played on the scrambled stickers,
// leaves the cube solved.
#include <gtest/gtest.h>

#include "solver/layer_by_layer/layer_by_layer.h"
#include "tests/solver/layer_by_layer/layer_by_layer_testing.h"

namespace cw {
namespace {

constexpr std::uint32_t kSeeds = 3000;

TEST(FullSolve, EverySeedIsSolvedByItsPendingMoves) {
    Cube cube;
    Cube scratch;
    std::size_t longest = 0;
    std::size_t total = 0;
    for (std::uint32_t seed = 0; seed < kSeeds; ++seed) {
        testing::scrambleFromSeed(cube, seed);
        const FaceletArray scrambled = cube.facelets;
        ASSERT_TRUE(solve(cube)) << "seed " << seed;
        ASSERT_EQ(cube.facelets, scrambled) << "seed " << seed;
        ASSERT_TRUE(testing::solves(scrambled, cube.pending, scratch)) << "seed " << seed;
        longest = std::max(longest, cube.pending.size());
        total += cube.pending.size();
    }
    // A layer-by-layer solution of a full scramble takes some dozens of moves at least
    // and stays within a few hundred.
    EXPECT_GT(total / kSeeds, 40u);
    EXPECT_LT(longest, 1000u);
}

TEST(FullSolve, SolvingTheSameScrambleTwiceGivesTheSameMoves) {
    Cube cube;
    for (const std::uint32_t seed : {0u, 1u, 31337u}) {
        testing::scrambleFromSeed(cube, seed);
        ASSERT_TRUE(solve(cube));
        const std::string first = testing::notation(cube.pending);
        cube.setSolverState(kStatePlayback);
        cube.setResumeState(kStateDownCross);
        ASSERT_TRUE(solve(cube));
        EXPECT_EQ(testing::notation(cube.pending), first) << seed;
    }
}

TEST(FullSolve, PlaybackOfTheSolutionEndsInTheSolvedState) {
    Cube cube;
    testing::scrambleFromSeed(cube, 2718);
    cube.setAutoSolve(true);
    ASSERT_TRUE(solve(cube));
    // Each animated turn is applied once its layer has gone through a quarter turn.
    for (int frame = 0; frame < 100000 && !cube.pending.empty(); ++frame) {
        cube.stepMoveQueue();
        if (cube.turningFace() != -1) {
            cube.advanceTurn();
        }
    }
    cube.stepMoveQueue();
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_TRUE(cube.isSolved());
    EXPECT_EQ(cube.solverState(), kStateSolved);
}

} // namespace
} // namespace cw
