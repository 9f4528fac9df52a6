// GLWindow on Win32 and WGL; see gl_window.h. create and destroy make their calls through
// the Win32Calls table, in the classic order of setting up a GL window.
#include "platform/win32/gl_window.h"

#include <GL/gl.h>
#include <timeapi.h>

#include "platform/gl_setup.h"
#include "platform/win32/win32_calls.h"
#include "platform/window_messages.h"

namespace cw {

namespace {

constexpr const char* kClassName = "OpenGL";

// Filled by the first create, from its colour depth, and reused unchanged after that.
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

GLWindow& GLWindow::instance() {
    static GLWindow window;
    return window;
}

GLWindow::GLWindow() : m_calls(&win32Calls()) {}

GLWindow::~GLWindow() {
    destroy();
    if (m_exitHook != nullptr) {
        m_exitHook();
    }
}

bool GLWindow::create(const char* title, int width, int height, int bits, bool fullscreen) {
    // A window still open would otherwise be leaked; callers normally destroy first.
    if (m_classRegistered || m_hWnd != nullptr || m_hRC != nullptr) {
        destroy();
    }
    // Key-up messages of the old window are lost with it, so start with no key held.
    m_keys.fill(false);

    RECT rect{0, 0, width, height};
    m_fullscreen = fullscreen;

    m_hInstance = calls().getModuleHandle(nullptr);
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = &GLWindow::windowProc;
    windowClass.hInstance = m_hInstance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (calls().registerClass(&windowClass) == 0) {
        m_messages.error("Failed To Register The Window Class.");
        return false;
    }
    m_classRegistered = true;

    if (m_fullscreen) {
        DEVMODEA mode{};
        mode.dmSize = sizeof(DEVMODEA);
        mode.dmPelsWidth = static_cast<DWORD>(width);
        mode.dmPelsHeight = static_cast<DWORD>(height);
        mode.dmBitsPerPel = static_cast<DWORD>(bits);
        mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
        if (calls().changeDisplaySettings(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
            if (m_messages.askWindowedInstead()) {
                m_fullscreen = false;
            } else {
                // Nothing else was built; the class goes with the exit-time destroy.
                m_messages.programWillClose();
                return false;
            }
        }
    }

    DWORD extendedStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    DWORD style = WS_OVERLAPPEDWINDOW;
    if (m_fullscreen) {
        extendedStyle = WS_EX_APPWINDOW;
        style = WS_POPUP;
        calls().showCursor(FALSE);
    }
    calls().adjustWindowRectEx(&rect, style, FALSE, extendedStyle);

    // The window is active until a message says otherwise.
    m_active = true;
    m_hWnd = calls().createWindowEx(
        extendedStyle, kClassName, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, m_hInstance, nullptr);
    if (m_hWnd == nullptr) {
        return fail("Window Creation Error.");
    }

    if (!gPixelFormatFilled) {
        fillPixelFormat(bits);
    }

    m_hDC = calls().getDC(m_hWnd);
    if (m_hDC == nullptr) {
        return fail("Can't Create A GL Device Context.");
    }
    const int format = calls().choosePixelFormat(m_hDC, &gPixelFormat);
    if (format == 0) {
        return fail("Can't Find A Suitable PixelFormat.");
    }
    if (!calls().setPixelFormat(m_hDC, format, &gPixelFormat)) {
        return fail("Can't Set The PixelFormat.");
    }
    m_hRC = calls().createContext(m_hDC);
    if (m_hRC == nullptr) {
        return fail("Can't Create A GL Rendering Context.");
    }
    if (!calls().makeCurrent(m_hDC, m_hRC)) {
        return fail("Can't Activate The GL Rendering Context.");
    }
    m_contextCurrent = true;

    calls().showWindow(m_hWnd, SW_SHOW);
    calls().setForegroundWindow(m_hWnd);
    calls().setFocus(m_hWnd);
    resizeViewport(width, height);
    if (!initGLState()) {
        return fail("Initialization Failed.");
    }
    return true;
}

void GLWindow::destroy() {
    if (m_fullscreen) {
        // Back to the desktop mode and cursor before anything is released.
        calls().changeDisplaySettings(nullptr, 0);
        calls().showCursor(TRUE);
    }
    if (m_hRC != nullptr) {
        // A context that never became current is not released from the thread: there is
        // nothing to release, and WGL would report a failure for it.
        if (m_contextCurrent && !calls().makeCurrent(nullptr, nullptr)) {
            m_messages.shutdownError("Release Of DC And RC Failed.");
        }
        m_contextCurrent = false;
        if (!calls().deleteContext(m_hRC)) {
            m_messages.shutdownError("Release Rendering Context Failed.");
        }
        m_hRC = nullptr;
    }
    // Each handle is dropped once released, or once its release has failed and been
    // reported: a second destroy (after a failed re-creation) must not release it again.
    if (m_hDC != nullptr) {
        if (calls().releaseDC(m_hWnd, m_hDC) == 0) {
            m_messages.shutdownError("Release Device Context Failed.");
        }
        m_hDC = nullptr;
    }
    if (m_hWnd != nullptr) {
        if (!calls().destroyWindow(m_hWnd)) {
            m_messages.shutdownError("Could Not Release m_hWnd.");
        }
        m_hWnd = nullptr;
    }
    if (m_classRegistered) {
        if (!calls().unregisterClass(kClassName, m_hInstance)) {
            m_messages.shutdownError("Could Not Unregister Class.");
        }
        m_classRegistered = false;
        m_hInstance = nullptr;
    }
}

PumpResult GLWindow::pumpEvent() {
    MSG message;
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        return PumpResult::None;
    }
    if (message.message == WM_QUIT) {
        m_quitCode = static_cast<int>(message.wParam);
        return PumpResult::Quit;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
    return PumpResult::Dispatched;
}

LRESULT CALLBACK GLWindow::windowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return instance().handleMessage(hWnd, message, wParam, lParam);
}

LRESULT GLWindow::handleMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        // The high word is non-zero only while the window is minimised; losing the focus
        // alone keeps the program running.
        m_active = HIWORD(wParam) == 0;
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
        if (wParam < m_keys.size()) {
            m_keys[wParam] = message == WM_KEYDOWN;
        }
        return 0;
    case WM_SIZE:
        resizeViewport(LOWORD(lParam), HIWORD(lParam));
        return 0;
    default:
        break;
    }
    return calls().defWindowProc(hWnd, message, wParam, lParam);
}

void GLWindow::resizeViewport(int width, int height) {
    setViewportAndProjection(width, height);
}

bool GLWindow::initGLState() {
    return setInitialGLState();
}

void GLWindow::swapBuffers() {
    if (m_hDC != nullptr) {
        SwapBuffers(m_hDC);
    }
}

std::uint32_t GLWindow::ticks() {
    // GetTickCount moves in steps of the system tick, about 16 ms: a frame that must last
    // 17 ms would then last two steps, 31 ms. timeGetTime counts single milliseconds while
    // the program holds the 1 ms timer period (WinMain does).
    return timeGetTime();
}

void GLWindow::sleep(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

void GLWindow::setMessageBoxes(MessageBoxes* boxes) {
    m_messages.setBoxes(boxes);
}

void GLWindow::setWin32Calls(const Win32Calls* calls) {
    m_calls = calls != nullptr ? calls : &win32Calls();
}

bool GLWindow::fail(const char* text) {
    destroy();
    m_messages.error(text);
    return false;
}

} // namespace cw
