// Tests of GLWindow's Win32 and WGL back end, run under Wine on an X server: the Win32
// calls each step makes, with what and in what order, the window class, window and pixel
// format it builds, which call failing is which failure and what is left after it, the
// display mode it asks for, the window procedure's handling of each message, its message
// boxes' styles and its ticks. The calls go through a table that logs them and can make
// any one of them fail. What the window core does with each step (the order of the steps,
// the texts and what is released before them, the fullscreen question, the key table, the
// active flag) is tested once, against a fake back end, in
// tests/platform/window_core_test.cpp.
#include "platform/gl_window.h"

#include <GL/gl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <timeapi.h>

#include <algorithm>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/message_box.h"
#include "platform/win32/message_box.h"
#include "platform/win32/win32_calls.h"
#include "tests/support/recording_boxes.h"

namespace cw {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using testing::error;
using testing::kQuestion;
using testing::RecordingBoxes;
using testing::shutdownError;

// What the logging table saw and what it is told to do.
std::vector<std::string> gLog;
std::set<std::string> gFailing;
LONG gDisplayResult = DISP_CHANGE_SUCCESSFUL;
DEVMODEA gRequestedMode{};
DWORD gDisplayFlags = 0;
PIXELFORMATDESCRIPTOR gChosenDescriptor{};
std::vector<WPARAM> gDefaultCommands;
std::vector<int> gSwapIntervals;

bool failing(const char* name) {
    gLog.emplace_back(name);
    return gFailing.count(name) != 0;
}

// Set-up calls fail without being made; release calls are made (nothing must leak into
// the next test) and then reported as failed.
Win32Calls loggingCalls() {
    Win32Calls calls = win32Calls();
    calls.getModuleHandle = [](LPCSTR name) {
        gLog.emplace_back("getModuleHandle");
        return win32Calls().getModuleHandle(name);
    };
    calls.registerClass = [](const WNDCLASSA* windowClass) -> ATOM {
        return failing("registerClass") ? 0 : win32Calls().registerClass(windowClass);
    };
    calls.unregisterClass = [](LPCSTR name, HINSTANCE instance) -> BOOL {
        const BOOL done = win32Calls().unregisterClass(name, instance);
        return failing("unregisterClass") ? FALSE : done;
    };
    calls.changeDisplaySettings = [](DEVMODEA* mode, DWORD flags) -> LONG {
        if (mode == nullptr) {
            gLog.emplace_back("restoreDisplayMode");
            return DISP_CHANGE_SUCCESSFUL;
        }
        gLog.emplace_back("changeDisplaySettings");
        gRequestedMode = *mode;
        gDisplayFlags = flags;
        return gDisplayResult;
    };
    calls.showCursor = [](BOOL show) {
        gLog.emplace_back(show ? "showCursor" : "hideCursor");
        return 0;
    };
    calls.adjustWindowRectEx = [](RECT* rect, DWORD style, BOOL menu, DWORD extendedStyle) {
        gLog.emplace_back("adjustWindowRectEx");
        return win32Calls().adjustWindowRectEx(rect, style, menu, extendedStyle);
    };
    calls.createWindowEx = [](DWORD extendedStyle, LPCSTR className, LPCSTR title, DWORD style,
                              int x, int y, int width, int height, HWND parent, HMENU menu,
                              HINSTANCE instance, LPVOID parameter) -> HWND {
        return failing("createWindowEx")
                   ? nullptr
                   : win32Calls().createWindowEx(extendedStyle, className, title, style, x, y,
                                                 width, height, parent, menu, instance, parameter);
    };
    calls.destroyWindow = [](HWND window) -> BOOL {
        const BOOL done = win32Calls().destroyWindow(window);
        return failing("destroyWindow") ? FALSE : done;
    };
    calls.getDC = [](HWND window) -> HDC {
        return failing("getDC") ? nullptr : win32Calls().getDC(window);
    };
    calls.releaseDC = [](HWND window, HDC dc) -> int {
        const int done = win32Calls().releaseDC(window, dc);
        return failing("releaseDC") ? 0 : done;
    };
    calls.choosePixelFormat = [](HDC dc, const PIXELFORMATDESCRIPTOR* descriptor) -> int {
        gChosenDescriptor = *descriptor;
        return failing("choosePixelFormat") ? 0 : win32Calls().choosePixelFormat(dc, descriptor);
    };
    calls.setPixelFormat = [](HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor) {
        return failing("setPixelFormat") ? FALSE
                                         : win32Calls().setPixelFormat(dc, format, descriptor);
    };
    calls.createContext = [](HDC dc) -> HGLRC {
        return failing("createContext") ? nullptr : win32Calls().createContext(dc);
    };
    calls.makeCurrent = [](HDC dc, HGLRC context) -> BOOL {
        if (context == nullptr) {
            const BOOL done = win32Calls().makeCurrent(dc, context);
            return failing("releaseCurrent") ? FALSE : done;
        }
        return failing("makeCurrent") ? FALSE : win32Calls().makeCurrent(dc, context);
    };
    calls.deleteContext = [](HGLRC context) -> BOOL {
        const BOOL done = win32Calls().deleteContext(context);
        return failing("deleteContext") ? FALSE : done;
    };
    calls.setSwapInterval = [](int interval) -> BOOL {
        gLog.emplace_back("setSwapInterval");
        gSwapIntervals.push_back(interval);
        // Asked of the new context, once it is current.
        EXPECT_NE(wglGetCurrentContext(), nullptr);
        return win32Calls().setSwapInterval(interval);
    };
    calls.showWindow = [](HWND window, int command) {
        gLog.emplace_back("showWindow");
        return win32Calls().showWindow(window, command);
    };
    calls.setForegroundWindow = [](HWND window) {
        gLog.emplace_back("setForegroundWindow");
        return win32Calls().setForegroundWindow(window);
    };
    calls.setFocus = [](HWND window) {
        gLog.emplace_back("setFocus");
        return win32Calls().setFocus(window);
    };
    calls.defWindowProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SYSCOMMAND) {
            gDefaultCommands.push_back(wParam);
        }
        return win32Calls().defWindowProc(window, message, wParam, lParam);
    };
    calls.postQuitMessage = [](int code) {
        gLog.emplace_back("postQuitMessage");
        win32Calls().postQuitMessage(code);
    };
    return calls;
}

const Win32Calls kLoggingCalls = loggingCalls();

const std::vector<std::string> kCreateCalls = {
    "getModuleHandle", "registerClass",     "adjustWindowRectEx", "createWindowEx",
    "getDC",           "choosePixelFormat", "setPixelFormat",     "createContext",
    "makeCurrent",     "setSwapInterval",   "showWindow",         "setForegroundWindow",
    "setFocus",
};
const std::vector<std::string> kDestroyCalls = {
    "releaseCurrent", "deleteContext", "releaseDC", "destroyWindow", "unregisterClass",
};

class GLWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        gLog.clear();
        gFailing.clear();
        gDisplayResult = DISP_CHANGE_SUCCESSFUL;
        gDefaultCommands.clear();
        gSwapIntervals.clear();
        window.setMessageBoxes(&boxes);
        window.system().setCalls(&kLoggingCalls);
    }
    void TearDown() override {
        gFailing.clear();
        window.destroy();
        window.setFullscreen(false);
        window.system().setCalls(nullptr);
        window.setMessageBoxes(nullptr);
        drainMessages();
    }

    bool create(bool fullscreen = false, int bits = 16) {
        return window.create("Cubewright", 640, 480, bits, fullscreen);
    }

    // Takes every waiting message off the queue; true if the quit message was among them.
    bool drainMessages() {
        bool quit = false;
        for (;;) {
            const PumpResult result = window.pumpEvent();
            if (result == PumpResult::None) {
                return quit;
            }
            quit = quit || result == PumpResult::Quit;
        }
    }

    static bool classRegistered() {
        WNDCLASSA found{};
        return GetClassInfoA(GetModuleHandleA(nullptr), "OpenGL", &found) != FALSE;
    }

    LRESULT send(UINT message, WPARAM wParam, LPARAM lParam = 0) {
        return SendMessageA(window.system().windowHandle(), message, wParam, lParam);
    }

    static std::vector<GLint> viewport() {
        std::vector<GLint> box(4);
        glGetIntegerv(GL_VIEWPORT, box.data());
        return box;
    }

    GLWindow& window = GLWindow::instance();
    RecordingBoxes boxes;
};

TEST_F(GLWindowTest, CreateMakesItsCallsInOrderAndLeavesACurrentContextOn640By480) {
    ASSERT_TRUE(create());
    EXPECT_EQ(gLog, kCreateCalls);
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_TRUE(window.isCreated());
    EXPECT_EQ(wglGetCurrentContext(), window.system().renderingContext());
    EXPECT_EQ(wglGetCurrentDC(), window.system().deviceContext());

    RECT client{};
    ASSERT_TRUE(GetClientRect(window.system().windowHandle(), &client));
    EXPECT_EQ(client.right - client.left, 640);
    EXPECT_EQ(client.bottom - client.top, 480);
    char title[32] = {};
    GetWindowTextA(window.system().windowHandle(), title, sizeof title);
    EXPECT_STREQ(title, "Cubewright");
    const auto style =
        static_cast<DWORD>(GetWindowLongPtrA(window.system().windowHandle(), GWL_STYLE));
    const DWORD windowed = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    EXPECT_EQ(style & windowed, windowed);
    const auto extended =
        static_cast<DWORD>(GetWindowLongPtrA(window.system().windowHandle(), GWL_EXSTYLE));
    EXPECT_EQ(extended & (WS_EX_APPWINDOW | WS_EX_WINDOWEDGE), WS_EX_APPWINDOW | WS_EX_WINDOWEDGE);

    WNDCLASSA found{};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "OpenGL", &found));
    EXPECT_EQ(found.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_OWNDC));
    EXPECT_EQ(found.lpfnWndProc, &SystemWindow::windowProc);
    EXPECT_EQ(found.hbrBackground, nullptr);
    EXPECT_EQ(found.lpszMenuName, nullptr);
    EXPECT_EQ(found.cbClsExtra, 0);
    EXPECT_EQ(found.cbWndExtra, 0);
    EXPECT_NE(found.hIcon, nullptr);
    EXPECT_NE(found.hCursor, nullptr);

    // Double-buffered RGBA at the asked depth with a 16-bit depth buffer, asked for once.
    EXPECT_EQ(gChosenDescriptor.nSize, sizeof(PIXELFORMATDESCRIPTOR));
    EXPECT_EQ(gChosenDescriptor.nVersion, 1);
    EXPECT_EQ(gChosenDescriptor.dwFlags,
              static_cast<DWORD>(PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER));
    EXPECT_EQ(gChosenDescriptor.iPixelType, PFD_TYPE_RGBA);
    EXPECT_EQ(gChosenDescriptor.cColorBits, 16);
    EXPECT_EQ(gChosenDescriptor.cDepthBits, 16);
    EXPECT_EQ(gChosenDescriptor.cAlphaBits + gChosenDescriptor.cAccumBits +
                  gChosenDescriptor.cStencilBits + gChosenDescriptor.cAuxBuffers,
              0);
    EXPECT_EQ(gChosenDescriptor.iLayerType, PFD_MAIN_PLANE);
    PIXELFORMATDESCRIPTOR got{};
    ASSERT_NE(DescribePixelFormat(window.system().deviceContext(),
                                  GetPixelFormat(window.system().deviceContext()), sizeof got,
                                  &got),
              0);
    EXPECT_NE(got.dwFlags & PFD_DOUBLEBUFFER, 0u);
    EXPECT_GE(got.cDepthBits, 16);

    // The GL state is set on this context.
    EXPECT_THAT(viewport(), ElementsAre(0, 0, 640, 480));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLWindowTest, DescriptorIsFilledByTheFirstCreateOnly) {
    ASSERT_TRUE(create(false, 16));
    window.destroy();
    ASSERT_TRUE(create(false, 32));
    EXPECT_EQ(gChosenDescriptor.cColorBits, 16);
}

TEST_F(GLWindowTest, DestroyReleasesInReverseOrderAndNullsTheHandles) {
    ASSERT_TRUE(create());
    const HWND hWnd = window.system().windowHandle();
    gLog.clear();
    window.destroy();
    EXPECT_EQ(gLog, kDestroyCalls);
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_EQ(window.system().windowHandle(), nullptr);
    EXPECT_EQ(window.system().deviceContext(), nullptr);
    EXPECT_EQ(window.system().renderingContext(), nullptr);
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_FALSE(classRegistered());
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

struct CreateFailure {
    const char* call;
    const char* text;
};

class CreateFailureTest : public GLWindowTest,
                          public ::testing::WithParamInterface<CreateFailure> {};

TEST_P(CreateFailureTest, ReportsItsTextAfterReleasingEverythingAndCanBeRetried) {
    gFailing.insert(GetParam().call);
    EXPECT_FALSE(create());
    EXPECT_THAT(boxes.shown, ElementsAre(error(GetParam().text)));
    EXPECT_FALSE(window.isCreated());
    EXPECT_EQ(window.system().windowHandle(), nullptr);
    EXPECT_EQ(FindWindowA("OpenGL", "Cubewright"), nullptr);
    EXPECT_FALSE(classRegistered());
    EXPECT_EQ(wglGetCurrentContext(), nullptr);

    gFailing.clear();
    boxes.shown.clear();
    EXPECT_TRUE(create());
    EXPECT_THAT(boxes.shown, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, CreateFailureTest,
    ::testing::Values(CreateFailure{"registerClass", "Failed To Register The Window Class."},
                      CreateFailure{"createWindowEx", "Window Creation Error."},
                      CreateFailure{"getDC", "Can't Create A GL Device Context."},
                      CreateFailure{"choosePixelFormat", "Can't Find A Suitable PixelFormat."},
                      CreateFailure{"setPixelFormat", "Can't Set The PixelFormat."},
                      CreateFailure{"createContext", "Can't Create A GL Rendering Context."},
                      CreateFailure{"makeCurrent", "Can't Activate The GL Rendering Context."}));

TEST_F(GLWindowTest, VsyncIsSwitchedOffOnTheNewContext) {
    ASSERT_TRUE(create());
    EXPECT_THAT(gSwapIntervals, ElementsAre(0));
}

struct DestroyFailure {
    const char* call;
    const char* text;
};

class DestroyFailureTest : public GLWindowTest,
                           public ::testing::WithParamInterface<DestroyFailure> {};

TEST_P(DestroyFailureTest, IsReportedAndEveryLaterStepStillRuns) {
    ASSERT_TRUE(create());
    gLog.clear();
    gFailing.insert(GetParam().call);
    window.destroy();
    EXPECT_THAT(boxes.shown, ElementsAre(shutdownError(GetParam().text)));
    EXPECT_EQ(gLog, kDestroyCalls);
    EXPECT_FALSE(window.isCreated());
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, DestroyFailureTest,
    ::testing::Values(DestroyFailure{"releaseCurrent", "Release Of DC And RC Failed."},
                      DestroyFailure{"deleteContext", "Release Rendering Context Failed."},
                      DestroyFailure{"releaseDC", "Release Device Context Failed."},
                      DestroyFailure{"destroyWindow", "Could Not Release m_hWnd."},
                      DestroyFailure{"unregisterClass", "Could Not Unregister Class."}));

TEST_F(GLWindowTest, FullscreenAsksForTheModeAndHidesTheCursorInAPopup) {
    ASSERT_TRUE(create(true));
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_EQ(gDisplayFlags, static_cast<DWORD>(CDS_FULLSCREEN));
    EXPECT_EQ(gRequestedMode.dmSize, sizeof(DEVMODEA));
    EXPECT_EQ(gRequestedMode.dmPelsWidth, 640u);
    EXPECT_EQ(gRequestedMode.dmPelsHeight, 480u);
    EXPECT_EQ(gRequestedMode.dmBitsPerPel, 16u);
    EXPECT_EQ(gRequestedMode.dmFields,
              static_cast<DWORD>(DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT));
    EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "changeDisplaySettings"), 1);
    EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "hideCursor"), 1);
    const auto style =
        static_cast<DWORD>(GetWindowLongPtrA(window.system().windowHandle(), GWL_STYLE));
    EXPECT_NE(style & WS_POPUP, 0u);
    EXPECT_EQ(style & WS_CAPTION, 0u);

    // The desktop mode and the cursor come back.
    gLog.clear();
    window.destroy();
    EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "restoreDisplayMode"), 1);
    EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "showCursor"), 1);
}

class RefusedDisplayModeTest : public GLWindowTest, public ::testing::WithParamInterface<LONG> {};

TEST_P(RefusedDisplayModeTest, IsAskedAboutAndAnsweredYesGoesOnInAFramedWindow) {
    gDisplayResult = GetParam();
    boxes.answer = MessageAnswer::Yes;
    ASSERT_TRUE(create(true));
    EXPECT_THAT(boxes.shown, ElementsAre(kQuestion));
    const auto style =
        static_cast<DWORD>(GetWindowLongPtrA(window.system().windowHandle(), GWL_STYLE));
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
    RECT client{};
    ASSERT_TRUE(GetClientRect(window.system().windowHandle(), &client));
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
}

INSTANTIATE_TEST_SUITE_P(EveryRefusal, RefusedDisplayModeTest,
                         ::testing::Values(DISP_CHANGE_BADMODE, DISP_CHANGE_FAILED));

TEST_F(GLWindowTest, KeyMessagesSetAndClearTheVirtualKeyEntry) {
    ASSERT_TRUE(create());
    EXPECT_EQ(send(WM_KEYDOWN, 'Q'), 0);
    EXPECT_TRUE(window.keys()['Q']);
    send(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_TRUE(window.keys()[VK_ESCAPE]);
    EXPECT_EQ(send(WM_KEYUP, 'Q'), 0);
    EXPECT_FALSE(window.keys()['Q']);
    EXPECT_TRUE(window.keys()[VK_ESCAPE]);
    send(WM_KEYDOWN, 0xFF);
    EXPECT_TRUE(window.keys()[0xFF]);

    // A code past the table is never written, nor taken for the key its low bits name.
    const KeyTable before = window.keys();
    const WPARAM pastTheTable = (WPARAM{1} << 32) | 'M';
    EXPECT_EQ(SystemWindow::windowProc(window.system().windowHandle(), WM_KEYDOWN, pastTheTable, 0),
              0);
    EXPECT_EQ(window.keys(), before);
}

TEST_F(GLWindowTest, MinimiseClearsTheActiveFlagRestoreAndFocusLossDoNot) {
    ASSERT_TRUE(create());
    EXPECT_EQ(send(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, TRUE)), 0);
    EXPECT_FALSE(window.isActive());
    send(WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, FALSE));
    EXPECT_TRUE(window.isActive());
    send(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, FALSE));
    EXPECT_TRUE(window.isActive());
}

TEST_F(GLWindowTest, SizeMessagesSetTheViewport) {
    ASSERT_TRUE(create());
    EXPECT_EQ(send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 240)), 0);
    EXPECT_THAT(viewport(), ElementsAre(0, 0, 320, 240));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLWindowTest, CloseRequestPostsTheQuitMessageThatEndsThePump) {
    ASSERT_TRUE(create());
    drainMessages();
    gLog.clear();
    EXPECT_EQ(send(WM_CLOSE, 0), 0);
    EXPECT_THAT(gLog, ElementsAre("postQuitMessage"));
    EXPECT_TRUE(IsWindow(window.system().windowHandle()));
    EXPECT_TRUE(drainMessages());
}

TEST_F(GLWindowTest, ScreenSaverAndMonitorPowerAreSwallowedOtherCommandsAreNot) {
    ASSERT_TRUE(create());
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_SCREENSAVE), 0);
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);
    EXPECT_THAT(gDefaultCommands, IsEmpty());
    send(WM_SYSCOMMAND, SC_RESTORE);
    EXPECT_THAT(gDefaultCommands, ElementsAre(SC_RESTORE));
}

TEST_F(GLWindowTest, PumpDispatchesOneMessageAtATime) {
    ASSERT_TRUE(create());
    drainMessages();
    EXPECT_EQ(window.pumpEvent(), PumpResult::None);
    PostMessageA(window.system().windowHandle(), WM_KEYUP, 'A', 0);
    PostMessageA(window.system().windowHandle(), WM_KEYDOWN, 'S', 0);
    window.keys()['A'] = true;
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_FALSE(window.keys()['A']);
    EXPECT_FALSE(window.keys()['S']);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_TRUE(window.keys()['S']);
}

TEST(Win32MessageBox, StylesCarryTheButtonsAndTheIcon) {
    EXPECT_EQ(messageBoxStyle(MessageButtons::Ok, MessageIcon::Exclamation),
              static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(messageBoxStyle(MessageButtons::Ok, MessageIcon::Information),
              static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(messageBoxStyle(MessageButtons::Ok, MessageIcon::Stop),
              static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(messageBoxStyle(MessageButtons::YesNo, MessageIcon::Exclamation),
              static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
}

TEST(Win32MessageBox, OnlyYesFromAQuestionAnswersYes) {
    EXPECT_EQ(messageBoxAnswer(MessageButtons::YesNo, IDYES), MessageAnswer::Yes);
    EXPECT_EQ(messageBoxAnswer(MessageButtons::YesNo, IDNO), MessageAnswer::No);
    // MessageBoxA returns 0 when it could not show the box: that declines.
    EXPECT_EQ(messageBoxAnswer(MessageButtons::YesNo, 0), MessageAnswer::No);
    EXPECT_EQ(messageBoxAnswer(MessageButtons::Ok, IDOK), MessageAnswer::Ok);
}

TEST(Win32Ticks, CountSingleMillisecondsAcrossASleep) {
    // As WinMain holds it for the program.
    ASSERT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    const std::uint32_t start = GLWindow::ticks();
    GLWindow::sleep(30);
    const std::uint32_t elapsed = GLWindow::ticks() - start;
    EXPECT_GE(elapsed, 29u);
    EXPECT_LT(elapsed, 1000u);

    // Twenty 1 ms sleeps. A count that moves by whole 16 ms system ticks would step by 0 or
    // about 16 each time; a fine one steps by a few milliseconds. On a busy machine some
    // sleeps last longer, so the test asks for fine steps, not for every step to be one.
    std::uint32_t previous = GLWindow::ticks();
    int fineSteps = 0;
    for (int i = 0; i < 20; ++i) {
        GLWindow::sleep(1);
        const std::uint32_t now = GLWindow::ticks();
        if (now - previous >= 1 && now - previous < 8) {
            ++fineSteps;
        }
        previous = now;
    }
    EXPECT_GE(fineSteps, 1);
    timeEndPeriod(1);
}

} // namespace
} // namespace cw
