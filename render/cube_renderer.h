// Draws cubes with OpenGL 1.1 vertex arrays: the fixed tilt, each cube's view rotations,
// its 54 stickers and its turning layer. The scene calls it for every cube every frame.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>

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

/// A 4x4 matrix in GL's column-major order.
using Matrix4 = std::array<float, 16>;

/// The matrix glTranslatef(x, y, z) multiplies the current one by.
Matrix4 translation(float x, float y, float z);

/// The matrix glRotatef(degrees, x, y, z) multiplies the current one by, worked out the same
/// way in single precision: the axis normalised, a zero axis giving no rotation.
Matrix4 rotation(float degrees, float x, float y, float z);

/// a * b, as glMultMatrixf(b) with a current.
Matrix4 multiply(const Matrix4& a, const Matrix4& b);

/// The squares and outlines of stickers collected so that a whole group costs two draw
/// calls instead of two per sticker, with room for `Cubes` whole cubes. Sticker positions
/// are relative to the cube centre, or, while `placed` is set, already moved by `placement`
/// (so cubes under different matrices share one batch). A group's outline is laid down when
/// the group closes: each edge its stickers border once, and edges end to end along one of
/// the cube's grid lines as one line. Reused from frame to frame, so drawing allocates
/// nothing.
template <std::size_t Cubes>
struct BasicStickerBatch {
    static constexpr std::size_t kCapacity = Cubes * kFaceCount * 9;
    static constexpr std::size_t kSquareVertices = 6;
    /// Outline vertices a sticker can add at most: two for each of its four sides.
    static constexpr std::size_t kOutlineVertices = 8;
    /// Distinct outline edges of a cube: 24 per face, less the 36 that two faces share.
    static constexpr std::size_t kEdgeCount = 108;
    /// Grid lines the edges lie on, three edges to a line: four each way on every face,
    /// less the twelve that two faces share.
    static constexpr std::size_t kLineCount = 36;

    std::array<SquareVertex, kCapacity * kSquareVertices> squares{};
    std::array<OutlineVertex, kCapacity * kOutlineVertices> outlines{};
    std::size_t stickers = 0;
    std::size_t outlineVertices = 0;
    /// The edges the open group outlines, and the face whose sticker first named each: its
    /// normal goes with the line.
    std::bitset<kEdgeCount> edgesDrawn;
    std::array<std::uint8_t, kEdgeCount> edgeFaces{};
    Matrix4 placement{};
    bool placed = false;
};

/// The batch for one cube's group of stickers.
using StickerBatch = BasicStickerBatch<1>;

/// Draws `cube` at the position the modelview matrix gives its centre, and advances its
/// turn animation by one frame (which may apply the turn and end it). Leaves the tilt and
/// view rotations on the modelview matrix, so the caller pushes and pops around it. Marks
/// every live sticker drawn. Touches no blending or depth state: the caller decides
/// whether the stickers are blended. Leaves the current colour black.
void draw(Cube& cube);

/// Collects `cube` into `batch` as draw(cube) would draw it with `base` as the modelview
/// matrix: the same stickers in the same order, marked drawn the same way, and its turn
/// animation advanced by one frame in the same place. Each vertex is moved on the CPU by the
/// matrix draw would give it, so the batch is drawn later under a modelview at identity, in
/// one go with other cubes. Touches no GL state unless the batch fills and is drawn.
template <std::size_t Cubes>
void drawInto(Cube& cube, const Matrix4& base, BasicStickerBatch<Cubes>& batch);

/// Adds the live sticker at (face, row, column) to `batch`, as a square of the sticker's
/// colour at the cube's alpha with a black outline, unless it is already marked drawn this
/// frame; then marks it drawn. It reaches the screen when the batch is drawn. A full batch
/// is drawn first, under the modelview matrix current at that moment.
template <std::size_t Cubes>
void drawSticker(Cube& cube, int face, int row, int column, BasicStickerBatch<Cubes>& batch);

/// Closes the open group's outline, then draws the stickers collected in `batch` under the
/// current modelview matrix, squares first and then outlines, and empties it. Leaves the client
/// array state and the shade model as it found them, and the current colour black. Does nothing for
/// an empty batch.
template <std::size_t Cubes>
void drawBatch(BasicStickerBatch<Cubes>& batch);

/// Batches for one cube and for the scene's background cubes are the ones built.
inline constexpr std::size_t kBackgroundBatchCubes = 10;
extern template void drawInto(Cube&, const Matrix4&, BasicStickerBatch<kBackgroundBatchCubes>&);
extern template void drawSticker(Cube&, int, int, int, BasicStickerBatch<1>&);
extern template void drawSticker(Cube&, int, int, int, BasicStickerBatch<kBackgroundBatchCubes>&);
extern template void drawBatch(BasicStickerBatch<1>&);
extern template void drawBatch(BasicStickerBatch<kBackgroundBatchCubes>&);

} // namespace cw
