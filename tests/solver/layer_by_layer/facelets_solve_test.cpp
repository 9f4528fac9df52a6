// Tests of solving a cube given as a facelet string: the string of a scrambled cube, fed
// back, gives the same stickers and the same solution as the scramble itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cube/facelet_string.h"
#include "cube/random.h"
#include "solver/layer_by_layer/layer_by_layer.h"

namespace cw {
namespace {

// Solves as a fresh run of the command-line tool would: the stages' counters back at their
// start, then the set-up every caller of solve() makes.
std::vector<Move> solveFresh(Cube& cube) {
    resetStageCounters();
    cube.pending.clear();
    cube.current.reset();
    cube.setSolverState(kStatePlayback);
    cube.setResumeState(kStateDownCross);
    EXPECT_TRUE(solve(cube));
    return {cube.pending.begin(), cube.pending.end()};
}

TEST(FaceletSolve, SolvedStringNeedsNoMoves) {
    Cube cube;
    ASSERT_EQ(loadFaceletString(cube, kSolvedFaceletString), "");
    EXPECT_TRUE(solveFresh(cube).empty());
    EXPECT_EQ(faceletString(cube), kSolvedFaceletString);
}

TEST(FaceletSolve, StringOfAScrambleSolvesLikeTheScramble) {
    Cube scrambled;
    Cube loaded;
    for (std::uint32_t seed = 1; seed <= 200; ++seed) {
        srand(seed);
        scrambled.reset();
        const std::string text = faceletString(scrambled);

        loaded.reset();
        ASSERT_EQ(loadFaceletString(loaded, text), "") << "seed " << seed;
        ASSERT_EQ(loaded.facelets, scrambled.facelets) << "seed " << seed;

        const std::vector<Move> fromSeed = solveFresh(scrambled);
        const std::vector<Move> fromString = solveFresh(loaded);
        ASSERT_FALSE(fromSeed.empty()) << "seed " << seed;
        ASSERT_TRUE(fromSeed == fromString) << "seed " << seed << ": " << text;

        // The solver leaves the stickers as they were; its moves then solve the cube.
        ASSERT_EQ(faceletString(loaded), text) << "seed " << seed;
        for (const Move& move : fromString) {
            loaded.turn(move.face, move.clockwise);
        }
        ASSERT_EQ(faceletString(loaded), kSolvedFaceletString) << "seed " << seed;
    }
}

// Cubes that differ from the solved one by a change face turns can make, written by hand
// as strings: the solver takes them from the loader like any scramble.
TEST(FaceletSolve, HandWrittenReachableCubesSolve) {
    const char* const cubes[] = {
        // Two corners twisted opposite ways.
        "UUUUUUFUFURRRRRRRRLFRFFFFFFDDDDDDDDDLLULLLLLLBBBBBBBBB",
        // Two edges flipped.
        "UUUUURUFURURRRRRRRFUFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB",
        // Two edges and two corners exchanged.
        "UUUUUUUUUFFRRRRRRRRRLFFFFFFDDDDDDDDDLLFLLLLLLBBBBBBBBB",
    };
    for (const char* text : cubes) {
        Cube cube;
        ASSERT_EQ(loadFaceletString(cube, text), "") << text;
        const std::vector<Move> moves = solveFresh(cube);
        EXPECT_FALSE(moves.empty()) << text;
        for (const Move& move : moves) {
            cube.turn(move.face, move.clockwise);
        }
        EXPECT_EQ(faceletString(cube), kSolvedFaceletString) << text;
        for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
            EXPECT_EQ(cube.facelets[i].code, kSolvedCodes[i]) << text << " sticker " << i;
        }
    }
}

} // namespace
} // namespace cw
