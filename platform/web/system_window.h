// GLWindow's system half in the browser: the page's 640x480 canvas with the WebGL context
// that emscripten's GLFW makes on it, the Fullscreen API in the display-mode switch's
// place, and the page's events handed to the window as they come. GLWindow owns one; see
// platform/window_system.h for what each operation must do.
#pragma once

#include <cstdint>

#include "platform/window_system.h"

struct GLFWwindow;

namespace cw {

class SystemWindow {
public:
    /// Starts GLFW, once for the page's life.
    bool registerClass();
    /// Nothing to undo: GLFW stays up with the canvas.
    bool unregisterClass() { return true; }
    /// Asks the browser to show the canvas on the whole screen and waits for its answer;
    /// false when it refuses. The canvas keeps its 640x480 pixels, scaled to the screen.
    bool switchDisplayMode(int width, int height, int bits);
    void restoreDisplayMode();
    /// Hides the pointer over the canvas, or shows it again.
    void showCursor(bool shown);
    /// The canvas's context, made on the first call and kept for the page's life (a
    /// canvas has one WebGL context); a browser without WebGL fails here, with
    /// OpenFailure::CreateContext. Each call is a new context to the program: no display
    /// lists, no glyph textures.
    OpenFailure openWindow(const WindowRequest& request);
    /// The browser draws once per display refresh; there is nothing to switch off.
    void disableVsync() {}
    /// Gives the canvas the keyboard.
    void showWindow();
    /// The context stays with the canvas; to the program it is gone.
    CloseFailures closeWindow();
    bool hasContext() const { return m_hasContext; }
    /// The page hands its events to the window as they come (cw_key and the others in
    /// system_window.cpp): none is ever waiting here.
    PumpResult pumpEvent(GLWindow& /*window*/) { return PumpResult::None; }
    /// The browser shows the frame once the page's frame callback returns.
    void swapBuffers() {}
    /// The page's clock, in milliseconds.
    static std::uint32_t ticks();
    /// The page paces the frames (one call per display refresh); nothing ever sleeps.
    static void sleep(std::uint32_t /*milliseconds*/) {}

    /// What the page reports, handed to the window as the desktop's window procedure hands
    /// its messages: a key went down or up, the page was hidden or shown, the browser left
    /// full screen by itself.
    static void pageKey(int code, bool down);
    /// A pointer event on the canvas, in the canvas's own pixels (`kind` a
    /// PointerEvent::Kind as a number).
    static void pagePointer(int kind, int x, int y);
    static void pageVisible(bool visible);
    static void pageLeftFullscreen();

private:
    bool m_glfwReady = false;
    GLFWwindow* m_hWnd = nullptr; // the canvas and its context
    bool m_hasContext = false;
};

} // namespace cw
