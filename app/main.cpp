// The program's entry point: opens the window, prepares the background cubes and runs
// the main loop until Escape or the window's close button ends it.
#include <thread>

#include "app/main_loop.h"
#include "app/world.h"
#include "cube/random.h"
#include "platform/gl_window.h"
#include "render/bitmap_font.h"
#include "render/scene.h"

namespace {

constexpr const char* kTitle = "Cubewright";
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kColourBits = 16;

// The eleven cubes and their depths, for the whole run. Built before main: each cube
// seeds the generator from the clock and scrambles itself.
cw::World gWorld;

// The real window and renderer behind the main loop.
class WindowPlatform final : public cw::FramePlatform, public cw::FrameTarget {
public:
    explicit WindowPlatform(cw::GLWindow& window) : window_(window) {}

    Event pumpEvent() override {
        switch (window_.pumpEvent()) {
        case cw::PumpResult::None:
            return Event::kNone;
        case cw::PumpResult::Dispatched:
            return Event::kDispatched;
        case cw::PumpResult::Quit:
            break;
        }
        return Event::kQuit;
    }

    std::uint32_t ticks() override { return cw::GLWindow::ticks(); }
    void sleepMs(std::uint32_t milliseconds) override { cw::GLWindow::sleep(milliseconds); }
    void yield() override { std::this_thread::yield(); }
    bool active() override { return window_.isActive(); }
    cw::KeyTable& keys() override { return window_.keys(); }

    void drawScene(cw::World& world) override { cw::drawScene(world, *this); }

    bool toggleFullscreen() override {
        window_.destroy();
        window_.setFullscreen(!window_.isFullscreen());
        if (!window_.create(kTitle, kWidth, kHeight, kColourBits, window_.isFullscreen())) {
            return false;
        }
        ++context_; // every context is new, and so are its display lists
        return true;
    }

    // The font's lists died with the old context; it is rebuilt on the next frame.
    void releaseFont() override { cw::BitmapFont::release(context_); }

    cw::ContextToken contextToken() const override { return context_; }
    void swapBuffers() override { window_.swapBuffers(); }

private:
    cw::GLWindow& window_;
    cw::ContextToken context_ = 1;
};

} // namespace

int main(int /*argc*/, char** /*argv*/) {
    cw::GLWindow& window = cw::GLWindow::instance();
    cw::seedFromClock();
    if (!window.create(kTitle, kWidth, kHeight, kColourBits, false)) {
        return 0;
    }
    window.setExitHook([] { cw::BitmapFont::release(); });

    gWorld.prepareBackground();

    WindowPlatform platform(window);
    cw::MainLoop loop(gWorld, platform);
    const int exitCode = loop.run();
    cw::BitmapFont::release(platform.contextToken());
    return exitCode;
}
