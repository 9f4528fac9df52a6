// Counts every C++ allocation the main loop makes after start-up while the cubes play
// back solutions and the user presses M, Space and face keys, driven without a window.
// Once the cubes exist, the only allocations allowed are blocks for the cubes' move-list
// pools, and a cube solved again takes nothing more from the heap.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/main_loop.h"
#include "app/world.h"
#include "cube/cube.h"
#include "cube/move_list_pool.h"
#include "cube/random.h"
#include "platform/keys.h"
#include "solver/layer_by_layer/layer_by_layer.h"
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

/// Solves `cube` from `stickers` and says whether the run completed.
bool solveFrom(cw::Cube& cube, const cw::FaceletArray& stickers) {
    cube.facelets = stickers;
    cw::prepareForSolve(cube);
    return cw::solve(cube);
}

TEST(Allocation, ACubeSolvedAgainReusesItsMoveListNodes) {
    cw::Cube cube;
    std::array<cw::FaceletArray, 40> starts{};
    for (std::size_t i = 0; i < starts.size(); ++i) {
        cw::srand(static_cast<std::uint32_t>(i));
        cube.reset();
        starts[i] = cube.facelets;
    }

    AllocationRecord first;
    {
        CountingScope scope;
        for (const cw::FaceletArray& stickers : starts) {
            ASSERT_TRUE(solveFrom(cube, stickers));
        }
        first = CountingScope::record();
    }
    // The first solves fill the pool a block at a time; a solve keeps a few hundred moves.
    EXPECT_GT(first.total, 0u);
    EXPECT_EQ(first.total, first.countOf(cw::MoveListPool::blockBytes())) << describe(first);
    EXPECT_LE(first.total, 8u) << describe(first);

    AllocationRecord again;
    {
        CountingScope scope;
        for (const cw::FaceletArray& stickers : starts) {
            ASSERT_TRUE(solveFrom(cube, stickers));
        }
        again = CountingScope::record();
    }
    EXPECT_EQ(again.total, 0u) << describe(again);
}

TEST(Allocation, AfterStartUpPlaybackMAndSpaceAllocateOnlyMoveListPoolBlocks) {
    const std::size_t blockBytes = cw::MoveListPool::blockBytes();

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
        EXPECT_EQ(seen.sizes[i], blockBytes) << describe(seen);
    }
}

} // namespace
