// GLWindow's system half on Win32 and WGL; see system_window.h. Every call that can fail
// or has to be seen goes through the Win32Calls table.
#include "platform/win32/system_window.h"

#include <timeapi.h>
#include <windowsx.h>

#include "platform/gl_setup.h"
#include "platform/gl_window.h"
#include "platform/win32/win32_calls.h"

namespace cw {

namespace {

constexpr const char* kClassName = "OpenGL";

// Filled by the first window opened, from its colour depth, and reused unchanged after that.
PIXELFORMATDESCRIPTOR gPixelFormat{};
bool gPixelFormatFilled = false;

void fillPixelFormat(int bits) {
    gPixelFormat = PIXELFORMATDESCRIPTOR{};
    gPixelFormat.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    gPixelFormat.nVersion = 1;
    gPixelFormat.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    gPixelFormat.iPixelType = PFD_TYPE_RGBA;
    gPixelFormat.cColorBits = static_cast<BYTE>(bits);
    gPixelFormat.cDepthBits = static_cast<BYTE>(kDepthBits);
    gPixelFormat.iLayerType = PFD_MAIN_PLANE;
    gPixelFormatFilled = true;
}

} // namespace

SystemWindow::SystemWindow() : m_calls(&win32Calls()) {}

bool SystemWindow::registerClass() {
    m_hInstance = calls().getModuleHandle(nullptr);
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = &SystemWindow::windowProc;
    windowClass.hInstance = m_hInstance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return calls().registerClass(&windowClass) != 0;
}

bool SystemWindow::unregisterClass() {
    const bool done = calls().unregisterClass(kClassName, m_hInstance) != FALSE;
    m_hInstance = nullptr;
    return done;
}

bool SystemWindow::switchDisplayMode(int width, int height, int bits) {
    DEVMODEA mode{};
    mode.dmSize = sizeof(DEVMODEA);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(bits);
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return calls().changeDisplaySettings(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void SystemWindow::restoreDisplayMode() {
    calls().changeDisplaySettings(nullptr, 0);
}

void SystemWindow::showCursor(bool shown) {
    calls().showCursor(shown ? TRUE : FALSE);
}

OpenFailure SystemWindow::openWindow(const WindowRequest& request) {
    DWORD extendedStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    DWORD style = WS_OVERLAPPEDWINDOW;
    if (request.fullscreen) {
        extendedStyle = WS_EX_APPWINDOW;
        style = WS_POPUP;
    }
    RECT rect{0, 0, request.width, request.height};
    calls().adjustWindowRectEx(&rect, style, FALSE, extendedStyle);

    m_hWnd = calls().createWindowEx(
        extendedStyle, kClassName, request.title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, m_hInstance, nullptr);
    if (m_hWnd == nullptr) {
        return OpenFailure::Window;
    }

    if (!gPixelFormatFilled) {
        fillPixelFormat(request.bits);
    }
    m_hDC = calls().getDC(m_hWnd);
    if (m_hDC == nullptr) {
        return OpenFailure::DeviceContext;
    }
    const int format = calls().choosePixelFormat(m_hDC, &gPixelFormat);
    if (format == 0) {
        return OpenFailure::ChoosePixelFormat;
    }
    if (!calls().setPixelFormat(m_hDC, format, &gPixelFormat)) {
        return OpenFailure::SetPixelFormat;
    }
    m_hRC = calls().createContext(m_hDC);
    if (m_hRC == nullptr) {
        return OpenFailure::CreateContext;
    }
    if (!calls().makeCurrent(m_hDC, m_hRC)) {
        return OpenFailure::MakeCurrent;
    }
    m_contextCurrent = true;
    return OpenFailure::None;
}

void SystemWindow::disableVsync() {
    // A driver without the swap-control extension, or one that forces vsync, keeps its own;
    // that is harmless.
    calls().setSwapInterval(0);
}

void SystemWindow::showWindow() {
    calls().showWindow(m_hWnd, SW_SHOW);
    calls().setForegroundWindow(m_hWnd);
    calls().setFocus(m_hWnd);
}

CloseFailures SystemWindow::closeWindow() {
    CloseFailures failures;
    if (m_hRC != nullptr) {
        // A context that never became current is not released from the thread: there is
        // nothing to release, and WGL would report a failure for it.
        failures.releaseCurrent = m_contextCurrent && !calls().makeCurrent(nullptr, nullptr);
        m_contextCurrent = false;
        failures.deleteContext = !calls().deleteContext(m_hRC);
        m_hRC = nullptr;
    }
    // Each handle is dropped once released, or once its release has failed and been
    // reported: a second destroy (after a failed re-creation) must not release it again.
    if (m_hDC != nullptr) {
        failures.releaseDC = calls().releaseDC(m_hWnd, m_hDC) == 0;
        m_hDC = nullptr;
    }
    if (m_hWnd != nullptr) {
        failures.destroyWindow = !calls().destroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
    return failures;
}

PumpResult SystemWindow::pumpEvent(GLWindow& /*window*/) {
    // The window procedure reaches the window through its singleton, as Windows calls it
    // from inside DispatchMessageA (and from the window calls that send messages).
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        return PumpResult::None;
    }
    if (message.message == WM_QUIT) {
        return PumpResult::Quit;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return PumpResult::Dispatched;
}

LRESULT CALLBACK SystemWindow::windowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    GLWindow& window = GLWindow::instance();
    return window.system().handleMessage(window, hWnd, message, wParam, lParam);
}

LRESULT SystemWindow::handleMessage(GLWindow& window, HWND hWnd, UINT message, WPARAM wParam,
                                    LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        // The high word is non-zero only while the window is minimised; losing the focus
        // alone keeps the program running.
        window.setActive(HIWORD(wParam) == 0);
        return 0;
    case WM_SYSCOMMAND:
        // Neither the screen saver nor monitor power-saving may start while the cubes run.
        if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_MONITORPOWER) {
            return 0;
        }
        break;
    case WM_CLOSE:
        // The main loop ends on the quit message.
        calls().postQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
        // Virtual-key codes are below 256; anything else would index past the table.
        // Auto-repeat re-sends key-down, which sets a cleared one-shot entry again.
        if (wParam < window.keys().size()) {
            window.keyEvent(static_cast<int>(wParam), message == WM_KEYDOWN);
        }
        return 0;
    case WM_SIZE:
        window.resizeViewport(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        // The window keeps the mouse while the button is held, so the release comes even
        // outside it, with its position there (which may be negative).
        SetCapture(hWnd);
        window.pointerEvent(PointerEvent::Kind::Press, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if ((wParam & MK_LBUTTON) != 0) {
            window.pointerEvent(PointerEvent::Kind::Move, GET_X_LPARAM(lParam),
                                GET_Y_LPARAM(lParam));
        }
        return 0;
    case WM_LBUTTONUP:
        window.pointerEvent(PointerEvent::Kind::Release, GET_X_LPARAM(lParam),
                            GET_Y_LPARAM(lParam));
        ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        // Another window took the mouse: a drag ends where it is. After a release this
        // finds no drag going on.
        window.pointerEvent(PointerEvent::Kind::Cancel, 0, 0);
        return 0;
    default:
        break;
    }
    return calls().defWindowProc(hWnd, message, wParam, lParam);
}

void SystemWindow::swapBuffers() {
    if (m_hDC != nullptr) {
        SwapBuffers(m_hDC);
    }
}

std::uint32_t SystemWindow::ticks() {
    // GetTickCount moves in steps of the system tick, about 16 ms: a frame that must last
    // 17 ms would then last two steps, 31 ms. timeGetTime counts single milliseconds while
    // the program holds the 1 ms timer period.
    return timeGetTime();
}

void SystemWindow::sleep(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

void SystemWindow::setCalls(const Win32Calls* calls) {
    m_calls = calls != nullptr ? calls : &win32Calls();
}

} // namespace cw
