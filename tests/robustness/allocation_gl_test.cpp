// Counts every C++ allocation the main loop makes after start-up when it really draws: the
// scene, the cube renderer and the overlay's font in an invisible OpenGL context, over 600
// frames of playback with M and Space pressed. Allowed are blocks for the cubes' move-list
// pools and the allocations of building the font once, on the first frame; nothing else.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstddef>
#include <cstdint>

#include "app/main_loop.h"
#include "app/world.h"
#include "app/world_scene.h"
#include "cube/move_list_pool.h"
#include "cube/random.h"
#include "platform/keys.h"
#include "render/bitmap_font.h"
#include "tests/robustness/allocation_count.h"
#include "tests/robustness/offscreen_context.h"
#include "tests/robustness/scripted_platform.h"

namespace {

using cw::robustness::AllocationRecord;
using cw::robustness::CountingScope;
using cw::robustness::describe;

using cw::robustness::DrawingPlatform;
using cw::robustness::OffscreenContext;

constexpr cw::ContextToken kContext = OffscreenContext::kContext;
constexpr std::uint64_t kFrames = 600;
// A quarter of the window: the same drawing, a sixteenth of the pixels to fill.
constexpr int kWidth = 160;
constexpr int kHeight = 120;

TEST(AllocationWhileDrawing, OnlyMoveListPoolBlocksAndOneFontBuildAfterStartUp) {
    OffscreenContext target(kWidth, kHeight);
    ASSERT_TRUE(target.ready()) << SDL_GetError();

    const std::size_t blockBytes = cw::MoveListPool::blockBytes();

    // What building the font allocates, seen once on its own and released again, so that
    // the first frame of the run builds it anew.
    AllocationRecord fontBuild;
    {
        CountingScope scope;
        cw::BitmapFont::instance(kContext);
        fontBuild = CountingScope::record();
    }
    cw::BitmapFont::release(kContext);
    ASSERT_GT(fontBuild.total, 0u) << "the font allocates nothing, so it cannot be told apart";

    // Start-up, as the program does it (with a fixed seed).
    static cw::World world;
    cw::srand(11);
    // The main cube was scrambled from the clock when it was built; scramble it from the seed
    // too, so that every run solves the same cube.
    world.mainCube.reset();
    world.prepareBackground();

    DrawingPlatform platform(target);
    platform.press(5, cw::key::letter('M'));
    platform.press(100, cw::key::letter('M'));
    platform.press(110, cw::key::kSpace);
    platform.schedule(120, cw::key::letter('D'), true);
    platform.schedule(160, cw::key::letter('D'), false);
    platform.press(200, cw::key::letter('M'));
    platform.schedule(300, cw::key::kNumpad8, true);
    platform.schedule(400, cw::key::kNumpad8, false);
    platform.press(500, cw::key::kSpace);
    platform.press(510, cw::key::letter('M'));
    platform.schedule(kFrames, cw::key::kEscape, true);

    cw::MainLoop loop(world, platform);
    AllocationRecord seen;
    {
        CountingScope scope;
        while (loop.runPass()) {
        }
        seen = CountingScope::record();
    }

    EXPECT_EQ(platform.framesDrawn(), kFrames);
    // The main cube's first solve fills its pool.
    EXPECT_GT(seen.countOf(blockBytes), 0u);
    EXPECT_FALSE(seen.overflowed);
    // Every allocation that is not a pool block is one of the font's, made exactly as
    // often as one font build makes it. (A font allocation of a block's size would be
    // counted with the blocks, which only makes this check looser, never wrong.)
    for (std::size_t i = 0; i < seen.distinct; ++i) {
        if (seen.sizes[i] == blockBytes) {
            continue;
        }
        EXPECT_EQ(seen.counts[i], fontBuild.countOf(seen.sizes[i]))
            << "allocations of " << seen.sizes[i] << " bytes; run: " << describe(seen)
            << " font build: " << describe(fontBuild);
    }
    for (std::size_t i = 0; i < fontBuild.distinct; ++i) {
        if (fontBuild.sizes[i] != blockBytes) {
            EXPECT_EQ(seen.countOf(fontBuild.sizes[i]), fontBuild.counts[i])
                << "the font was not built exactly once; run: " << describe(seen);
        }
    }
}

} // namespace
