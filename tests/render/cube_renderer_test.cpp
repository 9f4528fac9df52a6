// Draws single cubes on a real GL context and checks the pixels where stickers project.
#include "render/cube_renderer.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <memory>

#include "tests/render/gl_context.h"

namespace cw {
namespace {

using test::GLContext;
using test::Rgb;

constexpr float kPitch = 4.0f / 3.0f;

const Rgb kWhiteRgb{255, 255, 255};
const Rgb kRedRgb{255, 0, 0};
const Rgb kBlueRgb{0, 0, 255};
const Rgb kYellowRgb{255, 255, 0};
const Rgb kGreenRgb{0, 255, 0};
const Rgb kBlackRgb{0, 0, 0};

Rgb paletteRgb(int index) {
    const auto& c = paletteColour(index);
    return {static_cast<int>(std::lround(c[0] * 255)), static_cast<int>(std::lround(c[1] * 255)),
            static_cast<int>(std::lround(c[2] * 255))};
}

/// Puts every sticker back in the solved layout (reset leaves the cube scrambled).
void makeSolved(Cube& cube) {
    for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
        cube.facelets[i].set(static_cast<std::int32_t>(i / 9), kSolvedCodes[i]);
    }
}

/// Starts `move` playing as the main loop does: queue it and step the queue once.
void startTurn(Cube& cube, int face, bool clockwise) {
    cube.setSolverState(0);
    cube.pending.push_back(Move(face, clockwise));
    cube.stepMoveQueue();
}

class CubeRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        gl_ = std::make_unique<GLContext>();
        ASSERT_TRUE(gl_->ok());
        makeSolved(cube_);
    }

    /// Draws the cube where the scene puts the main cube, leaving the cube's own frame on
    /// the modelview matrix so that points can be projected in cube coordinates.
    void drawFrame(bool blend) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -15.0f);
        if (blend) {
            glEnable(GL_BLEND);
        } else {
            glDisable(GL_BLEND);
        }
        draw(cube_);
        glFinish();
    }

    /// The colour where the cube-frame point (x, y, z) lands on the window.
    static Rgb colourAt(double x, double y, double z) {
        const auto window = test::project(x, y, z);
        return GLContext::pixel(static_cast<int>(window[0]), static_cast<int>(window[1]));
    }

    /// Whether any pixel within one of the projected point is black.
    static bool blackNear(double x, double y, double z) {
        const auto window = test::project(x, y, z);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const Rgb c = GLContext::pixel(static_cast<int>(window[0]) + dx,
                                               static_cast<int>(window[1]) + dy);
                if (test::nearWithin(c, kBlackRgb, 10)) {
                    return true;
                }
            }
        }
        return false;
    }

    std::unique_ptr<GLContext> gl_;
    Cube cube_;
};

TEST_F(CubeRendererTest, SolvedCubeShowsWhiteFrontRedUpAndBlueLeft) {
    drawFrame(false);
    EXPECT_PRED2(test::near, colourAt(0, 0, 2), kWhiteRgb);
    EXPECT_PRED2(test::near, colourAt(0, 2, 0), kRedRgb);
    EXPECT_PRED2(test::near, colourAt(-2, 0, 0), kBlueRgb);
    // The right face looks away from the viewer: its centre projects onto another face.
    EXPECT_FALSE(test::near(colourAt(2, 0, 0), kGreenRgb));
    // Corner stickers of the front face, through the tilt: top left and bottom right.
    EXPECT_PRED2(test::near, colourAt(-kPitch, kPitch, 2), kWhiteRgb);
    EXPECT_PRED2(test::near, colourAt(kPitch, -kPitch, 2), kWhiteRgb);
    // Outlines sit on the sticker edges, in the stickers' plane.
    EXPECT_TRUE(blackNear(2.0 / 3.0, 0, 2));
    EXPECT_TRUE(blackNear(0, 2, 2.0 / 3.0));
    // Nothing is drawn outside the cube.
    EXPECT_PRED2(test::near, GLContext::pixel(5, 5), kBlackRgb);
}

TEST_F(CubeRendererTest, EachFaceShowsItsColourWhenTurnedTowardsTheViewer) {
    // View rotations that bring each face's outward axis to where the front's was.
    struct View {
        int face;
        float x, y;
        std::array<double, 3> centre;
    };
    const std::array<View, 6> views = {{
        {0, 0, 0, {0, 0, 2}},
        {1, 0, -90, {2, 0, 0}},
        {2, 90, 0, {0, 2, 0}},
        {3, 0, 180, {0, 0, -2}},
        {4, 0, 90, {-2, 0, 0}},
        {5, -90, 0, {0, -2, 0}},
    }};
    for (const View& view : views) {
        SCOPED_TRACE(view.face);
        cube_.setViewAngleX(view.x);
        cube_.setViewAngleY(view.y);
        drawFrame(false);
        EXPECT_PRED2(test::near, colourAt(view.centre[0], view.centre[1], view.centre[2]),
                     paletteRgb(view.face));
        // All nine stickers of the face, so no sticker of it is culled or misplaced.
        const auto window = test::project(view.centre[0], view.centre[1], view.centre[2]);
        const int cx = static_cast<int>(window[0]);
        const int cy = static_cast<int>(window[1]);
        EXPECT_PRED2(test::near, GLContext::pixel(cx, cy + 40), paletteRgb(view.face));
        EXPECT_PRED2(test::near, GLContext::pixel(cx - 40, cy - 40), paletteRgb(view.face));
    }
}

TEST_F(CubeRendererTest, DrawingMarksEveryStickerAndLeavesAnIdleCubeAlone) {
    drawFrame(false);
    for (std::size_t i = 0; i < cube_.facelets.size(); ++i) {
        EXPECT_TRUE(cube_.facelets[i].drawn) << "sticker " << i;
    }
    EXPECT_EQ(cube_.turningFace(), -1);
    EXPECT_EQ(cube_.layerAngleX, 0.0f);
    EXPECT_EQ(cube_.layerAngleY, 0.0f);
    EXPECT_EQ(cube_.layerAngleZ, 0.0f);
    EXPECT_TRUE(cube_.isSolved());
}

TEST_F(CubeRendererTest, AlphaScalesStickersOnlyWhenBlended) {
    cube_.setAlpha(0.3f);
    const Rgb dimWhite{77, 77, 77};
    const Rgb dimRed{77, 0, 0};
    const Rgb dimBlue{0, 0, 77};

    drawFrame(true);
    EXPECT_PRED2(test::near, colourAt(0, 0, 2), dimWhite);
    EXPECT_PRED2(test::near, colourAt(0, 2, 0), dimRed);
    EXPECT_PRED2(test::near, colourAt(-2, 0, 0), dimBlue);
    EXPECT_TRUE(blackNear(2.0 / 3.0, 0, 2));

    drawFrame(false);
    EXPECT_PRED2(test::near, colourAt(0, 0, 2), kWhiteRgb);
    EXPECT_PRED2(test::near, colourAt(0, 2, 0), kRedRgb);
}

TEST_F(CubeRendererTest, TurningLayerIsDrawnRotatedInMidTurn) {
    // Mark the front sticker of the up layer so it can be followed.
    cube_.facelets[1].colour = kYellow;
    cube_.setTurnSpeed(45.0f);
    startTurn(cube_, 2, true);
    ASSERT_EQ(cube_.turningFace(), 2);

    drawFrame(false);
    // One frame advanced the up layer by one step, clockwise seen from above.
    EXPECT_EQ(cube_.layerAngleY, -45.0f);
    EXPECT_EQ(cube_.turningFace(), 2);

    // The marked sticker is drawn rotated -45 degrees about y, towards the left face...
    const double a = -45.0 * std::acos(-1.0) / 180.0;
    const double x = 2 * std::sin(a);
    const double z = 2 * std::cos(a);
    EXPECT_PRED2(test::near, colourAt(x, kPitch, z), kYellowRgb);
    // ...and no longer at rest.
    EXPECT_FALSE(test::near(colourAt(0, kPitch, 2), kYellowRgb));
    // The middle layer does not move.
    EXPECT_PRED2(test::near, colourAt(0, 0, 2), kWhiteRgb);
    EXPECT_PRED2(test::near, colourAt(-2, 0, 0), kBlueRgb);
    // The stickers have not been turned yet.
    EXPECT_EQ(cube_.facelets[1].colour, kYellow);
}

TEST_F(CubeRendererTest, FrameThatCompletesTheTurnShowsTurnedStickersAtRest) {
    cube_.facelets[1].colour = kYellow;
    cube_.setTurnSpeed(45.0f);
    startTurn(cube_, 2, true);

    drawFrame(false); // -45
    drawFrame(false); // -90, still turning
    EXPECT_EQ(cube_.turningFace(), 2);
    EXPECT_EQ(cube_.facelets[1].colour, kYellow);

    drawFrame(false); // wraps to 0: the turn is applied and drawn at rest
    EXPECT_EQ(cube_.turningFace(), -1);
    EXPECT_EQ(cube_.layerAngleY, 0.0f);
    EXPECT_EQ(cube_.facelets[37].colour, kYellow);
    // The marked sticker now sits on the left face's top row; the front's top row shows
    // what came from the right face.
    EXPECT_PRED2(test::near, colourAt(-2, kPitch, 0), kYellowRgb);
    EXPECT_PRED2(test::near, colourAt(0, kPitch, 2), kGreenRgb);
    for (std::size_t i = 0; i < cube_.facelets.size(); ++i) {
        EXPECT_TRUE(cube_.facelets[i].drawn) << "sticker " << i;
    }
}

TEST_F(CubeRendererTest, FrontTurnRotatesItsTwelveNeighboursButNotTheBack) {
    // A counter-clockwise front turn rotates +45 about z; the up face's front row rides
    // with it and swings towards the left, while the up face's back row stays put.
    cube_.facelets[25].colour = kYellow; // up, row 2, column 1
    cube_.facelets[19].colour = kGreen;  // up, row 0, column 1
    cube_.setTurnSpeed(45.0f);
    startTurn(cube_, 0, false);
    drawFrame(false);
    EXPECT_EQ(cube_.layerAngleZ, 45.0f);

    const double a = 45.0 * std::acos(-1.0) / 180.0;
    EXPECT_PRED2(test::near, colourAt(-2 * std::sin(a), 2 * std::cos(a), kPitch), kYellowRgb);
    EXPECT_PRED2(test::near, colourAt(0, 2, -kPitch), kGreenRgb);
    EXPECT_PRED2(test::near, colourAt(0, 2, 0), kRedRgb);
}

} // namespace
} // namespace cw
