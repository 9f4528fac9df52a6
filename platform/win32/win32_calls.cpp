// The real Win32 and WGL calls behind GLWindow's call table.
#include "platform/win32/win32_calls.h"

namespace cw {

namespace {

const Win32Calls kRealCalls = {
    .getModuleHandle = GetModuleHandleA,
    .registerClass = RegisterClassA,
    .unregisterClass = UnregisterClassA,
    .changeDisplaySettings = ChangeDisplaySettingsA,
    .showCursor = ShowCursor,
    .adjustWindowRectEx = AdjustWindowRectEx,
    .createWindowEx = CreateWindowExA,
    .destroyWindow = DestroyWindow,
    .getDC = GetDC,
    .releaseDC = ReleaseDC,
    .choosePixelFormat = ChoosePixelFormat,
    .setPixelFormat = SetPixelFormat,
    .createContext = wglCreateContext,
    .makeCurrent = wglMakeCurrent,
    .deleteContext = wglDeleteContext,
    .showWindow = ShowWindow,
    .setForegroundWindow = SetForegroundWindow,
    .setFocus = SetFocus,
    .defWindowProc = DefWindowProcA,
    .postQuitMessage = PostQuitMessage,
};

} // namespace

const Win32Calls& win32Calls() {
    return kRealCalls;
}

} // namespace cw
