// Picking and drags held to what GL draws: the main cube drawn by the renderer as the scene
// places it, on a real context with the window's projection, at a grid of view angles and
// client sizes. The point GL draws a sticker's centre at picks that sticker; a point where
// nothing is drawn picks nothing; and a drag along each of a face's four grid directions
// asks for the turn that carries the grabbed sticker onto the face it was pushed towards,
// or for none along a middle row or column.
#include "app/drag.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "platform/gl_setup.h"
#include "render/cube_renderer.h"
#include "render/sticker_mesh.h"
#include "render/view.h"

#include "tests/render/gl_context.h"

namespace cw {
namespace {

using Vec3 = std::array<float, 3>;

struct Setting {
    ClientSize size;
    float x;
    float y;
    float z;
};

std::vector<Setting> settings() {
    std::vector<Setting> all;
    // A window, a phone's canvas, a wide full screen and a square.
    for (const ClientSize size :
         {ClientSize{640, 480}, ClientSize{400, 300}, ClientSize{640, 360}, ClientSize{480, 480}}) {
        for (const float x : {0.0f, 200.0f}) {
            for (const float y : {0.0f, 45.0f, 160.0f, 290.0f}) {
                for (const float z : {0.0f, 110.0f, 250.0f}) {
                    all.push_back({size, x, y, z});
                }
            }
        }
    }
    return all;
}

/// The main cube drawn alone, as the scene draws it, with what GL made of it.
class DrawnCube {
public:
    DrawnCube(Cube& cube, ClientSize size) : size_(size) {
        setViewportAndProjection(size.width, size.height);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, kMainCubeDepth);
        glDisable(GL_BLEND);
        draw(cube);
        glEnable(GL_BLEND);
        // draw leaves the cube's tilt and view rotations on the modelview matrix.
        glGetFloatv(GL_MODELVIEW_MATRIX, modelview_.data());
        for (int face = 0; face < kFaceCount; ++face) {
            for (int row = 0; row < 3; ++row) {
                for (int column = 0; column < 3; ++column) {
                    centres_[static_cast<std::size_t>(face * 9 + row * 3 + column)] =
                        window(stickerCentre(face, row, column));
                }
            }
        }
        depth_.resize(static_cast<std::size_t>(size.width * size.height));
        glReadPixels(0, 0, size.width, size.height, GL_DEPTH_COMPONENT, GL_FLOAT, depth_.data());
        glLoadIdentity();
    }

    /// Where GL puts a point of the cube's frame: x from the left, y from the top, depth.
    std::array<double, 3> window(const Vec3& point) const {
        glPushMatrix();
        glLoadMatrixf(modelview_.data());
        std::array<double, 3> at = test::project(point[0], point[1], point[2]);
        glPopMatrix();
        at[1] = size_.height - at[1];
        return at;
    }

    const std::array<double, 3>& centre(int face, int row, int column) const {
        return centres_[static_cast<std::size_t>(face * 9 + row * 3 + column)];
    }

    /// The depth buffer at pixel (x, y), y from the top; 1 where nothing was drawn.
    float depth(int x, int y) const {
        return depth_[static_cast<std::size_t>((size_.height - 1 - y) * size_.width + x)];
    }

    /// True when the sticker's centre is what GL shows at its pixel, on a face turned at
    /// least 20 degrees towards the eye (a face seen edge-on is no place to aim at).
    bool shows(int face, int row, int column) const {
        const std::array<double, 3>& at = centre(face, row, column);
        const Vec3& n = faceNormal(face);
        const float towardsEye =
            modelview_[2] * n[0] + modelview_[6] * n[1] + modelview_[10] * n[2];
        const int x = static_cast<int>(at[0]);
        const int y = static_cast<int>(at[1]);
        return towardsEye > 0.35f && x >= 0 && y >= 0 && x < size_.width && y < size_.height &&
               std::fabs(depth(x, y) - at[2]) < 1e-3;
    }

    /// True when nothing, or the cube, was drawn all around (x, y) within `reach` pixels.
    bool clearAround(int x, int y, int reach, bool drawn) const {
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                if ((depth(x + dx, y + dy) < 1.0f) != drawn) {
                    return false;
                }
            }
        }
        return true;
    }

private:
    ClientSize size_;
    std::array<float, 16> modelview_{};
    std::array<std::array<double, 3>, 54> centres_{};
    std::vector<float> depth_;
};

class Picking : public ::testing::Test {
protected:
    test::GLContext gl;
};

TEST_F(Picking, StickerCentresPickTheirStickersAndEmptyPointsPickNothing) {
    ASSERT_TRUE(gl.ok());
    for (const Setting& setting : settings()) {
        Cube cube;
        cube.setViewAngleX(setting.x);
        cube.setViewAngleY(setting.y);
        cube.setViewAngleZ(setting.z);
        const DrawnCube drawn(cube, setting.size);
        SCOPED_TRACE(::testing::Message()
                     << setting.size.width << "x" << setting.size.height << " at " << setting.x
                     << ", " << setting.y << ", " << setting.z);
        int shown = 0;
        for (int face = 0; face < kFaceCount; ++face) {
            for (int row = 0; row < 3; ++row) {
                for (int column = 0; column < 3; ++column) {
                    if (!drawn.shows(face, row, column)) {
                        continue;
                    }
                    ++shown;
                    const auto& at = drawn.centre(face, row, column);
                    const auto picked =
                        pickSticker(cube, static_cast<float>(std::floor(at[0])),
                                    static_cast<float>(std::floor(at[1])), setting.size);
                    ASSERT_TRUE(picked.has_value()) << "sticker " << face << row << column;
                    EXPECT_EQ(*picked, (StickerHit{face, row, column}));
                }
            }
        }
        EXPECT_GE(shown, 9) << "too few stickers face the eye to test";

        // Every 16th pixel, away from the cube's outline: drawn or not, as GL drew it.
        int empty = 0;
        for (int y = 3; y < setting.size.height - 3; y += 16) {
            for (int x = 3; x < setting.size.width - 3; x += 16) {
                const bool beside = drawn.clearAround(x, y, 2, false);
                const bool on = drawn.clearAround(x, y, 2, true);
                if (!beside && !on) {
                    continue;
                }
                empty += beside ? 1 : 0;
                EXPECT_EQ(
                    pickSticker(cube, static_cast<float>(x), static_cast<float>(y), setting.size)
                        .has_value(),
                    on)
                    << "at " << x << ", " << y;
            }
        }
        EXPECT_GT(empty, 100);
    }
}

/// The face whose outward normal is `direction`.
int faceTowards(const Vec3& direction) {
    for (int face = 0; face < kFaceCount; ++face) {
        const Vec3& n = faceNormal(face);
        if (n[0] * direction[0] + n[1] * direction[1] + n[2] * direction[2] > 0.5f) {
            return face;
        }
    }
    return -1;
}

TEST_F(Picking, ADragCarriesTheGrabbedStickerOntoTheFaceItWasPushedTowards) {
    ASSERT_TRUE(gl.ok());
    int turns = 0;
    int middles = 0;
    for (const Setting& setting : settings()) {
        Cube cube;
        cube.setViewAngleX(setting.x);
        cube.setViewAngleY(setting.y);
        cube.setViewAngleZ(setting.z);
        const DrawnCube drawn(cube, setting.size);
        for (int face = 0; face < kFaceCount; ++face) {
            const Vec3& normal = faceNormal(face);
            for (int row = 0; row < 3; ++row) {
                for (int column = 0; column < 3; ++column) {
                    if (!drawn.shows(face, row, column)) {
                        continue;
                    }
                    const Vec3 centre = stickerCentre(face, row, column);
                    const auto& from = drawn.centre(face, row, column);
                    // The four directions along the face: the unit axes across its normal.
                    for (std::size_t axis = 0; axis < 3; ++axis) {
                        if (normal[axis] != 0.0f) {
                            continue;
                        }
                        for (const float sign : {1.0f, -1.0f}) {
                            Vec3 pushed{};
                            pushed[axis] = sign;
                            const auto to = drawn.window({centre[0] + 0.5f * pushed[0],
                                                          centre[1] + 0.5f * pushed[1],
                                                          centre[2] + 0.5f * pushed[2]});
                            const DragTurn turn = dragTurn(
                                cube, {face, row, column}, static_cast<float>(to[0] - from[0]),
                                static_cast<float>(to[1] - from[1]), setting.size);
                            SCOPED_TRACE(::testing::Message()
                                         << "sticker " << face << row << column << " pushed "
                                         << axis << (sign > 0 ? "+" : "-") << " at " << setting.x
                                         << ", " << setting.y << ", " << setting.z << ", "
                                         << setting.size.width << "x" << setting.size.height);
                            // The layer that carries the sticker that way turns about the
                            // axis across both; the sticker's place along it names the layer.
                            const Vec3 across = {normal[1] * pushed[2] - normal[2] * pushed[1],
                                                 normal[2] * pushed[0] - normal[0] * pushed[2],
                                                 normal[0] * pushed[1] - normal[1] * pushed[0]};
                            const float along = centre[0] * across[0] + centre[1] * across[1] +
                                                centre[2] * across[2];
                            if (std::fabs(along) < 0.1f) {
                                ++middles;
                                EXPECT_FALSE(turn.turnsFace) << "a middle slice turned a face";
                                continue;
                            }
                            ++turns;
                            ASSERT_TRUE(turn.turnsFace);
                            // Follow the grabbed sticker through the turn on the model.
                            Cube model;
                            for (std::size_t i = 0; i < model.facelets.size(); ++i) {
                                model.facelets[i].code = static_cast<std::int32_t>(i);
                            }
                            model.turn(turn.face, turn.clockwise);
                            const int grabbed = face * 9 + row * 3 + column;
                            int landed = -1;
                            for (std::size_t i = 0; i < model.facelets.size(); ++i) {
                                if (model.facelets[i].code == grabbed) {
                                    landed = static_cast<int>(i);
                                }
                            }
                            EXPECT_EQ(landed / 9, faceTowards(pushed));
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(turns, 700);
    EXPECT_GT(middles, 200);
}

} // namespace
} // namespace cw
