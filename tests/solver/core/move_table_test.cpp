// Tests of the move-table helpers: a coordinate's move table against the moves themselves,
// and the breadth-first search over pairs of coordinates, which must end, with an error,
// when some pair cannot be reached.
#include "solver/core/move_table.h"

#include <gtest/gtest.h>

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
    // Two counters, of 4 and 3 values, each move adding one to one of them (wrapping round).
    const std::vector<std::uint8_t> a = {1, 0, 2, 1, 3, 2, 0, 3}; // [value * 2 + move]
    const std::vector<std::uint8_t> b = {0, 1, 1, 2, 2, 0};
    const std::vector<std::uint8_t> depth = pairDistances(4, a, 3, b, 2);
    // The search spreads out from (0, 0), which for face turns, whose inverses are face
    // turns too, is the distance to it: here (a, b) is a + b moves away.
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(depth[static_cast<std::size_t>(x * 3 + y)], x + y) << x << ", " << y;
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
