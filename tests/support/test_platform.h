// A window-less FramePlatform for driving the real main loop in tests: scripted events,
// a clock that moves only when the loop waits (or when a frame "costs" time), a key
// table the test sets directly, and counters of what the loop asked for.
#pragma once

#include <cstdint>
#include <deque>

#include "app/main_loop.h"

namespace cw::testing {

class TestPlatform : public FramePlatform {
public:
    /// Events handed out one per pumpEvent call, before any frame runs.
    std::deque<PumpResult> events;
    KeyTable keyTable{};
    bool isActive = true;
    /// Milliseconds a frame's drawing takes on the scripted clock.
    std::uint32_t drawCostMs = 0;
    /// What toggleFullscreen reports.
    bool toggleSucceeds = true;

    std::uint32_t clock = 0;
    int draws = 0;
    int sleeps = 0;
    int yields = 0;
    int toggles = 0;
    int fontReleases = 0;

    PumpResult pumpEvent() override {
        if (events.empty()) {
            return PumpResult::None;
        }
        const PumpResult e = events.front();
        events.pop_front();
        return e;
    }
    std::uint32_t ticks() override { return clock; }
    void sleepMs(std::uint32_t milliseconds) override {
        ++sleeps;
        clock += milliseconds;
    }
    void yield() override {
        ++yields;
        ++clock;
    }
    bool active() override { return isActive; }
    KeyTable& keys() override { return keyTable; }
    void drawScene(World& world) override {
        ++draws;
        clock += drawCostMs;
        advanceSceneWithoutDrawing(world);
    }
    bool toggleFullscreen() override {
        ++toggles;
        return toggleSucceeds;
    }
    void releaseFont() override { ++fontReleases; }
};

} // namespace cw::testing
