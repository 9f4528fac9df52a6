// The browser's frame clock; see frame_clock.h.
#include "platform/web/frame_clock.h"

namespace cw {

int FrameClock::framesDue(double nowMs) {
    if (!started_ || nowMs - nextFrame_ >= maxBehind_ * periodMs_) {
        // The first frame, or one after a pause: run one now and count from here.
        started_ = true;
        nextFrame_ = nowMs + periodMs_;
        return 1;
    }
    int due = 0;
    while (nowMs >= nextFrame_) {
        ++due;
        nextFrame_ += periodMs_;
    }
    return due;
}

} // namespace cw
