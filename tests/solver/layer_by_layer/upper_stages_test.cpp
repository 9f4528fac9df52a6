// Tests of the stages of solver states 7 to 12: the exact moves each case queues, how
// many calls a stage takes, its counters, and that the first two layers survive. Each
// stage is called directly; applying what it queued and calling again stands in for the
// driver. Test cubes are a solved cube with moves applied, so face turns reach them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cube/cube.h"
#include "solver/layer_by_layer/layer_by_layer.h"
#include "solver/layer_by_layer/stage_support.h"

namespace cw {
namespace {

using Moves = std::vector<Move>;

/// Moves as the stages write them ("2 cw, x ccw"); letters stand for the faces given.
Moves moves(std::string_view text, const std::map<char, int>& faces = {}) {
    Moves result;
    std::istringstream in{std::string(text)};
    for (std::string face, direction; in >> face >> direction;) {
        const int number = std::isdigit(face[0]) != 0 ? std::stoi(face) : faces.at(face[0]);
        result.emplace_back(number, direction.starts_with("cw"));
    }
    return result;
}

Moves operator+(Moves a, const Moves& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Moves inverse(const Moves& sequence) {
    Moves result;
    for (auto it = sequence.rbegin(); it != sequence.rend(); ++it) {
        result.emplace_back(it->face, !it->clockwise);
    }
    return result;
}

template <typename List>
std::string text(const List& sequence) {
    std::string result;
    for (const Move& move : sequence) {
        result += (result.empty() ? "" : ", ") + std::to_string(move.face) +
                  (move.clockwise ? " cw" : " ccw");
    }
    return result;
}

/// A solved cube with `sequence` applied, lists empty.
void makeCube(Cube& cube, const Moves& sequence = {}) {
    setSolvedStickers(cube);
    cube.pending.clear();
    cube.subStep = 0;
    for (const Move& move : sequence) {
        cube.turn(move.face, move.clockwise);
    }
}

int colour(const Cube& cube, int face, int row, int column) {
    return stage::colourAt(cube, face, row, column);
}

/// The down face and rows 1 and 2 of the side faces show their faces' colours, apart
/// from the front-right slot's two stickers when `exceptSlot` is set.
bool lowerLayersWhole(const Cube& cube, bool exceptSlot = false) {
    for (const int face : {0, 1, 3, 4, 5}) {
        for (int index = face == 5 ? 0 : 3; index < 9; ++index) {
            const bool inSlot = (face == 0 && index == 5) || (face == 1 && index == 3);
            if (!(exceptSlot && inSlot) &&
                colour(cube, face, index / 3, index % 3) != stage::centreColour(cube, face)) {
                return false;
            }
        }
    }
    return true;
}

bool upFaceOneColour(const Cube& cube) {
    for (int index = 0; index < 9; ++index) {
        if (colour(cube, 2, index / 3, index % 3) != stage::centreColour(cube, 2)) {
            return false;
        }
    }
    return true;
}

/// What a stage did over one run through its state.
struct StageRun {
    bool done = false;
    int calls = 0;
    std::vector<std::string> queued; ///< each handing-over call's moves
    std::vector<int> returns;
    bool slotOnlyDisturbed = true; ///< lower layers whole but for the slot after each hand-over
};

/// Calls `stage` as the driver does in `state` until it reports done or `callLimit`.
StageRun runStage(Cube& cube, int state, int (*stage)(Cube&), int callLimit = 100) {
    StageRun run;
    cube.setSolverState(state);
    while (!run.done && run.calls < callLimit) {
        run.returns.push_back(stage(cube));
        ++run.calls;
        run.done = run.returns.back() == kStageDone;
        if (cube.solverState() == kStatePlayback) {
            EXPECT_EQ(cube.resumeState(), state);
            run.queued.push_back(text(cube.pending));
            for (const Move& move : cube.pending) {
                cube.turn(move.face, move.clockwise);
            }
            cube.pending.clear();
            cube.setSolverState(state);
            run.slotOnlyDisturbed = run.slotOnlyDisturbed && lowerLayersWhole(cube, true);
        }
        EXPECT_TRUE(cube.pending.empty()) << "queued without handing over";
    }
    return run;
}

std::vector<std::string> texts(const std::vector<Moves>& sequences) {
    std::vector<std::string> result;
    for (const Moves& sequence : sequences) {
        result.push_back(text(sequence));
    }
    return result;
}

// The stages' sequences, written as the stages write them.
const Moves kInsertA = moves("2 cw, 1 cw, 2 ccw, 1 ccw, 2 ccw, 0 ccw, 2 cw, 0 cw");
const Moves kTurnB = moves("2 ccw, 0 ccw, 2 cw, 0 cw, 2 cw, 1 cw, 2 ccw, 1 ccw");
const Moves kUp = moves("2 cw");
Moves cornerShape(int a, int b) {
    return moves("a cw, 2 cw, b cw, 2 ccw, b ccw, a ccw", {{'a', a}, {'b', b}});
}
Moves line(int a, int b) {
    return moves("a cw, b cw, 2 cw, b ccw, 2 ccw, a ccw", {{'a', a}, {'b', b}});
}
Moves edgeP(int x) {
    return moves("x ccw, 2 ccw, 2 ccw, x cw, 2 cw, x ccw, 2 cw, x cw", {{'x', x}});
}
Moves edgeQ(int x) {
    return moves("x ccw, 2 ccw, x cw, 2 ccw, x ccw, 2 ccw, 2 ccw, x cw", {{'x', x}});
}
Moves edgeR(int x) {
    return kUp + edgeP(x);
}
Moves edgeS(int x) {
    const Moves z = moves("x ccw, 2 cw, 2 cw, x cw, 2 cw, x ccw, 2 cw, x cw", {{'x', x}});
    return z + moves("2 ccw") + z;
}
std::map<char, int> viewpoint(int v) {
    return {{'v', v}, {'l', stage::previousFace(v)}, {'r', stage::nextFace(v)}};
}
Moves cornerQ(int v) {
    return moves("2 cw, l cw, 2 ccw, r ccw, 2 cw, l ccw, 2 ccw, r cw", viewpoint(v));
}
Moves cornerT(int v) {
    return moves("r ccw, 2 cw, l cw, 2 ccw, r cw, 2 cw, l ccw, 2 ccw", viewpoint(v));
}
Moves cornerP(int v) {
    const Moves inner = moves("r cw, 2 cw, r ccw, 2 ccw", viewpoint(v));
    return moves("v cw", viewpoint(v)) + inner + inner + inner + moves("v ccw", viewpoint(v));
}
const Moves kCornerSHalf =
    moves("1 ccw, 1 ccw, 4 ccw, 4 ccw, 5 cw, 1 ccw, 1 ccw, 4 ccw, 4 ccw, 2 ccw, 2 ccw");
const Moves kCornerS = kCornerSHalf + kCornerSHalf;
const Moves kTwistFrontUp = moves("0 cw, 5 cw, 5 cw, 0 ccw, 1 ccw, 5 cw, 5 cw, 1 cw");
const Moves kTwistRightUp = moves("1 ccw, 5 cw, 5 cw, 1 cw, 0 cw, 5 cw, 5 cw, 0 ccw");

TEST(SequencesUnderTest, ReadAsTheStagesWriteThem) {
    EXPECT_EQ(text(edgeS(3)), "3 ccw, 2 cw, 2 cw, 3 cw, 2 cw, 3 ccw, 2 cw, 3 cw, 2 ccw, 3 ccw, "
                              "2 cw, 2 cw, 3 cw, 2 cw, 3 ccw, 2 cw, 3 cw");
    EXPECT_EQ(text(edgeP(1)), "1 ccw, 2 ccw, 2 ccw, 1 cw, 2 cw, 1 ccw, 2 cw, 1 cw");
    EXPECT_EQ(text(cornerQ(0)), "2 cw, 4 cw, 2 ccw, 1 ccw, 2 cw, 4 ccw, 2 ccw, 1 cw");
    EXPECT_EQ(text(cornerT(1)), "3 ccw, 2 cw, 0 cw, 2 ccw, 3 cw, 2 cw, 0 ccw, 2 ccw");
    EXPECT_EQ(text(cornerP(1)), "1 cw, 3 cw, 2 cw, 3 ccw, 2 ccw, 3 cw, 2 cw, 3 ccw, 2 ccw, 3 cw, "
                                "2 cw, 3 ccw, 2 ccw, 1 ccw");
}

// State 7 -------------------------------------------------------------------------------

TEST(LastMiddleEdge, NonZeroSubStepIsResetFirstAndDoneSetsItToOne) {
    Cube cube;
    makeCube(cube, inverse(kInsertA));
    cube.subStep = 1;
    cube.setSolverState(kStateLastMiddleEdge);
    EXPECT_EQ(solveLastMiddleEdge(cube), 0);
    EXPECT_EQ(cube.subStep, 0);
    EXPECT_TRUE(cube.pending.empty());

    makeCube(cube);
    const StageRun run = runStage(cube, kStateLastMiddleEdge, solveLastMiddleEdge);
    EXPECT_EQ(run.calls, 1);
    EXPECT_TRUE(run.done);
    EXPECT_EQ(cube.subStep, 1);
}

TEST(LastMiddleEdge, EachPlaceOfTheEdgeGetsItsCases) {
    struct Case {
        std::vector<Moves> run; // the cube is the solved one with this run undone
        int face, row, column;  // where the edge's face-0 or face-1 sticker then sits
        int colourThere;
    };
    const std::vector<Case> cases = {
        {{kInsertA}, 0, 0, 1, 0},                     // above face 0 the right way round
        {{kUp, kUp, kUp, kInsertA}, 4, 0, 1, 0},      // above face 4
        {{kTurnB, kUp, kUp, kInsertA}, 0, 0, 1, 1},   // above face 0 the wrong way round
        {{kInsertA, kUp, kUp, kInsertA}, 0, 1, 2, 1}, // in its slot, flipped
    };
    Cube cube;
    for (const Case& c : cases) {
        Moves all;
        for (const Moves& sequence : c.run) {
            all = all + sequence;
        }
        makeCube(cube, inverse(all));
        ASSERT_EQ(cube.codeAt(c.face, c.row, c.column), 33);
        ASSERT_EQ(colour(cube, c.face, c.row, c.column), c.colourThere);
        const StageRun run = runStage(cube, kStateLastMiddleEdge, solveLastMiddleEdge);
        EXPECT_TRUE(run.done);
        EXPECT_EQ(run.queued, texts(c.run));
        EXPECT_TRUE(run.slotOnlyDisturbed);
        EXPECT_TRUE(cube.isSolved());
    }
}

TEST(LastMiddleEdge, EdgeInTheDownLayerQueuesNothing) {
    Cube cube;
    makeCube(cube, moves("0 cw")); // carries the slot edge to the bottom of face 0
    cube.setSolverState(kStateLastMiddleEdge);
    EXPECT_NE(solveLastMiddleEdge(cube), kStageDone);
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_EQ(cube.solverState(), kStateLastMiddleEdge);
}

// State 8 -------------------------------------------------------------------------------

std::string raisedEdges(const Cube& cube) {
    std::string raised;
    const int up = stage::centreColour(cube, 2);
    raised += colour(cube, 2, 2, 1) == up ? '0' : '-';
    raised += colour(cube, 2, 1, 2) == up ? '1' : '-';
    raised += colour(cube, 2, 0, 1) == up ? '3' : '-';
    raised += colour(cube, 2, 1, 0) == up ? '4' : '-';
    return raised;
}

TEST(OrientUpEdges, EachPatternGetsItsSequences) {
    const std::vector<std::pair<std::string, std::vector<Moves>>> cases = {
        {"0134", {}},
        {"--34", {cornerShape(0, 1)}},
        {"01--", {cornerShape(3, 4)}},
        {"-13-", {cornerShape(4, 0)}},
        {"0--4", {moves("1 cw, 2 cw, 3 cw, 2 ccw, 3 ccw, 1 ccw")}},
        {"0-3-", {moves("1 cw, 3 cw, 2 cw, 3 ccw, 2 ccw, 1 ccw")}},
        {"-1-4", {line(0, 1)}},
        {"----",
         {moves("0 cw, 1 cw, 2 cw, 1 ccw, 2 ccw, 0 ccw"),
          moves("3 cw, 2 cw, 4 cw, 2 ccw, 4 ccw, 3 ccw")}},
    };
    Cube cube;
    for (const auto& [raised, run] : cases) {
        Moves all;
        for (const Moves& sequence : run) {
            all = all + sequence;
        }
        makeCube(cube, inverse(edgeP(1)) + inverse(all)); // where the edges sit does not matter
        ASSERT_EQ(raisedEdges(cube), raised);
        const StageRun result = runStage(cube, kStateOrientUpEdges, orientUpEdges);
        EXPECT_TRUE(result.done);
        EXPECT_EQ(result.queued, texts(run)) << raised;
        EXPECT_TRUE(lowerLayersWhole(cube));
    }
}

TEST(OrientUpEdges, ThreeRaisedEdgesQueueNothing) {
    Cube cube;
    makeCube(cube);
    std::swap(cube.facelets[2 * 9 + 7].colour, cube.facelets[0 * 9 + 1].colour);
    cube.subStep = 1;
    cube.setSolverState(kStateOrientUpEdges);
    EXPECT_EQ(orientUpEdges(cube), 1);
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_EQ(cube.solverState(), kStateOrientUpEdges);
}

// State 9 -------------------------------------------------------------------------------

/// The edges above faces 0, 1, 3 and 4, e.g. "0134" when all are home.
std::string edgeArrangement(const Cube& cube) {
    const std::map<int, char> edge = {{5, '0'}, {36, '1'}, {20, '3'}, {6, '4'}};
    std::string result;
    for (const int code :
         {cube.codeAt(2, 2, 1), cube.codeAt(2, 1, 2), cube.codeAt(2, 0, 1), cube.codeAt(2, 1, 0)}) {
        result += edge.contains(code) ? edge.at(code) : '?';
    }
    return result;
}

TEST(PlaceUpEdges, EveryArrangementGetsItsSequenceAndIsHomeWithinTwo) {
    const std::map<std::string, Moves> firstSequence = {
        {"0134", {}},       {"0143", edgeR(1)}, {"0314", edgeR(0)}, {"0341", edgeP(4)},
        {"0413", edgeQ(4)}, {"0431", edgeS(3)}, {"1034", edgeR(4)}, {"1043", edgeR(1)},
        {"1304", edgeP(3)}, {"1340", edgeR(1)}, {"1403", edgeR(4)}, {"1430", edgeP(1)},
        {"3014", edgeQ(3)}, {"3041", edgeR(1)}, {"3104", edgeS(1)}, {"3140", edgeP(0)},
        {"3401", edgeS(1)}, {"3410", edgeR(3)}, {"4013", edgeR(0)}, {"4031", edgeQ(1)},
        {"4103", edgeQ(0)}, {"4130", edgeR(3)}, {"4301", edgeR(0)}, {"4310", edgeR(3)},
    };
    // Reach every arrangement with up turns and one three-edge cycle.
    std::map<std::string, FaceletArray> reached;
    Cube cube;
    makeCube(cube);
    std::vector<FaceletArray> frontier = {cube.facelets};
    reached[edgeArrangement(cube)] = cube.facelets;
    while (!frontier.empty()) {
        const FaceletArray state = frontier.back();
        frontier.pop_back();
        for (const Moves& step : {kUp, edgeP(1)}) {
            cube.facelets = state;
            for (const Move& move : step) {
                cube.turn(move.face, move.clockwise);
            }
            if (reached.emplace(edgeArrangement(cube), cube.facelets).second) {
                frontier.push_back(cube.facelets);
            }
        }
    }
    ASSERT_EQ(reached.size(), 24u);

    for (const auto& [arrangement, facelets] : reached) {
        cube.facelets = facelets;
        const StageRun run = runStage(cube, kStatePlaceUpEdges, placeUpEdges);
        ASSERT_TRUE(run.done) << arrangement;
        const Moves& first = firstSequence.at(arrangement);
        EXPECT_EQ(run.queued.empty() ? "" : run.queued.front(), text(first)) << arrangement;
        EXPECT_LE(run.queued.size(), 2u);
        EXPECT_EQ(edgeArrangement(cube), "0134");
        EXPECT_EQ(raisedEdges(cube), "0134");
        EXPECT_TRUE(lowerLayersWhole(cube));
        if (arrangement == "3401") { // both opposite swaps
            EXPECT_EQ(run.queued, texts({edgeS(1), edgeS(3)}));
        }
    }
}

TEST(PlaceUpEdges, JudgesByCodesAndQueuesNothingOnAWrongSideSticker) {
    Cube cube;
    makeCube(cube); // colours solved, codes of the edges above faces 0 and 1 swapped
    for (const std::size_t index : {2u * 9 + 7, 0u * 9 + 1}) {
        cube.facelets[index].code = 36;
    }
    for (const std::size_t index : {2u * 9 + 5, 1u * 9 + 1}) {
        cube.facelets[index].code = 5;
    }
    cube.setSolverState(kStatePlaceUpEdges);
    placeUpEdges(cube);
    EXPECT_EQ(text(cube.pending), text(edgeR(4)));

    makeCube(cube); // codes home, one edge flipped
    std::swap(cube.facelets[2 * 9 + 7].colour, cube.facelets[0 * 9 + 1].colour);
    cube.setSolverState(kStatePlaceUpEdges);
    EXPECT_NE(placeUpEdges(cube), kStageDone);
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_EQ(cube.solverState(), kStatePlaceUpEdges);
}

// State 10 ------------------------------------------------------------------------------

/// The corners held at positions 0-1, 0-4, 3-1 and 3-4.
std::string cornerArrangement(const Cube& cube) {
    const std::map<int, std::string> corner = {{37, "0-1"}, {7, "0-4"}, {52, "3-1"}, {22, "3-4"}};
    std::string result;
    for (const int code :
         {cube.codeAt(0, 0, 2), cube.codeAt(0, 0, 0), cube.codeAt(3, 0, 0), cube.codeAt(3, 0, 2)}) {
        result += (result.empty() ? "" : " ") + (corner.contains(code) ? corner.at(code) : "?");
    }
    return result;
}

TEST(PlaceUpCorners, EachEvenArrangementGetsTheOneSequenceThatSolvesIt) {
    const std::vector<std::pair<std::string, Moves>> cases = {
        {"3-1 0-1 0-4 3-4", cornerQ(0)}, {"3-1 0-4 3-4 0-1", cornerQ(1)},
        {"0-1 3-1 3-4 0-4", cornerQ(3)}, {"3-4 0-1 3-1 0-4", cornerQ(4)},
        {"0-4 3-1 0-1 3-4", cornerT(0)}, {"3-4 0-4 0-1 3-1", cornerT(1)},
        {"0-1 3-4 0-4 3-1", cornerT(3)}, {"0-4 3-4 3-1 0-1", cornerT(4)},
        {"0-4 0-1 3-4 3-1", cornerP(0)}, {"3-1 3-4 0-1 0-4", cornerP(1)},
        {"3-4 3-1 0-4 0-1", kCornerS},
    };
    Cube cube;
    for (const auto& [arrangement, sequence] : cases) {
        makeCube(cube, inverse(sequence));
        ASSERT_EQ(cornerArrangement(cube), arrangement);
        const StageRun run = runStage(cube, kStatePlaceUpCorners, placeUpCorners);
        EXPECT_TRUE(run.done);
        EXPECT_EQ(run.queued, texts({sequence})) << arrangement;
    }
}

TEST(PlaceUpCorners, TwistsDoNotMatterOnlyPlaces) {
    const Moves twistTwo = kTwistFrontUp + kUp + kTwistRightUp + moves("2 ccw");
    Cube cube;
    makeCube(cube, twistTwo);
    ASSERT_FALSE(upFaceOneColour(cube));
    EXPECT_EQ(runStage(cube, kStatePlaceUpCorners, placeUpCorners).calls, 1);

    // S turns the down face too, yet leaves the first two layers whole.
    makeCube(cube, inverse(kCornerS) + twistTwo);
    const StageRun run = runStage(cube, kStatePlaceUpCorners, placeUpCorners);
    EXPECT_EQ(run.queued, texts({kCornerS}));
    EXPECT_TRUE(run.done);
    EXPECT_TRUE(lowerLayersWhole(cube));
    EXPECT_EQ(cornerArrangement(cube), "0-1 0-4 3-1 3-4");
}

// State 11 ------------------------------------------------------------------------------

class OrientUpCorners : public ::testing::Test {
protected:
    void SetUp() override { stage::resetUpCornerCounters(); }

    /// The counters are at their start exactly when a solved cube is done at once.
    static bool countersAtStart() {
        Cube solved;
        makeCube(solved);
        solved.setSolverState(kStateOrientUpCorners);
        return orientUpCorners(solved) == kStageDone;
    }

    // Corners 0-4 and 3-4 twisted; corner 0-1 home and turned up.
    const Moves twistedLeft =
        moves("2 ccw") + kTwistFrontUp + moves("2 ccw") + kTwistRightUp + moves("2 cw, 2 cw");
    Cube cube;
};

TEST_F(OrientUpCorners, FetchesEachCornerWithUpTurns) {
    makeCube(cube, moves("2 ccw")); // all turned up, corner 0-1 at position 3-1
    StageRun run = runStage(cube, kStateOrientUpCorners, orientUpCorners);
    EXPECT_TRUE(run.done);
    EXPECT_EQ(run.queued, texts({kUp}));

    makeCube(cube, twistedLeft);
    run = runStage(cube, kStateOrientUpCorners, orientUpCorners);
    ASSERT_TRUE(run.done);
    EXPECT_EQ(run.returns.front(), 1); // on to corner 0-4 without queueing
    ASSERT_GE(run.queued.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(run.queued.begin(), run.queued.begin() + 4),
              texts({kUp, kUp, kUp, kTwistRightUp}));
    EXPECT_TRUE(upFaceOneColour(cube));
    EXPECT_TRUE(lowerLayersWhole(cube));
    EXPECT_TRUE(countersAtStart());
}

TEST_F(OrientUpCorners, BalancedTwistsLeaveTheLowerLayersWholeWithinSixteenCalls) {
    // Two opposite twists with up turns between keep the lower layers whole; doing them
    // with the up layer turned away first twists other pairs of corners.
    std::mt19937 random(7);
    for (int trial = 0; trial < 300; ++trial) {
        Moves scramble;
        for (int i = 0; i < 6; ++i) {
            Moves away;
            for (auto k = random() % 4; k > 0; --k) {
                away = away + kUp;
            }
            const Moves middle = random() % 2 == 0 ? kUp : moves("2 ccw");
            const bool frontFirst = random() % 2 == 0;
            scramble = scramble + away + (frontFirst ? kTwistFrontUp : kTwistRightUp) + middle +
                       (frontFirst ? kTwistRightUp : kTwistFrontUp) + inverse(middle) +
                       inverse(away);
        }
        makeCube(cube, scramble);
        const StageRun run = runStage(cube, kStateOrientUpCorners, orientUpCorners);
        ASSERT_TRUE(run.done) << text(scramble);
        EXPECT_LE(run.calls, 16);
        EXPECT_TRUE(upFaceOneColour(cube));
        EXPECT_TRUE(lowerLayersWhole(cube));
        EXPECT_EQ(std::count(run.queued.begin(), run.queued.end(), text(kTwistFrontUp)),
                  std::count(run.queued.begin(), run.queued.end(), text(kTwistRightUp)));
        ASSERT_TRUE(countersAtStart());
    }
}

TEST_F(OrientUpCorners, ResetPutsBackCountersOfAnAbandonedRun) {
    makeCube(cube, twistedLeft);
    cube.setSolverState(kStateOrientUpCorners);
    ASSERT_EQ(orientUpCorners(cube), 1);
    EXPECT_FALSE(countersAtStart()); // still hunting corner 0-4
    stage::resetUpCornerCounters();
    EXPECT_TRUE(countersAtStart());
}

TEST_F(OrientUpCorners, TwistedCornerWithoutTheUpColourQueuesNothing) {
    makeCube(cube);
    cube.facelets[2 * 9 + 8].colour = 0;
    cube.setSolverState(kStateOrientUpCorners);
    EXPECT_NE(orientUpCorners(cube), kStageDone);
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_EQ(cube.solverState(), kStateOrientUpCorners);
}

// State 12 ------------------------------------------------------------------------------

TEST(AlignUpLayer, AlwaysTurnsCounterClockwise) {
    // Up layer off by nothing, a turn that 2 ccw undoes, a half turn, one 2 cw undoes.
    const std::vector<std::pair<Moves, std::size_t>> cases = {
        {{}, 0}, {kUp, 1}, {kUp + kUp, 2}, {moves("2 ccw"), 3}};
    Cube cube;
    for (const auto& [offset, turns] : cases) {
        makeCube(cube, offset);
        const StageRun run = runStage(cube, kStateAlignUpLayer, alignUpLayer);
        EXPECT_TRUE(run.done);
        EXPECT_EQ(run.queued, std::vector<std::string>(turns, "2 ccw"));
        EXPECT_TRUE(cube.isSolved());
    }
}

TEST(AlignUpLayer, CubeThatNoUpTurnSolvesQueuesNothing) {
    Cube cube;
    for (const Moves& broken : {moves("1 cw"), kUp + kTwistFrontUp}) {
        makeCube(cube, broken);
        cube.setSolverState(kStateAlignUpLayer);
        EXPECT_NE(alignUpLayer(cube), kStageDone);
        EXPECT_TRUE(cube.pending.empty());
        EXPECT_EQ(cube.solverState(), kStateAlignUpLayer);
    }
}

// States 7 to 12 in a row ---------------------------------------------------------------

TEST(UpperStages, FinishEveryCubeWhoseDownLayerAndThreeMiddleEdgesAreDone) {
    // Random cubes from sequences that keep all that in place, the front-right edge
    // lifted out now and then.
    const std::vector<Moves> steps = {kUp,
                                      edgeP(1),
                                      cornerQ(0),
                                      line(0, 1),
                                      kTwistFrontUp + kUp + kTwistRightUp,
                                      inverse(kInsertA)};
    const std::vector<std::pair<int, int (*)(Cube&)>> stages = {
        {kStateLastMiddleEdge, solveLastMiddleEdge}, {kStateOrientUpEdges, orientUpEdges},
        {kStatePlaceUpEdges, placeUpEdges},          {kStatePlaceUpCorners, placeUpCorners},
        {kStateOrientUpCorners, orientUpCorners},    {kStateAlignUpLayer, alignUpLayer}};
    const std::map<int, std::size_t> mostSequences = {{kStateOrientUpEdges, 2},
                                                      {kStatePlaceUpEdges, 2},
                                                      {kStatePlaceUpCorners, 1},
                                                      {kStateAlignUpLayer, 3}};
    std::mt19937 random(11);
    Cube cube;
    stage::resetUpCornerCounters();
    for (int trial = 0; trial < 300; ++trial) {
        Moves scramble;
        for (int i = 0; i < 20; ++i) {
            scramble = scramble + steps[random() % steps.size()];
        }
        makeCube(cube, scramble);
        ASSERT_TRUE(lowerLayersWhole(cube, true));
        for (const auto& [state, stageFunction] : stages) {
            const StageRun run = runStage(cube, state, stageFunction);
            ASSERT_TRUE(run.done) << state << ": " << text(scramble);
            EXPECT_TRUE(lowerLayersWhole(cube)) << state;
            if (mostSequences.contains(state)) {
                EXPECT_LE(run.queued.size(), mostSequences.at(state)) << state;
            }
            if (state == kStateOrientUpCorners) {
                EXPECT_LE(run.calls, 16);
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
