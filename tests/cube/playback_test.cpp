// Playback of queued moves: when turns start, how many frames they take, when the count
// drops, and where the cube's state goes when the list runs out.
#include <gtest/gtest.h>

#include "cube/cube.h"
#include "tests/support/cube_testing.h"

namespace cw {
namespace {

// One frame as the main loop runs it: the queue step, then the drawing, which advances
// a turning layer.
void frame(Cube& cube) {
    cube.stepMoveQueue();
    if (cube.turningFace() != -1) {
        cube.advanceTurn();
    }
}

// A solved cube with a single quarter turn queued, ready to play. Auto-solve is on:
// otherwise the solved test would pause playback at the first move boundary.
void queueOne(Cube& cube, Move move) {
    testing::setSolved(cube);
    cube.setAutoSolve(true);
    cube.setSolverState(0);
    cube.setResumeState(0);
    cube.pending.push_back(move);
}

int framesUntilApplied(Cube& cube) {
    int frames = 0;
    const FaceletArray before = cube.facelets;
    while (cube.facelets == before && frames < 1000) {
        frame(cube);
        ++frames;
    }
    return frames;
}

TEST(TurnAnimation, FramesPerQuarterTurnFollowTheSpeed) {
    // The layer shows v, 2v, ... up to 90 and the turn lands on the frame after.
    const std::vector<std::pair<float, int>> cases = {{9.0f, 11}, {15.0f, 7}, {1.0f, 91}};
    for (const auto& [speed, frames] : cases) {
        Cube cube;
        cube.setTurnSpeed(speed);
        queueOne(cube, Move(2, true));
        EXPECT_EQ(framesUntilApplied(cube), frames) << "speed " << speed;
        EXPECT_EQ(cube.turningFace(), -1);
        EXPECT_EQ(cube.layerAngleY, 0.0f);
    }
}

TEST(TurnAnimation, AnglesRunTheWayTheTurnCarriesTheStickers) {
    struct Case {
        int face;
        bool clockwise;
        float Cube::*axis;
        float sign;
    };
    const std::vector<Case> cases = {
        {0, true, &Cube::layerAngleZ, -1.0f}, {0, false, &Cube::layerAngleZ, 1.0f},
        {1, true, &Cube::layerAngleX, -1.0f}, {2, true, &Cube::layerAngleY, -1.0f},
        {3, true, &Cube::layerAngleZ, 1.0f},  {3, false, &Cube::layerAngleZ, -1.0f},
        {4, true, &Cube::layerAngleX, 1.0f},  {5, true, &Cube::layerAngleY, 1.0f},
    };
    for (const Case& c : cases) {
        Cube cube;
        queueOne(cube, Move(c.face, c.clockwise));
        cube.stepMoveQueue();
        EXPECT_EQ(cube.advanceTurn(), c.sign * 9.0f) << c.face << c.clockwise;
        EXPECT_EQ(cube.*c.axis, c.sign * 9.0f);
    }
}

TEST(TurnAnimation, SpeedThatDoesNotDivideNinetyAppliesEachTurnOnce) {
    Cube cube;
    cube.setTurnSpeed(7.0f);
    queueOne(cube, Move(1, false));
    // 7, 14, ..., 84 shown, 91 wraps to 0 on the 13th advance.
    EXPECT_EQ(framesUntilApplied(cube), 13);
    Cube reference;
    testing::setSolved(reference);
    reference.turn(1, false);
    EXPECT_EQ(cube.facelets, reference.facelets);
}

TEST(MoveQueue, ThreeQueuedMovesPlayBackToBack) {
    Cube cube;
    testing::setSolved(cube);
    cube.setSolverState(0);
    cube.setResumeState(7);
    cube.setAutoSolve(true);
    cube.pending = {Move(0, true), Move(1, true), Move(2, true)};

    cube.stepMoveQueue(); // frame 1 starts move 1
    ASSERT_TRUE(cube.current.has_value());
    EXPECT_EQ(cube.turningFace(), 0);
    for (int i = 0; i < 10; ++i) {
        cube.advanceTurn();
    }
    cube.advanceTurn(); // move 1 applied on its eleventh drawing
    EXPECT_EQ(cube.turningFace(), -1);
    EXPECT_EQ(cube.pending.size(), 3u); // still counted until the next step

    cube.stepMoveQueue(); // removes move 1 and starts move 2 in the same step
    EXPECT_EQ(cube.pending.size(), 2u);
    EXPECT_EQ(cube.turningFace(), 1);
    for (int i = 0; i < 11; ++i) {
        cube.advanceTurn();
    }
    cube.stepMoveQueue();
    EXPECT_EQ(cube.turningFace(), 2);
    for (int i = 0; i < 11; ++i) {
        cube.advanceTurn();
    }
    cube.stepMoveQueue(); // list used up: back to the resume state
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_FALSE(cube.current.has_value());
    EXPECT_EQ(cube.solverState(), 7);

    Cube reference;
    testing::setSolved(reference);
    reference.turn(0, true); // F
    reference.turn(1, true); // R
    reference.turn(2, true); // U
    EXPECT_EQ(cube.facelets, reference.facelets);
}

TEST(MoveQueue, CountDropsTheFrameAfterTheTurnIsApplied) {
    Cube cube;
    queueOne(cube, Move(5, false));
    cube.pending.push_back(Move(5, false));
    int frames = 0;
    while (cube.pending.size() == 2 && frames < 100) {
        frame(cube);
        ++frames;
    }
    // Applied on frame 11, removed by the step of frame 12.
    EXPECT_EQ(frames, 12);
}

TEST(MoveQueue, UsedUpListWithoutResumeStateGoesToTheFirstStage) {
    Cube cube;
    queueOne(cube, Move(3, true));
    cube.setResumeState(-1);
    for (int i = 0; i < 12; ++i) {
        frame(cube);
    }
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_EQ(cube.solverState(), 2);
}

TEST(MoveQueue, IdleUnsolvedCubeOnlyGetsTheSolvedTest) {
    Cube cube;
    testing::setSolved(cube);
    cube.turn(2, true);
    cube.setAutoSolve(true);
    cube.setSolverState(4);
    cube.stepMoveQueue();
    EXPECT_EQ(cube.solverState(), 4);
    EXPECT_EQ(cube.turningFace(), -1);

    testing::setSolved(cube);
    cube.stepMoveQueue();
    EXPECT_EQ(cube.solverState(), 1);
}

TEST(MoveQueue, SolvedCubePausesAtTheNextMoveBoundaryUnlessAutoSolveIsOn) {
    Cube cube;
    testing::setSolved(cube);
    cube.setSolverState(0);
    cube.pending = {Move(2, true), Move(2, false)};
    for (int i = 0; i < 30; ++i) {
        frame(cube);
    }
    // The first turn started and finished, but the solved test stopped the queue.
    EXPECT_EQ(cube.solverState(), 1);
    EXPECT_EQ(cube.pending.size(), 2u);
    EXPECT_FALSE(cube.isSolved());
    cube.setAutoSolve(true);
    for (int i = 0; i < 30; ++i) {
        frame(cube);
    }
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_TRUE(cube.isSolved());
}

TEST(MoveQueue, PausesWhenAutoSolveIsOffAndStateIsNotPlayback) {
    Cube cube;
    queueOne(cube, Move(0, true));
    cube.setSolverState(3);
    cube.setAutoSolve(false);
    for (int i = 0; i < 20; ++i) {
        frame(cube);
    }
    EXPECT_EQ(cube.pending.size(), 1u);
    EXPECT_EQ(cube.turningFace(), -1);
    cube.setAutoSolve(true);
    frame(cube);
    EXPECT_EQ(cube.turningFace(), 0);
}

TEST(MoveQueue, RefillInMidTurnDropsTheAnimatingTurn) {
    Cube cube;
    queueOne(cube, Move(0, true));
    for (int i = 0; i < 4; ++i) {
        frame(cube); // front layer at -36 degrees
    }
    EXPECT_EQ(cube.layerAngleZ, -36.0f);

    // Auto-solve switched on in mid-turn: the list is emptied and refilled.
    cube.current.reset();
    cube.pending.clear();
    cube.pending.push_back(Move(3, false));
    cube.stepMoveQueue();
    EXPECT_EQ(cube.turningFace(), 3);
    EXPECT_FALSE(cube.turnClockwise);

    // The back turn starts from the front turn's partial angle: -36 - 9k passes -90
    // on the seventh advance, and only the back turn is applied.
    int advances = 0;
    while (cube.turningFace() != -1 && advances < 100) {
        cube.advanceTurn();
        ++advances;
    }
    EXPECT_EQ(advances, 7);
    Cube reference;
    testing::setSolved(reference);
    reference.turn(3, false);
    EXPECT_EQ(cube.facelets, reference.facelets);
}

} // namespace
} // namespace cw
