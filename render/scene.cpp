// The frame: main cube, background cubes and overlay, drawn in that order and swapped.
// Drawn by the main loop once per active frame, through the program's adapter.
#include "render/scene.h"

#include <GL/gl.h>

#include "render/view.h"

namespace cw {
namespace {

/// The overlay is drawn at distance 1, where the 45-degree 4:3 view spans about
/// -0.55..0.55 across and -0.41..0.41 up.
constexpr float kOverlayDepth = -1.0f;
constexpr float kOverlayLeft = -0.55f;
constexpr float kAutoSolveLineY = 0.35f;
constexpr float kMovesLineY = -0.4f;

void drawOverlay(const Cube& mainCube, FrameTarget& target) {
    // The raster colour is latched by glRasterPos, so the colour comes first.
    glColor3fv(paletteColour(kWhite).data());
    glDisable(GL_BLEND);

    BitmapFont& font = BitmapFont::instance(target.contextToken());

    glPushMatrix();
    glTranslatef(0.0f, 0.0f, kOverlayDepth);
    glRasterPos2f(kOverlayLeft, kAutoSolveLineY);
    font.print("Auto solve is %s", mainCube.autoSolve() ? "ON" : "OFF");
    glPopMatrix();

    if (mainCube.autoSolve()) {
        glPushMatrix();
        glTranslatef(0.0f, 0.0f, kOverlayDepth);
        glRasterPos2f(kOverlayLeft, kMovesLineY);
        font.print("Moves Remaining: %d", static_cast<int>(mainCube.pending.size()));
        glPopMatrix();
    }

    glEnable(GL_BLEND);
}

} // namespace

Scene::Scene(int backgroundCubes)
    : backgroundCubes_(backgroundCubes),
      background_(static_cast<std::size_t>(backgroundCubes > 1 ? backgroundCubes : 1)) {}

void Scene::draw(SceneCubes& cubes, FrameTarget& target) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // The main cube at full colour whatever its alpha.
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, kMainCubeDepth);
    glDisable(GL_BLEND);
    cw::draw(cubes.mainCube());
    glEnable(GL_BLEND);
    glPopMatrix();

    // Background cubes blended, so their stickers come out at alpha times their colour.
    // Each takes its flight step just before it is collected, so a cube that restarts
    // mid-frame is drawn as restarted. The batch holds eye-space positions, drawn under
    // the identity modelview.
    for (int i = 0; i < backgroundCubes_; ++i) {
        const BackgroundPlace background = cubes.flyBackgroundCube(i);
        drawInto(background.cube, translation(background.x, background.y, background.depth),
                 background_);
    }
    drawBatch(background_);

    drawOverlay(cubes.mainCube(), target);

    target.swapBuffers();
}

} // namespace cw
