// Whole frames through the Scene: the main cube, the background grid, the overlay lines
// and the swap, read back from a real GL context.
#include "app/world_scene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <vector>

#include "render/cube_renderer.h"

#include "tests/render/gl_context.h"

namespace cw {
namespace {

using test::GLContext;
using test::Rgb;

/// Window pixel of the front face's centre of a cube drawn at (x, y, z) in eye space.
std::array<int, 2> frontCentre(float x, float y, float z) {
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(x, y, z);
    glRotatef(45.0f, 1.0f, 1.0f, 0.0f);
    const auto window = test::project(0, 0, 2);
    glPopMatrix();
    return {static_cast<int>(window[0]), static_cast<int>(window[1])};
}

/// Where an overlay line starts: its raster position at distance 1, in window pixels.
std::array<int, 2> lineStart(float x, float y) {
    glPushMatrix();
    glLoadIdentity();
    const auto window = test::project(x, y, -1);
    glPopMatrix();
    return {static_cast<int>(window[0]), static_cast<int>(window[1])};
}

/// Background cubes caught in the middle of things: each scrambled a little and tumbled to
/// its own angles, three of them mid-turn about x, y and z, two still flying home.
void makeBusyBackground(World& world) {
    for (int i = 0; i < kBackgroundCount; ++i) {
        Cube& cube = world.background[static_cast<std::size_t>(i)];
        setSolvedStickers(cube);
        cube.turn(i % kFaceCount, true);
        cube.turn((i + 2) % kFaceCount, false);
        cube.setViewAngleX(13.0f + 37.0f * static_cast<float>(i));
        cube.setViewAngleY(29.0f + 23.0f * static_cast<float>(i));
        cube.setViewAngleZ(7.0f + 41.0f * static_cast<float>(i));
        cube.setAlpha(kBackgroundAlpha);
        world.depths[static_cast<std::size_t>(i)] = kBackgroundHomeDepth;
    }
    const std::array<std::array<int, 2>, 3> turning = {{{1, 1}, {5, 2}, {8, 3}}};
    for (const auto& [index, face] : turning) {
        Cube& cube = world.background[static_cast<std::size_t>(index)];
        cube.setTurnSpeed(30.0f);
        cube.pending.push_back(Move(face, index != 5));
        cube.stepMoveQueue();
    }
    world.depths[2] = -120.0f;
    world.depths[6] = -70.0f;
}

/// The frame as it was drawn before the background cubes were batched: every cube through
/// draw under its own modelview matrix, no overlay.
void drawCubesOneByOne(World& world) {
    GLContext::setWindowState();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -15.0f);
    glDisable(GL_BLEND);
    draw(world.mainCube);
    glEnable(GL_BLEND);
    glPopMatrix();
    for (int i = 0; i < kBackgroundCount; ++i) {
        glPushMatrix();
        world.flightStep(i);
        glTranslatef(backgroundX(i), backgroundY(i), world.depths[static_cast<std::size_t>(i)]);
        draw(world.background[static_cast<std::size_t>(i)]);
        glPopMatrix();
    }
    glFinish();
}

std::vector<unsigned char> readFrame() {
    std::vector<unsigned char> rgba(static_cast<std::size_t>(test::kWidth * test::kHeight) * 4);
    glReadPixels(0, 0, test::kWidth, test::kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

/// The window side of a frame: counts swaps and looks at the frame when it is presented.
class RecordingTarget : public FrameTarget {
public:
    explicit RecordingTarget(ContextToken token) : token_(token) {}
    ContextToken contextToken() const override { return token_; }
    void swapBuffers() override {
        ++swaps;
        glFinish();
        const auto centre = frontCentre(0.0f, 0.0f, -15.0f);
        centreAtSwap = GLContext::pixel(centre[0], centre[1]);
    }
    void setToken(ContextToken token) { token_ = token; }

    int swaps = 0;
    Rgb centreAtSwap{-1, -1, -1};

private:
    ContextToken token_;
};

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        gl_ = std::make_unique<GLContext>();
        ASSERT_TRUE(gl_->ok());
        target_ = std::make_unique<RecordingTarget>(gl_->token());
        // A quiet world: solved main cube, background cubes unsolved and idle at home.
        setSolvedStickers(world_.mainCube);
        for (std::size_t i = 0; i < kBackgroundCount; ++i) {
            world_.background[i].setAlpha(kBackgroundAlpha);
            world_.depths[i] = kBackgroundHomeDepth;
        }
        line1_ = lineStart(-0.55f, 0.35f);
        line2_ = lineStart(-0.55f, -0.4f);
    }

    void TearDown() override { BitmapFont::release(gl_->token()); }

    void drawFrame() {
        renderer_.draw(world_, *target_);
        glFinish();
    }

    /// White text pixels in character cells first..last (11 pixels each) of a line.
    static int textPixels(const std::array<int, 2>& start, int first, int last) {
        return GLContext::countBright(start[0] + 11 * first, start[1] - 6,
                                      start[0] + 11 * (last + 1), start[1] + 16);
    }

    std::unique_ptr<GLContext> gl_;
    std::unique_ptr<RecordingTarget> target_;
    World world_;
    WorldRenderer renderer_;
    std::array<int, 2> line1_{};
    std::array<int, 2> line2_{};
};

TEST_F(SceneTest, MainCubeIsDrawnInTheMiddleAtFullColourWhateverItsAlpha) {
    world_.mainCube.setAlpha(0.3f);
    drawFrame();
    const auto centre = frontCentre(0.0f, 0.0f, -15.0f);
    EXPECT_PRED2(test::near, GLContext::pixel(centre[0], centre[1]), (Rgb{255, 255, 255}));
    EXPECT_EQ(target_->swaps, 1);
    // Swapped only once the frame was drawn.
    EXPECT_PRED2(test::near, target_->centreAtSwap, (Rgb{255, 255, 255}));
    // Blending is on again between frames, and the modelview matrix is back at identity.
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_TRUE);
    std::array<GLfloat, 16> modelview{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    for (std::size_t i = 0; i < modelview.size(); ++i) {
        EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f) << "element " << i;
    }
}

TEST_F(SceneTest, BackgroundCubesStandOnTheirGridAtThirtyPercent) {
    // Solved but still playing (state 0), so the flight leaves them at home.
    for (const int i : {4, 9}) {
        setSolvedStickers(world_.background[static_cast<std::size_t>(i)]);
    }
    drawFrame();
    const Rgb dimWhite{77, 77, 77};
    const auto bottomMiddle = frontCentre(backgroundX(4), backgroundY(4), -50.0f);
    EXPECT_PRED2(test::near, GLContext::pixel(bottomMiddle[0], bottomMiddle[1]), dimWhite);
    const auto topRight = frontCentre(backgroundX(9), backgroundY(9), -50.0f);
    EXPECT_PRED2(test::near, GLContext::pixel(topRight[0], topRight[1]), dimWhite);
    EXPECT_EQ(backgroundX(4), 0.0f);
    EXPECT_EQ(backgroundY(9), 15.0f);
}

TEST_F(SceneTest, EachBackgroundCubeTakesItsFlightStepOncePerFrame) {
    Cube& receding = world_.background[3];
    setSolvedStickers(receding);
    receding.setSolverState(1);
    world_.depths[7] = -100.0f; // on its way back home

    drawFrame();
    EXPECT_EQ(world_.depths[3], kBackgroundHomeDepth - 1.0f);
    EXPECT_EQ(world_.depths[7], -98.0f);
    EXPECT_EQ(world_.depths[0], kBackgroundHomeDepth);

    drawFrame();
    EXPECT_EQ(world_.depths[3], kBackgroundHomeDepth - 2.0f);
    EXPECT_EQ(world_.depths[7], -96.0f);
}

TEST_F(SceneTest, OverlayShowsAutoSolveAlwaysAndMovesRemainingOnlyWhileOn) {
    drawFrame();
    // "Auto solve is OFF" fills 17 cells; nothing of the second line is drawn.
    EXPECT_GT(textPixels(line1_, 0, 15), 100);
    EXPECT_GT(textPixels(line1_, 16, 16), 5);
    EXPECT_EQ(textPixels(line1_, 17, 22), 0);
    EXPECT_EQ(textPixels(line2_, 0, 22), 0);

    world_.mainCube.setAutoSolve(true);
    for (int i = 0; i < 12345; ++i) {
        world_.mainCube.pending.push_back(Move(0, true));
    }
    drawFrame();
    // "Auto solve is ON" is one cell shorter.
    EXPECT_GT(textPixels(line1_, 0, 15), 100);
    EXPECT_EQ(textPixels(line1_, 16, 22), 0);
    // "Moves Remaining: 12345": 17 cells of words, then five digits.
    EXPECT_GT(textPixels(line2_, 0, 16), 100);
    EXPECT_GT(textPixels(line2_, 17, 21), 20);
    EXPECT_EQ(textPixels(line2_, 22, 30), 0);

    world_.mainCube.pending.resize(7);
    drawFrame();
    EXPECT_GT(textPixels(line2_, 17, 17), 5);
    EXPECT_EQ(textPixels(line2_, 18, 30), 0);
}

TEST_F(SceneTest, FontIsBuiltOnTheFirstFrameAndRebuiltAfterTheContextChanges) {
    drawFrame();
    const unsigned int base = BitmapFont::instance(gl_->token()).listBase();
    ASSERT_NE(base, 0u);
    drawFrame();
    EXPECT_EQ(BitmapFont::instance(gl_->token()).listBase(), base);
    EXPECT_EQ(glIsList(base + BitmapFont::kGlyphCount), GL_FALSE);

    // The fullscreen toggle: new context, then the font is released.
    gl_->replaceContext();
    target_->setToken(gl_->token());
    BitmapFont::release(gl_->token());
    drawFrame();
    EXPECT_EQ(BitmapFont::instance(gl_->token()).context(), gl_->token());
    EXPECT_GT(textPixels(line1_, 0, 15), 100);
}

TEST_F(SceneTest, BatchedBackgroundLooksLikeEachCubeDrawnOnItsOwn) {
    makeBusyBackground(world_);
    auto reference = std::make_unique<World>();
    setSolvedStickers(reference->mainCube);
    makeBusyBackground(*reference);

    drawFrame();
    const std::vector<unsigned char> batched = readFrame();
    drawCubesOneByOne(*reference);
    const std::vector<unsigned char> oneByOne = readFrame();

    // Both ways advanced the same turns and flights.
    for (std::size_t i = 0; i < kBackgroundCount; ++i) {
        const Cube& cube = world_.background[i];
        const Cube& expected = reference->background[i];
        EXPECT_EQ(cube.layerAngleX + cube.layerAngleY + cube.layerAngleZ,
                  expected.layerAngleX + expected.layerAngleY + expected.layerAngleZ)
            << "cube " << i;
        EXPECT_EQ(world_.depths[i], reference->depths[i]) << "cube " << i;
    }
    EXPECT_EQ(std::abs(world_.background[5].layerAngleY), 30.0f);

    // The overlay is only in the scene's frame, so its cells are left out.
    const auto inText = [this](int x, int y) {
        for (const auto& line : {line1_, line2_}) {
            if (x >= line[0] && x < line[0] + 11 * 23 && y >= line[1] - 6 && y < line[1] + 16) {
                return true;
            }
        }
        return false;
    };
    // Pixels off by more than a 16-bit surface's rounding. Rounding the CPU's vertex
    // positions differently from GL's may move a pixel on a sticker's edge to the
    // neighbouring colour, nothing more.
    int lit = 0;
    int different = 0;
    for (int y = 0; y < test::kHeight; ++y) {
        for (int x = 0; x < test::kWidth; ++x) {
            if (inText(x, y)) {
                continue;
            }
            const std::size_t at = static_cast<std::size_t>(y * test::kWidth + x) * 4;
            bool differs = false;
            bool isLit = false;
            for (std::size_t channel = 0; channel < 3; ++channel) {
                differs = differs || std::abs(batched[at + channel] - oneByOne[at + channel]) > 8;
                isLit = isLit || oneByOne[at + channel] > 8;
            }
            lit += isLit ? 1 : 0;
            different += differs ? 1 : 0;
        }
    }
    // The main cube alone lights about 39000 pixels, the background cubes some 23000 more;
    // a layer left unturned changes thousands of pixels.
    EXPECT_GT(lit, 55000);
    EXPECT_LE(different, 60) << "of " << lit << " lit pixels";
}

} // namespace
} // namespace cw
