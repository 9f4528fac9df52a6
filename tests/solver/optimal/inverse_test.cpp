// Tests of the optimal search's packed inverse: a move put in front and the coordinates read
// along each axis agree with the pieces' own multiply and the three axes' coordinates.
#include <gtest/gtest.h>

#include <random>

#include "optimal_testing.h"
#include "solver/core/symmetry.h"
#include "solver/optimal/inverse.h"

namespace cw::optimal {
namespace {

using testing::played;
using testing::randomMoves;

TEST(PackedInverse, FollowsTheCubeMoveByMoveAndReadsEveryAxis) {
    const InverseMoves& moves = InverseMoves::get();
    std::mt19937 random(28);
    for (int i = 0; i < 200; ++i) {
        const std::vector<int> path = randomMoves(random, 1 + i % 25);
        // Kept as the search keeps it: each move's undoing put in front of the inverse.
        CubieCube cube;
        PackedCube inverse = packed(cube);
        for (const int m : path) {
            cube = core::multiply(cube, core::moveCube(m));
            inverse = moves.before(inverse, InverseMoves::undo(m));
        }
        const CubieCube expected = core::inverseOf(played(path));
        ASSERT_EQ(inverse.corners, packed(expected).corners) << "cube " << i;
        ASSERT_EQ(inverse.edges, packed(expected).edges) << "cube " << i;
        for (int a = 0; a < core::kAxisCount; ++a) {
            EXPECT_EQ(moves.along(inverse, a), phaseOneCoordinates(core::alongAxis(expected, a)))
                << "cube " << i << ", axis " << a;
            EXPECT_EQ(moves.along(packed(cube), a), phaseOneCoordinates(core::alongAxis(cube, a)))
                << "cube " << i << ", axis " << a;
        }
    }
}

// The search reuses an inverse's bound along a move's own axis when it puts the move in front:
// twist, flip and the middle-slice edges read the same there after any turn of that axis, and
// the front-back edges' places too after a half turn, but not after a quarter turn.
TEST(PackedInverse, ATurnInFrontLeavesItsOwnAxisAsItWas) {
    const InverseMoves& moves = InverseMoves::get();
    std::mt19937 random(6);
    int quarterTurnsMovingEdges = 0;
    for (int i = 0; i < 100; ++i) {
        const PackedCube cube = packed(played(randomMoves(random, 20)));
        for (int m = 0; m < core::kMoveCount; ++m) {
            const int axis = core::moveFace(m) % core::kAxisCount;
            const PhaseOneCoordinates before = moves.along(cube, axis);
            const PhaseOneCoordinates after = moves.along(moves.before(cube, m), axis);
            EXPECT_EQ(after.twist, before.twist) << "cube " << i << ", move " << m;
            EXPECT_EQ(after.flip, before.flip) << "cube " << i << ", move " << m;
            EXPECT_EQ(after.sliceEdges, before.sliceEdges) << "cube " << i << ", move " << m;
            if (core::moveQuarterTurns(m) == 2) {
                EXPECT_EQ(after.frontBackEdges, before.frontBackEdges)
                    << "cube " << i << ", move " << m;
            } else if (after.frontBackEdges != before.frontBackEdges) {
                ++quarterTurnsMovingEdges;
            }
        }
    }
    EXPECT_GT(quarterTurnsMovingEdges, 0);
}

} // namespace
} // namespace cw::optimal
