// Counts every C++ allocation the main loop makes after start-up while the cubes play
// back solutions and the user presses M, Space and face keys, driven without a window.
// Once the cubes exist, the only allocations allowed are move-list nodes.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/keys.h"
#include "app/main_loop.h"
#include "app/world.h"
#include "cube/cube.h"
#include "cube/random.h"
#include "solver/solver.h"
#include "tests/robustness/allocation_count.h"
#include "tests/robustness/scripted_platform.h"

namespace {

using cw::robustness::AllocationRecord;
using cw::robustness::CountingScope;
using cw::robustness::describe;
using cw::robustness::moveListNodeSize;

constexpr std::uint64_t kFrames = 600;

// A quarter turn every two frames, so that solutions finish inside the run: the main
// cube's auto-solve switches itself off, and background cubes recede and are restarted
// with a fresh solve.
constexpr float kQuickTurnSpeed = 90.0f;

TEST(Allocation, CountingSeesAMoveListNode) {
    // A list node holds a Move and two links, so it is larger than a Move alone.
    EXPECT_GT(moveListNodeSize(), sizeof(cw::Move));
}

TEST(Allocation, AfterStartUpPlaybackMAndSpaceAllocateOnlyMoveListNodes) {
    const std::size_t nodeSize = moveListNodeSize();
    ASSERT_NE(nodeSize, 0u);

    // Start-up, as the program does it (with a fixed seed).
    static cw::World world;
    cw::srand(7);
    // The main cube was scrambled from the clock when it was built; scramble it from the seed
    // too, so that every run solves the same cube.
    world.mainCube.reset();
    world.prepareBackground();
    world.mainCube.setTurnSpeed(kQuickTurnSpeed);
    for (cw::Cube& cube : world.background) {
        cube.setTurnSpeed(kQuickTurnSpeed);
    }

    cw::robustness::ScriptedPlatform platform;
    platform.press(5, cw::key::letter('M'));           // auto-solve on: solve and play back
    platform.press(40, cw::key::letter('M'));          // off mid-playback: pending dropped
    platform.press(50, cw::key::kSpace);               // a fresh scramble
    platform.schedule(60, cw::key::letter('W'), true); // held: front turns queue
    platform.schedule(80, cw::key::letter('W'), false);
    platform.schedule(80, cw::key::kRight, true);
    platform.schedule(100, cw::key::kRight, false);
    platform.press(110, cw::key::letter('M')); // solve the turned cube and finish
    platform.press(560, cw::key::kSpace);
    platform.press(570, cw::key::letter('M'));
    platform.schedule(kFrames, cw::key::kEscape, true);

    cw::MainLoop loop(world, platform);
    bool sawMainCubeSolveFinish = false;
    int backgroundRestarts = 0;
    AllocationRecord seen;
    {
        CountingScope scope;
        bool wasAutoSolving = false;
        std::array<bool, cw::kBackgroundCount> wasSolved{};
        while (loop.runPass()) {
            // Only reads here: nothing in this loop body may allocate.
            if (wasAutoSolving && !world.mainCube.autoSolve() && world.mainCube.isSolved()) {
                sawMainCubeSolveFinish = true;
            }
            wasAutoSolving = world.mainCube.autoSolve();
            // A solved background cube becomes unsolved only by its restart at the back.
            for (std::size_t i = 0; i < wasSolved.size(); ++i) {
                const bool solved = world.background[i].solverState() == cw::kStateSolved;
                if (wasSolved[i] && !solved) {
                    ++backgroundRestarts;
                }
                wasSolved[i] = solved;
            }
        }
        seen = CountingScope::record();
    }

    EXPECT_EQ(platform.framesDrawn(), kFrames);
    // The run did exercise what it is meant to.
    EXPECT_TRUE(sawMainCubeSolveFinish);
    EXPECT_GT(backgroundRestarts, 0);
    EXPECT_GT(seen.total, 0u);

    EXPECT_FALSE(seen.overflowed);
    for (std::size_t i = 0; i < seen.distinct; ++i) {
        EXPECT_EQ(seen.sizes[i], nodeSize) << describe(seen);
    }
}

} // namespace
