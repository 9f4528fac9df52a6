// The whole program between its entry point and its exit: called by the entry point of
// each platform (main on Linux, WinMain on Windows).
#pragma once

namespace cw {

/// Opens the window, prepares the background cubes and runs the main loop until Escape
/// or the window's close request ends it. Returns the process exit code.
int runProgram();

} // namespace cw
