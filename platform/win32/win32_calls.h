// The Win32 and WGL calls the window makes while it builds and tears down its window and
// context, and the two its window procedure hands messages on to. GLWindow goes through
// this table so that tests can watch the calls and make any one of them fail.
#pragma once

#include <windows.h>

namespace cw {

/// One entry per call that can fail or that has to be seen being made. The real table is
/// `win32Calls()`; a test copies it, replaces entries and hands the copy to
/// `SystemWindow::setCalls` (`GLWindow::instance().system()`).
struct Win32Calls {
    HMODULE(WINAPI* getModuleHandle)(LPCSTR name);
    ATOM(WINAPI* registerClass)(const WNDCLASSA* windowClass);
    BOOL(WINAPI* unregisterClass)(LPCSTR className, HINSTANCE instance);
    LONG(WINAPI* changeDisplaySettings)(DEVMODEA* mode, DWORD flags);
    int(WINAPI* showCursor)(BOOL show);
    BOOL(WINAPI* adjustWindowRectEx)(RECT* rect, DWORD style, BOOL menu, DWORD extendedStyle);
    HWND(WINAPI* createWindowEx)
    (DWORD extendedStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
    BOOL(WINAPI* destroyWindow)(HWND window);
    HDC(WINAPI* getDC)(HWND window);
    int(WINAPI* releaseDC)(HWND window, HDC dc);
    int(WINAPI* choosePixelFormat)(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
    BOOL(WINAPI* setPixelFormat)(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
    HGLRC(WINAPI* createContext)(HDC dc);
    BOOL(WINAPI* makeCurrent)(HDC dc, HGLRC context);
    BOOL(WINAPI* deleteContext)(HGLRC context);
    /// wglSwapIntervalEXT on the current context; FALSE where the driver has no such call.
    BOOL (*setSwapInterval)(int interval);
    BOOL(WINAPI* showWindow)(HWND window, int command);
    BOOL(WINAPI* setForegroundWindow)(HWND window);
    HWND(WINAPI* setFocus)(HWND window);
    LRESULT(WINAPI* defWindowProc)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void(WINAPI* postQuitMessage)(int exitCode);
};

/// The table of real calls.
const Win32Calls& win32Calls();

} // namespace cw
