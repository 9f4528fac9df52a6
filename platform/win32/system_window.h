// GLWindow's system half on Win32 and WGL: the window class, the display-mode switch, the
// window with its device and rendering contexts, and the window procedure. GLWindow owns
// one; see platform/window_system.h for what each operation must do.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/window_system.h"

namespace cw {

struct Win32Calls;

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
    bool hasContext() const { return m_hWnd != nullptr && m_hRC != nullptr; }
    PumpResult pumpEvent(GLWindow& window);
    void swapBuffers();
    /// Counts single milliseconds while the 1 ms timer period is held (WinMain holds it).
    static std::uint32_t ticks();
    static void sleep(std::uint32_t milliseconds);

    /// The window procedure of the class "OpenGL"; it hands what a message means to the
    /// GLWindow singleton.
    static LRESULT CALLBACK windowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND windowHandle() const { return m_hWnd; }
    HDC deviceContext() const { return m_hDC; }
    HGLRC renderingContext() const { return m_hRC; }

    /// The calls used to build and release the window and by the window procedure; null
    /// puts back the real ones. For tests.
    void setCalls(const Win32Calls* calls);

private:
    LRESULT handleMessage(GLWindow& window, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    const Win32Calls& calls() const { return *m_calls; }

    HINSTANCE m_hInstance = nullptr;
    HWND m_hWnd = nullptr;
    HDC m_hDC = nullptr;
    HGLRC m_hRC = nullptr;
    bool m_contextCurrent = false;

    const Win32Calls* m_calls;
};

} // namespace cw
