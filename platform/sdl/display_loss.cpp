// The X I/O error handler that ends the program when its display is gone.
#include "platform/sdl/display_loss.h"

#include <X11/Xlib.h>
#include <unistd.h>

namespace cw {

namespace {

int onDisplayLost(Display* /*display*/) {
    static constexpr char kText[] = "Cubewright: the connection to the display was lost.\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kText, sizeof kText - 1);
    _exit(1);
}

} // namespace

void exitAtOnceOnDisplayLoss() {
    XSetIOErrorHandler(onDisplayLost);
}

} // namespace cw
