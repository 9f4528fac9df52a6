// Runs with a font configuration that knows no fonts: the overlay draws nothing and the
// frame still comes out.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdlib>
#include <memory>

#include "app/world_scene.h"
#include "render/bitmap_font.h"
#include "tests/render/gl_context.h"

namespace cw {
namespace {

using test::GLContext;

class CountingTarget : public FrameTarget {
public:
    explicit CountingTarget(ContextToken token) : token_(token) {}
    ContextToken contextToken() const override { return token_; }
    void swapBuffers() override { ++swaps; }
    int swaps = 0;

private:
    ContextToken token_;
};

TEST(NoFont, PrintDrawsNothingAndTheSceneGoesOn) {
    // Nothing has asked fontconfig for anything yet in this process.
    ASSERT_EQ(setenv("FONTCONFIG_FILE", CW_NO_FONTS_CONF, 1), 0);
    GLContext gl;
    ASSERT_TRUE(gl.ok());

    BitmapFont& font = BitmapFont::instance(gl.token());
    EXPECT_EQ(font.listBase(), 0u);
    glRasterPos2f(0.0f, 0.0f);
    std::array<GLfloat, 4> before{};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, before.data());
    font.print("Auto solve is %s", "OFF");
    std::array<GLfloat, 4> after{};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, after.data());
    EXPECT_EQ(after[0], before[0]);

    World world;
    for (std::size_t i = 0; i < kBackgroundCount; ++i) {
        world.background[i].setAlpha(kBackgroundAlpha);
        world.depths[i] = kBackgroundHomeDepth;
    }
    world.mainCube.setAutoSolve(true);
    CountingTarget target(gl.token());
    WorldRenderer renderer;
    renderer.draw(world, target);
    glFinish();
    EXPECT_EQ(target.swaps, 1);
    // The main cube is there; the overlay corners hold no white text (the background
    // cubes there are at 30 per cent).
    EXPECT_GT(GLContext::countBright(200, 100, 440, 380, 60), 1000);
    EXPECT_EQ(GLContext::countBright(0, 430, 250, 470, 250), 0);
    EXPECT_EQ(GLContext::countBright(0, 0, 250, 40, 250), 0);

    BitmapFont::release(gl.token());
    BitmapFont::release(gl.token());
}

} // namespace
} // namespace cw
