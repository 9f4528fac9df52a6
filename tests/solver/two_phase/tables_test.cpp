// Tests of the two-phase search's small tables against the sticker model: every coordinate
// move table does what the same turn does to the stickers, and the pruning depths are lower
// bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "cube/random.h"
#include "solver/core/cubie.h"
#include "solver/two_phase/tables.h"

namespace cw::two_phase {
namespace {

// Plays one of the 18 moves on the stickers: the cube's face, as often as the move says.
void turnStickers(Cube& cube, int move) {
    for (int i = 0; i < moveQuarterTurns(move); ++i) {
        cube.turn(cubeFace(moveFace(move)), true);
    }
}

CubieCube piecesOf(const Cube& cube) {
    const std::optional<CubieCube> pieces = fromFacelets(faceletString(cube));
    EXPECT_TRUE(pieces.has_value()) << faceletString(cube);
    return pieces.value_or(CubieCube{});
}

// Cubes scrambled by the program's own generator, and cubes inside the second phase's
// subgroup made by random moves of that subgroup only.
std::vector<std::string> scrambledCubes(int count, bool inSubgroup) {
    std::vector<std::string> out;
    Cube cube;
    srand(7);
    for (int i = 0; i < count; ++i) {
        if (inSubgroup) {
            setSolvedStickers(cube);
            for (int k = 0; k < 30; ++k) {
                turnStickers(cube, kPhase2Moves[static_cast<std::size_t>(rand() % 10)]);
            }
        } else {
            cube.reset();
        }
        out.push_back(faceletString(cube));
    }
    return out;
}

TEST(MoveTables, FirstPhaseCoordinatesFollowTheStickers) {
    const Tables& t = tables();
    Cube cube;
    for (const std::string& text : scrambledCubes(200, false)) {
        const CubieCube before = fromFacelets(text).value();
        for (int m = 0; m < kMoveCount; ++m) {
            ASSERT_EQ(loadFaceletString(cube, text), "");
            turnStickers(cube, m);
            const CubieCube after = piecesOf(cube);
            const auto at = [m](int coordinate) {
                return static_cast<std::size_t>(coordinate * kMoveCount + m);
            };
            ASSERT_EQ(t.twistMove[at(twist(before))], twist(after)) << "move " << m;
            ASSERT_EQ(t.flipMove[at(flip(before))], flip(after)) << "move " << m;
            ASSERT_EQ(t.sliceMove[at(slice(before))], slice(after)) << "move " << m;
        }
    }
}

TEST(MoveTables, SecondPhaseCoordinatesFollowTheStickers) {
    const Tables& t = tables();
    Cube cube;
    for (const std::string& text : scrambledCubes(200, true)) {
        const CubieCube before = fromFacelets(text).value();
        ASSERT_EQ(twist(before), 0);
        ASSERT_EQ(flip(before), 0);
        ASSERT_EQ(slice(before), 0);
        for (std::size_t k = 0; k < kPhase2Moves.size(); ++k) {
            ASSERT_EQ(loadFaceletString(cube, text), "");
            turnStickers(cube, kPhase2Moves[k]);
            const CubieCube after = piecesOf(cube);
            const auto at = [k](int coordinate) {
                return static_cast<std::size_t>(coordinate) * kPhase2Moves.size() + k;
            };
            ASSERT_EQ(t.cornerMove[at(cornerPermutation(before))], cornerPermutation(after));
            ASSERT_EQ(t.udEdgeMove[at(udEdgePermutation(before))], udEdgePermutation(after));
            ASSERT_EQ(t.slicePermMove[at(slicePermutation(before))], slicePermutation(after));
        }
    }
}

TEST(PruningTables, DepthsAreLowerBoundsThatOneMoveChangesByAtMostOne) {
    const Tables& t = tables();
    EXPECT_EQ(t.phase1Bound(0, 0, 0), 0);
    EXPECT_EQ(t.phase2Bound(0, 0, 0), 0);
    // Every pair of coordinate values is reached, and the packing keeps the depths apart.
    for (const DepthTable* table : {&t.twistSliceDepth, &t.flipSliceDepth, &t.twistFlipDepth,
                                    &t.cornerSliceDepth, &t.udEdgeSliceDepth}) {
        int deepest = 0;
        for (std::size_t i = 0; i < table->size(); ++i) {
            deepest = std::max(deepest, (*table)[i]);
        }
        EXPECT_GT(deepest, 5);
        EXPECT_LT(deepest, 15);
    }
    for (const std::string& text : scrambledCubes(100, false)) {
        const CubieCube cube = fromFacelets(text).value();
        for (int m = 0; m < kMoveCount; ++m) {
            const CubieCube next = multiply(cube, moveCube(m));
            const int before = t.phase1Bound(twist(cube), flip(cube), slice(cube));
            const int after = t.phase1Bound(twist(next), flip(next), slice(next));
            ASSERT_LE(std::abs(before - after), 1);
        }
    }
}

} // namespace
} // namespace cw::two_phase
