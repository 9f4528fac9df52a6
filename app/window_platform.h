// The main loop's platform in the real program: the window (SDL's on Linux, Win32's on
// Windows) for events, keys, ticks and presenting, and the renderer for the scene. The
// entry point and the frame benchmark use it.
#pragma once

#include "app/main_loop.h"
#include "app/world_scene.h"
#include "platform/gl_window.h"

namespace cw {

/// The window's title, client size and colour depth, at start-up and after F1.
inline constexpr const char* kWindowTitle = "Cubewright";
inline constexpr int kWindowWidth = 640;
inline constexpr int kWindowHeight = 480;
inline constexpr int kWindowColourBits = 16;

class WindowPlatform : public FramePlatform, public FrameTarget {
public:
    explicit WindowPlatform(GLWindow& window) : window_(window) {}

    PumpResult pumpEvent() override { return window_.pumpEvent(); }
    std::uint32_t ticks() override;
    void sleepMs(std::uint32_t milliseconds) override;
    void yield() override;
    bool active() override;
    KeyTable& keys() override;
    bool nextPointerEvent(PointerEvent& event) override;
    ClientSize clientSize() override;
    void drawScene(World& world) override;

    /// Destroys the window and creates it again in the other display mode. When that
    /// fails there is no context any more, and contextToken() says so.
    bool toggleFullscreen() override;
    /// The font's lists died with the old context; it is rebuilt on the next frame.
    void releaseFont() override;

    ContextToken contextToken() const override { return context_; }
    void swapBuffers() override;

private:
    GLWindow& window_;
    WorldRenderer renderer_;
    // Names the current GL context for the font; every re-creation makes a new one, and
    // kNoContext stands while there is none, so nothing is deleted on a context that is gone.
    ContextToken context_ = 1;
    ContextToken lastContext_ = 1;
};

} // namespace cw
