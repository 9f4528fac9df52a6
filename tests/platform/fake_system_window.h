// A window back end with no system behind it, for testing the window core (gl_window.cpp
// and window_messages.cpp) once for every back end. The core's test executable builds
// those files against this SystemWindow instead of a system's (gl_window.h includes the
// header that CUBEWRIGHT_WINDOW_SYSTEM_HEADER names). It writes every call into one log,
// fails the steps a test names, and hands the window the events a test queues.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace cw {

/// One event as a back end reports it to the window.
struct FakeEvent {
    enum class Kind { Key, Active, Resize, Quit };
    Kind kind;
    int first = 0;     ///< the key code, or the width
    int second = 0;    ///< the height
    bool flag = false; ///< key down, or active
};

class SystemWindow {
public:
    /// Every call in order, with what it was asked; the tests add the GL set-up calls and
    /// the message boxes, so that one list shows the order of everything.
    std::vector<std::string> log;

    // What the system does, as the test sets it.
    bool registerFails = false;
    bool unregisterFails = false;
    bool displayModeAvailable = true;
    OpenFailure openFailure = OpenFailure::None;
    CloseFailures closeFailures{};
    /// Handed to the window one per pumpEvent call.
    std::deque<FakeEvent> events;
    /// Handed to the window while openWindow runs, as some systems do.
    std::deque<FakeEvent> eventsWhileOpening;

    bool registerClass() {
        log.emplace_back("registerClass");
        return !registerFails;
    }
    bool unregisterClass() {
        log.emplace_back("unregisterClass");
        return !unregisterFails;
    }
    bool switchDisplayMode(int width, int height, int bits) {
        log.push_back("switchDisplayMode " + size(width, height, bits));
        return displayModeAvailable;
    }
    void restoreDisplayMode() { log.emplace_back("restoreDisplayMode"); }
    void showCursor(bool shown) { log.emplace_back(shown ? "showCursor" : "hideCursor"); }
    OpenFailure openWindow(const WindowRequest& request);
    void disableVsync() { log.emplace_back("disableVsync"); }
    void showWindow() { log.emplace_back("showWindow"); }
    CloseFailures closeWindow() {
        log.emplace_back("closeWindow");
        m_open = false;
        return closeFailures;
    }
    bool hasContext() const { return m_open; }
    PumpResult pumpEvent(GLWindow& window);
    void swapBuffers() { log.emplace_back("swapBuffers"); }
    static std::uint32_t ticks() { return 0; }
    static void sleep(std::uint32_t /*milliseconds*/) {}

    static std::string size(int width, int height, int bits) {
        return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bits);
    }

private:
    static void deliver(const FakeEvent& event, GLWindow& window);

    bool m_open = false;
};

} // namespace cw
