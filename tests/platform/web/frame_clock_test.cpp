// The browser's frame clock: frames once per 17 ms on displays of any rate, and no catching
// up after a pause.
#include <gtest/gtest.h>

#include "platform/web/frame_clock.h"

namespace cw {
namespace {

constexpr double kPeriod = 17.0;
constexpr int kMaxBehind = 4;

/// Frames run over `seconds` of refreshes at `hertz`, the first refresh at time `start`.
int framesOver(double hertz, double seconds, double start = 1000.0) {
    FrameClock clock(kPeriod, kMaxBehind);
    int frames = 0;
    const int refreshes = static_cast<int>(seconds * hertz);
    for (int i = 0; i < refreshes; ++i) {
        frames += clock.framesDue(start + i * 1000.0 / hertz);
    }
    return frames;
}

TEST(FrameClock, FramesComeOncePer17MsWhateverTheDisplayRate) {
    // 10 s hold 588 periods of 17 ms.
    for (const double hertz : {30.0, 60.0, 75.0, 120.0, 144.0, 240.0}) {
        SCOPED_TRACE(hertz);
        EXPECT_NEAR(framesOver(hertz, 10.0), 588, 2);
    }
}

TEST(FrameClock, ARefreshRunsEveryFrameThatIsDueAndNoMore) {
    FrameClock clock(kPeriod, kMaxBehind);
    EXPECT_EQ(clock.framesDue(500.0), 1); // the first refresh starts the first frame
    EXPECT_EQ(clock.framesDue(510.0), 0); // the next is due at 517
    EXPECT_EQ(clock.framesDue(517.0), 1);
    EXPECT_EQ(clock.framesDue(552.0), 2); // 534 and 551 have come
    EXPECT_EQ(clock.framesDue(552.5), 0);
}

TEST(FrameClock, AfterALongPauseOneFrameRunsAndThePaceStartsAfresh) {
    FrameClock clock(kPeriod, kMaxBehind);
    EXPECT_EQ(clock.framesDue(0.0), 1);
    EXPECT_EQ(clock.framesDue(17.0), 1);
    // A hidden tab gets no refreshes for five seconds: no burst of 294 frames after it.
    EXPECT_EQ(clock.framesDue(5017.0), 1);
    EXPECT_EQ(clock.framesDue(5030.0), 0);
    EXPECT_EQ(clock.framesDue(5034.0), 1);
    // A short stall, within the frames a refresh may catch up on, is made good.
    EXPECT_EQ(clock.framesDue(5034.0 + 3 * kPeriod), 3);
}

} // namespace
} // namespace cw
