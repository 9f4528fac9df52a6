// Tests of the up-down symmetries and the edge-set coordinates against the sticker model:
// a symmetry maps a cube made by moves onto the cube its mapped moves make on the stickers.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "solver/core/cubie.h"
#include "solver/core/symmetry.h"

namespace cw::core {
namespace {

// Random move sequences of 25 moves, the same on every run.
std::vector<std::vector<int>> randomMoveLists(int count) {
    std::mt19937 generator(20);
    std::uniform_int_distribution<int> anyMove(0, kMoveCount - 1);
    std::vector<std::vector<int>> lists(static_cast<std::size_t>(count));
    for (std::vector<int>& moves : lists) {
        for (int i = 0; i < 25; ++i) {
            moves.push_back(anyMove(generator));
        }
    }
    return lists;
}

std::string stickersAfter(const std::vector<int>& moves) {
    Cube cube;
    setSolvedStickers(cube);
    for (const int m : moves) {
        for (int i = 0; i < moveQuarterTurns(m); ++i) {
            cube.turn(cubeFace(moveFace(m)), true);
        }
    }
    return faceletString(cube);
}

CubieCube piecesAfter(const std::vector<int>& moves) {
    CubieCube cube;
    for (const int m : moves) {
        cube = multiply(cube, moveCube(m));
    }
    return cube;
}

TEST(Symmetry, SixteenDistinctSymmetriesClosedUnderProducts) {
    std::set<std::string> seen;
    for (int s = 0; s < kUdSymmetryCount; ++s) {
        const CubieCube& sym = udSymmetry(s);
        std::string key(sym.cp.begin(), sym.cp.end());
        key.append(sym.co.begin(), sym.co.end());
        key.append(sym.ep.begin(), sym.ep.end());
        key.append(sym.eo.begin(), sym.eo.end());
        seen.insert(key);
        EXPECT_EQ(symmetryProduct(sym, udSymmetry(inverseSymmetry(s))), CubieCube{}) << s;
        for (int r = 0; r < kUdSymmetryCount; ++r) {
            const CubieCube product = symmetryProduct(sym, udSymmetry(r));
            int match = 0;
            while (match < kUdSymmetryCount && !(udSymmetry(match) == product)) {
                ++match;
            }
            EXPECT_LT(match, kUdSymmetryCount) << s << " then " << r;
        }
    }
    EXPECT_EQ(seen.size(), std::size_t{kUdSymmetryCount});
    EXPECT_EQ(udSymmetry(0), CubieCube{});
}

TEST(Symmetry, ConjugatedCubesAreTheStickersOfTheMappedMoves) {
    for (const std::vector<int>& moves : randomMoveLists(40)) {
        const CubieCube cube = piecesAfter(moves);
        for (int s = 0; s < kUdSymmetryCount; ++s) {
            std::vector<int> mapped;
            for (const int m : moves) {
                mapped.push_back(conjugateMove(m, s));
            }
            ASSERT_EQ(faceletString(conjugate(cube, s)), stickersAfter(mapped)) << "symmetry " << s;
        }
    }
}

TEST(Symmetry, SeeingThroughTwoSymmetriesIsSeeingThroughTheirComposition) {
    const CubieCube cube = piecesAfter(randomMoveLists(1).front());
    for (int first = 0; first < kUdSymmetryCount; ++first) {
        for (int then = 0; then < kUdSymmetryCount; ++then) {
            const int both = composeSymmetries(first, then);
            EXPECT_EQ(conjugate(conjugate(cube, first), then), conjugate(cube, both))
                << first << " then " << then;
        }
        EXPECT_EQ(composeSymmetries(first, inverseSymmetry(first)), 0);
        EXPECT_EQ(composeSymmetries(0, first), first);
    }
}

TEST(Symmetry, MovesMapAsTheGeometrySays) {
    const int r = moveOf(1, 1);
    const int u = moveOf(0, 1);
    for (int s = 0; s < kUdSymmetryCount; ++s) {
        // The up-down axis stays; a mirror turns clockwise into counter-clockwise.
        const int image = conjugateMove(u, s);
        EXPECT_EQ(moveFace(image) % 3, 0) << s;
        EXPECT_EQ(moveQuarterTurns(image), s % 2 == 0 ? 1 : 3) << s;
        EXPECT_NE(moveFace(conjugateMove(r, s)) % 3, 0) << s;
        EXPECT_EQ(conjugateMove(moveOf(1, 2), s) % 3, 1) << "half turns stay half turns";
    }
    // The left-right mirror turns R into L'; the quarter turn about U moves R to F or B.
    EXPECT_EQ(conjugateMove(r, 1), moveOf(4, 3));
    EXPECT_NE(moveFace(conjugateMove(r, 2)) % 3, 1);
}

} // namespace
} // namespace cw::core
