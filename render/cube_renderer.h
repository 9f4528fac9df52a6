// Draws one cube with OpenGL 1.1 vertex arrays: the fixed tilt, the cube's view rotations,
// its 54 stickers and its turning layer. The scene calls it once per cube per frame.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>

#include "cube/cube.h"

namespace cw {

/// One corner of a sticker square as GL reads it from the square array.
struct SquareVertex {
    std::array<float, 4> colour;
    std::array<float, 3> normal;
    std::array<float, 3> position;
};

/// One end of an outline segment as GL reads it from the outline array. Outlines are all
/// black, so they carry no colour of their own.
struct OutlineVertex {
    std::array<float, 3> normal;
    std::array<float, 3> position;
};

/// The squares and outlines of stickers that share one modelview matrix, collected so that
/// the whole group costs two draw calls instead of two per sticker. Sticker positions are
/// relative to the cube centre. An outline edge that two stickers of the batch share is
/// kept once. Reused from frame to frame, so drawing allocates nothing.
struct StickerBatch {
    static constexpr std::size_t kCapacity = kFaceCount * 9;
    static constexpr std::size_t kSquareVertices = 6;
    static constexpr std::size_t kOutlineVertices = 8;
    /// Distinct outline edges of a cube: 24 per face, less the 36 that two faces share.
    static constexpr std::size_t kEdgeCount = 108;

    std::array<SquareVertex, kCapacity * kSquareVertices> squares{};
    std::array<OutlineVertex, kCapacity * kOutlineVertices> outlines{};
    std::size_t stickers = 0;
    std::size_t outlineVertices = 0;
    std::bitset<kEdgeCount> edgesDrawn;
};

/// Draws `cube` at the position the modelview matrix gives its centre, and advances its
/// turn animation by one frame (which may apply the turn and end it). Leaves the tilt and
/// view rotations on the modelview matrix, so the caller pushes and pops around it. Marks
/// every live sticker drawn. Touches no blending or depth state: the caller decides
/// whether the stickers are blended. Leaves the current colour black.
void draw(Cube& cube);

/// Adds the live sticker at (face, row, column) to `batch`, as a square of the sticker's
/// colour at the cube's alpha with a black outline, unless it is already marked drawn this
/// frame; then marks it drawn. It reaches the screen when the batch is drawn. A full batch
/// is drawn first, under the modelview matrix current at that moment.
void drawSticker(Cube& cube, int face, int row, int column, StickerBatch& batch);

/// Draws the stickers collected in `batch` under the current modelview matrix, squares
/// first and then outlines, and empties it. Leaves the client array state and the shade
/// model as it found them, and the current colour black. Does nothing for an empty batch.
void drawBatch(StickerBatch& batch);

} // namespace cw
