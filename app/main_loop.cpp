// The main loop's passes and frame pacing.
#include "app/main_loop.h"

namespace cw {

bool MainLoop::runPass() {
    if (done_) {
        return false;
    }
    switch (platform_.pumpEvent()) {
    case PumpResult::Quit:
        done_ = true;
        return false;
    case PumpResult::Dispatched:
        return true;
    case PumpResult::None:
        break;
    }

    const std::uint32_t frameStart = platform_.ticks();
    if (!runFrame() && windowLost_) {
        // Nothing to pace any more.
        return false;
    }
    waitForFrameEnd(frameStart);
    return !done_;
}

bool MainLoop::runFrame() {
    if (done_) {
        return false;
    }
    ++frames_;
    if (platform_.active()) {
        if (isDown(platform_.keys(), key::kEscape)) {
            // No update and no drawing; the keys and the wait still run.
            done_ = true;
        } else {
            world_.stepCubes();
            platform_.drawScene(world_);
            world_.finishFrame();
        }
    }
    if (!world_.handleKeys(platform_.keys(), platform_)) {
        // The window could not be created again after a fullscreen toggle.
        done_ = true;
        windowLost_ = true;
        return false;
    }
    // Drags, like keys, are acted on whether or not the window is active.
    PointerEvent event{};
    while (platform_.nextPointerEvent(event)) {
        world_.handlePointer(event, platform_.clientSize());
    }
    return !done_;
}

int MainLoop::run() {
    while (runPass()) {
    }
    return 0;
}

void MainLoop::waitForFrameEnd(std::uint32_t frameStart) {
    // Sleep through most of the remainder, then finish on the tick. Spinning the whole
    // period would keep a core busy for a program that mostly waits.
    for (;;) {
        const std::uint32_t elapsed = platform_.ticks() - frameStart;
        if (elapsed >= kFramePeriodMs) {
            return;
        }
        const std::uint32_t remaining = kFramePeriodMs - elapsed;
        if (remaining > 1) {
            platform_.sleepMs(remaining - 1);
        } else {
            platform_.yield();
        }
    }
}

void advanceSceneWithoutDrawing(World& world) {
    // advanceTurn does nothing for a cube whose layer is not turning.
    world.mainCube.advanceTurn();
    for (int i = 0; i < kBackgroundCount; ++i) {
        world.flightStep(i);
        world.background[static_cast<std::size_t>(i)].advanceTurn();
    }
}

} // namespace cw
