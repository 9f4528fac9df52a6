// The program's one window and its OpenGL context in the browser: the page's 640x480
// canvas with a WebGL context that emscripten's GLFW makes, full screen through the
// browser's Fullscreen API, and the key table that the page's key events fill. The main
// loop drives it; the renderer draws into its context.
#pragma once

#include <cstdint>

#include "app/keys.h"
#include "platform/window_messages.h"

struct GLFWwindow;

namespace cw {

/// What one call of `GLWindow::pumpEvent` found.
enum class PumpResult {
    None,       ///< no event was pending
    Dispatched, ///< one event was handled
    Quit,       ///< the program was asked to end
};

/// The window singleton; see the SDL back end's header for the operations.
class GLWindow {
public:
    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    static GLWindow& instance();

    /// Gets the canvas's WebGL context (made once, kept for the page's life), asks the
    /// browser for full screen when `fullscreen`, and sets the projection and the initial
    /// GL state. A browser without WebGL gets "Can't Create A GL Rendering Context."; one
    /// that refuses full screen gets the program's question. Returns true only when the
    /// context is current.
    bool create(const char* title, int width, int height, int bits, bool fullscreen);

    /// Leaves full screen; the context stays with the canvas.
    void destroy();

    /// The page hands its events over as they come (see web_entry.h): nothing waits here.
    PumpResult pumpEvent() { return PumpResult::None; }

    void resizeViewport(int width, int height);
    bool initGLState();
    /// The browser shows the frame when the page's frame callback returns.
    void swapBuffers() {}

    KeyTable& keys() { return m_keys; }
    const KeyTable& keys() const { return m_keys; }

    /// False while the page is hidden.
    bool isActive() const { return m_active; }
    void setActive(bool active) { m_active = active; }

    bool isFullscreen() const { return m_fullscreen; }
    void setFullscreen(bool fullscreen) { m_fullscreen = fullscreen; }

    bool isCreated() const { return m_created; }

    /// The page's clock in milliseconds, wrapping after about 49 days.
    static std::uint32_t ticks();
    /// The page paces the frames; the browser's program never sleeps.
    static void sleep(std::uint32_t milliseconds);

    void setMessageBoxes(MessageBoxes* boxes);
    void setExitHook(void (*hook)()) { m_exitHook = hook; }

private:
    GLWindow() = default;
    ~GLWindow();

    bool fail(const char* text);

    bool m_glfwReady = false;
    GLFWwindow* m_hWnd = nullptr; // the canvas, with its context
    bool m_created = false;
    bool m_fullscreen = false;
    bool m_active = true;
    KeyTable m_keys{};
    WindowMessages m_messages;
    void (*m_exitHook)() = nullptr;
};

} // namespace cw
