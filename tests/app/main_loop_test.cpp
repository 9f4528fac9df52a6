// The real main loop driven pass by pass with a scripted platform: events, frames,
// Escape, minimising, the fullscreen toggle and the frame pacing.
#include <gtest/gtest.h>

#include <memory>

#include "app/main_loop.h"
#include "tests/support/test_platform.h"

namespace cw {
namespace {

using Event = PumpResult;

class MainLoopTest : public ::testing::Test {
protected:
    std::unique_ptr<World> world = std::make_unique<World>();
    testing::TestPlatform platform;
    MainLoop loop{*world, platform};
};

TEST_F(MainLoopTest, EachPassHandlesOneEventOrRunsOneFrame) {
    platform.events = {Event::Dispatched, Event::Dispatched, Event::Dispatched};
    for (int pass = 0; pass < 3; ++pass) {
        EXPECT_TRUE(loop.runPass());
    }
    EXPECT_EQ(loop.frames(), 0u);
    EXPECT_EQ(platform.draws, 0);
    EXPECT_TRUE(loop.runPass());
    EXPECT_EQ(loop.frames(), 1u);
    EXPECT_EQ(platform.draws, 1);
}

TEST_F(MainLoopTest, QuitRequestEndsTheLoopWithStatusZero) {
    platform.events = {Event::Dispatched, Event::Quit, Event::Dispatched};
    EXPECT_EQ(loop.run(), 0);
    EXPECT_TRUE(loop.done());
    EXPECT_EQ(platform.events.size(), 1u); // nothing after the quit was taken
    EXPECT_EQ(loop.frames(), 0u);
}

TEST_F(MainLoopTest, EscapeEndsTheLoopWithoutDrawingButStillHandlesKeys) {
    setKey(platform.keyTable, key::kEscape, true);
    setKey(platform.keyTable, key::kLeft, true);
    EXPECT_EQ(loop.run(), 0);
    EXPECT_EQ(loop.frames(), 1u);
    EXPECT_EQ(platform.draws, 0);
    EXPECT_EQ(world->mainCube.viewAngleY(), -9.0f);
    EXPECT_GE(platform.clock, kFramePeriodMs); // the frame's wait still ran
}

TEST_F(MainLoopTest, MinimisedWindowIgnoresEscapeButActsOnKeys) {
    platform.isActive = false;
    setKey(platform.keyTable, key::kEscape, true);
    setKey(platform.keyTable, key::letter('W'), true);
    for (int pass = 0; pass < 5; ++pass) {
        EXPECT_TRUE(loop.runPass());
    }
    EXPECT_EQ(platform.draws, 0);
    // The face turn is queued (every frame, as no turn animates) but not played.
    EXPECT_EQ(world->mainCube.pending.size(), 5u);
    EXPECT_EQ(world->mainCube.turningFace(), -1);

    platform.isActive = true;
    EXPECT_FALSE(loop.runPass());
}

TEST_F(MainLoopTest, FramesLastTheirPeriodAndSleepRatherThanSpin) {
    platform.drawCostMs = 5;
    std::uint32_t previous = platform.clock;
    for (int pass = 0; pass < 20; ++pass) {
        loop.runPass();
        EXPECT_EQ(platform.clock - previous, kFramePeriodMs);
        previous = platform.clock;
    }
    // One sleep through most of the remainder and one short wait per frame.
    EXPECT_EQ(platform.sleeps, 20);
    EXPECT_EQ(platform.yields, 20);
}

TEST_F(MainLoopTest, SlowFramesAreNotCompensated) {
    platform.drawCostMs = 30;
    loop.runPass();
    EXPECT_EQ(platform.clock, 30u);
    EXPECT_EQ(platform.sleeps, 0);
}

TEST_F(MainLoopTest, PacingSurvivesTheTickCounterWrapping) {
    platform.clock = 0xFFFFFFF0u;
    platform.drawCostMs = 2;
    loop.runPass();
    EXPECT_EQ(platform.clock, 0xFFFFFFF0u + kFramePeriodMs);
}

TEST_F(MainLoopTest, FailedFullscreenToggleEndsTheProgram) {
    platform.toggleSucceeds = false;
    setKey(platform.keyTable, key::kF1, true);
    EXPECT_EQ(loop.run(), 0);
    EXPECT_EQ(platform.toggles, 1);
    EXPECT_EQ(loop.frames(), 1u);
}

TEST_F(MainLoopTest, AutoSolvePlaysToTheEndAndSwitchesOff) {
    world->prepareBackground();
    setKey(platform.keyTable, key::letter('M'), true);
    loop.runPass();
    ASSERT_TRUE(world->mainCube.autoSolve());
    const std::size_t moves = world->mainCube.pending.size();
    int passes = 0;
    while (world->mainCube.autoSolve() && passes < 20000) {
        loop.runPass();
        ++passes;
    }
    EXPECT_TRUE(world->mainCube.isSolved());
    EXPECT_FALSE(world->mainCube.autoSolve());
    EXPECT_EQ(static_cast<std::size_t>(passes), moves * 11 + 1);
    // The background cubes played on meanwhile and keep tumbling.
    EXPECT_NE(world->background[0].viewAngleX(), 0.0f);
}

TEST_F(MainLoopTest, BackgroundCubesSolveRecedeAndReturn) {
    world->prepareBackground();
    bool receded = false;
    bool restarted = false;
    for (int pass = 0; pass < 4000 && !restarted; ++pass) {
        loop.runPass();
        receded = receded || world->depths[0] < -50.0f;
        restarted = receded && world->depths[0] > -150.0f && world->depths[0] < -140.0f &&
                    !world->background[0].isSolved();
    }
    EXPECT_TRUE(receded);
    EXPECT_TRUE(restarted);
}

} // namespace
} // namespace cw
