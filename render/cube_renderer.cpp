// The cube renderer: one geometry table per face drives every sticker, and one table per
// face names the layer that turns with it. Called by the scene for every cube.
#include "render/cube_renderer.h"

#include <GL/gl.h>

#include <array>
#include <cmath>
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
    std::array<StickerShape, StickerBatch::kCapacity> stickers{};
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

/// The batch that draw fills, one group at a time. The program draws on one thread, and a
/// group is always drawn before the next one is collected, so one batch serves every cube.
StickerBatch gBatch;

std::array<float, 3> movePoint(const Matrix4& m, const std::array<float, 3>& p) {
    return {m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12],
            m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13],
            m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14]};
}

/// Normals turn with the rotation part only; the matrices here hold nothing but rotations
/// and translations, so that is also the inverse transpose GL would use.
std::array<float, 3> turnNormal(const Matrix4& m, const std::array<float, 3>& n) {
    return {m[0] * n[0] + m[4] * n[1] + m[8] * n[2], m[1] * n[0] + m[5] * n[1] + m[9] * n[2],
            m[2] * n[0] + m[6] * n[1] + m[10] * n[2]};
}

/// Visits a cube's stickers in drawing order, once for draw and once for drawInto, so both
/// draw the same stickers and animate the same way. `startLayer(angle, axis)` opens the
/// turning layer's group, `startRest()` the group of everything at rest, and `endGroup()`
/// closes either.
template <std::size_t Cubes, typename StartLayer, typename StartRest, typename EndGroup>
void visitStickers(Cube& cube, BasicStickerBatch<Cubes>& batch, StartLayer startLayer,
                   StartRest startRest, EndGroup endGroup) {
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
        const TurningLayer& layer = kLayers[static_cast<std::size_t>(turning)];
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

Matrix4 translation(float x, float y, float z) {
    return {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, x, y, z, 1.0f};
}

Matrix4 rotation(float degrees, float x, float y, float z) {
    Matrix4 m = translation(0.0f, 0.0f, 0.0f);
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f) {
        return m;
    }
    x /= length;
    y /= length;
    z /= length;
    constexpr float kRadiansPerDegree = 3.14159265358979323846f / 180.0f;
    const float s = std::sin(degrees * kRadiansPerDegree);
    const float c = std::cos(degrees * kRadiansPerDegree);
    const float t = 1.0f - c;
    m[0] = x * x * t + c;
    m[1] = y * x * t + z * s;
    m[2] = x * z * t - y * s;
    m[4] = x * y * t - z * s;
    m[5] = y * y * t + c;
    m[6] = y * z * t + x * s;
    m[8] = x * z * t + y * s;
    m[9] = y * z * t - x * s;
    m[10] = z * z * t + c;
    return m;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 product{};
    for (std::size_t column = 0; column < 4; ++column) {
        for (std::size_t row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (std::size_t k = 0; k < 4; ++k) {
                sum += a[k * 4 + row] * b[column * 4 + k];
            }
            product[column * 4 + row] = sum;
        }
    }
    return product;
}

template <std::size_t Cubes>
void drawSticker(Cube& cube, int face, int row, int column, BasicStickerBatch<Cubes>& batch) {
    if (!isFace(face) || row < 0 || row > 2 || column < 0 || column > 2) {
        return;
    }
    const auto index = static_cast<std::size_t>(face * 9 + row * 3 + column);
    Facelet& sticker = cube.facelets[index];
    if (sticker.drawn) {
        return;
    }
    using Batch = BasicStickerBatch<Cubes>;
    if (batch.stickers == Batch::kCapacity) {
        drawBatch(batch);
    }

    const std::array<float, 3>& rgb = paletteColour(sticker.colour);
    const std::array<float, 4> colour = {rgb[0], rgb[1], rgb[2], cube.alpha()};

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
            batch.edgeFaces[edge] = static_cast<std::uint8_t>(face);
        }
    }
    ++batch.stickers;

    sticker.drawn = true;
}

namespace {

/// Lays down the outline of the group collected since the last close, with the batch's
/// placement as it is now, and starts the next group's edges afresh.
template <std::size_t Cubes>
void closeOutlines(BasicStickerBatch<Cubes>& batch) {
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

} // namespace

template <std::size_t Cubes>
void drawBatch(BasicStickerBatch<Cubes>& batch) {
    using Batch = BasicStickerBatch<Cubes>;
    closeOutlines(batch);
    if (batch.stickers == 0) {
        return;
    }
    const auto squareCount = static_cast<GLsizei>(batch.stickers * Batch::kSquareVertices);
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

template <std::size_t Cubes>
void drawInto(Cube& cube, const Matrix4& base, BasicStickerBatch<Cubes>& batch) {
    static const Matrix4 kTilt = rotation(kTiltDegrees, 1.0f, 1.0f, 0.0f);
    Matrix4 cubeMatrix = multiply(base, kTilt);
    cubeMatrix = multiply(cubeMatrix, rotation(cube.viewAngleX(), 1.0f, 0.0f, 0.0f));
    cubeMatrix = multiply(cubeMatrix, rotation(cube.viewAngleY(), 0.0f, 1.0f, 0.0f));
    cubeMatrix = multiply(cubeMatrix, rotation(cube.viewAngleZ(), 0.0f, 0.0f, 1.0f));

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

template void drawInto(Cube&, const Matrix4&, BasicStickerBatch<kBackgroundBatchCubes>&);
template void drawSticker(Cube&, int, int, int, BasicStickerBatch<1>&);
template void drawSticker(Cube&, int, int, int, BasicStickerBatch<kBackgroundBatchCubes>&);
template void drawBatch(BasicStickerBatch<1>&);
template void drawBatch(BasicStickerBatch<kBackgroundBatchCubes>&);

} // namespace cw
