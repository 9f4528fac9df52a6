// The SDL calls the window makes while it builds and tears down its window and context.
// GLWindow goes through this table so that tests can make any one of them fail.
#pragma once

#include <SDL.h>

namespace cw {

/// One entry per SDL call that can fail or that has to be seen being made. The real
/// table is `sdlCalls()`; a test copies it, replaces an entry and hands the copy to
/// `SystemWindow::setCalls` (`GLWindow::instance().system()`).
struct SdlCalls {
    int (*initVideo)();
    void (*quitVideo)();
    const char* (*videoDriver)();
    /// Fills `closest` with the display mode nearest to `wanted`; false when there is none.
    bool (*closestDisplayMode)(const SDL_DisplayMode* wanted, SDL_DisplayMode* closest);
    int (*loadGL)();
    void (*unloadGL)();
    int (*setGLAttribute)(SDL_GLattr attribute, int value);
    SDL_Window* (*createWindow)(const char* title, int x, int y, int width, int height,
                                Uint32 flags);
    void (*destroyWindow)(SDL_Window* window);
    SDL_GLContext (*createContext)(SDL_Window* window);
    int (*makeCurrent)(SDL_Window* window, SDL_GLContext context);
    void (*deleteContext)(SDL_GLContext context);
    int (*setSwapInterval)(int interval);
};

/// The table of real SDL calls.
const SdlCalls& sdlCalls();

} // namespace cw
