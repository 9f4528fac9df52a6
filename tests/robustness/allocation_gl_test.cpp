// Counts every C++ allocation the main loop makes after start-up when it really draws: the
// scene, the cube renderer and the overlay's font in an invisible OpenGL context, over 600
// frames of playback with M and Space pressed. Allowed are move-list nodes and the
// allocations of building the font once, on the first frame; nothing else.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <dlfcn.h>
#include <link.h>

#include <cstddef>
#include <cstdint>

#include "app/keys.h"
#include "app/main_loop.h"
#include "app/world.h"
#include "cube/random.h"
#include "render/bitmap_font.h"
#include "render/scene.h"
#include "tests/robustness/allocation_count.h"
#include "tests/robustness/scripted_platform.h"

namespace {

using cw::robustness::AllocationRecord;
using cw::robustness::CountingScope;
using cw::robustness::describe;

constexpr cw::ContextToken kContext = 1;
constexpr std::uint64_t kFrames = 600;
// A quarter of the window: the same drawing, a sixteenth of the pixels to fill.
constexpr int kWidth = 160;
constexpr int kHeight = 120;

// Marks every shared library loaded so far as never to be unloaded. Closing the video
// subsystem unloads the GL driver; the leak checker of the sanitizer build, which runs at
// exit, could then name neither the driver nor its functions in a report, and no
// suppression could match it.
void keepLoadedLibrariesLoaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0') {
                // The handle only holds a reference; it is never closed on purpose.
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
}

// An invisible window with the program's projection, on SDL's offscreen driver.
class OffscreenContext : public cw::FrameTarget {
public:
    OffscreenContext() {
        if (SDL_VideoInit("offscreen") != 0) {
            return;
        }
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        window_ = SDL_CreateWindow("Cubewright", 0, 0, kWidth, kHeight,
                                   SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (window_ != nullptr) {
            context_ = SDL_GL_CreateContext(window_);
        }
        if (context_ != nullptr) {
            keepLoadedLibrariesLoaded();
            glViewport(0, 0, kWidth, kHeight);
            glMatrixMode(GL_PROJECTION);
            glLoadIdentity();
            gluPerspective(45.0, double{kWidth} / double{kHeight}, 0.1, 500.0);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
        }
    }

    ~OffscreenContext() override {
        cw::BitmapFont::release(kContext);
        if (context_ != nullptr) {
            SDL_GL_DeleteContext(context_);
        }
        if (window_ != nullptr) {
            SDL_DestroyWindow(window_);
        }
        SDL_VideoQuit();
    }

    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    bool ready() const { return context_ != nullptr; }
    cw::ContextToken contextToken() const override { return kContext; }
    void swapBuffers() override { SDL_GL_SwapWindow(window_); }

private:
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
};

// The scripted platform, drawing each frame for real.
class DrawingPlatform : public cw::robustness::ScriptedPlatform {
public:
    explicit DrawingPlatform(OffscreenContext& target) : target_(target) {}

    void drawFrame(cw::World& world) override { cw::drawScene(world, target_); }
    void releaseFont() override { cw::BitmapFont::release(kContext); }

private:
    OffscreenContext& target_;
};

TEST(AllocationWhileDrawing, OnlyMoveListNodesAndOneFontBuildAfterStartUp) {
    OffscreenContext target;
    ASSERT_TRUE(target.ready()) << SDL_GetError();

    const std::size_t nodeSize = cw::robustness::moveListNodeSize();
    ASSERT_NE(nodeSize, 0u);

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
    EXPECT_GT(seen.countOf(nodeSize), 0u);
    EXPECT_FALSE(seen.overflowed);
    // Every allocation that is not a list node is one of the font's, made exactly as
    // often as one font build makes it. (A font allocation of a list node's size would be
    // counted with the nodes, which only makes this check looser, never wrong.)
    for (std::size_t i = 0; i < seen.distinct; ++i) {
        if (seen.sizes[i] == nodeSize) {
            continue;
        }
        EXPECT_EQ(seen.counts[i], fontBuild.countOf(seen.sizes[i]))
            << "allocations of " << seen.sizes[i] << " bytes; run: " << describe(seen)
            << " font build: " << describe(fontBuild);
    }
    for (std::size_t i = 0; i < fontBuild.distinct; ++i) {
        if (fontBuild.sizes[i] != nodeSize) {
            EXPECT_EQ(seen.countOf(fontBuild.sizes[i]), fontBuild.counts[i])
                << "the font was not built exactly once; run: " << describe(seen);
        }
    }
}

} // namespace
