// The program's entry point in the browser: the desktop's start-up, then the page calls
// cw_frame once per display refresh, which runs the frames that are due (one per 17 ms
// of the page's clock). When the loop ends the page says that Cubewright has ended.
#include <emscripten.h>

#include <memory>

#include "app/main_loop.h"
#include "app/window_platform.h"
#include "app/world.h"
#include "cube/random.h"
#include "platform/gl_window.h"
#include "platform/web/frame_clock.h"
#include "platform/web/page_calls.h"
#include "render/bitmap_font.h"

namespace cw {
namespace {

// The eleven cubes and their depths, built before the entry point as on the desktop.
World gWorld;

// A refresh more than this many frames late (a pause, a hidden tab) runs one frame only.
constexpr int kMaxFramesBehind = 4;

struct Running {
    explicit Running(GLWindow& window) : platform(window), loop(gWorld, platform) {}
    WindowPlatform platform;
    MainLoop loop;
    FrameClock clock{static_cast<double>(kFramePeriodMs), kMaxFramesBehind};
};
std::unique_ptr<Running> gRunning;

void finish() {
    BitmapFont::release(gRunning->platform.contextToken());
    GLWindow::instance().destroy();
    gRunning.reset();
    page::ended();
}

} // namespace
} // namespace cw

// Runs the frames due at `now` (the page's clock, in milliseconds); returns how many ran.
extern "C" EMSCRIPTEN_KEEPALIVE int cw_frame(double now) {
    using namespace cw;
    if (!gRunning) {
        return 0;
    }
    int ran = 0;
    for (int due = gRunning->clock.framesDue(now); due > 0; --due) {
        ++ran;
        if (!gRunning->loop.runFrame()) {
            finish();
            break;
        }
    }
    return ran;
}

int main() {
    using namespace cw;
    GLWindow& window = GLWindow::instance();
    seedFromClock();
    if (!window.create(kWindowTitle, kWindowWidth, kWindowHeight, kWindowColourBits, false)) {
        page::ended();
        return 0;
    }
    gWorld.prepareBackground();
    gRunning = std::make_unique<Running>(window);
    page::startFrames();
    // The page keeps the program alive and calls it from now on.
    return 0;
}
