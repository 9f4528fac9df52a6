// The program's entry point: opens the window, prepares the background cubes and runs
// the main loop until Escape or the window's close button ends it.
#include "app/main_loop.h"
#include "app/window_platform.h"
#include "app/world.h"
#include "cube/random.h"
#include "platform/gl_window.h"
#include "render/bitmap_font.h"

namespace {

// The eleven cubes and their depths, for the whole run. Built before main: each cube
// seeds the generator from the clock and scrambles itself.
cw::World gWorld;

} // namespace

int main(int /*argc*/, char** /*argv*/) {
    cw::GLWindow& window = cw::GLWindow::instance();
    cw::seedFromClock();
    if (!window.create(cw::kWindowTitle, cw::kWindowWidth, cw::kWindowHeight, cw::kWindowColourBits,
                       false)) {
        return 0;
    }
    window.setExitHook([] { cw::BitmapFont::release(); });

    gWorld.prepareBackground();

    cw::WindowPlatform platform(window);
    cw::MainLoop loop(gWorld, platform);
    const int exitCode = loop.run();
    cw::BitmapFont::release(platform.contextToken());
    return exitCode;
}
