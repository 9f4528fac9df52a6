// One frame of the program: the main cube, the ten background cubes on their grid with
// their flight in depth, the text overlay, and the swap. The main loop calls drawScene
// once per frame while the window is active.
#pragma once

#include "app/world.h"
#include "render/bitmap_font.h"

namespace cw {

/// Where a frame is drawn: the window's GL context and its buffer swap.
class FrameTarget {
public:
    virtual ~FrameTarget() = default;
    /// The token of the context that is current for drawing (see BitmapFont).
    virtual ContextToken contextToken() const = 0;
    /// Presents the finished frame.
    virtual void swapBuffers() = 0;
};

/// The state the frame relies on: smooth shading, black clear colour, depth test with
/// equal depths passing (so outlines show on their stickers), back faces culled, and the
/// blend function that scales a colour by its alpha whatever lies behind it. Blending is
/// left on, as between frames. The window sets the same when its context is made; every
/// frame sets it again here, so nothing drawn elsewhere can leave the scene in another state.
void applySceneState();

/// Draws one frame into the current context and presents it with `target`. Moves each
/// background cube in depth just before drawing it (which may restart and re-solve it).
/// Requires the projection set by the window; leaves the modelview matrix at identity.
void drawScene(World& world, FrameTarget& target);

} // namespace cw
