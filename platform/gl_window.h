// The program's one window and its OpenGL context: GLWindow. What every system shares
// lives here and in gl_window.cpp; the system's half is the SystemWindow of the back end
// this build uses (Win32 and WGL on Windows, the page's WebGL canvas in the browser, SDL2
// elsewhere; see window_system.h). The main loop drives it; the renderer draws into its
// context.
#pragma once

#include <cstdint>

#include "platform/keys.h"
#include "platform/pointer.h"
#include "platform/pump_result.h"
#include "platform/window_messages.h"
#include "platform/window_system.h"

#if defined(CUBEWRIGHT_WINDOW_SYSTEM_HEADER)
// A build that brings its own back end names its header: the window core's tests do.
#include CUBEWRIGHT_WINDOW_SYSTEM_HEADER
#elif defined(_WIN32)
#include "platform/win32/system_window.h"
#elif defined(__EMSCRIPTEN__)
#include "platform/web/system_window.h"
#else
#include "platform/sdl/system_window.h"
#endif

namespace cw {

static_assert(WindowSystem<SystemWindow>, "the back end must offer every call of the list");

/// The window singleton. `create` and `destroy` may be called any number of times on it
/// (the fullscreen toggle does); its destructor runs `destroy` once more at program exit.
class GLWindow {
public:
    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    /// The singleton, built on first use.
    static GLWindow& instance();

    /// Opens a window whose client area is `width` by `height` with a current OpenGL
    /// context of `bits` colour bits, fullscreen or windowed (asking whether to go on in a
    /// window when the display has no such mode), and sets the projection and the initial
    /// GL state. Whatever an earlier call left open is destroyed first. Every failure is
    /// reported in a message box; returns true only when the window is up with a current
    /// context.
    bool create(const char* title, int width, int height, int bits, bool fullscreen);

    /// Restores the desktop mode when fullscreen, then releases the context, the window
    /// and the system's class in reverse order of creation. Reports each failure and goes
    /// on; does nothing when nothing is open.
    void destroy();

    /// Handles at most one waiting event. A quit request is returned, not handled.
    PumpResult pumpEvent() { return m_system.pumpEvent(*this); }

    /// Sets the viewport and a 45-degree perspective projection for a client area of
    /// `width` by `height`; a height of 0 is taken as 1.
    void resizeViewport(int width, int height);

    /// Sets the initial GL state: smooth shading, depth test, back-face culling, blending.
    /// An error the driver left behind earlier is cleared first. Returns true.
    bool initGLState();

    /// Shows the frame just drawn.
    void swapBuffers() { m_system.swapBuffers(); }

    /// Key-down table, indexed by the key codes of platform/keys.h.
    KeyTable& keys() { return m_keys; }
    const KeyTable& keys() const { return m_keys; }

    /// Takes the oldest pointer event since the last call; false when there is none.
    bool nextPointerEvent(PointerEvent& event) { return m_pointer.pop(event); }

    /// The client area's size as the last resize gave it, in which pointer events are given.
    int clientWidth() const { return m_clientWidth; }
    int clientHeight() const { return m_clientHeight; }

    /// False while the window is minimised.
    bool isActive() const { return m_active; }

    /// The display mode of the current window. `create` stores its argument here.
    bool isFullscreen() const { return m_fullscreen; }
    void setFullscreen(bool fullscreen) { m_fullscreen = fullscreen; }

    /// True while a window with a context exists.
    bool isCreated() const { return m_system.hasContext(); }

    /// A millisecond count, wrapping after about 49 days.
    static std::uint32_t ticks() { return SystemWindow::ticks(); }
    /// Sleeps for at least `milliseconds`.
    static void sleep(std::uint32_t milliseconds) { SystemWindow::sleep(milliseconds); }

    /// Where failure texts and the fullscreen question go; null puts back the system's
    /// boxes. The object must outlive its use.
    void setMessageBoxes(MessageBoxes* boxes) { m_messages.setBoxes(boxes); }

    /// Called by the destructor after its final `destroy`; the main loop registers the
    /// release of what it built on the context (the font) here.
    void setExitHook(void (*hook)()) { m_exitHook = hook; }

    /// The system's half: its handles, and the hooks its tests use.
    SystemWindow& system() { return m_system; }
    const SystemWindow& system() const { return m_system; }

private:
    // The back end's event handling reports what an event means through these.
    friend class SystemWindow;

    /// A key went down or up; codes outside the table are ignored.
    void keyEvent(int code, bool down) { setKey(m_keys, code, down); }
    /// The window was minimised (false) or restored (true).
    void setActive(bool active) { m_active = active; }
    /// The pointer was pressed, moved, released or taken away, at client pixel (x, y).
    void pointerEvent(PointerEvent::Kind kind, int x, int y) { m_pointer.push({kind, x, y}); }

    GLWindow() = default;
    ~GLWindow();

    /// Reports a failure of create after releasing what was built, and returns false.
    bool fail(const char* text);

    SystemWindow m_system;
    bool m_registered = false; // the system's class is registered: something may be open
    bool m_fullscreen = false;
    bool m_active = true;
    KeyTable m_keys{};
    PointerQueue m_pointer;
    int m_clientWidth = 0;
    int m_clientHeight = 0;

    WindowMessages m_messages;
    void (*m_exitHook)() = nullptr;
};

} // namespace cw
