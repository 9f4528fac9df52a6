// The renderer tests' GL context: SDL's offscreen driver gives a real Mesa context with
// no display.
#include "tests/render/gl_context.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <vector>

#include "platform/gl_setup.h"
#include "platform/glyph_source.h"
#include "render/bitmap_font.h"

namespace cw::test {
namespace {

// Process-wide, so that a context made by a later test never shares a number with one
// made by an earlier test.
std::uint64_t gNextToken = 1;

} // namespace

GLContext::GLContext() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        ADD_FAILURE() << "SDL_Init: " << SDL_GetError();
        return;
    }
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    window_ = SDL_CreateWindow("render tests", 0, 0, kWidth, kHeight,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window_ == nullptr) {
        ADD_FAILURE() << "SDL_CreateWindow: " << SDL_GetError();
        return;
    }
    context_ = SDL_GL_CreateContext(window_);
    if (context_ == nullptr) {
        ADD_FAILURE() << "SDL_GL_CreateContext: " << SDL_GetError();
        return;
    }
    token_ = gNextToken++;
    setWindowState();
    // As the program does: the font takes the window system's glyphs.
    BitmapFont::setGlyphSource(&buildGlyphs);
}

GLContext::~GLContext() {
    if (context_ != nullptr) {
        SDL_GL_DeleteContext(context_);
    }
    if (window_ != nullptr) {
        SDL_DestroyWindow(window_);
    }
    SDL_Quit();
}

void GLContext::replaceContext() {
    SDL_GL_MakeCurrent(window_, nullptr);
    SDL_GL_DeleteContext(context_);
    context_ = SDL_GL_CreateContext(window_);
    ASSERT_NE(context_, nullptr) << SDL_GetError();
    token_ = gNextToken++;
    setWindowState();
}

SDL_GLContext GLContext::createSecondContext() {
    SDL_GLContext second = SDL_GL_CreateContext(window_);
    secondToken_ = gNextToken++;
    EXPECT_NE(second, nullptr) << SDL_GetError();
    setWindowState();
    return second;
}

void GLContext::makeCurrent(SDL_GLContext context) {
    SDL_GL_MakeCurrent(window_, context);
}

void GLContext::setWindowState() {
    setViewportAndProjection(kWidth, kHeight);
    setInitialGLState();
}

Rgb GLContext::pixel(int x, int y) {
    std::array<GLubyte, 4> rgba{};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return {rgba[0], rgba[1], rgba[2]};
}

int GLContext::countBright(int x0, int y0, int x1, int y1, int level) {
    const int width = x1 - x0;
    const int height = y1 - y0;
    if (width <= 0 || height <= 0) {
        return 0;
    }
    std::vector<GLubyte> rgba(static_cast<std::size_t>(width * height) * 4);
    glReadPixels(x0, y0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int count = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        if (rgba[i] >= level && rgba[i + 1] >= level && rgba[i + 2] >= level) {
            ++count;
        }
    }
    return count;
}

std::array<double, 3> project(double x, double y, double z) {
    std::array<GLdouble, 16> modelview{};
    std::array<GLdouble, 16> projection{};
    std::array<GLint, 4> viewport{};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    std::array<double, 3> window{};
    gluProject(x, y, z, modelview.data(), projection.data(), viewport.data(), &window[0],
               &window[1], &window[2]);
    return window;
}

std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << "(" << colour.r << ", " << colour.g << ", " << colour.b << ")";
}

bool near(const Rgb& actual, const Rgb& expected) {
    return nearWithin(actual, expected, 8);
}

bool nearWithin(const Rgb& actual, const Rgb& expected, int tolerance) {
    return std::abs(actual.r - expected.r) <= tolerance &&
           std::abs(actual.g - expected.g) <= tolerance &&
           std::abs(actual.b - expected.b) <= tolerance;
}

} // namespace cw::test
