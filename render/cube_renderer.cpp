// The cube renderer: one geometry table per face drives every sticker, and one table per
// face names the layer that turns with it. Called by the scene for every cube.
#include "render/cube_renderer.h"

#include <GL/gl.h>

#include <algorithm>
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

/// A sticker's corners relative to the cube centre, worked out once from the face table:
/// the two triangles (colour left for drawing time) and the four outline segments.
struct StickerShape {
    std::array<SquareVertex, StickerBatch::kSquareVertices> squares;
    std::array<OutlineVertex, StickerBatch::kOutlineVertices> outline;
};

constexpr std::array<float, 3> cornerPosition(const std::array<float, 3>& offset,
                                              const Corner& corner) {
    return {offset[0] + static_cast<float>(corner.x) * kHalfSticker,
            offset[1] + static_cast<float>(corner.y) * kHalfSticker,
            offset[2] + static_cast<float>(corner.z) * kHalfSticker};
}

constexpr StickerShape stickerShape(const FaceGeometry& geometry, int row, int column) {
    std::array<float, 3> offset{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const int units = geometry.origin[axis] + row * geometry.rowStep[axis] +
                          column * geometry.columnStep[axis];
        offset[axis] = static_cast<float>(units) * kPitch;
    }
    StickerShape shape{};
    for (std::size_t i = 0; i < shape.squares.size(); ++i) {
        shape.squares[i] = {{}, geometry.normal, cornerPosition(offset, geometry.triangles[i])};
    }
    for (std::size_t i = 0; i < shape.outline.size(); ++i) {
        shape.outline[i] = {geometry.normal, cornerPosition(offset, geometry.outline[i])};
    }
    return shape;
}

/// Every sticker's shape in sticker-index order (face * 9 + row * 3 + column). Computed at
/// compile time, so drawing a sticker only copies its corners and sets its colour.
constexpr std::array<StickerShape, StickerBatch::kCapacity> kShapes = [] {
    std::array<StickerShape, StickerBatch::kCapacity> shapes{};
    for (std::size_t face = 0; face < kFaces.size(); ++face) {
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                shapes[face * 9 + static_cast<std::size_t>(row * 3 + column)] =
                    stickerShape(kFaces[face], row, column);
            }
        }
    }
    return shapes;
}();

/// The batch that draw fills, one group at a time. The program draws on one thread, and a
/// group is always drawn before the next one is collected, so one batch serves every cube.
StickerBatch gBatch;

void drawFace(Cube& cube, int face) {
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            drawSticker(cube, face, row, column, gBatch);
        }
    }
}

bool isFace(int face) {
    return face >= 0 && face < kFaceCount;
}

} // namespace

void drawSticker(Cube& cube, int face, int row, int column, StickerBatch& batch) {
    if (!isFace(face) || row < 0 || row > 2 || column < 0 || column > 2) {
        return;
    }
    const auto index = static_cast<std::size_t>(face * 9 + row * 3 + column);
    Facelet& sticker = cube.facelets[index];
    if (sticker.drawn) {
        return;
    }
    if (batch.stickers == StickerBatch::kCapacity) {
        drawBatch(batch);
    }

    const std::array<float, 3>& rgb = paletteColour(sticker.colour);
    const std::array<float, 4> colour = {rgb[0], rgb[1], rgb[2], cube.alpha()};

    const StickerShape& shape = kShapes[index];
    const auto squares =
        batch.squares.begin() + static_cast<std::ptrdiff_t>(batch.stickers * shape.squares.size());
    std::copy(shape.squares.begin(), shape.squares.end(), squares);
    std::for_each(squares, squares + static_cast<std::ptrdiff_t>(shape.squares.size()),
                  [&colour](SquareVertex& vertex) { vertex.colour = colour; });
    std::copy(shape.outline.begin(), shape.outline.end(),
              batch.outlines.begin() +
                  static_cast<std::ptrdiff_t>(batch.stickers * shape.outline.size()));
    ++batch.stickers;

    sticker.drawn = true;
}

void drawBatch(StickerBatch& batch) {
    if (batch.stickers == 0) {
        return;
    }
    const auto squareCount = static_cast<GLsizei>(batch.stickers * StickerBatch::kSquareVertices);
    const auto outlineCount = static_cast<GLsizei>(batch.stickers * StickerBatch::kOutlineVertices);
    constexpr auto kSquareStride = static_cast<GLsizei>(sizeof(SquareVertex));
    constexpr auto kOutlineStride = static_cast<GLsizei>(sizeof(OutlineVertex));

    // The caller's arrays are put back afterwards. Any array this batch does not fill is
    // switched off meanwhile, so GL never reads through a pointer someone else left behind.
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_INDEX_ARRAY);
    glDisableClientState(GL_EDGE_FLAG_ARRAY);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);

    glEnableClientState(GL_COLOR_ARRAY);
    const SquareVertex& square = batch.squares.front();
    glColorPointer(4, GL_FLOAT, kSquareStride, square.colour.data());
    glNormalPointer(GL_FLOAT, kSquareStride, square.normal.data());
    glVertexPointer(3, GL_FLOAT, kSquareStride, square.position.data());
    // Every corner of a square has the same colour, so flat shading draws the same square;
    // it also rounds the colour exactly as one glColor before the triangles would, where
    // interpolating equal colours can land one step off on halves such as orange's green.
    GLint shadeModel = GL_SMOOTH;
    glGetIntegerv(GL_SHADE_MODEL, &shadeModel);
    glShadeModel(GL_FLAT);
    glDrawArrays(GL_TRIANGLES, 0, squareCount);
    glShadeModel(static_cast<GLenum>(shadeModel));

    // Outlines are drawn after every square of the group, so a neighbour's square never
    // covers them; depth testing with LEQUAL lets them show in the squares' plane. Setting
    // the colour here also leaves it defined, as a colour array leaves it undefined.
    glDisableClientState(GL_COLOR_ARRAY);
    glColor3fv(paletteColour(kBlack).data());
    const OutlineVertex& outline = batch.outlines.front();
    glNormalPointer(GL_FLOAT, kOutlineStride, outline.normal.data());
    glVertexPointer(3, GL_FLOAT, kOutlineStride, outline.position.data());
    glDrawArrays(GL_LINES, 0, outlineCount);

    glPopClientAttrib();
    batch.stickers = 0;
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
                            strip.isRow ? i : strip.index, gBatch);
            }
        }
        drawBatch(gBatch);
    }
    glPopMatrix();

    // Everything else at rest; the stickers drawn with the layer are skipped by their marks.
    glPushMatrix();
    for (int face = 0; face < kFaceCount; ++face) {
        if (face != cube.turningFace()) {
            drawFace(cube, face);
        }
    }
    drawBatch(gBatch);
    glPopMatrix();
}

} // namespace cw
