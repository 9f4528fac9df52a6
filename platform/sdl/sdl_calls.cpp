// The real SDL calls behind GLWindow's call table.
#include "platform/sdl/sdl_calls.h"

namespace cw {

namespace {

// The first display is the one the window opens on.
constexpr int kDisplay = 0;

const SdlCalls kRealCalls = {
    .initVideo = [] { return SDL_InitSubSystem(SDL_INIT_VIDEO); },
    .quitVideo = [] { SDL_QuitSubSystem(SDL_INIT_VIDEO); },
    .videoDriver = SDL_GetCurrentVideoDriver,
    .closestDisplayMode =
        [](const SDL_DisplayMode* wanted, SDL_DisplayMode* closest) {
            return SDL_GetClosestDisplayMode(kDisplay, wanted, closest) != nullptr;
        },
    .loadGL = [] { return SDL_GL_LoadLibrary(nullptr); },
    .unloadGL = SDL_GL_UnloadLibrary,
    .setGLAttribute = SDL_GL_SetAttribute,
    .createWindow = SDL_CreateWindow,
    .destroyWindow = SDL_DestroyWindow,
    .createContext = SDL_GL_CreateContext,
    .makeCurrent = SDL_GL_MakeCurrent,
    .deleteContext = SDL_GL_DeleteContext,
    .setSwapInterval = SDL_GL_SetSwapInterval,
};

} // namespace

const SdlCalls& sdlCalls() {
    return kRealCalls;
}

} // namespace cw
