// Tests of the up-down symmetries and the diagonal turn against the sticker model: a
// symmetry maps a cube made by moves onto the cube its mapped moves make on the stickers,
// and each axis the searches look along maps every move onto a move; and the edge-set
// coordinate against slice().
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>
#include <stdexcept>
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

TEST(Symmetry, ConjugationRespectsProductsAndIsUndoneByTheInverse) {
    const std::vector<std::vector<int>> lists = randomMoveLists(40);
    for (std::size_t i = 0; i + 1 < lists.size(); i += 2) {
        const CubieCube a = piecesAfter(lists[i]);
        const CubieCube b = piecesAfter(lists[i + 1]);
        for (int s = 0; s < kUdSymmetryCount; ++s) {
            EXPECT_EQ(conjugate(multiply(a, b), s), multiply(conjugate(a, s), conjugate(b, s)));
            EXPECT_EQ(conjugate(conjugate(a, s), inverseSymmetry(s)), a);
        }
    }
}

TEST(Symmetry, MovesMapAsTheGeometrySays) {
    const int r = moveOf(1, 1);
    const int u = moveOf(0, 1);
    std::set<std::vector<int>> actions;
    for (int s = 0; s < kUdSymmetryCount; ++s) {
        std::vector<int> images;
        for (int m = 0; m < kMoveCount; ++m) {
            images.push_back(conjugateMove(m, s));
        }
        EXPECT_EQ(std::set<int>(images.begin(), images.end()).size(), std::size_t{kMoveCount});
        actions.insert(images);
        // The up-down axis stays; a mirror turns clockwise into counter-clockwise.
        const int image = conjugateMove(u, s);
        EXPECT_EQ(moveFace(image) % 3, 0) << s;
        EXPECT_EQ(moveQuarterTurns(image), s % 2 == 0 ? 1 : 3) << s;
        EXPECT_NE(moveFace(conjugateMove(r, s)) % 3, 0) << s;
        EXPECT_EQ(conjugateMove(moveOf(1, 2), s) % 3, 1) << "half turns stay half turns";
    }
    EXPECT_EQ(actions.size(), std::size_t{kUdSymmetryCount}) << "two symmetries act alike";
    // The left-right mirror turns R into L'; the quarter turn about U moves R to F or B.
    EXPECT_EQ(conjugateMove(r, 1), moveOf(4, 3));
    EXPECT_NE(moveFace(conjugateMove(r, 2)) % 3, 1);
}

TEST(Axis, EachAxisMapsMovesOntoMovesAndBringsEveryFaceUp) {
    const CubieCube cube = piecesAfter(randomMoveLists(1).front());
    std::set<int> facesBroughtUp;
    for (int axis = 0; axis < kAxisCount; ++axis) {
        for (int m = 0; m < kMoveCount; ++m) {
            EXPECT_EQ(alongAxis(multiply(cube, moveCube(m)), axis),
                      multiply(alongAxis(cube, axis), moveCube(axisMove(axis, m))));
            EXPECT_EQ(moveBackFromAxis(axis, axisMove(axis, m)), m);
            if (moveFace(axisMove(axis, m)) == 0) {
                facesBroughtUp.insert(moveFace(m) % 3);
            }
        }
    }
    EXPECT_EQ(facesBroughtUp, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(alongAxis(cube, 0), cube);
}

TEST(Axis, TheSixGuisesAreTheCubeAlongEachAxisAsItIsAndInverted) {
    const CubieCube cube = piecesAfter(randomMoveLists(2).back());
    const std::array<CubieCube, 6> guises = guisesOf(cube);
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const CubieCube& turned = guises[static_cast<std::size_t>(axis * 2)];
        EXPECT_EQ(turned, alongAxis(cube, axis));
        EXPECT_EQ(multiply(turned, guises[static_cast<std::size_t>(axis * 2 + 1)]), CubieCube{});
    }
}

TEST(Pieces, MoveMatchingFindsTheTurnAndRefusesOtherCubes) {
    for (int m = 0; m < kMoveCount; ++m) {
        EXPECT_EQ(moveMatching(moveCube(m)), m);
    }
#ifndef __EMSCRIPTEN__ // the browser build catches no exception by its type
    EXPECT_THROW(moveMatching(multiply(moveCube(0), moveCube(3))), std::logic_error);
    EXPECT_THROW(moveMatching(CubieCube{}), std::logic_error);
#endif
}

TEST(EdgeSets, SetThenGetAndTheSliceCoordinatesAgree) {
    for (const int first : {kUpEdges, kDownEdges, kSliceEdges}) {
        for (int value = 0; value < kEdgeSetCount; value += 7) {
            CubieCube cube;
            setEdgeSet(cube, first, value);
            ASSERT_EQ(edgeSet(cube, first), value) << first;
        }
    }
    for (const std::vector<int>& moves : randomMoveLists(50)) {
        const CubieCube cube = piecesAfter(moves);
        EXPECT_EQ(edgeSet(cube, kSliceEdges) / 24, slice(cube));
    }
    EXPECT_EQ(edgeSet(CubieCube{}, kSliceEdges), 0);
}

} // namespace
} // namespace cw::core
