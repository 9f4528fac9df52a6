// An invisible OpenGL context with the program's projection, initial state and glyphs, on
// SDL's offscreen driver (no display server), for the robustness runs that draw real frames. Their
// targets link the keep-libraries-loaded shim, so the GL driver is still loaded when leaks are
// checked.
#pragma once

#include "app/world_scene.h"
#include "render/bitmap_font.h"
#include "tests/robustness/scripted_platform.h"

struct SDL_Window;

namespace cw::robustness {

class OffscreenContext : public FrameTarget {
public:
    /// The one context these runs make; the font is built for it.
    static constexpr ContextToken kContext = 1;

    /// Opens a hidden `width` by `height` window with a current context; ready() tells
    /// whether that worked (SDL_GetError() says why not).
    OffscreenContext(int width, int height);
    /// Releases the font, the context, the window and the video subsystem.
    ~OffscreenContext() override;

    OffscreenContext(const OffscreenContext&) = delete;
    OffscreenContext& operator=(const OffscreenContext&) = delete;

    bool ready() const { return context_ != nullptr; }
    ContextToken contextToken() const override { return kContext; }
    void swapBuffers() override;

private:
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
};

/// The scripted platform, drawing each frame for real into an offscreen context.
class DrawingPlatform : public ScriptedPlatform {
public:
    explicit DrawingPlatform(OffscreenContext& target) : target_(target) {}

    void drawFrame(World& world) override { renderer_.draw(world, target_); }
    void releaseFont() override { BitmapFont::release(OffscreenContext::kContext); }

private:
    OffscreenContext& target_;
    WorldRenderer renderer_;
};

} // namespace cw::robustness
