// The program's entry point in the browser: the desktop's start-up, then the page calls
// cw_frame once per display refresh, which runs the frames that are due (one per 17 ms
// of the page's clock). When the loop ends the page says that Cubewright has ended.
#include <emscripten.h>

#include <memory>

#include "app/main_loop.h"
#include "app/program.h"
#include "platform/gl_window.h"
#include "platform/web/frame_clock.h"
#include "platform/web/page_calls.h"

namespace cw {
namespace {

// A refresh more than this many frames late (a pause, a hidden tab) runs one frame only.
constexpr int kMaxFramesBehind = 4;

std::unique_ptr<Program> gProgram;
FrameClock gClock(static_cast<double>(kFramePeriodMs), kMaxFramesBehind);

// The loop has ended. The page outlives the program: the window is closed now, as the
// desktop's is at exit (leaving full screen), rather than never.
void finish() {
    gProgram->finish(0);
    gProgram.reset();
    GLWindow::instance().destroy();
    page::ended();
}

} // namespace
} // namespace cw

// Runs the frames due at `now` (the page's clock, in milliseconds); returns how many ran.
extern "C" EMSCRIPTEN_KEEPALIVE int cw_frame(double now) {
    using namespace cw;
    if (!gProgram) {
        return 0;
    }
    int ran = 0;
    for (int due = gClock.framesDue(now); due > 0; --due) {
        ++ran;
        if (!gProgram->loop().runFrame()) {
            finish();
            break;
        }
    }
    return ran;
}

int main() {
    using namespace cw;
    gProgram = std::make_unique<Program>();
    if (!gProgram->start()) {
        gProgram.reset();
        page::ended();
        return 0;
    }
    page::startFrames();
    // The page keeps the program alive and calls it from now on.
    return 0;
}
