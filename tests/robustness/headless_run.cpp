// Runs the program's start-up and main loop without a window: M on the first frame turns
// auto-solve on, the given number of frames play the solution back while the background
// cubes solve and fly, then Escape ends the loop. tests/robustness/memcheck runs it under
// valgrind; it also checks that the run did what it should.
//
//   cubewright-headless-run [FRAMES [SEED]]     (defaults 300 and 1)
//
// Built twice: cubewright-headless-run leaves drawing out (the cubes, solver and loop
// alone), and cubewright-headless-draw-run (CUBEWRIGHT_HEADLESS_DRAW) draws every frame
// with the real scene, renderer and font into an invisible OpenGL context.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/main_loop.h"
#include "app/world.h"
#include "cube/random.h"
#include "platform/keys.h"
#include "tests/robustness/scripted_platform.h"

#ifdef CUBEWRIGHT_HEADLESS_DRAW
#include <SDL.h>

#include "tests/robustness/offscreen_context.h"
#endif

namespace {

bool parseNumber(const char* text, unsigned long long& value) {
    char* end = nullptr;
    value = std::strtoull(text, &end, 10);
    return end != text && *end == '\0';
}

} // namespace

int main(int argc, char** argv) {
    unsigned long long frames = 300;
    unsigned long long seed = 1;
    if (argc > 3 || (argc > 1 && !parseNumber(argv[1], frames)) ||
        (argc > 2 && !parseNumber(argv[2], seed)) || frames == 0 || seed > UINT32_MAX) {
        std::fputs("usage: cubewright-headless-run [FRAMES [SEED]]\n", stderr);
        return 2;
    }

    // Start-up as the program does it, with a fixed seed in place of the clock.
    static cw::World world;
    cw::srand(static_cast<std::uint32_t>(seed));
    // The main cube was scrambled from the clock when it was built; scramble it from the seed
    // too, so that every run solves the same cube.
    world.mainCube.reset();
    world.prepareBackground();

#ifdef CUBEWRIGHT_HEADLESS_DRAW
    // Small: the drawing is the same, with far fewer pixels to fill.
    cw::robustness::OffscreenContext target(160, 120);
    if (!target.ready()) {
        std::fprintf(stderr, "headless run: no OpenGL context: %s\n", SDL_GetError());
        return 1;
    }
    cw::robustness::DrawingPlatform platform(target);
#else
    cw::robustness::ScriptedPlatform platform;
#endif
    platform.press(0, cw::key::letter('M'));
    platform.schedule(frames, cw::key::kEscape, true);

    cw::MainLoop loop(world, platform);
    std::size_t solutionLength = 0;
    while (loop.runPass()) {
        if (loop.frames() == 1) {
            solutionLength = world.mainCube.pending.size();
        }
    }

    const std::size_t remaining = world.mainCube.pending.size();
    const bool solved = world.mainCube.isSolved();
    std::printf("frames: %llu, seed: %llu, solution: %zu moves, remaining: %zu, "
                "main cube %s\n",
                static_cast<unsigned long long>(platform.framesDrawn()), seed, solutionLength,
                remaining, solved ? "solved" : "not yet solved");

    int status = 0;
    if (platform.framesDrawn() != frames || !loop.done()) {
        std::fputs("headless run: the loop did not run the frames asked for and end on Escape\n",
                   stderr);
        status = 1;
    }
    if (solutionLength == 0 || (remaining >= solutionLength && !solved)) {
        std::fputs("headless run: M did not start a solution that plays back\n", stderr);
        status = 1;
    }
    return status;
}
