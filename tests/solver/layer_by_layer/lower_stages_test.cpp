// Stages 2 to 6: the down cross, three down corners, three middle edges, the down
// layer realignment and the last down corner. Each test builds a cube by turning a
// solved one (or by re-colouring a cubie where only that cubie matters) and calls the
// stage the way the driver does.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "solver/layer_by_layer/stage_support.h"
#include "tests/solver/layer_by_layer/layer_by_layer_testing.h"

namespace cw {
namespace {

using testing::callStage;
using testing::inverse;
using testing::runStage;

std::vector<int> results(const std::vector<testing::StageCall>& calls) {
    std::vector<int> out;
    for (const testing::StageCall& call : calls) {
        out.push_back(call.result);
    }
    return out;
}

/// The non-empty sequences the calls queued, in order.
std::vector<std::string> queued(const std::vector<testing::StageCall>& calls) {
    std::vector<std::string> out;
    for (const testing::StageCall& call : calls) {
        if (!call.queued.empty()) {
            out.push_back(call.queued);
        }
    }
    return out;
}

bool isHome(const Cube& cube, int code) {
    return matchesCentres(cube, findCubie(cube, code));
}

/// Sets the colours of the stickers at `indices` (codes are left alone).
void recolour(Cube& cube, std::initializer_list<std::pair<int, int>> indexColour) {
    for (const auto& [index, colour] : indexColour) {
        cube.facelets[static_cast<std::size_t>(index)].colour = colour;
    }
}

class LowerStages : public ::testing::Test {
protected:
    void SetUp() override {
        resetStageCounters();
        testing::setSolved(cube);
    }
    void TearDown() override { resetStageCounters(); }
    Cube cube;
};

// Stage 2, down cross.

TEST_F(LowerStages, DownCrossInPlaceTakesFiveCallsAndNoMoves) {
    cube.subStep = 0;
    const auto calls = runStage(cube, solveDownCross, kStateDownCross);
    EXPECT_EQ(results(calls), (std::vector<int>{1, 2, 3, 4, kStageDone}));
    EXPECT_TRUE(queued(calls).empty());
    EXPECT_EQ(cube.subStep, 5);
}

TEST_F(LowerStages, DownCrossBringsAnySubStepOntoItsWalk) {
    cube.subStep = 5;
    EXPECT_EQ(callStage(cube, solveDownCross, kStateDownCross).result, 6);
    EXPECT_EQ(callStage(cube, solveDownCross, kStateDownCross).result, 0);
    EXPECT_EQ(cube.subStep, 0);
    for (const int start : {7, -1, 10000}) {
        cube.subStep = start;
        const auto call = callStage(cube, solveDownCross, kStateDownCross);
        EXPECT_EQ(call.result, 0) << start;
        EXPECT_EQ(cube.subStep, 0) << start;
        EXPECT_EQ(call.queued, "") << start;
    }
    EXPECT_EQ(cube.solverState(), kStateDownCross) << "no hand-over without moves";
}

TEST_F(LowerStages, DownCrossCasesQueueTheirSequences) {
    // B: above the front with white facing front.
    testing::apply(cube, "0 cw, 0 cw");
    cube.subStep = 0;
    auto call = callStage(cube, solveDownCross, kStateDownCross);
    EXPECT_EQ(call.queued, "0 cw, 0 cw");
    EXPECT_EQ(call.result, 0);
    EXPECT_EQ(cube.resumeState(), kStateDownCross);
    EXPECT_EQ(cube.solverState(), kStatePlayback);
    EXPECT_TRUE(cube.isSolved());

    // A: in the up layer above another face; the up face turns until it is above p.
    testing::apply(cube, "0 cw, 0 cw, 2 cw");
    EXPECT_EQ(callStage(cube, solveDownCross, kStateDownCross).queued, "2 cw");

    // C: above the front with white facing up.
    testing::setSolved(cube);
    testing::apply(cube, "0 ccw, 1 cw, 2 cw");
    cube.subStep = 0;
    EXPECT_EQ(callStage(cube, solveDownCross, kStateDownCross).queued, "2 ccw, 1 ccw, 0 cw, 1 cw");
    EXPECT_TRUE(isHome(cube, 9));
}

TEST_F(LowerStages, DownCrossMiddleCaseLooksAtColourOnly) {
    // The front edge at column 2 of the front; (0, 1, 0) shows white, but from the
    // front-left edge, so the three moves leave the edge in the middle layer.
    testing::apply(cube, "0 ccw");
    cube.subStep = 0;
    EXPECT_EQ(callStage(cube, solveDownCross, kStateDownCross).queued, "0 cw, 2 cw, 0 ccw");
    EXPECT_EQ(cube.codeAt(0, 1, 2), 9);
    // Now (0, 1, 0) shows green and the edge is lifted the other way.
    EXPECT_EQ(callStage(cube, solveDownCross, kStateDownCross).queued, "0 ccw, 2 ccw, 0 cw");
    const CubieLocation edge = findCubie(cube, 9);
    EXPECT_TRUE(edge.row[0] == 0 || edge.row[1] == 0) << "lifted into the up layer";
}

TEST_F(LowerStages, DownCrossLiftsAFlippedEdgeWithTheOtherFace) {
    // The right edge at home with its colours the wrong way round.
    recolour(cube, {{9 + 7, 5}, {45 + 5, 1}});
    cube.subStep = 0;
    EXPECT_EQ(callStage(cube, solveDownCross, kStateDownCross).result, 1);
    EXPECT_EQ(callStage(cube, solveDownCross, kStateDownCross).queued,
              "1 cw, 1 cw, 2 ccw, 1 cw, 1 cw");
}

TEST_F(LowerStages, DownCrossStartsAgainWhenTheGoalFailsAtTheEnd) {
    // The left edge is home but the front edge is not: the walk starts again at 0.
    testing::apply(cube, "0 cw, 0 cw");
    cube.subStep = 4;
    const auto call = callStage(cube, solveDownCross, kStateDownCross);
    EXPECT_EQ(call.result, 0);
    EXPECT_EQ(call.queued, "");
    EXPECT_EQ(cube.subStep, 0);
}

// Stage 3, three down corners, and the corner insertion routine.

TEST_F(LowerStages, DownCornersInPlaceTakeThreeCallsAndNoMoves) {
    for (int run = 0; run < 2; ++run) {
        cube.subStep = 5;
        const auto calls = runStage(cube, solveDownCorners, kStateDownCorners);
        EXPECT_EQ(results(calls), (std::vector<int>{1, 2, kStageDone})) << "run " << run;
        EXPECT_TRUE(queued(calls).empty());
    }
}

TEST_F(LowerStages, DownCornerInTheFreeSlotIsLiftedLikeAnyOther) {
    testing::apply(cube, "5 cw"); // the down-front-left corner goes to the down-front-right slot
    cube.subStep = 5;
    const auto call = callStage(cube, solveDownCorners, kStateDownCorners);
    EXPECT_EQ(call.queued, "1 cw, 2 cw, 1 ccw");
    EXPECT_EQ(call.result, 5) << "case A returns subStep";
    EXPECT_EQ(cube.resumeState(), kStateDownCorners);
}

TEST_F(LowerStages, TwistedDownCornerIsLiftedWithTheFaceShowingTheDownColour) {
    // Down-front-left corner: (0, 2, 0) = 6, (4, 2, 2) = 44, (5, 0, 0) = 45.
    recolour(cube, {{6, 5}, {44, 0}, {45, 4}});
    cube.subStep = 5;
    EXPECT_EQ(callStage(cube, solveDownCorners, kStateDownCorners).queued, "0 cw, 2 cw, 0 ccw")
        << "at column 0 of the front";

    testing::setSolved(cube);
    recolour(cube, {{6, 4}, {44, 5}, {45, 0}});
    cube.subStep = 5;
    EXPECT_EQ(callStage(cube, solveDownCorners, kStateDownCorners).queued, "4 ccw, 2 ccw, 4 cw")
        << "at column 2 of the left";
}

TEST_F(LowerStages, DownCornerAboveItsSlotGoesHomeInOneCase) {
    struct Target {
        int code;
        int left;
        int right;
    };
    const std::array<Target, 3> targets = {{{11, 4, 0}, {26, 3, 4}, {56, 1, 3}}};
    for (std::size_t k = 0; k < targets.size(); ++k) {
        const std::string l = std::to_string(targets[k].left);
        const std::string r = std::to_string(targets[k].right);
        const std::array<std::string, 3> sequences = {
            r + " cw, 2 cw, " + r + " ccw",
            r + " cw, 2 ccw, " + r + " ccw, 2 ccw, 2 ccw, " + r + " cw, 2 cw, " + r + " ccw",
            l + " ccw, 2 ccw, " + l + " cw",
        };
        for (const std::string& sequence : sequences) {
            // Undoing the case's moves from the solved cube stands the corner above its
            // slot in exactly the orientation that case is for.
            testing::setSolved(cube);
            testing::apply(cube, inverse(sequence));
            cube.subStep = 5;
            const auto calls = runStage(cube, solveDownCorners, kStateDownCorners);
            EXPECT_EQ(queued(calls), std::vector<std::string>{sequence}) << "corner " << k;
            EXPECT_EQ(calls.size(), 4u);
            EXPECT_EQ(calls[k].result, static_cast<int>(k)) << "cases B to D return k";
            EXPECT_TRUE(cube.isSolved());
        }
    }
}

TEST_F(LowerStages, DownCornerElsewhereInTheUpLayerWaitsForTheUpFace) {
    testing::apply(cube, "4 ccw, 2 cw");
    cube.subStep = 5;
    EXPECT_EQ(callStage(cube, solveDownCorners, kStateDownCorners).queued, "2 cw");
}

TEST_F(LowerStages, DownCornersNeverLookAtTheFreeSlot) {
    testing::apply(cube, "1 cw, 2 cw, 1 ccw"); // disturbs only the right-hand column
    cube.subStep = 5;
    const auto calls = runStage(cube, solveDownCorners, kStateDownCorners);
    EXPECT_EQ(results(calls), (std::vector<int>{1, 2, kStageDone}));
    EXPECT_FALSE(isHome(cube, 41));
}

// Stage 4, three middle edges.

TEST_F(LowerStages, MiddleEdgesInPlaceTakeFiveCallsAndNoMoves) {
    cube.subStep = 0;
    const auto calls = runStage(cube, solveMiddleEdges, kStateMiddleEdges);
    EXPECT_EQ(results(calls), (std::vector<int>{1, 2, 3, 4, kStageDone}));
    EXPECT_TRUE(queued(calls).empty());
    EXPECT_EQ(cube.subStep, 5) << "left for the stages of states 5 and 6";
}

TEST_F(LowerStages, MiddleEdgeInTheFrontRightSlotIsReachedThroughTheFreeCorner) {
    // Swap the right-back edge (48) into the front-right slot and the front-right edge
    // (33) into its place. Front-right: (0, 1, 2) = 5, (1, 1, 0) = 12; right-back:
    // (1, 1, 2) = 14, (3, 1, 0) = 30.
    cube.facelets[5].set(3, 48);
    cube.facelets[12].set(1, 48);
    cube.facelets[14].set(1, 33);
    cube.facelets[30].set(0, 33);
    cube.subStep = 1;
    const auto calls = runStage(cube, solveMiddleEdges, kStateMiddleEdges, 5);
    // The free corner is brought below the right face first, then once round under
    // the edge's slot, and the edge is lifted out.
    EXPECT_EQ(queued(calls), (std::vector<std::string>{"5 cw", "5 cw", "5 cw", "5 cw",
                                                       "2 ccw, 0 ccw, 2 cw, 0 cw"}));
}

TEST_F(LowerStages, FlippedMiddleEdgeIsLiftedOutOfItsOwnSlot) {
    recolour(cube, {{14, 3}, {30, 1}});
    cube.subStep = 1;
    const auto calls = runStage(cube, solveMiddleEdges, kStateMiddleEdges, 2);
    EXPECT_EQ(queued(calls), (std::vector<std::string>{"5 cw", "2 ccw, 1 ccw, 2 cw, 1 cw"}));
}

TEST_F(LowerStages, MiddleEdgeAboveItsFaceIsInsertedByOrientation) {
    struct Setup {
        const char* moves;
        const char* insertion;
        int downTurns;
    };
    // Undoing an insertion from the solved cube stands the back-left edge above the
    // back face in the orientation that insertion is for.
    const std::array<Setup, 2> setups = {{
        {"3 ccw, 2 ccw, 3 cw, 2 cw", "2 ccw, 3 ccw, 2 cw, 3 cw", 2}, // U2: upright
        {"4 cw, 2 cw, 4 ccw", "4 cw, 2 ccw, 4 ccw", 2},              // U3: back colour up
    }};
    for (const Setup& setup : setups) {
        resetStageCounters();
        testing::setSolved(cube);
        testing::apply(cube, setup.moves);
        cube.subStep = 0;
        auto calls = runStage(cube, solveMiddleEdges, kStateMiddleEdges, 200);
        const auto sequences = queued(calls);
        ASSERT_GE(sequences.size(), 3u) << setup.moves;
        EXPECT_EQ(sequences[0], "5 cw");
        EXPECT_EQ(sequences[1], "5 cw");
        EXPECT_EQ(sequences[2], setup.insertion);
        EXPECT_EQ(calls.back().result, kStageDone) << setup.moves;
        EXPECT_TRUE(isHome(cube, 18));
    }
}

TEST_F(LowerStages, RightFaceCountsAnEdgeUprightByTheCornerBesideIt) {
    // Plain U3 on the right face: green faces up and (1, 0, 2) is not green.
    testing::apply(cube, "3 cw, 2 cw, 3 ccw");
    cube.subStep = 1;
    auto calls = runStage(cube, solveMiddleEdges, kStateMiddleEdges, 2);
    EXPECT_EQ(queued(calls), (std::vector<std::string>{"5 cw", "3 cw, 2 ccw, 3 ccw"}));
    EXPECT_TRUE(isHome(cube, 48));

    // Same orientation of the edge, but (1, 0, 2) shows green: U2, so the edge goes in
    // flipped, and the next call lifts it out again.
    resetStageCounters();
    testing::setSolved(cube);
    testing::apply(cube, "2 ccw, 3 cw, 2 cw");
    ASSERT_EQ(cube.codeAt(1, 0, 1), 48);
    ASSERT_EQ(stage::colourAt(cube, 1, 0, 1), 3);
    ASSERT_EQ(stage::colourAt(cube, 1, 0, 2), 1);
    cube.subStep = 1;
    calls = runStage(cube, solveMiddleEdges, kStateMiddleEdges, 2);
    EXPECT_EQ(queued(calls), (std::vector<std::string>{"5 cw", "2 ccw, 1 ccw, 2 cw, 1 cw"}));
    EXPECT_EQ(cube.codeAt(1, 1, 2), 48);
    EXPECT_FALSE(isHome(cube, 48)) << "in its slot, flipped";
    const auto call = callStage(cube, solveMiddleEdges, kStateMiddleEdges);
    EXPECT_EQ(call.queued, "2 ccw, 1 ccw, 2 cw, 1 cw") << "M1 lifts it out";
    // The setup turned the back face, so only the right face's edge is followed: it
    // is retried until it goes in the right way round.
    for (int i = 0; i < 50 && cube.subStep == 1; ++i) {
        callStage(cube, solveMiddleEdges, kStateMiddleEdges);
    }
    EXPECT_EQ(cube.subStep, 2);
    EXPECT_TRUE(isHome(cube, 48));
}

// Stage 5, down layer realignment.

TEST_F(LowerStages, DownLayerTurnsBackOneQuarterPerCall) {
    EXPECT_EQ(callStage(cube, alignDownLayer, kStateAlignDownLayer).result, kStageDone);
    EXPECT_TRUE(cube.pending.empty());
    for (int turned = 1; turned <= 3; ++turned) {
        testing::setSolved(cube);
        cube.subStep = 5;
        for (int i = 0; i < turned; ++i) {
            cube.turn(5, true);
        }
        const auto calls = runStage(cube, alignDownLayer, kStateAlignDownLayer);
        EXPECT_EQ(queued(calls),
                  std::vector<std::string>(static_cast<std::size_t>(4 - turned), "5 cw"));
        EXPECT_EQ(calls.back().result, kStageDone);
        EXPECT_EQ(cube.subStep, 5);
        EXPECT_TRUE(cube.isSolved());
    }
}

// Stage 6, last down corner.

TEST_F(LowerStages, LastDownCornerAtHomeIsDoneAtOnce) {
    cube.subStep = 5;
    const auto call = callStage(cube, solveLastDownCorner, kStateLastDownCorner);
    EXPECT_EQ(call.result, kStageDone);
    EXPECT_EQ(call.queued, "");
}

TEST_F(LowerStages, LastDownCornerCases) {
    // Twisted in its slot with the down colour at (0, 2, 2): case A, F = 0, t false.
    // Stickers: (0, 2, 2) = 8, (1, 2, 0) = 15, (5, 0, 2) = 47.
    recolour(cube, {{8, 5}, {15, 0}, {47, 1}});
    cube.subStep = 5;
    EXPECT_EQ(callStage(cube, solveLastDownCorner, kStateLastDownCorner).queued,
              "0 ccw, 2 ccw, 0 cw");
    EXPECT_EQ(cube.resumeState(), kStateLastDownCorner);

    const std::array<std::string, 3> sequences = {
        "1 cw, 2 cw, 1 ccw",
        "1 cw, 2 ccw, 1 ccw, 2 ccw, 2 ccw, 1 cw, 2 cw, 1 ccw",
        "0 ccw, 2 ccw, 0 cw",
    };
    for (const std::string& sequence : sequences) {
        testing::setSolved(cube);
        testing::apply(cube, inverse(sequence));
        cube.subStep = 5;
        const auto calls = runStage(cube, solveLastDownCorner, kStateLastDownCorner);
        EXPECT_EQ(queued(calls), std::vector<std::string>{sequence});
        EXPECT_EQ(calls.back().result, kStageDone);
        EXPECT_TRUE(cube.isSolved());
    }
}

} // namespace
} // namespace cw
