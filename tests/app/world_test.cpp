// The world's key commands, background flight and start-up, without a window.
#include <gtest/gtest.h>

#include <memory>

#include "app/world.h"
#include "cube/random.h"
#include "solver/layer_by_layer/layer_by_layer.h"
#include "tests/support/cube_testing.h"
#include "tests/support/test_platform.h"

namespace cw {
namespace {

class WorldTest : public ::testing::Test {
protected:
    // A World holds eleven cubes; keep it off the stack.
    std::unique_ptr<World> world = std::make_unique<World>();
    testing::TestPlatform window;
    KeyTable keys{};

    Cube& main() { return world->mainCube; }
    void press(int code) { setKey(keys, code, true); }
    bool handle() { return world->handleKeys(keys, window); }
};

TEST_F(WorldTest, ArrowsTurnTheViewNineDegreesPerFrame) {
    press(key::kLeft);
    handle();
    EXPECT_EQ(main().viewAngleY(), -9.0f);
    handle(); // not cleared: acts again on the next frame
    EXPECT_EQ(main().viewAngleY(), -18.0f);
    keys = {};
    press(key::kRight);
    handle();
    EXPECT_EQ(main().viewAngleY(), -9.0f);
    keys = {};
    press(key::kUp);
    handle();
    EXPECT_EQ(main().viewAngleZ(), 9.0f);
    keys = {};
    press(key::kDown);
    handle();
    handle();
    EXPECT_EQ(main().viewAngleZ(), -9.0f);
    EXPECT_TRUE(keys[key::kDown]);
}

TEST_F(WorldTest, MainSpeedStepsStopOneStepPastTheBounds) {
    main().setTurnSpeed(14.99f);
    press(key::kNumpad8);
    handle();
    EXPECT_FLOAT_EQ(main().turnSpeed(), 15.005f);
    handle();
    EXPECT_FLOAT_EQ(main().turnSpeed(), 15.005f);

    keys = {};
    main().setTurnSpeed(1.01f);
    press(key::kNumpad2);
    handle();
    EXPECT_FLOAT_EQ(main().turnSpeed(), 0.995f);
    handle();
    EXPECT_FLOAT_EQ(main().turnSpeed(), 0.995f);
}

TEST_F(WorldTest, BackgroundSpeedKeysStepEachCubeWithinItsBounds) {
    world->background[0].setTurnSpeed(1.0f);  // at the lower bound: stays
    world->background[1].setTurnSpeed(15.0f); // at the upper bound
    press(key::kNumpad4);
    handle();
    EXPECT_FLOAT_EQ(world->background[0].turnSpeed(), 1.0f);
    EXPECT_FLOAT_EQ(world->background[1].turnSpeed(), 14.985f);
    EXPECT_FLOAT_EQ(world->background[2].turnSpeed(), 8.985f);
    EXPECT_FLOAT_EQ(main().turnSpeed(), 9.0f);

    keys = {};
    press(key::kNumpad6);
    handle();
    EXPECT_FLOAT_EQ(world->background[0].turnSpeed(), 1.015f);
    EXPECT_FLOAT_EQ(world->background[1].turnSpeed(), 15.0f);
    handle();
    EXPECT_FLOAT_EQ(world->background[1].turnSpeed(), 15.0f);
}

TEST_F(WorldTest, FaceKeysQueueTheirTurnsInTableOrder) {
    const char* letters = "QWASZXERDFCV";
    const Move expected[] = {{0, false}, {0, true},  {4, true}, {4, false}, {2, true}, {2, false},
                             {3, true},  {3, false}, {1, true}, {1, false}, {5, true}, {5, false}};
    main().setSolverState(6);
    for (const char* c = letters; *c != '\0'; ++c) {
        press(key::letter(*c));
    }
    handle();
    ASSERT_EQ(main().pending.size(), 12u);
    auto it = main().pending.begin();
    for (const Move& move : expected) {
        EXPECT_EQ(*it++, move);
    }
    EXPECT_EQ(main().solverState(), 0);
    // Each key copies the state it finds: the first saw 6, the others the 0 it left.
    EXPECT_EQ(main().resumeState(), 0);
    // Face keys are not cleared.
    EXPECT_TRUE(keys[static_cast<std::size_t>(key::letter('Q'))]);
}

TEST_F(WorldTest, FaceKeyRemembersTheStateToReturnTo) {
    main().setSolverState(1);
    press(key::letter('D'));
    handle();
    EXPECT_EQ(main().resumeState(), 1);
    EXPECT_EQ(main().solverState(), 0);
}

TEST_F(WorldTest, FaceKeysDoNothingWhileTurningOrAutoSolving) {
    main().pending.push_back(Move(2, true));
    main().stepMoveQueue(); // the turn starts animating
    ASSERT_NE(main().turningFace(), -1);
    press(key::letter('W'));
    handle();
    EXPECT_EQ(main().pending.size(), 1u);

    restartCube(main(), false);
    main().setAutoSolve(true);
    handle();
    EXPECT_TRUE(main().pending.empty());
}

TEST_F(WorldTest, HeldFaceKeyQueuesTheNextTurnAsTheLastOneFinishes) {
    main().setSolverState(0);
    press(key::letter('Q'));
    int queued = 0;
    for (int frame = 0; frame < 40; ++frame) {
        world->stepCubes();
        advanceSceneWithoutDrawing(*world);
        const bool idle = main().turningFace() == -1;
        handle();
        if (idle) {
            ++queued;
        }
    }
    // Each quarter turn takes eleven frames, with no idle frame between turns.
    EXPECT_EQ(queued, 40 / 11 + 1);
}

TEST_F(WorldTest, MTogglesAutoSolveAndSolvesOnce) {
    srand(99);
    main().reset();
    press(key::letter('M'));
    handle();
    EXPECT_TRUE(main().autoSolve());
    EXPECT_FALSE(keys[static_cast<std::size_t>(key::letter('M'))]);
    EXPECT_FALSE(main().pending.empty());
    EXPECT_EQ(main().solverState(), 0);
    EXPECT_EQ(main().resumeState(), 0);

    // The queued solution solves the stickers on screen.
    Cube replay;
    replay.facelets = main().facelets;
    for (const Move& m : main().pending) {
        replay.turn(m.face, m.clockwise);
    }
    EXPECT_TRUE(replay.isSolved());

    press(key::letter('M'));
    handle();
    EXPECT_FALSE(main().autoSolve());
    EXPECT_TRUE(main().pending.empty());
    EXPECT_FALSE(main().current.has_value());
    EXPECT_EQ(main().resumeState(), 2);
}

TEST_F(WorldTest, MDuringPlaybackLetsTheAnimatingTurnFinish) {
    press(key::letter('M'));
    handle();
    for (int frame = 0; frame < 5; ++frame) {
        world->stepCubes();
        advanceSceneWithoutDrawing(*world);
    }
    const int face = main().turningFace();
    ASSERT_NE(face, -1);
    const FaceletArray before = main().facelets;

    press(key::letter('M'));
    handle();
    EXPECT_TRUE(main().pending.empty());
    for (int frame = 0; frame < 11; ++frame) {
        world->stepCubes();
        advanceSceneWithoutDrawing(*world);
    }
    EXPECT_EQ(main().turningFace(), -1);
    EXPECT_NE(main().facelets, before); // the turn was applied
}

TEST_F(WorldTest, AutoSolveSwitchesItselfOffOnceSolved) {
    press(key::letter('M'));
    handle();
    const std::size_t moves = main().pending.size();
    int frames = 0;
    while (main().autoSolve() && frames < 20000) {
        world->stepCubes();
        advanceSceneWithoutDrawing(*world);
        world->finishFrame();
        ++frames;
    }
    EXPECT_TRUE(main().isSolved());
    EXPECT_EQ(main().solverState(), 1);
    // Eleven frames a move at 9 degrees a frame, and one more to remove the last one.
    EXPECT_EQ(static_cast<std::size_t>(frames), moves * 11 + 1);
}

TEST_F(WorldTest, SpaceRestartsTheMainCubeUnsolved) {
    main().setTurnSpeed(3.0f);
    main().setViewAngleX(30.0f);
    main().setAutoSolve(true);
    main().pending.push_back(Move(1, true));
    const FaceletArray before = main().facelets;
    press(key::kSpace);
    handle();
    EXPECT_NE(main().facelets, before);
    EXPECT_EQ(main().viewAngleX(), 0.0f);
    EXPECT_FALSE(main().autoSolve());
    EXPECT_TRUE(main().pending.empty());
    EXPECT_EQ(main().turnSpeed(), 3.0f);
    // One restart per press: holding Space does not re-scramble every frame.
    EXPECT_FALSE(keys[key::kSpace]);
}

TEST_F(WorldTest, F1RecreatesTheWindowAndReleasesTheFont) {
    press(key::kF1);
    EXPECT_TRUE(handle());
    EXPECT_EQ(window.toggles, 1);
    EXPECT_EQ(window.fontReleases, 1);
    EXPECT_FALSE(keys[key::kF1]);

    window.toggleSucceeds = false;
    press(key::kF1);
    press(key::letter('W'));
    EXPECT_FALSE(handle()); // the program ends: nothing after F1 runs
    EXPECT_EQ(window.fontReleases, 1);
    EXPECT_TRUE(main().pending.empty());
}

TEST_F(WorldTest, StartUpSolvesEachBackgroundCubeAtHomeDepth) {
    world->prepareBackground();
    for (int i = 0; i < kBackgroundCount; ++i) {
        const Cube& cube = world->background[static_cast<std::size_t>(i)];
        EXPECT_EQ(world->depths[static_cast<std::size_t>(i)], -50.0f);
        EXPECT_FLOAT_EQ(cube.alpha(), 0.3f);
        EXPECT_TRUE(cube.autoSolve());
        EXPECT_FALSE(cube.pending.empty());
        EXPECT_EQ(cube.solverState(), 0);
    }
    // The main cube is left as built: scrambled, nothing queued.
    EXPECT_FALSE(main().autoSolve());
    EXPECT_TRUE(main().pending.empty());
}

TEST_F(WorldTest, BackgroundGridSpansFiveColumnsAndTwoRows) {
    EXPECT_EQ(backgroundX(0), -22.0f);
    EXPECT_EQ(backgroundY(0), -15.0f);
    EXPECT_EQ(backgroundX(5), 0.0f);
    EXPECT_EQ(backgroundY(5), 15.0f);
    EXPECT_EQ(backgroundX(9), 22.0f);
    EXPECT_EQ(backgroundY(8), -15.0f);
}

TEST_F(WorldTest, SolvedBackgroundCubeRecedesRestartsAndComesBack) {
    Cube& cube = world->background[3];
    testing::setSolved(cube);
    cube.setSolverState(1);
    world->depths[3] = -50.0f;

    world->flightStep(3);
    EXPECT_EQ(world->depths[3], -51.0f);

    world->depths[3] = -150.0f;
    world->flightStep(3); // -151: restarted, and already on its way back
    EXPECT_EQ(world->depths[3], -149.0f);
    EXPECT_FALSE(cube.isSolved());
    EXPECT_FLOAT_EQ(cube.alpha(), 0.3f);
    EXPECT_FALSE(cube.pending.empty());
    EXPECT_EQ(cube.viewAngleX(), 0.0f);

    for (int frame = 0; frame < 60; ++frame) {
        world->flightStep(3);
    }
    EXPECT_EQ(world->depths[3], -50.0f); // clamped at home, not overshooting

    // Unsolved and at home: stays put.
    world->flightStep(3);
    EXPECT_EQ(world->depths[3], -50.0f);
}

TEST_F(WorldTest, ApproachStopsExactlyAtHome) {
    Cube& cube = world->background[0];
    cube.setSolverState(0);
    world->depths[0] = -51.0f;
    world->flightStep(0);
    EXPECT_EQ(world->depths[0], -50.0f);
}

} // namespace
} // namespace cw
