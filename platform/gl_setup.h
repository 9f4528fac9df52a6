// The OpenGL side of the window, the same on every window system: the projection for a
// client size and the state a new context starts with, set here and nowhere else. GLWindow
// calls it; the renderer's tests set up their contexts with it.
#pragma once

namespace cw {

/// Bits of the depth buffer.
inline constexpr int kDepthBits = 16;

/// Sets the viewport to `width` by `height` and a 45-degree perspective projection from
/// 0.1 to 500 for it, then selects the modelview matrix at identity. A height of 0 (or
/// less) is taken as 1, so a window shrunk to nothing divides by nothing.
void setViewportAndProjection(int width, int height);

/// Sets the state a new context starts with, which the scene relies on: smooth shading,
/// black clear colour, depth test with equal depths passing (so outlines show on their
/// stickers), back faces culled, and blending on with the blend function that scales a
/// colour by its alpha whatever lies behind it. Errors the context had recorded before
/// are cleared first.
void setInitialGLState();

} // namespace cw
