// GLWindow's system half on SDL2 (Linux): the SDL window and GL context, the video
// subsystem in the window class's place, and the event handler. GLWindow owns one; see
// platform/window_system.h for what each operation must do.
#pragma once

#include <cstdint>

#include "platform/window_system.h"

struct SDL_Window;
union SDL_Event;

namespace cw {

struct SdlCalls;

class SystemWindow {
public:
    SystemWindow();

    bool registerClass();
    bool unregisterClass();
    bool switchDisplayMode(int width, int height, int bits);
    void restoreDisplayMode();
    void showCursor(bool shown);
    OpenFailure openWindow(const WindowRequest& request);
    void disableVsync();
    void showWindow();
    CloseFailures closeWindow();
    bool hasContext() const { return m_window != nullptr && m_context != nullptr; }
    PumpResult pumpEvent(GLWindow& window);
    void swapBuffers();
    static std::uint32_t ticks();
    static void sleep(std::uint32_t milliseconds);

    /// SDL's identifier of the current window, 0 when there is none.
    std::uint32_t windowId() const;

    /// The SDL calls used to build and release the window; null puts back the real ones.
    /// For tests.
    void setCalls(const SdlCalls* calls);

    /// Lets the window open on SDL's offscreen and dummy drivers, which show nothing. Only
    /// tests set this: a program that cannot be seen must not run.
    void setHeadlessAllowed(bool allowed) { m_headlessAllowed = allowed; }

private:
    void handleEvent(const SDL_Event& event, GLWindow& window);
    /// Events still queued for a window that has been destroyed are dropped.
    bool isCurrentWindow(std::uint32_t windowId) const;
    const SdlCalls& calls() const { return *m_calls; }

    bool m_videoReady = false;      // the video subsystem is initialised (the window class)
    bool m_glLibraryLoaded = false; // the GL driver is loaded (the device context's role)
    SDL_Window* m_window = nullptr;
    void* m_context = nullptr; // SDL_GLContext
    // The fullscreen mode switchDisplayMode found, set on the window when it is made.
    std::uint32_t m_modeFormat = 0;
    int m_modeWidth = 0;
    int m_modeHeight = 0;
    int m_modeRefreshRate = 0;

    const SdlCalls* m_calls;
    bool m_headlessAllowed = false;
};

} // namespace cw
