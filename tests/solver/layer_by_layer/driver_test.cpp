// The solver driver and the search helpers: what solve leaves behind, how it copes with
// any subStep and any state on entry, and how it ends on a cube that face turns
// cannot reach.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>
#include <utility>

#include "solver/layer_by_layer/layer_by_layer.h"
#include "tests/solver/layer_by_layer/layer_by_layer_testing.h"

namespace cw {
namespace {

using testing::notation;

// Search helpers.

TEST(FaceBit, FacesHaveTheirBitsAndAnythingElseIsSix) {
    EXPECT_EQ(faceBit(0), 1);
    EXPECT_EQ(faceBit(1), 32);
    EXPECT_EQ(faceBit(2), 4);
    EXPECT_EQ(faceBit(3), 16);
    EXPECT_EQ(faceBit(4), 2);
    EXPECT_EQ(faceBit(5), 8);
    EXPECT_EQ(faceBit(6), 6);
    EXPECT_EQ(faceBit(-1), 6);
    EXPECT_EQ(faceBit(INT_MIN), 6);
}

TEST(FindCubie, FindsEveryStickerOfACubieInFaceRowColumnOrder) {
    Cube cube;
    testing::setSolved(cube);
    const CubieLocation centre = findCubie(cube, 8);
    ASSERT_EQ(centre.count, 1);
    EXPECT_EQ(std::make_tuple(centre.face[0], centre.row[0], centre.column[0]),
              std::make_tuple(5, 1, 1));
    EXPECT_EQ(findCubie(cube, 0).count, 0);
    EXPECT_EQ(findCubie(cube, 63).count, 0);
    EXPECT_EQ(findCubie(cube, 9).count, 2);

    // The up-front-left corner after a clockwise front turn: (0, 0, 2), (1, 0, 0),
    // (2, 2, 2), reported by face even though the front sticker came first before.
    cube.turn(0, true);
    const CubieLocation corner = findCubie(cube, 7);
    ASSERT_EQ(corner.count, 3);
    EXPECT_EQ(corner.face, (std::array<int, 3>{0, 1, 2}));
    EXPECT_EQ(corner.row, (std::array<int, 3>{0, 0, 2}));
    EXPECT_EQ(corner.column, (std::array<int, 3>{2, 0, 2}));
}

TEST(FindCubie, KeepsNoMoreThanThreeStickers) {
    Cube cube;
    testing::setSolved(cube);
    for (const std::size_t index : {0u, 10u, 20u, 30u, 40u, 50u}) {
        cube.facelets[index].code = 99;
    }
    const CubieLocation found = findCubie(cube, 99);
    ASSERT_EQ(found.count, 3);
    EXPECT_EQ(found.face, (std::array<int, 3>{0, 1, 2}));
}

TEST(MatchesCentres, ComparesColoursWithTheCentreOfEachStickersFace) {
    Cube cube;
    testing::setSolved(cube);
    EXPECT_TRUE(matchesCentres(cube, CubieLocation{})) << "nothing listed";
    for (const std::int32_t code : kSolvedCodes) {
        EXPECT_TRUE(matchesCentres(cube, findCubie(cube, code))) << code;
    }
    cube.turn(0, true);
    EXPECT_FALSE(matchesCentres(cube, findCubie(cube, 9))) << "moved off the down face";
    EXPECT_TRUE(matchesCentres(cube, findCubie(cube, 1))) << "the centre stays";
    EXPECT_TRUE(matchesCentres(cube, findCubie(cube, 18))) << "not in the turned layer";
}

// The driver.

class Solve : public ::testing::Test {
protected:
    void SetUp() override { resetStageCounters(); }
    void TearDown() override { resetStageCounters(); }

    /// The pending list that solve() leaves for a scramble from `seed`.
    std::string solutionFor(std::uint32_t seed) {
        testing::scrambleFromSeed(cube, seed);
        EXPECT_TRUE(solve(cube));
        return notation(cube.pending);
    }

    Cube cube;
    Cube scratch;
};

TEST_F(Solve, SolvedCubeGetsNoMoves) {
    testing::setSolved(cube);
    cube.setSolverState(kStatePlayback);
    cube.setResumeState(kStateDownCross);
    EXPECT_TRUE(solve(cube));
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_TRUE(cube.solution.empty());
    EXPECT_TRUE(cube.isSolved());
    EXPECT_EQ(cube.solverState(), kStatePlayback);
    EXPECT_EQ(cube.resumeState(), kStatePlayback);
}

TEST_F(Solve, LeavesEveryStickerAsItWasFieldByField) {
    testing::scrambleFromSeed(cube, 12345);
    for (std::size_t i = 0; i < cube.facelets.size(); i += 5) {
        cube.facelets[i].drawn = true;
    }
    cube.solution.push_back(Move(3, true));
    const FaceletArray before = cube.facelets;
    ASSERT_TRUE(solve(cube));
    EXPECT_EQ(cube.facelets, before);
    EXPECT_EQ(cube.backup, before);
    EXPECT_EQ(cube.solverState(), kStatePlayback);
    EXPECT_EQ(cube.resumeState(), kStatePlayback);
    EXPECT_TRUE(testing::solves(before, cube.pending, scratch));
}

TEST_F(Solve, ForgetsAPlaybackPositionInTheListItEmpties) {
    testing::scrambleFromSeed(cube, 3);
    cube.pending.push_back(Move(1, true));
    cube.current = cube.pending.begin();
    ASSERT_TRUE(solve(cube));
    EXPECT_FALSE(cube.current.has_value());
}

/// The driver's loop as the stage protocol describes it, run by hand: every move the
/// stages queue, in the order they are applied.
MoveList recordStageMoves(Cube& cube) {
    struct Step {
        int (*stage)(Cube&);
        int next;
        int subStep; // -1: unchanged
    };
    const std::array<Step, 11> steps = {{
        {solveDownCross, 3, 5},
        {solveDownCorners, 4, 0},
        {solveMiddleEdges, 5, -1},
        {alignDownLayer, 6, -1},
        {solveLastDownCorner, 7, 0},
        {solveLastMiddleEdge, 8, -1},
        {orientUpEdges, 9, -1},
        {placeUpEdges, 10, 0},
        {placeUpCorners, 11, -1},
        {orientUpCorners, 12, -1},
        {alignUpLayer, 1, -1},
    }};
    MoveList recorded;
    for (int state = 2, calls = 0; state != 1 && calls < kSolveCallLimit; ++calls) {
        const Step& step = steps[static_cast<std::size_t>(state - 2)];
        cube.setSolverState(state);
        const int result = step.stage(cube);
        for (const Move& move : cube.pending) {
            cube.turn(move.face, move.clockwise);
            recorded.push_back(move);
        }
        cube.pending.clear();
        if (result == kStageDone) {
            state = step.next;
            if (step.subStep != -1) {
                cube.subStep = step.subStep;
            }
        }
    }
    return recorded;
}

TEST_F(Solve, PendingIsTheOptimisedRecordOfEveryStageMove) {
    for (const std::uint32_t seed : {1u, 77u, 2024u}) {
        testing::scrambleFromSeed(cube, seed);
        testing::scrambleFromSeed(scratch, seed);
        ASSERT_TRUE(solve(cube));

        scratch.solution = recordStageMoves(scratch);
        ASSERT_TRUE(scratch.isSolved());
        const std::size_t recorded = scratch.solution.size();
        optimiseSolution(scratch);
        EXPECT_EQ(notation(cube.pending), notation(scratch.pending)) << seed;
        EXPECT_EQ(notation(cube.solution), notation(scratch.solution)) << "second pass";
        EXPECT_LT(cube.pending.size(), recorded);
    }
}

TEST_F(Solve, AnySubStepOnEntryStillEndsSolved) {
    for (const int subStep : {-7, 2, 5, 7, 10000, INT_MIN, INT_MAX}) {
        testing::scrambleFromSeed(cube, 99);
        cube.subStep = subStep;
        const FaceletArray before = cube.facelets;
        ASSERT_TRUE(solve(cube)) << subStep;
        EXPECT_TRUE(testing::solves(before, cube.pending, scratch)) << subStep;
    }
    // subStep 5 is passed over to 6 and then back to 0: the same walk as from 0.
    testing::scrambleFromSeed(cube, 99);
    cube.subStep = 0;
    ASSERT_TRUE(solve(cube));
    const std::string fromZero = notation(cube.pending);
    testing::scrambleFromSeed(cube, 99);
    cube.subStep = 5;
    ASSERT_TRUE(solve(cube));
    EXPECT_EQ(notation(cube.pending), fromZero);
}

// Cubes that face turns cannot reach. Each is built on the solved layout, broken in one
// place, then scrambled; each keeps a different stage going for ever.

void twistCorner(Cube& cube) {
    // Down-front-right corner: (0, 2, 2) = 8, (1, 2, 0) = 15, (5, 0, 2) = 47.
    cube.facelets[8].colour = 1;
    cube.facelets[15].colour = 5;
    cube.facelets[47].colour = 0;
}

void swapTwoEdges(Cube& cube) {
    // Up-back (19, 28) and up-right (23, 10) trade places.
    std::swap(cube.facelets[19], cube.facelets[23]);
    std::swap(cube.facelets[28], cube.facelets[10]);
}

void flipAnEdge(Cube& cube) {
    std::swap(cube.facelets[14].colour, cube.facelets[30].colour);
}

void whitenAnEdge(Cube& cube) {
    // The right-back edge, which stage 4 places, shows white twice.
    cube.facelets[14].colour = 0;
    cube.facelets[30].colour = 0;
}

TEST_F(Solve, GivesUpOnACubeFaceTurnsCannotReach) {
    const std::string fresh = solutionFor(11);
    for (void (*breakCube)(Cube&) : {twistCorner, swapTwoEdges, flipAnEdge, whitenAnEdge}) {
        testing::setSolved(cube);
        breakCube(cube);
        srand(5);
        cube.scramble();
        cube.setSolverState(kStatePlayback);
        cube.setResumeState(kStateDownCross);
        const FaceletArray before = cube.facelets;

        EXPECT_FALSE(solve(cube));
        EXPECT_EQ(cube.facelets, before);
        EXPECT_TRUE(cube.pending.empty());
        EXPECT_TRUE(cube.solution.empty());
        EXPECT_EQ(cube.solverState(), kStatePlayback);
        EXPECT_EQ(cube.resumeState(), kStatePlayback);

        // The stage counters are where a fresh program has them.
        EXPECT_EQ(solutionFor(11), fresh);
    }
}

TEST_F(Solve, GivesUpOnAStateItHasNoStageFor) {
    const std::string fresh = solutionFor(21);
    const std::array<std::pair<int, int>, 4> entries = {{
        {13, 2}, // no such state
        {-3, 2}, // no such state
        {0, 0},  // replaying for ever
        {0, 42}, // resuming into no such state
    }};
    for (const auto& [state, resume] : entries) {
        testing::scrambleFromSeed(cube, 4);
        cube.setSolverState(state);
        cube.setResumeState(resume);
        const FaceletArray before = cube.facelets;
        EXPECT_FALSE(solve(cube)) << state << ", " << resume;
        EXPECT_EQ(cube.facelets, before);
        EXPECT_TRUE(cube.pending.empty());
        EXPECT_EQ(cube.solverState(), kStatePlayback);
    }
    EXPECT_EQ(solutionFor(21), fresh);
}

TEST_F(Solve, ResumeStateNoneStartsAtTheDownCross) {
    testing::scrambleFromSeed(cube, 8);
    const FaceletArray before = cube.facelets;
    cube.setResumeState(-1);
    ASSERT_TRUE(solve(cube));
    EXPECT_TRUE(testing::solves(before, cube.pending, scratch));
}

} // namespace
} // namespace cw
