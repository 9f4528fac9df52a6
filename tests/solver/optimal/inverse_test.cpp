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

} // namespace
} // namespace cw::optimal
