// A hidden 640x480 SDL window with a GL context for the renderer tests, set up the way the
// program's window sets up its own: 16-bit depth, 45-degree projection, the same GL state.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <iosfwd>

namespace cw::test {

inline constexpr int kWidth = 640;
inline constexpr int kHeight = 480;

struct Rgb {
    int r;
    int g;
    int b;
};

class GLContext {
public:
    /// Opens the window and makes a first context current. Aborts the test on failure.
    GLContext();
    ~GLContext();
    GLContext(const GLContext&) = delete;
    GLContext& operator=(const GLContext&) = delete;

    /// Deletes the context and makes a fresh one current, as the fullscreen toggle does.
    void replaceContext();

    /// Makes a second context current without deleting the first one.
    SDL_GLContext createSecondContext();
    void makeCurrent(SDL_GLContext context);
    std::uint64_t secondToken() const { return secondToken_; }
    SDL_GLContext context() const { return context_; }

    /// A number for the current context, new for each context created in this process.
    std::uint64_t token() const { return token_; }

    /// Viewport, projection and state as the program's window sets them.
    static void setWindowState();

    /// The colour at window pixel (x, y), origin at the bottom left.
    static Rgb pixel(int x, int y);

    /// Pixels with all three channels at least `level` within the rectangle.
    static int countBright(int x0, int y0, int x1, int y1, int level = 250);

    bool ok() const { return context_ != nullptr; }

private:
    SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
    std::uint64_t token_ = 0;
    std::uint64_t secondToken_ = 0;
};

/// Window coordinates of a point given in the coordinates of the modelview matrix that is
/// current now.
std::array<double, 3> project(double x, double y, double z);

std::ostream& operator<<(std::ostream& out, const Rgb& colour);

/// True when every channel is within `tolerance` of the expected one.
bool nearWithin(const Rgb& actual, const Rgb& expected, int tolerance);

/// True when every channel is within 8 of the expected one (a 16-bit surface rounds).
bool near(const Rgb& actual, const Rgb& expected);

} // namespace cw::test
