// GLWindow's system half in the browser; see system_window.h. GLFW's start stands for the
// window class, the canvas's context for the window with its context, and the page's
// Fullscreen API for the display-mode switch.
#include "platform/web/system_window.h"

#include <GLFW/glfw3.h>
#include <emscripten.h>

#include "platform/gl_window.h"
#include "platform/web/gl_compat.h"
#include "platform/web/page_calls.h"

namespace cw {

bool SystemWindow::registerClass() {
    if (!m_glfwReady) {
        m_glfwReady = glfwInit() == GLFW_TRUE;
    }
    return m_glfwReady;
}

bool SystemWindow::switchDisplayMode(int /*width*/, int /*height*/, int /*bits*/) {
    return page::enterFullscreen();
}

void SystemWindow::restoreDisplayMode() {
    page::leaveFullscreen();
}

void SystemWindow::showCursor(bool shown) {
    page::showCursor(shown);
}

OpenFailure SystemWindow::openWindow(const WindowRequest& request) {
    if (m_hWnd == nullptr) {
        // Double-buffered RGBA with a 16-bit depth buffer, no stencil, no multisampling.
        glfwWindowHint(GLFW_DEPTH_BITS, 16);
        glfwWindowHint(GLFW_STENCIL_BITS, 0);
        glfwWindowHint(GLFW_ALPHA_BITS, 0);
        glfwWindowHint(GLFW_SAMPLES, 0);
        m_hWnd = glfwCreateWindow(request.width, request.height, request.title, nullptr, nullptr);
        if (m_hWnd == nullptr) {
            return OpenFailure::CreateContext;
        }
    }
    glfwMakeContextCurrent(m_hWnd);
    webgl::resetContext();
    m_hasContext = true;
    return OpenFailure::None;
}

void SystemWindow::showWindow() {
    page::focusCanvas();
    // A page opened behind another tab starts hidden, and hears of it only when shown.
    GLWindow::instance().setActive(page::isVisible());
}

CloseFailures SystemWindow::closeWindow() {
    m_hasContext = false;
    return {};
}

std::uint32_t SystemWindow::ticks() {
    return page::milliseconds();
}

} // namespace cw

namespace cw {

void SystemWindow::pageKey(int code, bool down) {
    GLWindow::instance().keyEvent(code, down);
}

void SystemWindow::pagePointer(int kind, int x, int y) {
    if (kind >= static_cast<int>(PointerEvent::Kind::Press) &&
        kind <= static_cast<int>(PointerEvent::Kind::Cancel)) {
        GLWindow::instance().pointerEvent(static_cast<PointerEvent::Kind>(kind), x, y);
    }
}

void SystemWindow::pageVisible(bool visible) {
    GLWindow::instance().setActive(visible);
}

// The browser left full screen by itself (Escape, or its own controls): the program goes
// on in its window, and F1 asks for full screen again.
void SystemWindow::pageLeftFullscreen() {
    GLWindow& window = GLWindow::instance();
    window.setFullscreen(false);
    window.system().showCursor(true);
}

} // namespace cw

// The page's events, as the window procedure gets them on the desktop. The page calls
// these only while the program is not waiting in a box or a full-screen switch.
extern "C" {

EMSCRIPTEN_KEEPALIVE void cw_key(int code, int down) {
    cw::SystemWindow::pageKey(code, down != 0);
}

EMSCRIPTEN_KEEPALIVE void cw_pointer(int kind, int x, int y) {
    cw::SystemWindow::pagePointer(kind, x, y);
}

EMSCRIPTEN_KEEPALIVE void cw_release_keys() {
    cw::GLWindow::instance().keys().fill(false);
}

EMSCRIPTEN_KEEPALIVE void cw_visible(int visible) {
    cw::SystemWindow::pageVisible(visible != 0);
}

EMSCRIPTEN_KEEPALIVE void cw_fullscreen_left() {
    cw::SystemWindow::pageLeftFullscreen();
}

} // extern "C"
