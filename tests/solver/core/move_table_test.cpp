// Tests of the move-table helpers: a coordinate's move table against the moves themselves,
// and the breadth-first search over pairs of coordinates, which must end, with an error,
// when some pair cannot be reached.
#include "solver/core/move_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace cw::core {
namespace {

TEST(MoveTable, EachEntryIsTheCoordinateAfterTheMove) {
    const std::vector<std::uint16_t> table = moveTable<std::uint16_t>(
        kTwistCount, allMoves(), [](CubieCube& cube, int value) { setTwist(cube, value); },
        [](const CubieCube& cube) { return twist(cube); });
    ASSERT_EQ(table.size(), std::size_t{kTwistCount} * kMoveCount);
    for (int value = 0; value < kTwistCount; value += 97) {
        CubieCube cube;
        setTwist(cube, value);
        for (int m = 0; m < kMoveCount; ++m) {
            EXPECT_EQ(table[static_cast<std::size_t>(value * kMoveCount + m)],
                      twist(multiply(cube, moveCube(m))));
        }
    }
}

TEST(PairDistances, CountsTheFewestMovesToBothZeros) {
    // Two counters round a ring of 4 and of 3 values, each move one step either way on one
    // of them, so that every move's inverse is a move too, as with face turns: (a, b) is as
    // many moves away as the two counters are steps from 0 the shorter way round. The table
    // is small enough that the search goes outwards from (0, 0) for two moves and then looks
    // back from the last pairs, so both ways of filling it are checked.
    const std::vector<std::uint8_t> a = {1, 3, 0, 0, 2, 0, 1, 1, 3, 1, 2, 2, 0, 2, 3, 3};
    const std::vector<std::uint8_t> b = {0, 0, 1, 2, 1, 1, 2, 0, 2, 2, 0, 1};
    const std::vector<std::uint8_t> depth = pairDistances(4, a, 3, b, 4);
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(depth[static_cast<std::size_t>(x * 3 + y)],
                      std::min(x, 4 - x) + std::min(y, 3 - y))
                << x << ", " << y;
        }
    }
}

TEST(PairDistances, EndsWithAnErrorWhenAPairCannotBeReached) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "the browser build catches no exception by its type";
#endif
    // The second coordinate never moves off 0, so no pair (a, 1) is ever reached.
    const std::vector<std::uint8_t> a = {1, 2, 0};
    const std::vector<std::uint8_t> b = {0, 1};
    EXPECT_THROW(pairDistances(3, a, 2, b, 1), std::logic_error);
}

} // namespace
} // namespace cw::core
