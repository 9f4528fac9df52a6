// One frame of the program: the main cube, the ten background cubes on their grid with
// their flight in depth, the text overlay, and the swap. The main loop calls drawScene
// once per frame while the window is active, through the program's adapter of its cubes
// (app/world_scene.h); the renderer itself knows nothing of the program.
#pragma once

#include "cube/cube.h"
#include "render/bitmap_font.h"
#include "render/cube_renderer.h"

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

/// One background cube as the frame draws it, and where it stands in eye space.
struct BackgroundPlace {
    Cube& cube;
    float x;
    float y;
    float depth;
};

/// What a frame reads of the program's cubes. The program's side decides how the
/// background cubes move; the scene only asks for each one just before drawing it.
class SceneCubes {
public:
    virtual ~SceneCubes() = default;
    /// The large cube in the middle. Drawing it advances its turning layer.
    virtual Cube& mainCube() = 0;
    /// Background cube `index` (0 .. kBackgroundBatchCubes - 1) after its move in depth
    /// for this frame, which may restart and re-solve it, and its place.
    virtual BackgroundPlace flyBackgroundCube(int index) = 0;
};

/// The state the frame relies on: smooth shading, black clear colour, depth test with
/// equal depths passing (so outlines show on their stickers), back faces culled, and the
/// blend function that scales a colour by its alpha whatever lies behind it. Blending is
/// left on, as between frames. The window sets the same when its context is made; every
/// frame sets it again here, so nothing drawn elsewhere can leave the scene in another state.
void applySceneState();

/// Draws one frame into the current context and presents it with `target`. Asks for each
/// background cube, in index order, just before drawing it. Requires the projection set
/// by the window; leaves the modelview matrix at identity.
void drawScene(SceneCubes& cubes, FrameTarget& target);

} // namespace cw
