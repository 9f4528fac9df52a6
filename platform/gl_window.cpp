// GLWindow's shared half; see gl_window.h. create and destroy keep the classic order of
// setting up a GL window, whatever the system: the class, the fullscreen mode, the window
// and its context, the projection and the initial state, and the reverse on the way out.
#include "platform/gl_window.h"

#include "platform/gl_setup.h"

namespace cw {

namespace {

const char* openFailureText(OpenFailure failure) {
    switch (failure) {
    case OpenFailure::None:
        break;
    case OpenFailure::Window:
        return "Window Creation Error.";
    case OpenFailure::DeviceContext:
        return "Can't Create A GL Device Context.";
    case OpenFailure::ChoosePixelFormat:
        return "Can't Find A Suitable PixelFormat.";
    case OpenFailure::SetPixelFormat:
        return "Can't Set The PixelFormat.";
    case OpenFailure::CreateContext:
        return "Can't Create A GL Rendering Context.";
    case OpenFailure::MakeCurrent:
        return "Can't Activate The GL Rendering Context.";
    }
    return "Window Creation Error.";
}

} // namespace

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

bool GLWindow::create(const char* title, int width, int height, int bits, bool fullscreen) {
    // A window still open would otherwise be leaked; callers normally destroy first.
    destroy();
    // Key-ups of the old window are lost with it, so start with no key held, and end a
    // drag that was going on in it.
    m_keys.fill(false);
    m_pointer.clear();
    m_pointer.push({PointerEvent::Kind::Cancel, 0, 0});
    m_fullscreen = fullscreen;

    if (!m_system.registerClass()) {
        m_messages.error("Failed To Register The Window Class.");
        return false;
    }
    m_registered = true;

    if (m_fullscreen && !m_system.switchDisplayMode(width, height, bits)) {
        if (m_messages.askWindowedInstead()) {
            m_fullscreen = false;
        } else {
            // The program ends: nothing is left for the exit-time destroy.
            destroy();
            m_messages.programWillClose();
            return false;
        }
    }
    if (m_fullscreen) {
        m_system.showCursor(false);
    }

    // The window is active until an event says otherwise; some systems send one while the
    // window is being made.
    m_active = true;
    const OpenFailure failure = m_system.openWindow({title, width, height, bits, m_fullscreen});
    if (failure != OpenFailure::None) {
        return fail(openFailureText(failure));
    }
    m_system.disableVsync();
    m_system.showWindow();

    resizeViewport(width, height);
    if (!initGLState()) {
        return fail("Initialization Failed.");
    }
    return true;
}

void GLWindow::destroy() {
    if (!m_registered) {
        return;
    }
    if (m_fullscreen) {
        // Back to the desktop mode and cursor before anything is released.
        m_system.restoreDisplayMode();
        m_system.showCursor(true);
    }
    const CloseFailures failures = m_system.closeWindow();
    if (failures.releaseCurrent) {
        m_messages.shutdownError("Release Of DC And RC Failed.");
    }
    if (failures.deleteContext) {
        m_messages.shutdownError("Release Rendering Context Failed.");
    }
    if (failures.releaseDC) {
        m_messages.shutdownError("Release Device Context Failed.");
    }
    if (failures.destroyWindow) {
        m_messages.shutdownError("Could Not Release m_hWnd.");
    }
    if (!m_system.unregisterClass()) {
        m_messages.shutdownError("Could Not Unregister Class.");
    }
    m_registered = false;
}

void GLWindow::resizeViewport(int width, int height) {
    m_clientWidth = width;
    m_clientHeight = height;
    setViewportAndProjection(width, height);
}

bool GLWindow::initGLState() {
    setInitialGLState();
    return true;
}

bool GLWindow::fail(const char* text) {
    destroy();
    m_messages.error(text);
    return false;
}

} // namespace cw
