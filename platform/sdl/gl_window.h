// The program's one window and its OpenGL context, on SDL2: creation and tear-down, the
// event handler that fills the key table and tracks minimising, and the projection. The
// main loop drives it; the renderer draws into its context.
#pragma once

#include <cstdint>

#include "app/keys.h"
#include "platform/window_messages.h"

struct SDL_Window;
union SDL_Event;

namespace cw {

struct SdlCalls;

/// What one call of `GLWindow::pumpEvent` found.
enum class PumpResult {
    None,       ///< no event was pending
    Dispatched, ///< one event was handled
    Quit,       ///< the program was asked to end (close button, SIGTERM)
};

/// The window singleton. `create` and `destroy` may be called any number of times on it
/// (the fullscreen toggle does); its destructor runs `destroy` once more at program exit.
class GLWindow {
public:
    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    /// The singleton, built on first use.
    static GLWindow& instance();

    /// Opens a window whose client area is `width` by `height` with a current OpenGL
    /// context of `bits` colour bits, fullscreen or windowed, and sets the projection and
    /// the initial GL state. Every failure is reported in a message box; returns true only
    /// when the window is up with a current context.
    bool create(const char* title, int width, int height, int bits, bool fullscreen);

    /// Releases the context, the window and the video subsystem, in reverse order of
    /// creation. Reports each failure and goes on; harmless when nothing is open.
    void destroy();

    /// Handles at most one pending event. A quit request is returned, not handled.
    PumpResult pumpEvent();

    /// Sets the viewport and a 45-degree perspective projection for a client area of
    /// `width` by `height`; a height of 0 is taken as 1.
    void resizeViewport(int width, int height);

    /// Sets the initial GL state: smooth shading, depth test, back-face culling, blending.
    /// Returns false if the context reported an error while it was being set up.
    bool initGLState();

    /// Shows the frame just drawn.
    void swapBuffers();

    /// Key-down table, indexed by the key codes of app/keys.h.
    KeyTable& keys() { return m_keys; }
    const KeyTable& keys() const { return m_keys; }

    /// False while the window is minimised.
    bool isActive() const { return m_active; }

    /// The display mode of the current window. `create` stores its argument here.
    bool isFullscreen() const { return m_fullscreen; }
    void setFullscreen(bool fullscreen) { m_fullscreen = fullscreen; }

    /// True while a window with a context exists.
    bool isCreated() const { return m_hWnd != nullptr && m_hRC != nullptr; }

    /// SDL's identifier of the current window, 0 when there is none.
    std::uint32_t windowId() const;

    /// Milliseconds since SDL started, wrapping after about 49 days.
    static std::uint32_t ticks();
    /// Sleeps for at least `milliseconds`.
    static void sleep(std::uint32_t milliseconds);

    /// Where failure texts and the fullscreen question go; null puts back the system's
    /// boxes. The object must outlive its use.
    void setMessageBoxes(MessageBoxes* boxes);

    /// The SDL calls used by create and destroy; null puts back the real ones. For tests.
    void setSdlCalls(const SdlCalls* calls);

    /// Lets `create` succeed on SDL's offscreen and dummy drivers, which show nothing.
    /// Only tests set this: a program that cannot be seen must not run.
    void setHeadlessAllowed(bool allowed) { m_headlessAllowed = allowed; }

    /// Called by the destructor after its final `destroy`; the main loop registers the
    /// release of what it built on the context (the font) here.
    void setExitHook(void (*hook)()) { m_exitHook = hook; }

private:
    GLWindow();
    ~GLWindow();

    /// The window procedure: updates the key table, the active flag and the viewport.
    void windowProc(const SDL_Event& event);

    /// Reports a failure of create after releasing what was built, and returns false.
    bool fail(const char* text);
    const SdlCalls& calls() const { return *m_calls; }

    bool m_videoReady = false;      // the video subsystem is initialised (the window class)
    bool m_glLibraryLoaded = false; // the GL driver is loaded (the device context's role)
    SDL_Window* m_hWnd = nullptr;
    void* m_hRC = nullptr; // SDL_GLContext

    bool m_fullscreen = false;
    bool m_active = true;
    KeyTable m_keys{};

    WindowMessages m_messages;
    const SdlCalls* m_calls;
    bool m_headlessAllowed = false;
    void (*m_exitHook)() = nullptr;
};

} // namespace cw
