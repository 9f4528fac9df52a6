// One frame of the program: the main cube, the background cubes with their flight in
// depth, the text overlay, and the swap. The main loop draws a Scene once per frame while
// the window is active, through the program's adapter of its cubes (app/world_scene.h);
// the renderer itself knows nothing of the program, not even how many cubes it has.
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
    /// Background cube `index` (0 up to the scene's count) after its move in depth for
    /// this frame, which may restart and re-solve it, and its place.
    virtual BackgroundPlace flyBackgroundCube(int index) = 0;
};

/// The frame's drawing, with room for the background cubes of its owner, taken when it is
/// made so that drawing allocates nothing. Requires the projection and the initial state
/// the window sets on its context (platform/gl_setup.h): blending is on between frames,
/// and is switched off only around the main cube and the overlay.
class Scene {
public:
    /// A scene of one main cube and `backgroundCubes` background cubes.
    explicit Scene(int backgroundCubes);

    /// Draws one frame into the current context and presents it with `target`. Asks for
    /// each background cube, in index order, just before drawing it. Leaves the modelview
    /// matrix at identity.
    void draw(SceneCubes& cubes, FrameTarget& target);

private:
    int backgroundCubes_;
    /// All background cubes, collected each frame and drawn in one go. A software
    /// rasteriser pays a fixed cost per draw call and per matrix change, and small cubes
    /// drawn one by one took two to four calls each for few pixels.
    StickerBatch background_;
};

} // namespace cw
