// The program's entry point on Windows, the GUI entry (no console); the program itself
// is runProgram.
#include <windows.h>

#include <timeapi.h>

#include "app/program.h"

namespace {

// The frames are paced by sleeping on a millisecond count, and Windows' sleeps and
// timeGetTime move in steps of its timer period, by default about 15.6 ms: a 17 ms frame
// would often take 31 ms. The timer runs at 1 ms while the program does.
class FineTimer {
public:
    FineTimer() : granted_(timeBeginPeriod(kPeriodMs) == TIMERR_NOERROR) {}
    ~FineTimer() {
        if (granted_) {
            timeEndPeriod(kPeriodMs);
        }
    }
    FineTimer(const FineTimer&) = delete;
    FineTimer& operator=(const FineTimer&) = delete;

private:
    static constexpr UINT kPeriodMs = 1;
    bool granted_;
};

} // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    const FineTimer timer;
    return cw::runProgram();
}
