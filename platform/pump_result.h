// What one pump of the window's events found. The window's back ends return it and the
// main loop acts on it. Standard library only, so the program's core may include it.
#pragma once

namespace cw {

/// What one call of `GLWindow::pumpEvent` found.
enum class PumpResult {
    None,       ///< no event was waiting
    Dispatched, ///< one event was handled
    Quit,       ///< the program was asked to end (the close button, or SIGTERM on Linux)
};

} // namespace cw
