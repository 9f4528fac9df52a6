// The offscreen context of the drawing robustness runs.
#include "tests/robustness/offscreen_context.h"

#include <SDL.h>

#include "platform/gl_setup.h"
#include "platform/glyph_source.h"

namespace cw::robustness {

OffscreenContext::OffscreenContext(int width, int height) {
    if (SDL_VideoInit("offscreen") != 0) {
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    window_ =
        SDL_CreateWindow("Cubewright", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window_ != nullptr) {
        context_ = SDL_GL_CreateContext(window_);
    }
    if (context_ == nullptr) {
        return;
    }
    setViewportAndProjection(width, height);
    setInitialGLState();
    BitmapFont::setGlyphSource(&buildGlyphs);
}

OffscreenContext::~OffscreenContext() {
    if (context_ != nullptr) {
        BitmapFont::release(kContext);
        SDL_GL_DeleteContext(context_);
    }
    if (window_ != nullptr) {
        SDL_DestroyWindow(window_);
    }
    SDL_VideoQuit();
}

void OffscreenContext::swapBuffers() {
    SDL_GL_SwapWindow(window_);
}

} // namespace cw::robustness
