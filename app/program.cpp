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

struct Program::Running {
    explicit Running(GLWindow& window) : platform(window), loop(gWorld, platform) {}
    WindowPlatform platform;
    MainLoop loop;
};

Program::Program() = default;
Program::~Program() = default;

bool Program::start() {
    GLWindow& window = GLWindow::instance();
    BitmapFont::setGlyphSource(&buildGlyphs);
    seedFromClock();
    if (!window.create(kWindowTitle, kWindowWidth, kWindowHeight, kWindowColourBits, false)) {
        return false;
    }
    window.setExitHook([] { BitmapFont::release(); });

    gWorld.prepareBackground();
    running_ = std::make_unique<Running>(window);
    return true;
}

MainLoop& Program::loop() {
    return running_->loop;
}

int Program::finish(int exitCode) {
    BitmapFont::release(running_->platform.contextToken());
    return exitCode;
}

int runProgram() {
    Program program;
    if (!program.start()) {
        return 0;
    }
    return program.finish(program.loop().run());
}

} // namespace cw
