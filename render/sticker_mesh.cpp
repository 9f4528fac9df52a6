// The sticker mesh: the face and layer tables, the shapes worked out from them at compile
// time, and the batch the cube renderer collects stickers in; see sticker_mesh.h.
#include "render/sticker_mesh.h"

#include <algorithm>

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

// Half a pitch is exactly a half sticker, so every corner of every sticker is a whole
// number of half stickers from the centre. Working corners out that way gives a corner that
// two stickers share the very same coordinates in both, and so the same pixels.
static_assert(kPitch == 2.0f * kHalfSticker);

/// A sticker corner relative to the cube centre, in half stickers along x, y, z.
using GridPoint = std::array<int, 3>;

/// A sticker's corners, worked out once from the face table: the two triangles (colour left
/// for drawing time) and which of the cube's outline edges are its four sides.
struct StickerShape {
    std::array<SquareVertex, StickerBatch::kSquareVertices> squares;
    std::array<std::size_t, 4> edges;
};

constexpr GridPoint gridPoint(const FaceGeometry& geometry, int row, int column,
                              const Corner& corner) {
    const std::array<int, 3> signs = {corner.x, corner.y, corner.z};
    GridPoint point{};
    for (std::size_t axis = 0; axis < 3; ++axis) {
        const int units = geometry.origin[axis] + row * geometry.rowStep[axis] +
                          column * geometry.columnStep[axis];
        point[axis] = 2 * units + signs[axis];
    }
    return point;
}

constexpr std::array<float, 3> position(const GridPoint& point) {
    return {static_cast<float>(point[0]) * kHalfSticker,
            static_cast<float>(point[1]) * kHalfSticker,
            static_cast<float>(point[2]) * kHalfSticker};
}

/// An outline segment with its ends in a fixed order, so that the segment two stickers
/// share compares equal whichever of them names it.
struct GridSegment {
    GridPoint from;
    GridPoint to;
    constexpr bool operator==(const GridSegment&) const = default;
};

constexpr GridSegment gridSegment(const GridPoint& a, const GridPoint& b) {
    return a < b ? GridSegment{a, b} : GridSegment{b, a};
}

/// Where an outline edge lies: on which of the cube's grid lines, and at which of its three
/// places along it. An edge runs along one axis from -3 to -1, -1 to 1 or 1 to 3 half
/// stickers; the line is that axis with the other two coordinates fixed.
struct EdgePlace {
    GridSegment segment;
    std::size_t slot;
};

struct Shapes {
    std::array<StickerShape, StickerBatch::kStickersPerCube> stickers{};
    std::array<EdgePlace, StickerBatch::kEdgeCount> edges{};
    /// The edges of each grid line in order along it.
    std::array<std::array<std::size_t, 3>, StickerBatch::kLineCount> lines{};
    std::size_t edgeCount = 0;
    std::size_t lineCount = 0;
};

constexpr std::size_t runningAxis(const GridSegment& segment) {
    std::size_t axis = 0;
    while (axis < 2 && segment.from[axis] == segment.to[axis]) {
        ++axis;
    }
    return axis;
}

constexpr bool sameLine(const GridSegment& a, const GridSegment& b) {
    const std::size_t axis = runningAxis(a);
    if (runningAxis(b) != axis) {
        return false;
    }
    for (std::size_t other = 0; other < 3; ++other) {
        if (other != axis && a.from[other] != b.from[other]) {
            return false;
        }
    }
    return true;
}

/// Every sticker's shape in sticker-index order (face * 9 + row * 3 + column), the cube's
/// distinct outline edges and the grid lines they lie on. Neighbouring stickers share an
/// edge, on one face or across a cube edge, so a batch needs to draw each edge only once,
/// and edges end to end along one line can be drawn as one line.
constexpr Shapes makeShapes() {
    Shapes shapes;
    // The first edge met on each line, to tell which line a later edge is on.
    std::array<GridSegment, StickerBatch::kLineCount> lineSample{};
    for (std::size_t face = 0; face < kFaces.size(); ++face) {
        const FaceGeometry& geometry = kFaces[face];
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                StickerShape& shape =
                    shapes.stickers[face * 9 + static_cast<std::size_t>(row * 3 + column)];
                for (std::size_t i = 0; i < shape.squares.size(); ++i) {
                    shape.squares[i] = {
                        {},
                        geometry.normal,
                        position(gridPoint(geometry, row, column, geometry.triangles[i]))};
                }
                for (std::size_t i = 0; i < geometry.outline.size(); i += 2) {
                    const GridSegment segment =
                        gridSegment(gridPoint(geometry, row, column, geometry.outline[i]),
                                    gridPoint(geometry, row, column, geometry.outline[i + 1]));
                    std::size_t edge = 0;
                    while (edge < shapes.edgeCount && !(shapes.edges[edge].segment == segment)) {
                        ++edge;
                    }
                    if (edge == shapes.edgeCount) {
                        std::size_t line = 0;
                        while (line < shapes.lineCount && !sameLine(lineSample[line], segment)) {
                            ++line;
                        }
                        if (line == shapes.lineCount) {
                            lineSample[shapes.lineCount++] = segment;
                        }
                        const std::size_t axis = runningAxis(segment);
                        const auto slot = static_cast<std::size_t>((segment.from[axis] + 3) / 2);
                        shapes.edges[shapes.edgeCount++] = {segment, slot};
                        shapes.lines[line][slot] = edge;
                    }
                    shape.edges[i / 2] = edge;
                }
            }
        }
    }
    return shapes;
}

constexpr Shapes kShapes = makeShapes();
static_assert(kShapes.edgeCount == StickerBatch::kEdgeCount);
static_assert(kShapes.lineCount == StickerBatch::kLineCount);

/// True when every line has an edge at each of its three places, so no slot is left naming
/// edge 0 by default.
constexpr bool linesComplete() {
    std::array<int, StickerBatch::kEdgeCount> uses{};
    for (const auto& line : kShapes.lines) {
        for (std::size_t slot = 0; slot < line.size(); ++slot) {
            if (kShapes.edges[line[slot]].slot != slot) {
                return false;
            }
            ++uses[line[slot]];
        }
    }
    for (const int use : uses) {
        if (use != 1) {
            return false;
        }
    }
    return true;
}
static_assert(linesComplete());

} // namespace

StickerBatch::StickerBatch(std::size_t cubes)
    : squares(std::max<std::size_t>(cubes, 1) * kStickersPerCube * kSquareVertices),
      outlines(std::max<std::size_t>(cubes, 1) * kStickersPerCube * kOutlineVertices) {}

const TurningLayer& turningLayer(int face) {
    return kLayers[static_cast<std::size_t>(face)];
}

std::array<float, 3> stickerCentre(int face, int row, int column) {
    // The centre lies no half sticker along the face and one half sticker out along its
    // normal, where the corners lie one each way.
    const FaceGeometry& geometry = kFaces[static_cast<std::size_t>(face)];
    const auto out = [&geometry](std::size_t axis) {
        return static_cast<std::int8_t>((geometry.normal[axis] > 0.0f) -
                                        (geometry.normal[axis] < 0.0f));
    };
    return position(gridPoint(geometry, row, column, {out(0), out(1), out(2)}));
}

const std::array<float, 3>& faceNormal(int face) {
    return kFaces[static_cast<std::size_t>(face)].normal;
}

void addSquare(StickerBatch& batch, std::size_t index, const std::array<float, 4>& colour) {
    // Every corner of a square shares the face's normal.
    const StickerShape& shape = kShapes.stickers[index];
    std::array<float, 3> normal = shape.squares.front().normal;
    if (batch.placed) {
        normal = turnNormal(batch.placement, normal);
    }
    auto square =
        batch.squares.begin() + static_cast<std::ptrdiff_t>(batch.stickers * shape.squares.size());
    for (const SquareVertex& corner : shape.squares) {
        *square++ = {colour, normal,
                     batch.placed ? movePoint(batch.placement, corner.position) : corner.position};
    }

    // The sides are only noted here; the group's outline is laid down when it closes.
    for (const std::size_t edge : shape.edges) {
        if (!batch.edgesDrawn[edge]) {
            batch.edgesDrawn[edge] = true;
            batch.edgeFaces[edge] = static_cast<std::uint8_t>(index / 9);
        }
    }
    ++batch.stickers;
}

void closeOutlines(StickerBatch& batch) {
    // A software rasteriser pays for every line it sets up, and the outlines were the
    // costliest part of a frame. Each edge is outlined once, however many of the group's
    // stickers it borders, and edges end to end along one grid line go down as one line:
    // a whole face at rest takes eight lines instead of twenty-four.
    const auto addEnd = [&batch](const GridPoint& point, const std::array<float, 3>& normal) {
        const std::array<float, 3> at = position(point);
        batch.outlines[batch.outlineVertices++] = {
            normal, batch.placed ? movePoint(batch.placement, at) : at};
    };
    for (const auto& line : kShapes.lines) {
        std::size_t slot = 0;
        while (slot < line.size()) {
            if (!batch.edgesDrawn[line[slot]]) {
                ++slot;
                continue;
            }
            const std::size_t first = line[slot];
            while (slot + 1 < line.size() && batch.edgesDrawn[line[slot + 1]]) {
                ++slot;
            }
            const std::size_t last = line[slot];
            ++slot;
            std::array<float, 3> normal = kFaces[batch.edgeFaces[first]].normal;
            if (batch.placed) {
                normal = turnNormal(batch.placement, normal);
            }
            addEnd(kShapes.edges[first].segment.from, normal);
            addEnd(kShapes.edges[last].segment.to, normal);
        }
    }
    batch.edgesDrawn.reset();
}

} // namespace cw
