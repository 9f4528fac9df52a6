// The cube renderer's GL side: a cube's stickers visited in drawing order, collected into
// sticker batches (sticker_mesh.h) and handed to GL as vertex arrays, two draw calls a
// group. Called by the scene for every cube.
#include "render/cube_renderer.h"

#include <GL/gl.h>

#include <array>
#include <cstddef>

#include "render/view.h"

namespace cw {
namespace {

/// The batch that draw fills, one group at a time. The program draws on one thread, and a
/// group is always drawn before the next one is collected, so one batch serves every cube.
StickerBatch gBatch;

/// Visits a cube's stickers in drawing order, once for draw and once for drawInto, so both
/// draw the same stickers and animate the same way. `startLayer(angle, axis)` opens the
/// turning layer's group, `startRest()` the group of everything at rest, and `endGroup()`
/// closes either.
template <typename StartLayer, typename StartRest, typename EndGroup>
void visitStickers(Cube& cube, StickerBatch& batch, StartLayer startLayer, StartRest startRest,
                   EndGroup endGroup) {
    const auto face = [&cube, &batch](int f) {
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                drawSticker(cube, f, row, column, batch);
            }
        }
    };

    cube.clearMarks();

    // The turning layer first, rotated by this frame's angle. Advancing the angle may
    // complete the turn, in which case the layer is drawn at rest with the turned stickers.
    const int turning = cube.turningFace();
    if (isFace(turning)) {
        const TurningLayer& layer = turningLayer(turning);
        const float angle = cube.advanceTurn();
        startLayer(angle, layer.axis);
        face(turning);
        for (const Strip& strip : layer.neighbours) {
            for (int i = 0; i < 3; ++i) {
                drawSticker(cube, strip.face, strip.isRow ? strip.index : i,
                            strip.isRow ? i : strip.index, batch);
            }
        }
        endGroup();
    }

    // Everything else at rest; the stickers drawn with the layer are skipped by their marks.
    startRest();
    for (int f = 0; f < kFaceCount; ++f) {
        if (f != cube.turningFace()) {
            face(f);
        }
    }
    endGroup();
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
    if (batch.stickers == batch.capacity()) {
        drawBatch(batch);
    }
    const std::array<float, 3>& rgb = paletteColour(sticker.colour);
    addSquare(batch, index, {rgb[0], rgb[1], rgb[2], cube.alpha()});
    sticker.drawn = true;
}

void drawBatch(StickerBatch& batch) {
    closeOutlines(batch);
    if (batch.stickers == 0) {
        return;
    }
    const auto squareCount = static_cast<GLsizei>(batch.stickers * StickerBatch::kSquareVertices);
    const auto outlineCount = static_cast<GLsizei>(batch.outlineVertices);
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
    batch.outlineVertices = 0;
}

void draw(Cube& cube) {
    glRotatef(kTiltDegrees, 1.0f, 1.0f, 0.0f);
    glRotatef(cube.viewAngleX(), 1.0f, 0.0f, 0.0f);
    glRotatef(cube.viewAngleY(), 0.0f, 1.0f, 0.0f);
    glRotatef(cube.viewAngleZ(), 0.0f, 0.0f, 1.0f);

    visitStickers(
        cube, gBatch,
        [](float angle, const std::array<float, 3>& axis) {
            glPushMatrix();
            glRotatef(angle, axis[0], axis[1], axis[2]);
        },
        [] { glPushMatrix(); },
        [] {
            drawBatch(gBatch);
            glPopMatrix();
        });
}

void drawInto(Cube& cube, const Matrix4& base, StickerBatch& batch) {
    const Matrix4 cubeMatrix = placeCube(base, cube);

    // Each group dedupes its own outline edges, as when it is drawn on its own: an edge
    // between the turning layer and the rest is outlined on both sides. A group's outline
    // is laid down, under its own placement, when the next group starts or the batch is
    // drawn.
    visitStickers(
        cube, batch,
        [&batch, &cubeMatrix](float angle, const std::array<float, 3>& axis) {
            closeOutlines(batch);
            batch.placement = multiply(cubeMatrix, rotation(angle, axis[0], axis[1], axis[2]));
            batch.placed = true;
        },
        [&batch, &cubeMatrix] {
            closeOutlines(batch);
            batch.placement = cubeMatrix;
            batch.placed = true;
        },
        [] {});
}

} // namespace cw
