// Tests of the window core, GLWindow's shared half, against a back end with no system
// behind it (fake_system_window.h): the order of create's and destroy's steps, every
// failure text and what is released before its box, the fullscreen question, and what
// the back end's events do to the key table, the active flag, the client size and the
// viewport. These are tested here only. Each back end's own tests (platform_tests on SDL,
// win32_platform_tests under Wine) test what its system does for each step: the calls it
// makes and with what, which failing call is which failure, which system event is which
// call into the core; and the GL set-up on a real context.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gl_setup.h"
#include "platform/gl_window.h"
#include "platform/message_box.h"
#include "tests/support/recording_boxes.h"

namespace cw {

// The fake's calls that need the whole GLWindow.

OpenFailure SystemWindow::openWindow(const WindowRequest& request) {
    log.push_back(std::string("openWindow ") + request.title + " " +
                  size(request.width, request.height, request.bits) +
                  (request.fullscreen ? " fullscreen" : " windowed"));
    while (!eventsWhileOpening.empty()) {
        deliver(eventsWhileOpening.front(), GLWindow::instance());
        eventsWhileOpening.pop_front();
    }
    m_open = openFailure == OpenFailure::None;
    return openFailure;
}

PumpResult SystemWindow::pumpEvent(GLWindow& window) {
    if (events.empty()) {
        return PumpResult::None;
    }
    const FakeEvent event = events.front();
    events.pop_front();
    if (event.kind == FakeEvent::Kind::Quit) {
        return PumpResult::Quit;
    }
    deliver(event, window);
    return PumpResult::Dispatched;
}

void SystemWindow::deliver(const FakeEvent& event, GLWindow& window) {
    switch (event.kind) {
    case FakeEvent::Kind::Key:
        window.keyEvent(event.first, event.flag);
        break;
    case FakeEvent::Kind::Active:
        window.setActive(event.flag);
        break;
    case FakeEvent::Kind::Resize:
        window.resizeViewport(event.first, event.second);
        break;
    case FakeEvent::Kind::Quit:
        break;
    }
}

// The GL set-up, which needs a real context (tested in platform_tests), only logged here.

void setViewportAndProjection(int width, int height) {
    GLWindow::instance().system().log.push_back("viewport " + std::to_string(width) + "x" +
                                                std::to_string(height));
}

void setInitialGLState() {
    GLWindow::instance().system().log.emplace_back("initialGLState");
}

// The system's own boxes: counted, and a question is declined as when none can be shown.
int g_systemBoxes = 0;

MessageAnswer SystemMessageBoxes::show(const char* /*caption*/, const char* /*text*/,
                                       MessageButtons buttons, MessageIcon /*icon*/) {
    ++g_systemBoxes;
    return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
}

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

using testing::error;
using testing::kQuestion;
using testing::RecordingBoxes;
using testing::Shown;
using testing::shutdownError;

using Log = std::vector<std::string>;

const Shown kProgramWillClose = {"ERROR", "Program Will Now Close.", MessageButtons::Ok,
                                 MessageIcon::Stop};

// Records every box like RecordingBoxes, and writes its text into the system's log too.
class LoggingBoxes : public RecordingBoxes {
public:
    explicit LoggingBoxes(Log& log) : log_(log) {}
    MessageAnswer show(const char* caption, const char* text, MessageButtons buttons,
                       MessageIcon icon) override {
        log_.push_back(std::string("box ") + text);
        return RecordingBoxes::show(caption, text, buttons, icon);
    }

private:
    Log& log_;
};

const Log kOpenWindowed = {"registerClass",    "openWindow Cubewright 640x480x16 windowed",
                           "disableVsync",     "showWindow",
                           "viewport 640x480", "initialGLState"};
const Log kClose = {"closeWindow", "unregisterClass"};

Log joined(const Log& first, const Log& second) {
    Log all = first;
    all.insert(all.end(), second.begin(), second.end());
    return all;
}

class WindowCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        system = SystemWindow{};
        window.setMessageBoxes(&boxes);
    }
    void TearDown() override {
        system = SystemWindow{};
        window.destroy();
        window.setMessageBoxes(nullptr);
    }

    bool create(bool fullscreen = false) {
        return window.create("Cubewright", 640, 480, 16, fullscreen);
    }

    // What the system was asked from here on.
    Log takeLog() {
        Log log = system.log;
        system.log.clear();
        return log;
    }

    GLWindow& window = GLWindow::instance();
    SystemWindow& system = window.system();
    LoggingBoxes boxes{system.log};
};

// --- Create and destroy ---------------------------------------------------------------

TEST_F(WindowCoreTest, CreateTakesItsStepsInOrderAndDestroyUndoesThem) {
    ASSERT_TRUE(create());
    EXPECT_EQ(takeLog(), kOpenWindowed);
    EXPECT_TRUE(window.isCreated());
    EXPECT_TRUE(window.isActive());
    EXPECT_FALSE(window.isFullscreen());

    window.destroy();
    EXPECT_EQ(takeLog(), kClose);
    EXPECT_FALSE(window.isCreated());
    // Twice, or with nothing open, is harmless: nothing is released or reported again.
    window.destroy();
    EXPECT_THAT(takeLog(), IsEmpty());
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(WindowCoreTest, CreateOverAnOpenWindowClosesItFirst) {
    ASSERT_TRUE(create(true));
    takeLog();
    // The fullscreen toggle: the desktop mode comes back before the new window opens.
    ASSERT_TRUE(create(false));
    EXPECT_EQ(takeLog(),
              joined({"restoreDisplayMode", "showCursor", "closeWindow", "unregisterClass"},
                     kOpenWindowed));
    EXPECT_FALSE(window.isFullscreen());
    EXPECT_TRUE(window.isCreated());
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(WindowCoreTest, FullscreenSwitchesTheModeAndHidesTheCursorUntilDestroy) {
    ASSERT_TRUE(create(true));
    EXPECT_EQ(takeLog(), Log({"registerClass", "switchDisplayMode 640x480x16", "hideCursor",
                              "openWindow Cubewright 640x480x16 fullscreen", "disableVsync",
                              "showWindow", "viewport 640x480", "initialGLState"}));
    EXPECT_TRUE(window.isFullscreen());
    EXPECT_THAT(boxes.shown, IsEmpty());

    // The desktop mode and the cursor come back before anything is released.
    window.destroy();
    EXPECT_EQ(takeLog(), joined({"restoreDisplayMode", "showCursor"}, kClose));
}

// --- The fullscreen question ----------------------------------------------------------

TEST_F(WindowCoreTest, UnavailableModeAnsweredYesGoesOnInAWindow) {
    system.displayModeAvailable = false;
    boxes.answer = MessageAnswer::Yes;
    ASSERT_TRUE(create(true));
    EXPECT_THAT(boxes.shown, ElementsAre(kQuestion));
    EXPECT_EQ(takeLog(), Log({"registerClass", "switchDisplayMode 640x480x16",
                              "box " + kQuestion.text, "openWindow Cubewright 640x480x16 windowed",
                              "disableVsync", "showWindow", "viewport 640x480", "initialGLState"}));
    EXPECT_FALSE(window.isFullscreen());

    // No mode was switched and no cursor hidden: none is put back.
    window.destroy();
    EXPECT_EQ(takeLog(), kClose);
}

TEST_F(WindowCoreTest, UnavailableModeAnsweredNoReleasesEverythingThenSaysTheProgramCloses) {
    system.displayModeAvailable = false;
    boxes.answer = MessageAnswer::No;
    EXPECT_FALSE(create(true));
    EXPECT_THAT(boxes.shown, ElementsAre(kQuestion, kProgramWillClose));
    EXPECT_EQ(takeLog(), Log({"registerClass", "switchDisplayMode 640x480x16",
                              "box " + kQuestion.text, "restoreDisplayMode", "showCursor",
                              "closeWindow", "unregisterClass", "box Program Will Now Close."}));
    EXPECT_FALSE(window.isCreated());

    // The exit-time destroy finds nothing left; a later create starts afresh.
    window.destroy();
    EXPECT_THAT(takeLog(), IsEmpty());
    boxes.shown.clear();
    window.setFullscreen(false);
    EXPECT_TRUE(create());
    EXPECT_EQ(takeLog(), kOpenWindowed);
    EXPECT_THAT(boxes.shown, IsEmpty());
}

// --- Failures of create ---------------------------------------------------------------

TEST_F(WindowCoreTest, RegisterFailureIsReportedWithNothingToRelease) {
    system.registerFails = true;
    EXPECT_FALSE(create(true));
    EXPECT_THAT(boxes.shown, ElementsAre(error("Failed To Register The Window Class.")));
    EXPECT_EQ(takeLog(), Log({"registerClass", "box Failed To Register The Window Class."}));
    EXPECT_FALSE(window.isCreated());

    window.destroy();
    EXPECT_THAT(takeLog(), IsEmpty());
    system.registerFails = false;
    EXPECT_TRUE(create());
}

struct OpenFailureCase {
    OpenFailure failure;
    const char* text;
};

class OpenFailureTest : public WindowCoreTest,
                        public ::testing::WithParamInterface<OpenFailureCase> {};

TEST_P(OpenFailureTest, IsReportedAfterEverythingIsReleasedAndCanBeRetried) {
    const std::string box = std::string("box ") + GetParam().text;
    system.openFailure = GetParam().failure;
    EXPECT_FALSE(create());
    EXPECT_THAT(boxes.shown, ElementsAre(error(GetParam().text)));
    EXPECT_EQ(takeLog(), Log({"registerClass", "openWindow Cubewright 640x480x16 windowed",
                              "closeWindow", "unregisterClass", box}));
    EXPECT_FALSE(window.isCreated());
    window.destroy();
    EXPECT_THAT(takeLog(), IsEmpty());

    // In fullscreen the desktop mode and the cursor come back too, before the box.
    EXPECT_FALSE(create(true));
    EXPECT_EQ(takeLog(), Log({"registerClass", "switchDisplayMode 640x480x16", "hideCursor",
                              "openWindow Cubewright 640x480x16 fullscreen", "restoreDisplayMode",
                              "showCursor", "closeWindow", "unregisterClass", box}));

    system.openFailure = OpenFailure::None;
    boxes.shown.clear();
    EXPECT_TRUE(create());
    EXPECT_EQ(takeLog(), kOpenWindowed);
    EXPECT_THAT(boxes.shown, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryStep, OpenFailureTest,
    ::testing::Values(
        OpenFailureCase{OpenFailure::Window, "Window Creation Error."},
        OpenFailureCase{OpenFailure::DeviceContext, "Can't Create A GL Device Context."},
        OpenFailureCase{OpenFailure::ChoosePixelFormat, "Can't Find A Suitable PixelFormat."},
        OpenFailureCase{OpenFailure::SetPixelFormat, "Can't Set The PixelFormat."},
        OpenFailureCase{OpenFailure::CreateContext, "Can't Create A GL Rendering Context."},
        OpenFailureCase{OpenFailure::MakeCurrent, "Can't Activate The GL Rendering Context."}));

// --- Failures of destroy --------------------------------------------------------------

TEST_F(WindowCoreTest, EachReleaseFailureIsReportedInOrderAndTheRestStillRuns) {
    const std::vector<Shown> kInOrder = {
        shutdownError("Release Of DC And RC Failed."),
        shutdownError("Release Rendering Context Failed."),
        shutdownError("Release Device Context Failed."),
        shutdownError("Could Not Release m_hWnd."),
        shutdownError("Could Not Unregister Class."),
    };
    const auto failOnly = [&](int which) {
        system.closeFailures = {which == 0, which == 1, which == 2, which == 3};
        system.unregisterFails = which == 4;
    };
    for (int which = 0; which < 5; ++which) {
        SCOPED_TRACE(which);
        ASSERT_TRUE(create());
        takeLog();
        boxes.shown.clear();
        failOnly(which);
        window.destroy();
        EXPECT_THAT(boxes.shown, ElementsAre(kInOrder[static_cast<std::size_t>(which)]));
        // The release steps' failures are reported as soon as they are known.
        const std::string box = "box " + kInOrder[static_cast<std::size_t>(which)].text;
        EXPECT_EQ(takeLog(), which < 4 ? Log({"closeWindow", box, "unregisterClass"})
                                       : Log({"closeWindow", "unregisterClass", box}));
        EXPECT_FALSE(window.isCreated());
        // Nothing is released or reported twice.
        window.destroy();
        EXPECT_THAT(takeLog(), IsEmpty());
        failOnly(-1);
    }

    ASSERT_TRUE(create());
    boxes.shown.clear();
    system.closeFailures = {true, true, true, true};
    system.unregisterFails = true;
    window.destroy();
    EXPECT_THAT(boxes.shown, ElementsAreArray(kInOrder));
}

// --- Events ---------------------------------------------------------------------------

FakeEvent key(int code, bool down) {
    return {FakeEvent::Kind::Key, code, 0, down};
}

FakeEvent active(bool isActive) {
    return {FakeEvent::Kind::Active, 0, 0, isActive};
}

TEST_F(WindowCoreTest, KeyEventsSetAndClearTheirEntryOnly) {
    ASSERT_TRUE(create());
    system.events = {key('Q', true), key(0x1B, true), key('Q', false), key(0xFF, true)};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    }
    KeyTable expected{};
    expected[0x1B] = true;
    expected[0xFF] = true;
    EXPECT_EQ(window.keys(), expected);

    // Codes outside the table are never written, and change nothing.
    system.events = {key(-1, true), key(256, true), key(1 << 20, true)};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    }
    EXPECT_EQ(window.keys(), expected);
    EXPECT_EQ(window.pumpEvent(), PumpResult::None);
}

TEST_F(WindowCoreTest, QuitAndResizeReachTheLoopAndTheViewport) {
    ASSERT_TRUE(create());
    takeLog();
    // Pointer events are given in the client area as the last resize left it.
    EXPECT_EQ(window.clientWidth(), 640);
    EXPECT_EQ(window.clientHeight(), 480);
    system.events = {{FakeEvent::Kind::Resize, 320, 0}, {FakeEvent::Kind::Quit}};
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_EQ(takeLog(), Log({"viewport 320x0"}));
    EXPECT_EQ(window.clientWidth(), 320);
    EXPECT_EQ(window.clientHeight(), 0);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Quit);
    EXPECT_EQ(window.pumpEvent(), PumpResult::None);
}

TEST_F(WindowCoreTest, MinimiseAndRestoreEventsSetTheActiveFlag) {
    ASSERT_TRUE(create());
    system.events = {active(false), active(false), active(true), active(true)};
    const bool expected[] = {false, false, true, true};
    for (const bool isActive : expected) {
        EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
        EXPECT_EQ(window.isActive(), isActive);
    }
}

TEST_F(WindowCoreTest, ANewWindowStartsActiveWithNoKeyHeld) {
    ASSERT_TRUE(create());
    system.events = {key(0x25, true), active(false)};
    window.pumpEvent();
    window.pumpEvent();
    ASSERT_TRUE(window.keys()[0x25]);
    ASSERT_FALSE(window.isActive());

    // The key-up and the restore would go to the old window, which is gone.
    window.destroy();
    ASSERT_TRUE(create());
    EXPECT_EQ(window.keys(), KeyTable{});
    EXPECT_TRUE(window.isActive());

    // What the system says while it makes the window holds.
    window.destroy();
    system.eventsWhileOpening = {active(false)};
    ASSERT_TRUE(create());
    EXPECT_FALSE(window.isActive());
}

// --- Where the boxes go ---------------------------------------------------------------

TEST_F(WindowCoreTest, WithoutBoxesOfItsOwnTheSystemsBoxesAreShown) {
    window.setMessageBoxes(nullptr);
    system.displayModeAvailable = false;
    g_systemBoxes = 0;
    // The stand-in for the system's boxes declines the question, so both boxes come.
    EXPECT_FALSE(create(true));
    EXPECT_EQ(g_systemBoxes, 2);
    EXPECT_THAT(boxes.shown, IsEmpty());
}

} // namespace
} // namespace cw
