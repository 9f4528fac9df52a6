// The solution optimiser's three single passes, case by case.
#include <gtest/gtest.h>

#include "solver/layer_by_layer/layer_by_layer.h"
#include "tests/solver/layer_by_layer/layer_by_layer_testing.h"

namespace cw {
namespace {

using testing::notation;
using testing::parseMoves;

/// Runs the optimiser on `recorded` and returns what it leaves in pending.
std::string optimise(Cube& cube, const std::string& recorded) {
    cube.solution = parseMoves(recorded);
    optimiseSolution(cube);
    return notation(cube.pending);
}

class Optimiser : public ::testing::Test {
protected:
    void SetUp() override { testing::setSolved(cube); }
    Cube cube;
};

TEST_F(Optimiser, EmptySolutionGivesEmptyPending) {
    cube.pending = parseMoves("1 cw");
    EXPECT_EQ(optimise(cube, ""), "");
    EXPECT_TRUE(cube.solution.empty());
}

TEST_F(Optimiser, RunsOfEqualQuarterTurnsShortenPassByPass) {
    EXPECT_EQ(optimise(cube, "3 cw"), "3 cw");
    EXPECT_EQ(optimise(cube, "3 cw, 3 cw"), "3 cw, 3 cw") << "a half turn stays";
    EXPECT_EQ(optimise(cube, "3 cw, 3 cw, 3 cw"), "3 ccw");
    EXPECT_EQ(optimise(cube, "3 cw, 3 cw, 3 cw, 3 cw"), "");
    EXPECT_EQ(optimise(cube, "3 cw, 3 cw, 3 cw, 3 cw, 3 cw"), "3 cw");
    EXPECT_EQ(optimise(cube, "3 cw, 3 cw, 3 cw, 3 cw, 3 cw, 3 cw"), "3 cw, 3 cw");
    EXPECT_EQ(optimise(cube, "3 cw, 3 cw, 3 cw, 3 cw, 3 cw, 3 cw, 3 cw"), "3 ccw");
    EXPECT_EQ(optimise(cube, "3 cw, 3 cw, 3 cw, 3 cw, 3 cw, 3 cw, 3 cw, 3 cw"), "");
    EXPECT_EQ(optimise(cube, "4 ccw, 4 ccw, 4 ccw"), "4 cw");
}

TEST_F(Optimiser, PatternsCreatedByALaterPassStay) {
    // Pass 2 turns the three into one ccw; pass 3 does not cancel two equal moves.
    EXPECT_EQ(optimise(cube, "2 cw, 2 cw, 2 cw, 2 ccw"), "2 ccw, 2 ccw");
    // Pass 3 removes the inner pair and does not look back at the outer one.
    EXPECT_EQ(optimise(cube, "0 cw, 1 cw, 1 ccw, 0 ccw"), "0 cw, 0 ccw");
    // Two equal moves: the run of three is cut by the end of the list.
    EXPECT_EQ(optimise(cube, "4 cw, 5 cw, 5 cw"), "4 cw, 5 cw, 5 cw");
}

TEST_F(Optimiser, PatternsCreatedByAnEarlierPassAreReducedLater) {
    // Pass 1 removes the full turn and leaves three equal moves for pass 2.
    EXPECT_EQ(optimise(cube, "1 cw, 5 ccw, 5 ccw, 5 ccw, 5 ccw, 1 cw, 1 cw"), "1 ccw");
    // Pass 1 joins the two runs of three, pass 2 shortens each to one move, and pass 3
    // cancels the pair that makes.
    EXPECT_EQ(optimise(cube, "2 cw, 2 cw, 2 cw, 4 cw, 4 cw, 4 cw, 4 cw, 2 ccw, 2 ccw, 2 ccw"), "");
}

TEST_F(Optimiser, GroupsAreTakenFromTheCursorOnwardsOnly) {
    // The first move does not belong to the run of three after it.
    EXPECT_EQ(optimise(cube, "0 cw, 0 ccw, 0 ccw, 0 ccw"), "0 cw, 0 cw");
    EXPECT_EQ(optimise(cube, "0 ccw, 0 cw, 0 cw, 0 cw, 1 cw"), "0 ccw, 0 ccw, 1 cw");
}

TEST_F(Optimiser, InversePairsCancelInSeparateGroups) {
    EXPECT_EQ(optimise(cube, "2 cw, 2 ccw, 2 cw"), "2 cw");
    EXPECT_EQ(optimise(cube, "2 cw, 2 ccw, 2 ccw, 2 cw"), "");
    EXPECT_EQ(optimise(cube, "1 cw, 4 ccw"), "1 cw, 4 ccw") << "different faces";
}

TEST_F(Optimiser, ThreeEqualMovesAtTheEndAreReduced) {
    EXPECT_EQ(optimise(cube, "0 cw, 4 ccw, 4 ccw, 4 ccw"), "0 cw, 4 cw");
}

TEST_F(Optimiser, SolutionHoldsTheSecondPassAfterwards) {
    optimise(cube, "5 cw, 5 cw, 5 cw, 5 cw, 1 cw, 1 cw, 1 cw, 0 cw, 0 ccw");
    EXPECT_EQ(notation(cube.solution), "1 ccw, 0 cw, 0 ccw");
    EXPECT_EQ(notation(cube.pending), "1 ccw");
}

TEST_F(Optimiser, OutputTurnsTheStickersLikeTheInput) {
    // Whatever the passes drop or rewrite, the stickers end the same.
    srand(7);
    MoveList recorded;
    for (int i = 0; i < 2000; ++i) {
        // Few faces and long runs, so that every pass finds groups.
        const int face = rand() % 2;
        const bool clockwise = rand() % 5 != 0;
        recorded.push_back(Move(face, clockwise));
    }
    Cube expected;
    testing::setSolved(expected);
    for (const Move& move : recorded) {
        expected.turn(move.face, move.clockwise);
    }
    cube.solution = recorded;
    optimiseSolution(cube);
    EXPECT_LT(cube.pending.size(), recorded.size());
    for (const Move& move : cube.pending) {
        cube.turn(move.face, move.clockwise);
    }
    EXPECT_EQ(cube.facelets, expected.facelets);
}

} // namespace
} // namespace cw
