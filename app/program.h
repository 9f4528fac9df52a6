// The whole program between its entry point and its exit: called by the entry point of
// each platform (main on Linux, WinMain on Windows, and in the browser main and the page's
// frame callback).
#pragma once

#include <memory>

namespace cw {

class MainLoop;

/// Opens the window, prepares the background cubes and runs the main loop until Escape
/// or the window's close request ends it. Returns the process exit code.
int runProgram();

/// The same program in steps, for an entry point that runs the loop itself: the browser's
/// runs one frame at a time, as the page calls it once per display refresh.
class Program {
public:
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    /// Opens the window and prepares the background cubes. False when the window could
    /// not be opened; the user has been told why.
    bool start();

    /// The main loop, once start has succeeded.
    MainLoop& loop();

    /// After the loop: releases the font. Returns `exitCode`.
    int finish(int exitCode);

private:
    struct Running;
    std::unique_ptr<Running> running_;
};

} // namespace cw
