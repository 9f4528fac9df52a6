// Tests of the piece model against the sticker model: every face turn does what the same
// turn does to the stickers, and the coordinates read back what was set.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "cube/random.h"
#include "solver/core/cubie.h"

namespace cw::core {
namespace {

// Plays one of the 18 moves on the stickers: the cube's face, as often as the move says.
void turnStickers(Cube& cube, int move) {
    for (int i = 0; i < moveQuarterTurns(move); ++i) {
        cube.turn(cubeFace(moveFace(move)), true);
    }
}

// Cubes scrambled by the program's own generator.
std::vector<std::string> scrambledCubes(int count) {
    std::vector<std::string> out;
    Cube cube;
    srand(7);
    for (int i = 0; i < count; ++i) {
        cube.reset();
        out.push_back(faceletString(cube));
    }
    return out;
}

TEST(Pieces, FaceletStringsRoundTrip) {
    for (const std::string& text : scrambledCubes(50)) {
        const std::optional<CubieCube> pieces = fromFacelets(text);
        ASSERT_TRUE(pieces.has_value()) << text;
        EXPECT_EQ(faceletString(*pieces), text);
        EXPECT_EQ(multiply(*pieces, inverseOf(*pieces)), CubieCube{});
    }
    EXPECT_EQ(faceletString(CubieCube{}), kSolvedFaceletString);
}

TEST(Pieces, UnreachableStringsAreRefused) {
    std::string twisted(kSolvedFaceletString);
    // The URF corner turned once in place: U sticker 9 to F 21, F to R 10, R to U.
    twisted[8] = 'F';
    twisted[20] = 'R';
    twisted[9] = 'U';
    EXPECT_FALSE(fromFacelets(twisted).has_value());
    std::string flipped(kSolvedFaceletString);
    std::swap(flipped[7], flipped[19]);
    EXPECT_FALSE(fromFacelets(flipped).has_value());
    std::string swapped(kSolvedFaceletString);
    std::swap(swapped[7], swapped[5]);
    std::swap(swapped[19], swapped[10]);
    EXPECT_FALSE(fromFacelets(swapped).has_value());
    EXPECT_FALSE(fromFacelets(std::string(54, 'U')).has_value());
    EXPECT_FALSE(fromFacelets("UUU").has_value());
}

TEST(Pieces, EveryMoveMatchesTheStickers) {
    Cube cube;
    for (const std::string& text : scrambledCubes(100)) {
        const CubieCube pieces = fromFacelets(text).value();
        for (int m = 0; m < kMoveCount; ++m) {
            ASSERT_EQ(loadFaceletString(cube, text), "");
            turnStickers(cube, m);
            ASSERT_EQ(faceletString(multiply(pieces, moveCube(m))), faceletString(cube))
                << "move " << m << " on " << text;
        }
    }
}

TEST(Coordinates, SetThenGetGivesTheValueBack) {
    for (int value = 0; value < kTwistCount; value += 7) {
        CubieCube cube;
        setTwist(cube, value);
        EXPECT_EQ(twist(cube), value);
    }
    for (int value = 0; value < kSliceCount; ++value) {
        CubieCube cube;
        setSlice(cube, value);
        EXPECT_EQ(slice(cube), value);
    }
    for (int value = 0; value < kPermutation8; value += 13) {
        CubieCube cube;
        setUdEdgePermutation(cube, value);
        EXPECT_EQ(udEdgePermutation(cube), value);
    }
}

} // namespace
} // namespace cw::core
