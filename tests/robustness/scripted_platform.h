// A window-less platform for driving the real main loop frame by frame: a clock that only
// moves when the loop waits, and key presses scheduled by frame number. The headless run
// under valgrind and the allocation test use it.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "app/main_loop.h"
#include "app/world.h"
#include "platform/keys.h"

namespace cw::robustness {

class ScriptedPlatform : public FramePlatform {
public:
    /// Schedules a key change just before frame `frame` (counted from 0) begins.
    /// Changes must be added in order of frame number.
    void schedule(std::uint64_t frame, int code, bool down) {
        script_.push_back({frame, code, down});
    }

    /// Presses a key for one frame (down before `frame`, up before the next), as a short
    /// real key press that the loop sees on exactly one frame.
    void press(std::uint64_t frame, int code) {
        schedule(frame, code, true);
        schedule(frame + 1, code, false);
    }

    PumpResult pumpEvent() override {
        // The key changes for the frame about to start, applied all at once: a real
        // window would dispatch them one pass each, with the same effect on the table.
        while (next_ < script_.size() && script_[next_].frame <= framesStarted_) {
            setKey(keys_, script_[next_].code, script_[next_].down);
            ++next_;
        }
        ++framesStarted_;
        return PumpResult::None;
    }

    std::uint32_t ticks() override { return clock_; }
    void sleepMs(std::uint32_t milliseconds) override { clock_ += milliseconds; }
    void yield() override { ++clock_; }
    bool active() override { return true; }
    KeyTable& keys() override { return keys_; }

    void drawScene(World& world) override {
        drawFrame(world);
        ++framesDrawn_;
    }

    /// What a frame's drawing does; without a window, only the scene's non-drawing steps.
    virtual void drawFrame(World& world) { advanceSceneWithoutDrawing(world); }

    bool toggleFullscreen() override { return true; }
    void releaseFont() override {}

    std::uint64_t framesDrawn() const { return framesDrawn_; }

private:
    struct KeyChange {
        std::uint64_t frame;
        int code;
        bool down;
    };

    KeyTable keys_{};
    std::vector<KeyChange> script_;
    std::size_t next_ = 0;
    std::uint64_t framesStarted_ = 0;
    std::uint64_t framesDrawn_ = 0;
    std::uint32_t clock_ = 0;
};

} // namespace cw::robustness
