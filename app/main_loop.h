// The program's only loop: one window event per pass, or one frame (step the cubes,
// draw, act on keys, wait out the frame period). The window, clock and drawing come
// through FramePlatform, so tests drive the real loop with a scripted clock and keys.
#pragma once

#include <cstdint>

#include "app/world.h"
#include "platform/keys.h"
#include "platform/pointer.h"
#include "platform/pump_result.h"

namespace cw {

/// Every frame lasts at least this long from its start.
inline constexpr std::uint32_t kFramePeriodMs = 17;

/// What the loop needs from the window system and the renderer.
class FramePlatform : public WindowControl {
public:
    /// Handles at most one pending window event (key table, active flag, resizes).
    virtual PumpResult pumpEvent() = 0;
    /// A millisecond tick count; differences are taken modulo 2^32.
    virtual std::uint32_t ticks() = 0;
    /// Gives the processor away for about this many milliseconds.
    virtual void sleepMs(std::uint32_t milliseconds) = 0;
    /// Gives the processor away briefly while the last millisecond runs out.
    virtual void yield() = 0;
    /// False while the window is minimised: no cube is stepped or drawn.
    virtual bool active() = 0;
    virtual KeyTable& keys() = 0;
    /// Takes the oldest pointer event since the last frame; false when there is none. A
    /// platform without a pointer has none.
    virtual bool nextPointerEvent(PointerEvent& /*event*/) { return false; }
    /// The window's client area, in which pointer events are given.
    virtual ClientSize clientSize() { return {640, 480}; }
    /// Draws and presents one frame. Drawing advances turning layers and carries out
    /// the background flight.
    virtual void drawScene(World& world) = 0;
};

class MainLoop {
public:
    MainLoop(World& world, FramePlatform& platform) : world_(world), platform_(platform) {}

    /// One pass: dispatches a pending event, or runs one frame and waits it out.
    /// Returns false once the loop is done.
    bool runPass();

    /// Passes until done; returns the process exit code.
    int run();

    /// One frame without the wait at its end, for a caller that paces the frames itself
    /// (the browser's display refresh): steps and draws while the window is active, ends
    /// the loop on Escape, and acts on the keys. Returns false once the loop is done.
    bool runFrame();

    bool done() const { return done_; }
    /// Frames run so far (passes that were not event dispatches).
    std::uint64_t frames() const { return frames_; }

private:
    void waitForFrameEnd(std::uint32_t frameStart);

    World& world_;
    FramePlatform& platform_;
    bool done_ = false;
    bool windowLost_ = false; // ended because the window could not be created again
    std::uint64_t frames_ = 0;
};

/// The scene's non-drawing steps, in drawing order, for running without GL: the main
/// cube's turning layer, then each background cube's flight and turning layer.
void advanceSceneWithoutDrawing(World& world);

} // namespace cw
