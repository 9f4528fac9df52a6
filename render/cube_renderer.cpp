// The cube renderer: one geometry table per face drives every sticker, and one table per
// face names the layer that turns with it. Called by the scene for every cube.
#include "render/cube_renderer.h"

#include <GL/gl.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace cw {
namespace {

/// Distance between neighbouring sticker centres on a face (4/3).
constexpr float kPitch = 1.3333334f;
/// Half the side of a sticker square (2/3).
constexpr float kHalfSticker = 0.6666667f;

/// A corner of a sticker relative to its cubie's offset, as signs of h along x, y, z.
struct Corner {
    std::int8_t x;
    std::int8_t y;
    std::int8_t z;
};

using Vec3i = std::array<int, 3>;

/// Everything that differs between the faces. A sticker's offset from the cube centre is
/// (origin + row * rowStep + column * columnStep) * pitch, so row 0 and column 0 sit at the
/// top left of the face seen from outside. Both triangles wind counter-clockwise seen from
/// outside, so they survive back-face culling.
struct FaceGeometry {
    Vec3i origin;
    Vec3i rowStep;
    Vec3i columnStep;
    std::array<float, 3> normal;
    std::array<Corner, 6> triangles;
    std::array<Corner, 8> outline;
};

// clang-format off
constexpr std::array<FaceGeometry, kFaceCount> kFaces = {{
    // Face 0, front (+z): offset ((c-1)s, (1-r)s, s).
    {{-1, 1, 1}, {0, -1, 0}, {1, 0, 0}, {0.0f, 0.0f, 1.0f},
     {{{+1, +1, +1}, {-1, +1, +1}, {-1, -1, +1}, {+1, +1, +1}, {-1, -1, +1}, {+1, -1, +1}}},
     {{{+1, +1, +1}, {-1, +1, +1}, {-1, +1, +1}, {-1, -1, +1},
       {-1, -1, +1}, {+1, -1, +1}, {+1, -1, +1}, {+1, +1, +1}}}},
    // Face 1, right (+x): offset (s, (1-r)s, (1-c)s).
    {{1, 1, 1}, {0, -1, 0}, {0, 0, -1}, {1.0f, 0.0f, 0.0f},
     {{{+1, -1, -1}, {+1, +1, -1}, {+1, +1, +1}, {+1, -1, +1}, {+1, -1, -1}, {+1, +1, +1}}},
     {{{+1, +1, +1}, {+1, +1, -1}, {+1, +1, -1}, {+1, -1, -1},
       {+1, -1, -1}, {+1, -1, +1}, {+1, -1, +1}, {+1, +1, +1}}}},
    // Face 2, up (+y): offset ((c-1)s, s, (r-1)s).
    {{-1, 1, -1}, {0, 0, 1}, {1, 0, 0}, {0.0f, 1.0f, 0.0f},
     {{{+1, +1, -1}, {-1, +1, -1}, {-1, +1, +1}, {+1, +1, -1}, {-1, +1, +1}, {+1, +1, +1}}},
     {{{+1, +1, -1}, {-1, +1, -1}, {-1, +1, -1}, {-1, +1, +1},
       {-1, +1, +1}, {+1, +1, +1}, {+1, +1, +1}, {+1, +1, -1}}}},
    // Face 3, back (-z): offset ((1-c)s, (1-r)s, -s).
    {{1, 1, -1}, {0, -1, 0}, {-1, 0, 0}, {0.0f, 0.0f, -1.0f},
     {{{-1, -1, -1}, {-1, +1, -1}, {+1, +1, -1}, {+1, -1, -1}, {-1, -1, -1}, {+1, +1, -1}}},
     {{{+1, +1, -1}, {-1, +1, -1}, {-1, +1, -1}, {-1, -1, -1},
       {-1, -1, -1}, {+1, -1, -1}, {+1, -1, -1}, {+1, +1, -1}}}},
    // Face 4, left (-x): offset (-s, (1-r)s, (c-1)s).
    {{-1, 1, -1}, {0, -1, 0}, {0, 0, 1}, {-1.0f, 0.0f, 0.0f},
     {{{-1, +1, +1}, {-1, +1, -1}, {-1, -1, -1}, {-1, +1, +1}, {-1, -1, -1}, {-1, -1, +1}}},
     {{{-1, +1, +1}, {-1, +1, -1}, {-1, +1, -1}, {-1, -1, -1},
       {-1, -1, -1}, {-1, -1, +1}, {-1, -1, +1}, {-1, +1, +1}}}},
    // Face 5, down (-y): offset ((c-1)s, -s, (1-r)s).
    {{-1, -1, 1}, {0, 0, -1}, {1, 0, 0}, {0.0f, -1.0f, 0.0f},
     {{{-1, -1, +1}, {-1, -1, -1}, {+1, -1, -1}, {+1, -1, +1}, {-1, -1, +1}, {+1, -1, -1}}},
     {{{+1, -1, -1}, {-1, -1, -1}, {-1, -1, -1}, {-1, -1, +1},
       {-1, -1, +1}, {+1, -1, +1}, {+1, -1, +1}, {+1, -1, -1}}}},
}};
// clang-format on

/// Three stickers of a neighbouring face that ride with a turning layer: one row or one
/// column, walked over index 0, 1, 2 of the free coordinate.
struct Strip {
    int face;
    bool isRow;
    int index;
};

/// The axis a face's layer turns about, and its twelve neighbour stickers in drawing order.
struct TurningLayer {
    std::array<float, 3> axis;
    std::array<Strip, 4> neighbours;
};

constexpr bool kRow = true;
constexpr bool kColumn = false;

// clang-format off
constexpr std::array<TurningLayer, kFaceCount> kLayers = {{
    {{0.0f, 0.0f, 1.0f}, {{{2, kRow, 2}, {1, kColumn, 0}, {4, kColumn, 2}, {5, kRow, 0}}}},
    {{1.0f, 0.0f, 0.0f}, {{{2, kColumn, 2}, {0, kColumn, 2}, {5, kColumn, 2}, {3, kColumn, 0}}}},
    {{0.0f, 1.0f, 0.0f}, {{{0, kRow, 0}, {4, kRow, 0}, {3, kRow, 0}, {1, kRow, 0}}}},
    {{0.0f, 0.0f, 1.0f}, {{{2, kRow, 0}, {4, kColumn, 0}, {5, kRow, 2}, {1, kColumn, 2}}}},
    {{1.0f, 0.0f, 0.0f}, {{{2, kColumn, 0}, {0, kColumn, 0}, {5, kColumn, 0}, {3, kColumn, 2}}}},
    {{0.0f, 1.0f, 0.0f}, {{{0, kRow, 2}, {4, kRow, 2}, {3, kRow, 2}, {1, kRow, 2}}}},
}};
// clang-format on

/// The fixed tilt about the diagonal between x and y, so three faces face the viewer.
constexpr float kTiltDegrees = 45.0f;

void vertex(const Corner& corner) {
    glVertex3f(static_cast<float>(corner.x) * kHalfSticker,
               static_cast<float>(corner.y) * kHalfSticker,
               static_cast<float>(corner.z) * kHalfSticker);
}

void drawFace(Cube& cube, int face) {
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            drawSticker(cube, face, row, column);
        }
    }
}

bool isFace(int face) {
    return face >= 0 && face < kFaceCount;
}

} // namespace

void drawSticker(Cube& cube, int face, int row, int column) {
    if (!isFace(face) || row < 0 || row > 2 || column < 0 || column > 2) {
        return;
    }
    Facelet& sticker = cube.facelets[static_cast<std::size_t>(face * 9 + row * 3 + column)];
    if (sticker.drawn) {
        return;
    }
    const FaceGeometry& geometry = kFaces[static_cast<std::size_t>(face)];

    const std::array<float, 3>& rgb = paletteColour(sticker.colour);
    const std::array<float, 4> colour = {rgb[0], rgb[1], rgb[2], cube.alpha()};

    std::array<float, 3> offset{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const int units = geometry.origin[axis] + row * geometry.rowStep[axis] +
                          column * geometry.columnStep[axis];
        offset[axis] = static_cast<float>(units) * kPitch;
    }

    glPushMatrix();
    glTranslatef(offset[0], offset[1], offset[2]);

    glNormal3fv(geometry.normal.data());
    glColor4fv(colour.data());
    glBegin(GL_TRIANGLES);
    for (const Corner& corner : geometry.triangles) {
        vertex(corner);
    }
    glEnd();

    sticker.drawn = true;

    glColor3fv(paletteColour(kBlack).data());
    glBegin(GL_LINES);
    for (const Corner& corner : geometry.outline) {
        vertex(corner);
    }
    glEnd();

    glPopMatrix();
}

void draw(Cube& cube) {
    glRotatef(kTiltDegrees, 1.0f, 1.0f, 0.0f);
    glRotatef(cube.viewAngleX(), 1.0f, 0.0f, 0.0f);
    glRotatef(cube.viewAngleY(), 0.0f, 1.0f, 0.0f);
    glRotatef(cube.viewAngleZ(), 0.0f, 0.0f, 1.0f);

    cube.clearMarks();

    // The turning layer first, rotated by this frame's angle. Advancing the angle may
    // complete the turn, in which case the layer is drawn at rest with the turned stickers.
    const int turning = cube.turningFace();
    glPushMatrix();
    if (isFace(turning)) {
        const TurningLayer& layer = kLayers[static_cast<std::size_t>(turning)];
        const float angle = cube.advanceTurn();
        glRotatef(angle, layer.axis[0], layer.axis[1], layer.axis[2]);
        drawFace(cube, turning);
        for (const Strip& strip : layer.neighbours) {
            for (int i = 0; i < 3; ++i) {
                drawSticker(cube, strip.face, strip.isRow ? strip.index : i,
                            strip.isRow ? i : strip.index);
            }
        }
    }
    glPopMatrix();

    // Everything else at rest; the stickers drawn with the layer are skipped by their marks.
    glPushMatrix();
    for (int face = 0; face < kFaceCount; ++face) {
        if (face != cube.turningFace()) {
            drawFace(cube, face);
        }
    }
    glPopMatrix();
}

} // namespace cw
