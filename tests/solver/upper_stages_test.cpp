// Tests of the stages of solver states 7 to 12: the exact moves each case queues, how
// many calls a stage takes, its counters, and that the first two layers survive.
// Each stage is called directly; applying its queued moves and calling it again stands in
// for the driver.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cube/cube.h"
#include "solver/solver.h"
#include "solver/stage_support.h"

namespace cw {
namespace {

using Sequence = std::vector<Move>;
using Stage = std::function<int(Cube&)>;

/// Reads moves written as the stages write them: "2 cw, 1 ccw, ...".
Sequence moves(std::string_view text) {
    Sequence result;
    std::istringstream in{std::string(text)};
    std::string face;
    std::string direction;
    while (in >> face >> direction) {
        if (direction.back() == ',') {
            direction.pop_back();
        }
        EXPECT_TRUE(direction == "cw" || direction == "ccw") << text;
        result.emplace_back(std::stoi(face), direction == "cw");
    }
    return result;
}

Sequence operator+(Sequence a, const Sequence& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Sequence inverse(const Sequence& sequence) {
    Sequence result;
    for (auto it = sequence.rbegin(); it != sequence.rend(); ++it) {
        result.emplace_back(it->face, !it->clockwise);
    }
    return result;
}

void apply(Cube& cube, const Sequence& sequence) {
    for (const Move& move : sequence) {
        cube.turn(move.face, move.clockwise);
    }
}

/// A solved cube with empty lists and the solver state the driver would leave.
void makeSolved(Cube& cube) {
    for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
        cube.facelets[i].set(static_cast<std::int32_t>(i / 9), kSolvedCodes[i]);
    }
    cube.pending.clear();
    cube.solution.clear();
    cube.setSolverState(0);
    cube.setResumeState(-1);
    cube.subStep = 0;
}

/// A solved cube with `sequence` applied, which is therefore reachable by face turns.
void makeCube(Cube& cube, const Sequence& sequence) {
    makeSolved(cube);
    apply(cube, sequence);
}

int colour(const Cube& cube, int face, int row, int column) {
    return stage::colourAt(cube, face, row, column);
}

void swapColours(Cube& cube, int first, int second) {
    std::swap(cube.facelets[static_cast<std::size_t>(first)].colour,
              cube.facelets[static_cast<std::size_t>(second)].colour);
}

/// Every sticker of the down face and of rows 1 and 2 of the side faces shows its
/// face's colour, except those listed (sticker indices).
bool lowerLayersWhole(const Cube& cube, std::vector<int> except = {}) {
    for (int face = 0; face < kFaceCount; ++face) {
        if (face == 2) {
            continue;
        }
        for (int row = face == 5 ? 0 : 1; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                const int index = face * 9 + row * 3 + column;
                if (std::find(except.begin(), except.end(), index) != except.end()) {
                    continue;
                }
                if (colour(cube, face, row, column) != stage::centreColour(cube, face)) {
                    return false;
                }
            }
        }
    }
    return true;
}

bool upFaceOneColour(const Cube& cube) {
    for (int i = 18; i < 27; ++i) {
        if (cube.facelets[static_cast<std::size_t>(i)].colour != cube.facelets[22].colour) {
            return false;
        }
    }
    return true;
}

/// What a stage did over one run through its state.
struct StageRun {
    bool done = false;
    int calls = 0;
    std::vector<Sequence> queued; ///< what each handing-over call queued, in order
    std::vector<int> returns;     ///< every return value, in order
};

/// Calls `stage` as the driver does in state `state`: applies what it queues and calls
/// it again, until it reports done, stops making progress, or `callLimit` is reached.
/// `check` runs after each queued sequence has been applied.
StageRun runStage(Cube& cube, int state, const Stage& stage, int callLimit = 200,
                  const std::function<void(const Cube&)>& check = {}) {
    StageRun run;
    cube.setSolverState(state);
    while (run.calls < callLimit) {
        const int result = stage(cube);
        ++run.calls;
        run.returns.push_back(result);
        if (result == kStageDone) {
            EXPECT_TRUE(cube.pending.empty()) << "done must not queue";
            EXPECT_EQ(cube.solverState(), state);
            run.done = true;
            return run;
        }
        if (cube.solverState() == kStatePlayback) {
            EXPECT_EQ(cube.resumeState(), state);
            EXPECT_FALSE(cube.pending.empty());
            run.queued.emplace_back(cube.pending.begin(), cube.pending.end());
            for (const Move& move : cube.pending) {
                cube.turn(move.face, move.clockwise);
            }
            cube.pending.clear();
            cube.setSolverState(state);
            if (check) {
                check(cube);
            }
        } else {
            EXPECT_EQ(cube.solverState(), state);
            EXPECT_TRUE(cube.pending.empty()) << "a stage that does not hand over queues nothing";
        }
    }
    return run;
}

std::string describe(const Sequence& sequence) {
    std::string text;
    for (const Move& move : sequence) {
        text += (text.empty() ? "" : ", ") + std::to_string(move.face) +
                (move.clockwise ? " cw" : " ccw");
    }
    return text;
}

/// Checks that the run queued exactly these sequences, in order.
void expectQueued(const StageRun& run, const std::vector<Sequence>& expected) {
    ASSERT_EQ(run.queued.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(describe(run.queued[i]), describe(expected[i])) << "sequence " << i;
    }
}

// The sequences as the stages write them, for building test cubes and checking runs.

const Sequence kEdgeInsertA = moves("2 cw, 1 cw, 2 ccw, 1 ccw, 2 ccw, 0 ccw, 2 cw, 0 cw");
const Sequence kEdgeTurnB = moves("2 ccw, 0 ccw, 2 cw, 0 cw, 2 cw, 1 cw, 2 ccw, 1 ccw");

Sequence cornerShape(int a, int b) {
    return {{a, true}, {2, true}, {b, true}, {2, false}, {b, false}, {a, false}};
}
Sequence line(int a, int b) {
    return {{a, true}, {b, true}, {2, true}, {b, false}, {2, false}, {a, false}};
}

Sequence edgeP(int x) {
    return {{x, false}, {2, false}, {2, false}, {x, true},
            {2, true},  {x, false}, {2, true},  {x, true}};
}
Sequence edgeQ(int x) {
    return {{x, false}, {2, false}, {x, true},  {2, false},
            {x, false}, {2, false}, {2, false}, {x, true}};
}
Sequence edgeR(int x) {
    return moves("2 cw") + edgeP(x);
}
Sequence edgeZ(int x) {
    return {{x, false}, {2, true},  {2, true}, {x, true},
            {2, true},  {x, false}, {2, true}, {x, true}};
}
Sequence edgeS(int x) {
    return edgeZ(x) + moves("2 ccw") + edgeZ(x);
}

Sequence cornerQ(int v) {
    const int r = stage::nextFace(v);
    const int l = stage::previousFace(v);
    return {{2, true}, {l, true},  {2, false}, {r, false},
            {2, true}, {l, false}, {2, false}, {r, true}};
}
Sequence cornerT(int v) {
    const int r = stage::nextFace(v);
    const int l = stage::previousFace(v);
    return {{r, false}, {2, true}, {l, true},  {2, false},
            {r, true},  {2, true}, {l, false}, {2, false}};
}
Sequence cornerP(int v) {
    const int r = stage::nextFace(v);
    Sequence sequence = {{v, true}};
    for (int i = 0; i < 3; ++i) {
        sequence = sequence + Sequence{{r, true}, {2, true}, {r, false}, {2, false}};
    }
    return sequence + Sequence{{v, false}};
}
const Sequence kCornerS =
    moves("1 ccw, 1 ccw, 4 ccw, 4 ccw, 5 cw, 1 ccw, 1 ccw, 4 ccw, 4 ccw, 2 ccw, 2 ccw, "
          "1 ccw, 1 ccw, 4 ccw, 4 ccw, 5 cw, 1 ccw, 1 ccw, 4 ccw, 4 ccw, 2 ccw, 2 ccw");

const Sequence kTwistFrontUp = moves("0 cw, 5 cw, 5 cw, 0 ccw, 1 ccw, 5 cw, 5 cw, 1 cw");
const Sequence kTwistRightUp = moves("1 ccw, 5 cw, 5 cw, 1 cw, 0 cw, 5 cw, 5 cw, 0 ccw");

// ---------------------------------------------------------------------------------------
// State 7: the last middle-layer edge

class LastMiddleEdge : public ::testing::Test {
protected:
    StageRun run() {
        return runStage(cube, kStateLastMiddleEdge, solveLastMiddleEdge, 50, [](const Cube& c) {
            // Only the slot between faces 0 and 1 may differ while the stage works.
            EXPECT_TRUE(lowerLayersWhole(c, {0 * 9 + 5, 1 * 9 + 3}));
        });
    }
    Cube cube;
};

TEST_F(LastMiddleEdge, EdgeAlreadyHomeReportsDoneAndSetsSubStepToOne) {
    makeSolved(cube);
    const StageRun result = run();
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.calls, 1);
    EXPECT_EQ(cube.subStep, 1);
}

TEST_F(LastMiddleEdge, NonZeroSubStepIsResetWithoutLookingAtTheCube) {
    makeCube(cube, inverse(kEdgeInsertA));
    cube.subStep = 1;
    cube.setSolverState(kStateLastMiddleEdge);
    EXPECT_EQ(solveLastMiddleEdge(cube), 0);
    EXPECT_EQ(cube.subStep, 0);
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_EQ(cube.solverState(), kStateLastMiddleEdge);
}

TEST_F(LastMiddleEdge, EdgeAboveFrontTheRightWayRoundIsInsertedWithSequenceA) {
    makeCube(cube, inverse(kEdgeInsertA));
    const StageRun result = run();
    ASSERT_TRUE(result.done);
    expectQueued(result, {kEdgeInsertA});
    EXPECT_EQ(result.returns.front(), 0);
    EXPECT_TRUE(cube.isSolved());
}

TEST_F(LastMiddleEdge, EdgeAboveLeftTakesThreeUpTurnsFirst) {
    // Above face 0 the right way round, then one 2 cw carries it above face 4.
    makeCube(cube, inverse(kEdgeInsertA) + moves("2 cw"));
    const StageRun result = run();
    ASSERT_TRUE(result.done);
    expectQueued(result, {moves("2 cw"), moves("2 cw"), moves("2 cw"), kEdgeInsertA});
}

TEST_F(LastMiddleEdge, EdgeAboveFrontTheWrongWayRoundTakesSequenceB) {
    makeCube(cube, inverse(kEdgeInsertA) + moves("2 ccw, 2 ccw") + inverse(kEdgeTurnB));
    ASSERT_EQ(cube.codeAt(0, 0, 1), 33);
    ASSERT_EQ(colour(cube, 0, 0, 1), 1);
    const StageRun result = run();
    ASSERT_TRUE(result.done);
    expectQueued(result, {kEdgeTurnB, moves("2 cw"), moves("2 cw"), kEdgeInsertA});
    EXPECT_EQ(cube.subStep, 1);
}

TEST_F(LastMiddleEdge, FlippedEdgeInItsSlotIsTakenOutAndPutBack) {
    // Flipping two edges in place keeps the cube reachable: here the slot edge and the
    // up-back edge.
    makeSolved(cube);
    swapColours(cube, 0 * 9 + 5, 1 * 9 + 3);
    swapColours(cube, 2 * 9 + 1, 3 * 9 + 1);
    const StageRun result = run();
    ASSERT_TRUE(result.done);
    expectQueued(result, {kEdgeInsertA, moves("2 cw"), moves("2 cw"), kEdgeInsertA});
    EXPECT_TRUE(lowerLayersWhole(cube));
}

TEST_F(LastMiddleEdge, EdgeInTheDownLayerQueuesNothing) {
    makeCube(cube, moves("0 cw")); // carries the slot edge to the bottom of face 0
    cube.setSolverState(kStateLastMiddleEdge);
    EXPECT_NE(solveLastMiddleEdge(cube), kStageDone);
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_EQ(cube.solverState(), kStateLastMiddleEdge);
}

// ---------------------------------------------------------------------------------------
// State 8: up-layer edge orientation

/// Which of the up-layer edges above faces 0, 1, 3 and 4 show the up colour on top.
std::array<bool, 4> raisedEdges(const Cube& cube) {
    const int up = stage::centreColour(cube, 2);
    return {colour(cube, 2, 2, 1) == up, colour(cube, 2, 1, 2) == up, colour(cube, 2, 0, 1) == up,
            colour(cube, 2, 1, 0) == up};
}

class OrientUpEdges : public ::testing::Test {
protected:
    StageRun run() {
        return runStage(cube, kStateOrientUpEdges, orientUpEdges, 20,
                        [](const Cube& c) { EXPECT_TRUE(lowerLayersWhole(c)); });
    }
    Cube cube;
};

TEST_F(OrientUpEdges, AllRaisedIsDoneAtOnce) {
    makeCube(cube, edgeP(1) + moves("2 cw")); // edges moved about but still raised
    const StageRun result = run();
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.calls, 1);
}

TEST_F(OrientUpEdges, EachRaisedPairGetsItsSequenceAndOneIsEnough) {
    struct Case {
        std::array<bool, 4> raised; // above 0, 1, 3, 4
        Sequence sequence;
    };
    const std::vector<Case> cases = {
        {{false, false, true, true}, moves("0 cw, 2 cw, 1 cw, 2 ccw, 1 ccw, 0 ccw")},
        {{true, true, false, false}, moves("3 cw, 2 cw, 4 cw, 2 ccw, 4 ccw, 3 ccw")},
        {{false, true, true, false}, moves("4 cw, 2 cw, 0 cw, 2 ccw, 0 ccw, 4 ccw")},
        {{true, false, false, true}, moves("1 cw, 2 cw, 3 cw, 2 ccw, 3 ccw, 1 ccw")},
        {{true, false, true, false}, moves("1 cw, 3 cw, 2 cw, 3 ccw, 2 ccw, 1 ccw")},
        {{false, true, false, true}, moves("0 cw, 1 cw, 2 cw, 1 ccw, 2 ccw, 0 ccw")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.sequence));
        makeCube(cube, inverse(c.sequence));
        ASSERT_EQ(raisedEdges(cube), c.raised);
        const StageRun result = run();
        EXPECT_TRUE(result.done);
        expectQueued(result, {c.sequence});
        EXPECT_TRUE(cube.isSolved());
    }
}

TEST_F(OrientUpEdges, NoRaisedEdgeTakesTheLineThenTheCornerShape) {
    makeCube(cube, inverse(cornerShape(3, 4)) + inverse(line(0, 1)));
    ASSERT_EQ(raisedEdges(cube), (std::array<bool, 4>{false, false, false, false}));
    const StageRun result = run();
    EXPECT_TRUE(result.done);
    expectQueued(result, {moves("0 cw, 1 cw, 2 cw, 1 ccw, 2 ccw, 0 ccw"),
                          moves("3 cw, 2 cw, 4 cw, 2 ccw, 4 ccw, 3 ccw")});
}

TEST_F(OrientUpEdges, ThreeRaisedEdgesQueueNothing) {
    makeSolved(cube);
    swapColours(cube, 2 * 9 + 7, 0 * 9 + 1); // only the edge above face 0 is flipped
    cube.subStep = 1;
    cube.setSolverState(kStateOrientUpEdges);
    EXPECT_EQ(orientUpEdges(cube), 1);
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_EQ(cube.solverState(), kStateOrientUpEdges);
}

// ---------------------------------------------------------------------------------------
// State 9: up-layer edge placement

/// The arrangement as the digits of the edges above faces 0, 1, 3 and 4, e.g. "0134".
std::string edgeArrangement(const Cube& cube) {
    const std::map<int, char> edgeOf = {{5, '0'}, {36, '1'}, {20, '3'}, {6, '4'}};
    std::string text;
    for (const int code :
         {cube.codeAt(2, 2, 1), cube.codeAt(2, 1, 2), cube.codeAt(2, 0, 1), cube.codeAt(2, 1, 0)}) {
        text += edgeOf.count(code) != 0 ? edgeOf.at(code) : '?';
    }
    return text;
}

/// One reachable cube for each of the 24 arrangements of the up edges, first two layers
/// whole and every up edge raised, found by walking up turns and one three-edge cycle.
std::map<std::string, FaceletArray> edgeArrangements() {
    std::map<std::string, FaceletArray> found;
    Cube cube;
    makeSolved(cube);
    std::vector<FaceletArray> frontier = {cube.facelets};
    found[edgeArrangement(cube)] = cube.facelets;
    const std::vector<Sequence> steps = {moves("2 cw"), edgeP(1)};
    while (!frontier.empty()) {
        std::vector<FaceletArray> next;
        for (const FaceletArray& state : frontier) {
            for (const Sequence& step : steps) {
                cube.facelets = state;
                apply(cube, step);
                if (found.emplace(edgeArrangement(cube), cube.facelets).second) {
                    next.push_back(cube.facelets);
                }
            }
        }
        frontier = std::move(next);
    }
    return found;
}

class PlaceUpEdges : public ::testing::Test {
protected:
    StageRun run() {
        return runStage(cube, kStatePlaceUpEdges, placeUpEdges, 20, [](const Cube& c) {
            EXPECT_TRUE(lowerLayersWhole(c));
            EXPECT_EQ(raisedEdges(c), (std::array<bool, 4>{true, true, true, true}));
        });
    }
    Cube cube;
};

TEST_F(PlaceUpEdges, EveryArrangementGetsItsSequenceAndEndsHomeWithinTwo) {
    const std::map<std::string, Sequence> table = {
        {"0134", {}},       {"0143", edgeR(1)}, {"0314", edgeR(0)}, {"0341", edgeP(4)},
        {"0413", edgeQ(4)}, {"0431", edgeS(3)}, {"1034", edgeR(4)}, {"1043", edgeR(1)},
        {"1304", edgeP(3)}, {"1340", edgeR(1)}, {"1403", edgeR(4)}, {"1430", edgeP(1)},
        {"3014", edgeQ(3)}, {"3041", edgeR(1)}, {"3104", edgeS(1)}, {"3140", edgeP(0)},
        {"3401", edgeS(1)}, {"3410", edgeR(3)}, {"4013", edgeR(0)}, {"4031", edgeQ(1)},
        {"4103", edgeQ(0)}, {"4130", edgeR(3)}, {"4301", edgeR(0)}, {"4310", edgeR(3)},
    };
    const auto arrangements = edgeArrangements();
    ASSERT_EQ(arrangements.size(), 24u);
    for (const auto& [arrangement, facelets] : arrangements) {
        SCOPED_TRACE(arrangement);
        makeSolved(cube);
        cube.facelets = facelets;
        const StageRun result = run();
        ASSERT_TRUE(result.done);
        const Sequence& first = table.at(arrangement);
        if (first.empty()) {
            EXPECT_EQ(result.calls, 1);
        } else {
            ASSERT_FALSE(result.queued.empty());
            EXPECT_EQ(describe(result.queued.front()), describe(first));
            EXPECT_LE(result.queued.size(), 2u);
        }
        EXPECT_EQ(edgeArrangement(cube), "0134");
    }
}

TEST_F(PlaceUpEdges, SequencesAreQueuedExactlyAsWritten) {
    auto arrangements = edgeArrangements();

    // The 1/4 swap.
    cube.facelets = arrangements.at("0431");
    StageRun result = run();
    EXPECT_TRUE(result.done);
    expectQueued(result, {moves("3 ccw, 2 cw, 2 cw, 3 cw, 2 cw, 3 ccw, 2 cw, 3 cw, 2 ccw, 3 ccw, "
                                "2 cw, 2 cw, 3 cw, 2 cw, 3 ccw, 2 cw, 3 cw")});

    // Both opposite swaps take S(1) and then S(3).
    cube.facelets = arrangements.at("3401");
    result = run();
    EXPECT_TRUE(result.done);
    expectQueued(result, {edgeS(1), edgeS(3)});

    cube.facelets = arrangements.at("1430");
    result = run();
    EXPECT_TRUE(result.done);
    expectQueued(result, {moves("1 ccw, 2 ccw, 2 ccw, 1 cw, 2 cw, 1 ccw, 2 cw, 1 cw")});
}

TEST_F(PlaceUpEdges, ArrangementIsJudgedByCodesNotColours) {
    // Colours solved, but the codes say the edges above faces 0 and 1 are swapped.
    makeSolved(cube);
    for (const int index : {2 * 9 + 7, 0 * 9 + 1}) {
        cube.facelets[static_cast<std::size_t>(index)].code = 36;
    }
    for (const int index : {2 * 9 + 5, 1 * 9 + 1}) {
        cube.facelets[static_cast<std::size_t>(index)].code = 5;
    }
    cube.setSolverState(kStatePlaceUpEdges);
    EXPECT_NE(placeUpEdges(cube), kStageDone);
    EXPECT_EQ(describe({cube.pending.begin(), cube.pending.end()}), describe(edgeR(4)));
}

TEST_F(PlaceUpEdges, HomeEdgesWithAWrongSideStickerQueueNothing) {
    makeSolved(cube);
    swapColours(cube, 2 * 9 + 7, 0 * 9 + 1);
    cube.setSolverState(kStatePlaceUpEdges);
    EXPECT_NE(placeUpEdges(cube), kStageDone);
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_EQ(cube.solverState(), kStatePlaceUpEdges);
}

// ---------------------------------------------------------------------------------------
// State 10: up-layer corner placement

/// The arrangement as the corners held at positions 0-1, 0-4, 3-1 and 3-4.
std::string cornerArrangement(const Cube& cube) {
    const std::map<int, std::string> cornerOf = {{37, "0-1"}, {7, "0-4"}, {52, "3-1"}, {22, "3-4"}};
    std::string text;
    for (const int code :
         {cube.codeAt(0, 0, 2), cube.codeAt(0, 0, 0), cube.codeAt(3, 0, 0), cube.codeAt(3, 0, 2)}) {
        text += (text.empty() ? "" : " ") + (cornerOf.count(code) != 0 ? cornerOf.at(code) : "?");
    }
    return text;
}

class PlaceUpCorners : public ::testing::Test {
protected:
    Cube cube;
};

TEST_F(PlaceUpCorners, EachEvenArrangementGetsTheOneSequenceThatSolvesIt) {
    struct Case {
        std::string arrangement;
        Sequence sequence;
    };
    const std::vector<Case> cases = {
        {"3-1 0-1 0-4 3-4", cornerQ(0)}, {"3-1 0-4 3-4 0-1", cornerQ(1)},
        {"0-1 3-1 3-4 0-4", cornerQ(3)}, {"3-4 0-1 3-1 0-4", cornerQ(4)},
        {"0-4 3-1 0-1 3-4", cornerT(0)}, {"3-4 0-4 0-1 3-1", cornerT(1)},
        {"0-1 3-4 0-4 3-1", cornerT(3)}, {"0-4 3-4 3-1 0-1", cornerT(4)},
        {"0-4 0-1 3-4 3-1", cornerP(0)}, {"3-1 3-4 0-1 0-4", cornerP(1)},
        {"3-4 3-1 0-4 0-1", kCornerS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arrangement);
        makeCube(cube, inverse(c.sequence));
        ASSERT_EQ(cornerArrangement(cube), c.arrangement);
        const StageRun result = runStage(cube, kStatePlaceUpCorners, placeUpCorners, 10);
        EXPECT_TRUE(result.done);
        expectQueued(result, {c.sequence});
        EXPECT_TRUE(cube.isSolved());
    }
}

TEST_F(PlaceUpCorners, SequencesAreQueuedExactlyAsWritten) {
    EXPECT_EQ(describe(cornerQ(0)), "2 cw, 4 cw, 2 ccw, 1 ccw, 2 cw, 4 ccw, 2 ccw, 1 cw");
    makeCube(cube, inverse(moves("3 ccw, 2 cw, 0 cw, 2 ccw, 3 cw, 2 cw, 0 ccw, 2 ccw")));
    StageRun result = runStage(cube, kStatePlaceUpCorners, placeUpCorners, 10);
    expectQueued(result, {moves("3 ccw, 2 cw, 0 cw, 2 ccw, 3 cw, 2 cw, 0 ccw, 2 ccw")});

    const Sequence p0 = moves("0 cw, 1 cw, 2 cw, 1 ccw, 2 ccw, 1 cw, 2 cw, 1 ccw, 2 ccw, "
                              "1 cw, 2 cw, 1 ccw, 2 ccw, 0 ccw");
    makeCube(cube, inverse(p0));
    result = runStage(cube, kStatePlaceUpCorners, placeUpCorners, 10);
    expectQueued(result, {p0});
}

TEST_F(PlaceUpCorners, BothDiagonalSwapsTakeSAndKeepTheFirstTwoLayersWhole) {
    // Twisting two corners in place changes the stickers S meets but not the arrangement.
    makeCube(cube,
             inverse(kCornerS) + kTwistFrontUp + moves("2 cw") + kTwistRightUp + moves("2 ccw"));
    ASSERT_EQ(cornerArrangement(cube), "3-4 3-1 0-4 0-1");
    const StageRun result = runStage(cube, kStatePlaceUpCorners, placeUpCorners, 10);
    EXPECT_TRUE(result.done);
    expectQueued(result, {kCornerS});
    EXPECT_TRUE(lowerLayersWhole(cube));
    EXPECT_EQ(cornerArrangement(cube), "0-1 0-4 3-1 3-4");
    EXPECT_FALSE(upFaceOneColour(cube));
}

TEST_F(PlaceUpCorners, TwistedCornersAtHomeAreDone) {
    makeCube(cube, kTwistFrontUp + moves("2 cw") + kTwistRightUp + moves("2 ccw"));
    ASSERT_FALSE(upFaceOneColour(cube));
    ASSERT_TRUE(lowerLayersWhole(cube));
    cube.setSolverState(kStatePlaceUpCorners);
    EXPECT_EQ(placeUpCorners(cube), kStageDone);
    EXPECT_TRUE(cube.pending.empty());
}

// ---------------------------------------------------------------------------------------
// State 11: up-layer corner orientation

class OrientUpCorners : public ::testing::Test {
protected:
    void SetUp() override { stage::resetUpCornerCounters(); }
    StageRun run() { return runStage(cube, kStateOrientUpCorners, orientUpCorners, 100); }
    /// The counters are back at their start when a solved cube is done at the first call.
    void expectCountersAtStart() {
        Cube solved;
        makeSolved(solved);
        solved.setSolverState(kStateOrientUpCorners);
        EXPECT_EQ(orientUpCorners(solved), kStageDone);
        EXPECT_TRUE(solved.pending.empty());
    }
    Cube cube;
};

TEST_F(OrientUpCorners, SolvedUpFaceIsDoneAtOnce) {
    makeSolved(cube);
    const StageRun result = run();
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.calls, 1);
    expectCountersAtStart();
}

TEST_F(OrientUpCorners, UpLayerAQuarterTurnOffTakesOneUpTurn) {
    makeCube(cube, moves("2 ccw")); // corner 0-1 now at position 3-1
    const StageRun result = run();
    EXPECT_TRUE(result.done);
    expectQueued(result, {moves("2 cw")});
}

TEST_F(OrientUpCorners, NextCornerAtLeftFrontIsFetchedWithThreeUpTurns) {
    // Corners 0-4 and 3-4 twisted, corner 0-1 home and turned up.
    makeCube(cube,
             moves("2 ccw") + kTwistFrontUp + moves("2 ccw") + kTwistRightUp + moves("2 cw, 2 cw"));
    ASSERT_EQ(colour(cube, 2, 2, 2), 2);
    ASSERT_FALSE(upFaceOneColour(cube));
    const StageRun result = run();
    ASSERT_TRUE(result.done);
    ASSERT_GE(result.queued.size(), 4u);
    EXPECT_EQ(result.returns.front(), 1); // moved on to the next corner without queueing
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(describe(result.queued[i]), "2 cw");
    }
    const std::string fourth = describe(result.queued[3]);
    EXPECT_TRUE(fourth == describe(kTwistFrontUp) || fourth == describe(kTwistRightUp)) << fourth;
    EXPECT_TRUE(upFaceOneColour(cube));
    EXPECT_TRUE(lowerLayersWhole(cube));
    expectCountersAtStart();
}

TEST_F(OrientUpCorners, TwistsComeInBalancedPairsAndLeaveTheLowerLayersWhole) {
    // Random twist patterns with every piece home. Two opposite twists with up turns
    // between them keep the lower layers whole; doing them with the up layer turned
    // first, and turning it back, twists other pairs of corners.
    std::mt19937 random(7);
    const std::vector<Sequence> middles = {moves("2 cw"), moves("2 cw, 2 cw"), moves("2 ccw")};
    for (int trial = 0; trial < 300; ++trial) {
        Sequence scramble;
        for (int i = 0; i < 6; ++i) {
            Sequence turnAway;
            for (std::uint32_t k = random() % 4; k > 0; --k) {
                turnAway = turnAway + moves("2 cw");
            }
            const Sequence& middle = middles[random() % middles.size()];
            const bool frontFirst = random() % 2 == 0;
            scramble = scramble + turnAway + (frontFirst ? kTwistFrontUp : kTwistRightUp) + middle +
                       (frontFirst ? kTwistRightUp : kTwistFrontUp) + inverse(middle) +
                       inverse(turnAway);
        }
        makeCube(cube, scramble);
        const StageRun result = run();
        ASSERT_TRUE(result.done) << describe(scramble);
        EXPECT_LE(result.calls, 16);
        EXPECT_TRUE(upFaceOneColour(cube));
        EXPECT_TRUE(lowerLayersWhole(cube));
        int frontUp = 0;
        int rightUp = 0;
        for (const Sequence& queued : result.queued) {
            frontUp += describe(queued) == describe(kTwistFrontUp) ? 1 : 0;
            rightUp += describe(queued) == describe(kTwistRightUp) ? 1 : 0;
            EXPECT_TRUE(queued.size() == 1 || queued.size() == 8);
        }
        EXPECT_EQ(frontUp, rightUp);
        expectCountersAtStart();
    }
}

TEST_F(OrientUpCorners, CountersResetAfterAnAbandonedRun) {
    // A run cut short after the first corner leaves cornerIndex at 1.
    makeCube(cube,
             moves("2 ccw") + kTwistFrontUp + moves("2 ccw") + kTwistRightUp + moves("2 cw, 2 cw"));
    cube.setSolverState(kStateOrientUpCorners);
    ASSERT_EQ(orientUpCorners(cube), 1);

    Cube solved;
    makeSolved(solved);
    solved.setSolverState(kStateOrientUpCorners);
    EXPECT_NE(orientUpCorners(solved), kStageDone); // still hunting corner 0-4
    solved.pending.clear();

    stage::resetUpCornerCounters();
    expectCountersAtStart();
}

TEST_F(OrientUpCorners, TwistedCornerWithoutTheUpColourQueuesNothing) {
    makeSolved(cube);
    cube.facelets[2 * 9 + 8].colour = 0; // the corner shows no up colour anywhere
    cube.setSolverState(kStateOrientUpCorners);
    EXPECT_NE(orientUpCorners(cube), kStageDone);
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_EQ(cube.solverState(), kStateOrientUpCorners);
}

// ---------------------------------------------------------------------------------------
// State 12: up-layer alignment

TEST(AlignUpLayer, AlwaysTurnsCounterClockwise) {
    struct Case {
        Sequence offset;
        std::size_t turns;
    };
    const std::vector<Case> cases = {
        {{}, 0},
        {moves("2 cw"), 1}, // face 0's top row on face 4
        {moves("2 cw, 2 cw"), 2},
        {moves("2 ccw"), 3}, // face 0's top row on face 1: one 2 cw would do
    };
    Cube cube;
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.offset));
        makeCube(cube, c.offset);
        const StageRun result = runStage(cube, kStateAlignUpLayer, alignUpLayer, 10);
        EXPECT_TRUE(result.done);
        EXPECT_EQ(result.calls, static_cast<int>(c.turns) + 1);
        ASSERT_EQ(result.queued.size(), c.turns);
        for (const Sequence& queued : result.queued) {
            EXPECT_EQ(describe(queued), "2 ccw");
        }
        EXPECT_TRUE(cube.isSolved());
    }
}

TEST(AlignUpLayer, CubeThatNoUpTurnSolvesQueuesNothing) {
    Cube cube;
    for (const Sequence& broken : {moves("1 cw"), moves("2 cw") + kTwistFrontUp}) {
        makeCube(cube, broken);
        cube.setSolverState(kStateAlignUpLayer);
        EXPECT_NE(alignUpLayer(cube), kStageDone);
        EXPECT_TRUE(cube.pending.empty());
        EXPECT_EQ(cube.solverState(), kStateAlignUpLayer);
    }
}

// ---------------------------------------------------------------------------------------
// States 7 to 12 in a row

TEST(UpperStages, FinishAnyCubeWithTheDownLayerAndThreeMiddleEdgesDone) {
    // Random cubes built from sequences that keep the down layer and the three middle
    // edges in place, with the front-right edge lifted out at the end.
    const std::vector<Sequence> steps = {moves("2 cw"),
                                         edgeP(1),
                                         cornerQ(0),
                                         line(0, 1),
                                         kTwistFrontUp + moves("2 cw") + kTwistRightUp,
                                         inverse(kEdgeInsertA)};
    const std::vector<std::pair<int, Stage>> stages = {
        {kStateLastMiddleEdge, solveLastMiddleEdge}, {kStateOrientUpEdges, orientUpEdges},
        {kStatePlaceUpEdges, placeUpEdges},          {kStatePlaceUpCorners, placeUpCorners},
        {kStateOrientUpCorners, orientUpCorners},    {kStateAlignUpLayer, alignUpLayer}};
    std::mt19937 random(11);
    Cube cube;
    stage::resetUpCornerCounters();
    for (int trial = 0; trial < 300; ++trial) {
        Sequence scramble;
        for (int i = 0; i < 20; ++i) {
            scramble = scramble + steps[random() % steps.size()];
        }
        makeCube(cube, scramble);
        ASSERT_TRUE(lowerLayersWhole(cube, {0 * 9 + 5, 1 * 9 + 3})) << describe(scramble);
        cube.subStep = 0;
        for (const auto& [state, stageFunction] : stages) {
            SCOPED_TRACE(state);
            const StageRun result = runStage(cube, state, stageFunction, 100);
            ASSERT_TRUE(result.done) << describe(scramble);
            EXPECT_TRUE(lowerLayersWhole(cube));
            if (state == kStateOrientUpEdges || state == kStatePlaceUpEdges) {
                EXPECT_LE(result.queued.size(), 2u);
            } else if (state == kStatePlaceUpCorners) {
                EXPECT_LE(result.queued.size(), 1u);
            } else if (state == kStateOrientUpCorners) {
                EXPECT_LE(result.calls, 16);
            } else if (state == kStateAlignUpLayer) {
                EXPECT_LE(result.queued.size(), 3u);
            }
            if (state == kStatePlaceUpEdges) {
                cube.subStep = 0; // as the driver does on leaving state 9
            }
        }
        EXPECT_TRUE(cube.isSolved());
    }
}

} // namespace
} // namespace cw
