// The short, fixed list of what a window back end supplies to GLWindow: everything the
// window does that differs from one system to another. GLWindow (gl_window.cpp) does the
// rest once for every back end. A new back end starts from this list.
#pragma once

#include <concepts>
#include <cstdint>

#include "platform/pump_result.h"

namespace cw {

class GLWindow;

/// What `create` asks of the system's window.
struct WindowRequest {
    const char* title;
    int width;  ///< of the client area
    int height; ///< of the client area
    int bits;   ///< colour bits of the pixel format
    bool fullscreen;
};

/// The step of opening a window that failed, in the order the steps are taken. GLWindow
/// turns each into its message.
enum class OpenFailure {
    None,              ///< the window is up with a current context
    Window,            ///< "Window Creation Error."
    DeviceContext,     ///< "Can't Create A GL Device Context."
    ChoosePixelFormat, ///< "Can't Find A Suitable PixelFormat."
    SetPixelFormat,    ///< "Can't Set The PixelFormat."
    CreateContext,     ///< "Can't Create A GL Rendering Context."
    MakeCurrent,       ///< "Can't Activate The GL Rendering Context."
};

/// The release steps of closing a window that failed. Every step runs whatever the ones
/// before it did; GLWindow reports each failure in this order.
struct CloseFailures {
    bool releaseCurrent = false; ///< "Release Of DC And RC Failed."
    bool deleteContext = false;  ///< "Release Rendering Context Failed."
    bool releaseDC = false;      ///< "Release Device Context Failed."
    bool destroyWindow = false;  ///< "Could Not Release m_hWnd."
};

/// The list itself. A back end is one type, `SystemWindow`, holding its handles (`m_hWnd`
/// and the others its system has) and offering these operations; GLWindow owns one and
/// checks it against this concept when it is compiled. Besides it, each back end defines
/// `SystemMessageBoxes::show` (platform/message_box.h) and `buildGlyphs`
/// (platform/glyph_source.h).
///
/// gl_window.h includes the back end's `system_window.h` for the system it is compiled
/// for, and platform/CMakeLists.txt builds its folder; a new back end adds its line to
/// each.
///
/// In the order GLWindow calls them:
/// - `registerClass()`: makes the system ready for a window (a window class, a video
///   subsystem); false when it cannot. `unregisterClass()` undoes it, false on failure.
/// - `switchDisplayMode(width, height, bits)`: switches the display to, or finds, the
///   fullscreen mode; false when the display has no such mode. `restoreDisplayMode()`
///   puts the desktop's mode back; harmless when no mode was switched.
/// - `showCursor(shown)`: shows or hides the mouse cursor.
/// - `openWindow(request)`: makes the window, its pixel format and its context, and makes
///   the context current; on failure it leaves what it made for `closeWindow`.
/// - `disableVsync()`: a swap interval of 0 where the driver allows it; the main loop
///   paces its frames itself.
/// - `showWindow()`: shows the window and gives it the keyboard.
/// - `closeWindow()`: releases the context, the device context and the window, each if
///   it exists, and goes on after a failure.
/// - `hasContext()`: true while a window with a context exists.
/// - `pumpEvent(window)`: takes at most one event off the queue and hands what it means to
///   the window (`keyEvent`, `setActive`, `resizeViewport`); a quit request is returned.
/// - `swapBuffers()`: presents the frame drawn.
/// - `ticks()` and `sleep(milliseconds)`: a millisecond count and a sleep of at least that
///   long, static.
template <typename System>
concept WindowSystem = requires(System& system, const System& constSystem, GLWindow& window,
                                const WindowRequest& request, int size, bool flag,
                                std::uint32_t milliseconds) {
    { system.registerClass() } -> std::same_as<bool>;
    { system.unregisterClass() } -> std::same_as<bool>;
    { system.switchDisplayMode(size, size, size) } -> std::same_as<bool>;
    { system.restoreDisplayMode() } -> std::same_as<void>;
    { system.showCursor(flag) } -> std::same_as<void>;
    { system.openWindow(request) } -> std::same_as<OpenFailure>;
    { system.disableVsync() } -> std::same_as<void>;
    { system.showWindow() } -> std::same_as<void>;
    { system.closeWindow() } -> std::same_as<CloseFailures>;
    { constSystem.hasContext() } -> std::same_as<bool>;
    { system.pumpEvent(window) } -> std::same_as<PumpResult>;
    { system.swapBuffers() } -> std::same_as<void>;
    { System::ticks() } -> std::same_as<std::uint32_t>;
    { System::sleep(milliseconds) } -> std::same_as<void>;
};

} // namespace cw
