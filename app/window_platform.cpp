// The real program's main-loop platform; see window_platform.h.
#include "app/window_platform.h"

#include <thread>

namespace cw {

std::uint32_t WindowPlatform::ticks() {
    return GLWindow::ticks();
}
void WindowPlatform::sleepMs(std::uint32_t milliseconds) {
    GLWindow::sleep(milliseconds);
}
void WindowPlatform::yield() {
    std::this_thread::yield();
}
bool WindowPlatform::active() {
    return window_.isActive();
}
KeyTable& WindowPlatform::keys() {
    return window_.keys();
}
bool WindowPlatform::nextPointerEvent(PointerEvent& event) {
    return window_.nextPointerEvent(event);
}
ClientSize WindowPlatform::clientSize() {
    return {window_.clientWidth(), window_.clientHeight()};
}
void WindowPlatform::drawScene(World& world) {
    renderer_.draw(world, *this);
}

bool WindowPlatform::toggleFullscreen() {
    window_.destroy();
    context_ = kNoContext;
    window_.setFullscreen(!window_.isFullscreen());
    if (!window_.create(kWindowTitle, kWindowWidth, kWindowHeight, kWindowColourBits,
                        window_.isFullscreen())) {
        return false;
    }
    context_ = ++lastContext_;
    return true;
}

void WindowPlatform::releaseFont() {
    BitmapFont::release(context_);
}
void WindowPlatform::swapBuffers() {
    window_.swapBuffers();
}

} // namespace cw
