// Frame benchmark: the program's start-up and real main loop, with the real window class,
// renderer and scene, on SDL's invisible offscreen driver. Prints the time from start to
// the first presented frame, then for 600 frames with the main cube idle and 600 frames of
// auto-solve playback (M pressed through the key table): the work of a frame without its
// wait (median, 99th percentile, worst) and the process's CPU use under the real 17 ms
// pacing. Run it on an otherwise idle machine.
//
//   frame_bench [FRAMES]      (default 600 per phase)
#include <GL/gl.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "app/main_loop.h"
#include "app/window_platform.h"
#include "app/world.h"
#include "app/world_scene.h"
#include "cube/random.h"
#include "platform/gl_window.h"
#include "platform/glyph_source.h"
#include "platform/keys.h"
#include "render/bitmap_font.h"

namespace {

using Clock = std::chrono::steady_clock;

// Targets on this kind of machine (software GL, two cores).
constexpr double kFrameWorkP99TargetMs = 5.0;
constexpr double kIdleCpuTargetPercent = 35.0;
constexpr double kFirstFrameTargetMs = 300.0;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The program's window platform, which also clocks each frame's work. A frame starts
// when an event pump finds nothing pending (the loop then reads the tick count as the
// frame's start) and its work ends when the loop reads the tick count again to wait out
// the period.
class MeasuringPlatform final : public cw::WindowPlatform {
public:
    using WindowPlatform::WindowPlatform;

    cw::PumpResult pumpEvent() override {
        const cw::PumpResult event = WindowPlatform::pumpEvent();
        if (event == cw::PumpResult::None) {
            frameBegin_ = Clock::now();
            ticksInFrame_ = 0;
        }
        return event;
    }

    std::uint32_t ticks() override {
        if (++ticksInFrame_ == 2) {
            frameWorkMs.push_back(millisecondsBetween(frameBegin_, Clock::now()));
        }
        return WindowPlatform::ticks();
    }

    bool toggleFullscreen() override { return false; } // F1 is never pressed here

    void swapBuffers() override {
        WindowPlatform::swapBuffers();
        // The offscreen surface presents nothing, and the driver may still be rasterising:
        // wait for the frame to be finished so that its cost is counted in its own frame.
        glFinish();
        if (!firstPresented_) {
            firstPresented_ = Clock::now();
        }
    }

    std::optional<Clock::time_point> firstPresented() const { return firstPresented_; }

    std::vector<double> frameWorkMs;

private:
    Clock::time_point frameBegin_{};
    int ticksInFrame_ = 0;
    std::optional<Clock::time_point> firstPresented_;
};

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const auto index =
        static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

// How long ago the kernel started this process: dynamic loading and static construction
// happen before main. The start time is kept in clock ticks (10 ms).
double millisecondsSinceProcessStart() {
    std::FILE* file = std::fopen("/proc/self/stat", "r");
    if (file == nullptr) {
        return 0.0;
    }
    char line[1024] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    // Fields after the command name, which is in parentheses and may hold spaces;
    // the start time is field 22, the 20th after the name.
    const char* rest = read ? std::strrchr(line, ')') : nullptr;
    if (rest == nullptr) {
        return 0.0;
    }
    unsigned long long startTicks = 0;
    if (std::sscanf(
            rest + 1,
            " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
            &startTicks) != 1) {
        return 0.0;
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs =
        static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    return nowMs -
           static_cast<double>(startTicks) * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

const char* verdict(bool within) {
    return within ? "within target" : "OVER TARGET";
}

struct PhaseResult {
    double p99Ms;
    double cpuPercent;
};

// Runs `frames` frames of the real loop, with its real pacing, and prints the figures.
PhaseResult runPhase(const char* name, cw::MainLoop& loop, MeasuringPlatform& platform,
                     std::uint64_t frames) {
    platform.frameWorkMs.clear();
    platform.frameWorkMs.reserve(frames);
    const std::uint64_t endFrame = loop.frames() + frames;
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = Clock::now();
    while (loop.frames() < endFrame && loop.runPass()) {
    }
    const double wallSeconds = millisecondsBetween(wallBefore, Clock::now()) / 1000.0;
    const double cpuPercent = 100.0 * (cpuSeconds() - cpuBefore) / wallSeconds;

    const auto& work = platform.frameWorkMs;
    const double median = percentile(work, 0.5);
    const double p99 = percentile(work, 0.99);
    const double worst = *std::max_element(work.begin(), work.end());
    std::printf("%s: %zu frames in %.2f s (%.1f frames per second)\n", name, work.size(),
                wallSeconds, static_cast<double>(work.size()) / wallSeconds);
    std::printf("  frame work: median %.2f ms, p99 %.2f ms, worst %.2f ms\n", median, p99, worst);
    std::printf("  CPU use: %.1f %% of one core (user + system over wall time)\n", cpuPercent);
    return {p99, cpuPercent};
}

} // namespace

int main(int argc, char** argv) {
    const auto start = Clock::now();
    const double loadedMs = millisecondsSinceProcessStart();
    unsigned long frames = 600;
    if (argc == 2) {
        frames = std::strtoul(argv[1], nullptr, 10);
    }
    if (argc > 2 || frames == 0) {
        std::fputs("usage: frame_bench [FRAMES]\n", stderr);
        return 2;
    }

    // Start-up as the program does it, on the invisible driver.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    static cw::World world;
    cw::GLWindow& window = cw::GLWindow::instance();
    window.system().setHeadlessAllowed(true);
    cw::seedFromClock();
    if (!window.create(cw::kWindowTitle, cw::kWindowWidth, cw::kWindowHeight, cw::kWindowColourBits,
                       false)) {
        std::fputs("frame_bench: no OpenGL context on the offscreen driver\n", stderr);
        return 1;
    }
    window.setExitHook([] { cw::BitmapFont::release(); });
    cw::BitmapFont::setGlyphSource(&cw::buildGlyphs);
    world.prepareBackground();

    MeasuringPlatform platform(window);
    cw::MainLoop loop(world, platform);
    while (!platform.firstPresented() && loop.runPass()) {
    }
    if (!platform.firstPresented()) {
        std::fputs("frame_bench: the loop ended before a frame was presented\n", stderr);
        return 1;
    }
    const double firstFrameMs = millisecondsBetween(start, *platform.firstPresented());
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("start to first presented frame: %.1f ms (target %.0f ms: %s)\n", firstFrameMs,
                kFirstFrameTargetMs, verdict(firstFrameMs <= kFirstFrameTargetMs));
    std::printf(
        "  (from main; the process had run for about %.0f ms before main, to within 10 ms)\n",
        loadedMs);

    const PhaseResult idle =
        runPhase("main cube idle, background cubes playing", loop, platform, frames);
    std::printf("  targets: p99 %.0f ms: %s; CPU %.0f %%: %s\n", kFrameWorkP99TargetMs,
                verdict(idle.p99Ms <= kFrameWorkP99TargetMs), kIdleCpuTargetPercent,
                verdict(idle.cpuPercent <= kIdleCpuTargetPercent));

    // M through the key table, as the window would set it; the loop clears the entry.
    cw::setKey(window.keys(), cw::key::letter('M'), true);
    const PhaseResult playing = runPhase("auto-solve playback", loop, platform, frames);
    std::printf("  the frame that ran the solver: %.2f ms of work\n", platform.frameWorkMs.front());
    std::printf("  targets: p99 %.0f ms: %s (the first frame runs the solver)\n",
                kFrameWorkP99TargetMs, verdict(playing.p99Ms <= kFrameWorkP99TargetMs));
    std::printf("  main cube: %zu moves left to play, auto-solve %s\n",
                world.mainCube.pending.size(), world.mainCube.autoSolve() ? "on" : "off");

    cw::BitmapFont::release(platform.contextToken());
    return 0;
}
