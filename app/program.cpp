// The program's start-up, loop and shutdown; see program.h.
#include "app/program.h"

#include "app/main_loop.h"
#include "app/window_platform.h"
#include "app/world.h"
#include "cube/random.h"
#include "platform/gl_window.h"
#include "platform/glyph_source.h"
#include "render/bitmap_font.h"

namespace cw {

namespace {

// The eleven cubes and their depths, for the whole run. Built before the entry point:
// each cube seeds the generator from the clock and scrambles itself.
World gWorld;

} // namespace

int runProgram() {
    GLWindow& window = GLWindow::instance();
    BitmapFont::setGlyphSource(&buildGlyphs);
    seedFromClock();
    if (!window.create(kWindowTitle, kWindowWidth, kWindowHeight, kWindowColourBits, false)) {
        return 0;
    }
    window.setExitHook([] { BitmapFont::release(); });

    gWorld.prepareBackground();

    WindowPlatform platform(window);
    MainLoop loop(gWorld, platform);
    const int exitCode = loop.run();
    BitmapFont::release(platform.contextToken());
    return exitCode;
}

} // namespace cw
