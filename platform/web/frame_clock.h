// How many of the program's frames a display refresh runs: one per 17 ms of elapsed time,
// whatever the display's rate, without catching up after a long pause. Used by the
// browser's entry point, which the page calls once per display refresh.
#pragma once

#include <cstdint>

namespace cw {

class FrameClock {
public:
    /// `periodMs`: the length of one frame; `maxBehind`: frames a refresh may still
    /// catch up on. Further behind than that (a hidden tab, a long pause), the clock
    /// starts afresh from now.
    FrameClock(double periodMs, int maxBehind) : periodMs_(periodMs), maxBehind_(maxBehind) {}

    /// The number of frames due at time `nowMs` (the page's clock, never going back):
    /// every frame whose start has come, so that frames start once per period on average
    /// on a display of any rate. The first call runs one frame; a refresh that comes
    /// more than `maxBehind` periods late runs one frame and no more.
    int framesDue(double nowMs);

private:
    double periodMs_;
    int maxBehind_;
    bool started_ = false;
    double nextFrame_ = 0; // when the next frame is due
};

} // namespace cw
