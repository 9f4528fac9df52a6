// GLWindow in the browser; see gl_window.h. The steps of create keep the desktop's order:
// GLFW's start stands for the window class, the canvas's context for the window and its
// context, the Fullscreen API for the display-mode switch.
#include "platform/web/gl_window.h"

#include <GLFW/glfw3.h>
#include <emscripten.h>

#include "platform/gl_setup.h"
#include "platform/web/gl_compat.h"
#include "platform/web/page_calls.h"

namespace cw {

GLWindow& GLWindow::instance() {
    static GLWindow window;
    return window;
}

GLWindow::~GLWindow() {
    destroy();
    if (m_exitHook != nullptr) {
        m_exitHook();
    }
}

bool GLWindow::create(const char* title, int width, int height, int /*bits*/, bool fullscreen) {
    destroy();
    m_keys.fill(false);
    m_fullscreen = fullscreen;

    if (!m_glfwReady) {
        if (glfwInit() != GLFW_TRUE) {
            m_messages.error("Failed To Register The Window Class.");
            return false;
        }
        m_glfwReady = true;
    }

    if (m_fullscreen && !page::enterFullscreen()) {
        if (m_messages.askWindowedInstead()) {
            m_fullscreen = false;
        } else {
            destroy();
            m_messages.programWillClose();
            return false;
        }
    }

    if (m_hWnd == nullptr) {
        // Double-buffered RGBA with a 16-bit depth buffer, no stencil, no antialiasing.
        glfwWindowHint(GLFW_DEPTH_BITS, 16);
        glfwWindowHint(GLFW_STENCIL_BITS, 0);
        glfwWindowHint(GLFW_ALPHA_BITS, 0);
        glfwWindowHint(GLFW_SAMPLES, 0);
        m_hWnd = glfwCreateWindow(width, height, title, nullptr, nullptr);
        if (m_hWnd == nullptr) {
            return fail("Can't Create A GL Rendering Context.");
        }
    }
    glfwMakeContextCurrent(m_hWnd);
    // A new context to the program: no lists, no glyph textures.
    webgl::resetContext();
    m_created = true;
    m_active = page::isVisible();

    resizeViewport(width, height);
    if (!initGLState()) {
        return fail("Initialization Failed.");
    }
    return true;
}

void GLWindow::destroy() {
    if (m_fullscreen) {
        page::leaveFullscreen();
    }
    m_created = false;
}

void GLWindow::resizeViewport(int width, int height) {
    setViewportAndProjection(width, height);
}

bool GLWindow::initGLState() {
    return setInitialGLState();
}

std::uint32_t GLWindow::ticks() {
    return page::milliseconds();
}

void GLWindow::sleep(std::uint32_t /*milliseconds*/) {}

void GLWindow::setMessageBoxes(MessageBoxes* boxes) {
    m_messages.setBoxes(boxes);
}

bool GLWindow::fail(const char* text) {
    destroy();
    m_messages.error(text);
    return false;
}

} // namespace cw

// The page's events, as the window procedure gets them on the desktop. The page calls
// these only while the program is not waiting in a box or a full-screen switch.
extern "C" {

EMSCRIPTEN_KEEPALIVE void cw_key(int code, int down) {
    cw::setKey(cw::GLWindow::instance().keys(), code, down != 0);
}

EMSCRIPTEN_KEEPALIVE void cw_release_keys() {
    cw::GLWindow::instance().keys().fill(false);
}

EMSCRIPTEN_KEEPALIVE void cw_visible(int visible) {
    cw::GLWindow::instance().setActive(visible != 0);
}

// The browser left full screen by itself (Escape, or its own controls): the program goes
// on in its window, and F1 asks for full screen again.
EMSCRIPTEN_KEEPALIVE void cw_fullscreen_left() {
    cw::GLWindow::instance().setFullscreen(false);
}

} // extern "C"
