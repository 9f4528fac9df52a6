// The program's one window and its OpenGL context, on Win32 and WGL: the window class,
// the fullscreen switch, creation and tear-down, the window procedure that fills the key
// table and tracks minimising, and the projection. The main loop drives it; the renderer
// draws into its context.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/keys.h"
#include "platform/window_messages.h"

namespace cw {

struct Win32Calls;

/// What one call of `GLWindow::pumpEvent` found.
enum class PumpResult {
    None,       ///< no message was waiting
    Dispatched, ///< one message was translated and dispatched
    Quit,       ///< the quit message came (the window's close request)
};

/// The window singleton. `create` and `destroy` may be called any number of times on it
/// (the fullscreen toggle does); its destructor runs `destroy` once more at program exit.
class GLWindow {
public:
    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    /// The singleton, built on first use.
    static GLWindow& instance();

    /// Registers the window class, switches to fullscreen if asked, opens a window whose
    /// client area is `width` by `height` with a current OpenGL context of `bits` colour
    /// bits, and sets the projection and the initial GL state. Every failure is reported
    /// in a message box; returns true only when the window is up with a current context.
    bool create(const char* title, int width, int height, int bits, bool fullscreen);

    /// Restores the desktop mode and releases the context, the device context, the window
    /// and the class, in reverse order of creation. Reports each failure and goes on;
    /// harmless when nothing is open.
    void destroy();

    /// Takes at most one waiting message off the queue and dispatches it. The quit
    /// message is returned, not dispatched; its code is kept in `quitCode`.
    PumpResult pumpEvent();

    /// The window procedure of the class "OpenGL".
    static LRESULT CALLBACK windowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    /// Sets the viewport and a 45-degree perspective projection for a client area of
    /// `width` by `height`; a height of 0 is taken as 1.
    void resizeViewport(int width, int height);

    /// Sets the initial GL state: smooth shading, depth test, back-face culling, blending.
    /// Returns false if the context reported an error while it was being set up.
    bool initGLState();

    /// Shows the frame just drawn.
    void swapBuffers();

    /// Key-down table, indexed by virtual-key code.
    KeyTable& keys() { return m_keys; }
    const KeyTable& keys() const { return m_keys; }

    /// False while the window is minimised.
    bool isActive() const { return m_active; }

    /// The display mode of the current window. `create` stores its argument here.
    bool isFullscreen() const { return m_fullscreen; }
    void setFullscreen(bool fullscreen) { m_fullscreen = fullscreen; }

    /// True while a window with a context exists.
    bool isCreated() const { return m_hWnd != nullptr && m_hRC != nullptr; }

    HWND windowHandle() const { return m_hWnd; }
    HDC deviceContext() const { return m_hDC; }
    HGLRC renderingContext() const { return m_hRC; }

    /// The code the last quit message carried.
    int quitCode() const { return m_quitCode; }

    /// A millisecond count, wrapping after about 49 days; counts single milliseconds while
    /// the 1 ms timer period is held.
    static std::uint32_t ticks();
    /// Sleeps for at least `milliseconds`.
    static void sleep(std::uint32_t milliseconds);

    /// Where failure texts and the fullscreen question go; null puts back the system's
    /// boxes. The object must outlive its use.
    void setMessageBoxes(MessageBoxes* boxes);

    /// The calls used by create, destroy and the window procedure; null puts back the real
    /// ones. For tests.
    void setWin32Calls(const Win32Calls* calls);

    /// Called by the destructor after its final `destroy`; the main loop registers the
    /// release of what it built on the context (the font) here.
    void setExitHook(void (*hook)()) { m_exitHook = hook; }

private:
    GLWindow();
    ~GLWindow();

    LRESULT handleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    /// Reports a failure of create after releasing what was built, and returns false.
    bool fail(const char* text);
    const Win32Calls& calls() const { return *m_calls; }

    HINSTANCE m_hInstance = nullptr;
    HWND m_hWnd = nullptr;
    HDC m_hDC = nullptr;
    HGLRC m_hRC = nullptr;
    bool m_classRegistered = false;
    bool m_contextCurrent = false;

    bool m_fullscreen = false;
    bool m_active = true;
    KeyTable m_keys{};
    int m_quitCode = 0;

    WindowMessages m_messages;
    const Win32Calls* m_calls;
    void (*m_exitHook)() = nullptr;
};

} // namespace cw
