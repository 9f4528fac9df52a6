// The cube's stickers as vertex data, worked out once from one geometry table per face:
// each sticker's two triangles and its outline edges, the layer that turns with each face,
// and the batch that collects the stickers of many cubes so that they cost two draw calls.
// The cube renderer fills batches here and hands them to GL.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cube/cube.h"
#include "render/matrix.h"

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

/// The squares and outlines of stickers collected so that a whole group costs two draw
/// calls instead of two per sticker, with room for as many whole cubes as its owner asks
/// for. Sticker positions are relative to the cube centre, or, while `placed` is set,
/// already moved by `placement` (so cubes under different matrices share one batch). A
/// group's outline is laid down when the group closes: each edge its stickers border once,
/// and edges end to end along one of the cube's grid lines as one line. Its room is taken
/// when it is made and reused from frame to frame, so drawing allocates nothing.
struct StickerBatch {
    static constexpr std::size_t kStickersPerCube = kFaceCount * 9;
    static constexpr std::size_t kSquareVertices = 6;
    /// Outline vertices a sticker can add at most: two for each of its four sides.
    static constexpr std::size_t kOutlineVertices = 8;
    /// Distinct outline edges of a cube: 24 per face, less the 36 that two faces share.
    static constexpr std::size_t kEdgeCount = 108;
    /// Grid lines the edges lie on, three edges to a line: four each way on every face,
    /// less the twelve that two faces share.
    static constexpr std::size_t kLineCount = 36;

    /// A batch with room for `cubes` whole cubes, and for one at least.
    explicit StickerBatch(std::size_t cubes = 1);

    /// Stickers the batch holds when full.
    std::size_t capacity() const { return squares.size() / kSquareVertices; }

    std::vector<SquareVertex> squares;
    std::vector<OutlineVertex> outlines;
    std::size_t stickers = 0;
    std::size_t outlineVertices = 0;
    /// The edges the open group outlines, and the face whose sticker first named each: its
    /// normal goes with the line.
    std::bitset<kEdgeCount> edgesDrawn;
    std::array<std::uint8_t, kEdgeCount> edgeFaces{};
    Matrix4 placement{};
    bool placed = false;
};

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

/// The layer that turns with face `face`, 0 to 5.
const TurningLayer& turningLayer(int face);

/// The centre of the sticker at (face, row, column), relative to the cube centre in the
/// cube's own frame: on the face's plane, 2 out from the centre.
std::array<float, 3> stickerCentre(int face, int row, int column);

/// The outward normal of face `face`, 0 to 5.
const std::array<float, 3>& faceNormal(int face);

/// Adds the sticker at `index` (face * 9 + row * 3 + column, 0 to 53) to a batch that has
/// room for it, as a square of `colour`, and notes its four sides for the group's outline.
void addSquare(StickerBatch& batch, std::size_t index, const std::array<float, 4>& colour);

/// Lays down the outline of the group collected since the last close, with the batch's
/// placement as it is now, and starts the next group's edges afresh.
void closeOutlines(StickerBatch& batch);

} // namespace cw
