// The real Win32 and WGL calls behind GLWindow's call table.
#include "platform/win32/win32_calls.h"

namespace cw {

namespace {

// The swap-control extension is looked up on the current context, as every WGL extension
// must be.
BOOL setSwapInterval(int interval) {
    using SwapIntervalCall = BOOL(WINAPI*)(int);
    const PROC found = wglGetProcAddress("wglSwapIntervalEXT");
    if (found == nullptr) {
        return FALSE;
    }
    // Through the generic function type, which the compiler accepts as a cast between
    // any two function types.
    using AnyCall = void (*)();
    return reinterpret_cast<SwapIntervalCall>(reinterpret_cast<AnyCall>(found))(interval);
}

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
    .setSwapInterval = setSwapInterval,
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
