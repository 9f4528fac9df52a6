// Runs the program's start-up and main loop without a window: M on the first frame turns
// auto-solve on, the given number of frames play the solution back while the background
// cubes solve and fly, then Escape ends the loop. tests/robustness/memcheck runs it under
// valgrind; it also checks that the run did what it should.
//
//   cubewright-headless-run [FRAMES [SEED]]     (defaults 300 and 1)
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/keys.h"
#include "app/main_loop.h"
#include "app/world.h"
#include "cube/random.h"
#include "tests/robustness/scripted_platform.h"

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
    world.prepareBackground();

    cw::robustness::ScriptedPlatform platform;
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
