// Draws single cubes on a real GL context and checks the pixels where stickers project.
#include "render/cube_renderer.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <memory>
#include <vector>

#include "tests/render/gl_context.h"

namespace cw {
namespace {

using test::GLContext;
using test::Rgb;

constexpr float kPitch = 4.0f / 3.0f;

const Rgb kWhiteRgb{255, 255, 255};
const Rgb kRedRgb{255, 0, 0};
const Rgb kBlueRgb{0, 0, 255};
const Rgb kYellowRgb{255, 255, 0};
const Rgb kGreenRgb{0, 255, 0};
const Rgb kBlackRgb{0, 0, 0};

Rgb paletteRgb(int index) {
    const auto& c = paletteColour(index);
    return {static_cast<int>(std::lround(c[0] * 255)), static_cast<int>(std::lround(c[1] * 255)),
            static_cast<int>(std::lround(c[2] * 255))};
}

/// Gives every sticker a colour that differs from each of its neighbours on the face, and
/// differs from the solved layout, so a misplaced sticker shows.
void makePatterned(Cube& cube) {
    for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
        cube.facelets[i].set(static_cast<std::int32_t>((i + i / 9) % 6), 0);
    }
}

using Point = std::array<double, 3>;

Point operator+(const Point& a, const Point& b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}

Point operator*(double k, const Point& a) {
    return {k * a[0], k * a[1], k * a[2]};
}

/// Where a sticker sits, worked out from the face layout rather than from the renderer:
/// its centre, its outward normal and the two directions in its plane, in the cube's frame.
/// Row 0 is the top row and column 0 the left column of the face seen from outside.
struct StickerPlace {
    Point centre;
    Point normal;
    Point across;
    Point down;
};

StickerPlace stickerPlace(int face, int row, int column) {
    const double r = row - 1;
    const double c = column - 1;
    const double s = kPitch;
    switch (face) {
    case 0:
        return {{c * s, -r * s, 2}, {0, 0, 1}, {1, 0, 0}, {0, -1, 0}};
    case 1:
        return {{2, -r * s, -c * s}, {1, 0, 0}, {0, 0, -1}, {0, -1, 0}};
    case 2:
        return {{c * s, 2, r * s}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
    case 3:
        return {{-c * s, -r * s, -2}, {0, 0, -1}, {-1, 0, 0}, {0, -1, 0}};
    case 4:
        return {{-2, -r * s, c * s}, {-1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
    default:
        return {{c * s, -2, -r * s}, {0, -1, 0}, {1, 0, 0}, {0, 0, -1}};
    }
}

/// Starts `move` playing as the main loop does: queue it and step the queue once.
void startTurn(Cube& cube, int face, bool clockwise) {
    cube.setSolverState(0);
    cube.pending.push_back(Move(face, clockwise));
    cube.stepMoveQueue();
}

class CubeRendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        gl_ = std::make_unique<GLContext>();
        ASSERT_TRUE(gl_->ok());
        setSolvedStickers(cube_);
    }

    /// Draws the cube where the scene puts the main cube, leaving the cube's own frame on
    /// the modelview matrix so that points can be projected in cube coordinates.
    void drawFrame(bool blend) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -15.0f);
        if (blend) {
            glEnable(GL_BLEND);
        } else {
            glDisable(GL_BLEND);
        }
        draw(cube_);
        glFinish();
    }

    /// The colour where the cube-frame point (x, y, z) lands on the window.
    static Rgb colourAt(double x, double y, double z) {
        const auto window = test::project(x, y, z);
        return GLContext::pixel(static_cast<int>(window[0]), static_cast<int>(window[1]));
    }

    /// Whether any pixel within one of the projected point is black.
    static bool blackNear(double x, double y, double z) {
        const auto window = test::project(x, y, z);
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const Rgb c = GLContext::pixel(static_cast<int>(window[0]) + dx,
                                               static_cast<int>(window[1]) + dy);
                if (test::nearWithin(c, kBlackRgb, 10)) {
                    return true;
                }
            }
        }
        return false;
    }

    std::unique_ptr<GLContext> gl_;
    Cube cube_;
};

TEST_F(CubeRendererTest, SolvedCubeShowsWhiteFrontRedUpAndBlueLeft) {
    drawFrame(false);
    EXPECT_PRED2(test::near, colourAt(0, 0, 2), kWhiteRgb);
    EXPECT_PRED2(test::near, colourAt(0, 2, 0), kRedRgb);
    EXPECT_PRED2(test::near, colourAt(-2, 0, 0), kBlueRgb);
    // The right face looks away from the viewer: its centre projects onto another face.
    EXPECT_FALSE(test::near(colourAt(2, 0, 0), kGreenRgb));
    // Corner stickers of the front face, through the tilt: top left and bottom right.
    EXPECT_PRED2(test::near, colourAt(-kPitch, kPitch, 2), kWhiteRgb);
    EXPECT_PRED2(test::near, colourAt(kPitch, -kPitch, 2), kWhiteRgb);
    // Outlines sit on the sticker edges, in the stickers' plane.
    EXPECT_TRUE(blackNear(2.0 / 3.0, 0, 2));
    EXPECT_TRUE(blackNear(0, 2, 2.0 / 3.0));
    // Nothing is drawn outside the cube.
    EXPECT_PRED2(test::near, GLContext::pixel(5, 5), kBlackRgb);
}

TEST_F(CubeRendererTest, EachFaceShowsItsColourWhenTurnedTowardsTheViewer) {
    // View rotations that bring each face's outward axis to where the front's was.
    struct View {
        int face;
        float x, y;
        std::array<double, 3> centre;
    };
    const std::array<View, 6> views = {{
        {0, 0, 0, {0, 0, 2}},
        {1, 0, -90, {2, 0, 0}},
        {2, 90, 0, {0, 2, 0}},
        {3, 0, 180, {0, 0, -2}},
        {4, 0, 90, {-2, 0, 0}},
        {5, -90, 0, {0, -2, 0}},
    }};
    for (const View& view : views) {
        SCOPED_TRACE(view.face);
        cube_.setViewAngleX(view.x);
        cube_.setViewAngleY(view.y);
        drawFrame(false);
        EXPECT_PRED2(test::near, colourAt(view.centre[0], view.centre[1], view.centre[2]),
                     paletteRgb(view.face));
        // All nine stickers of the face, so no sticker of it is culled or misplaced.
        const auto window = test::project(view.centre[0], view.centre[1], view.centre[2]);
        const int cx = static_cast<int>(window[0]);
        const int cy = static_cast<int>(window[1]);
        EXPECT_PRED2(test::near, GLContext::pixel(cx, cy + 40), paletteRgb(view.face));
        EXPECT_PRED2(test::near, GLContext::pixel(cx - 40, cy - 40), paletteRgb(view.face));
    }
}

TEST_F(CubeRendererTest, DrawingMarksEveryStickerAndLeavesAnIdleCubeAlone) {
    drawFrame(false);
    for (std::size_t i = 0; i < cube_.facelets.size(); ++i) {
        EXPECT_TRUE(cube_.facelets[i].drawn) << "sticker " << i;
    }
    EXPECT_EQ(cube_.turningFace(), -1);
    EXPECT_EQ(cube_.layerAngleX, 0.0f);
    EXPECT_EQ(cube_.layerAngleY, 0.0f);
    EXPECT_EQ(cube_.layerAngleZ, 0.0f);
    EXPECT_TRUE(cube_.isSolved());
}

TEST_F(CubeRendererTest, AlphaScalesStickersOnlyWhenBlended) {
    cube_.setAlpha(0.3f);
    const Rgb dimWhite{77, 77, 77};
    const Rgb dimRed{77, 0, 0};
    const Rgb dimBlue{0, 0, 77};

    drawFrame(true);
    EXPECT_PRED2(test::near, colourAt(0, 0, 2), dimWhite);
    EXPECT_PRED2(test::near, colourAt(0, 2, 0), dimRed);
    EXPECT_PRED2(test::near, colourAt(-2, 0, 0), dimBlue);
    EXPECT_TRUE(blackNear(2.0 / 3.0, 0, 2));

    drawFrame(false);
    EXPECT_PRED2(test::near, colourAt(0, 0, 2), kWhiteRgb);
    EXPECT_PRED2(test::near, colourAt(0, 2, 0), kRedRgb);
}

TEST_F(CubeRendererTest, TurningLayerIsDrawnRotatedInMidTurn) {
    // Mark the front sticker of the up layer so it can be followed.
    cube_.facelets[1].colour = kYellow;
    cube_.setTurnSpeed(45.0f);
    startTurn(cube_, 2, true);
    ASSERT_EQ(cube_.turningFace(), 2);

    drawFrame(false);
    // One frame advanced the up layer by one step, clockwise seen from above.
    EXPECT_EQ(cube_.layerAngleY, -45.0f);
    EXPECT_EQ(cube_.turningFace(), 2);

    // The marked sticker is drawn rotated -45 degrees about y, towards the left face...
    const double a = -45.0 * std::acos(-1.0) / 180.0;
    const double x = 2 * std::sin(a);
    const double z = 2 * std::cos(a);
    EXPECT_PRED2(test::near, colourAt(x, kPitch, z), kYellowRgb);
    // ...and no longer at rest.
    EXPECT_FALSE(test::near(colourAt(0, kPitch, 2), kYellowRgb));
    // The middle layer does not move.
    EXPECT_PRED2(test::near, colourAt(0, 0, 2), kWhiteRgb);
    EXPECT_PRED2(test::near, colourAt(-2, 0, 0), kBlueRgb);
    // The stickers have not been turned yet.
    EXPECT_EQ(cube_.facelets[1].colour, kYellow);
}

TEST_F(CubeRendererTest, FrameThatCompletesTheTurnShowsTurnedStickersAtRest) {
    cube_.facelets[1].colour = kYellow;
    cube_.setTurnSpeed(45.0f);
    startTurn(cube_, 2, true);

    drawFrame(false); // -45
    drawFrame(false); // -90, still turning
    EXPECT_EQ(cube_.turningFace(), 2);
    EXPECT_EQ(cube_.facelets[1].colour, kYellow);

    drawFrame(false); // wraps to 0: the turn is applied and drawn at rest
    EXPECT_EQ(cube_.turningFace(), -1);
    EXPECT_EQ(cube_.layerAngleY, 0.0f);
    EXPECT_EQ(cube_.facelets[37].colour, kYellow);
    // The marked sticker now sits on the left face's top row; the front's top row shows
    // what came from the right face.
    EXPECT_PRED2(test::near, colourAt(-2, kPitch, 0), kYellowRgb);
    EXPECT_PRED2(test::near, colourAt(0, kPitch, 2), kGreenRgb);
    for (std::size_t i = 0; i < cube_.facelets.size(); ++i) {
        EXPECT_TRUE(cube_.facelets[i].drawn) << "sticker " << i;
    }
}

TEST_F(CubeRendererTest, FrontTurnRotatesItsTwelveNeighboursButNotTheBack) {
    // A counter-clockwise front turn rotates +45 about z; the up face's front row rides
    // with it and swings towards the left, while the up face's back row stays put.
    cube_.facelets[25].colour = kYellow; // up, row 2, column 1
    cube_.facelets[19].colour = kGreen;  // up, row 0, column 1
    cube_.setTurnSpeed(45.0f);
    startTurn(cube_, 0, false);
    drawFrame(false);
    EXPECT_EQ(cube_.layerAngleZ, 45.0f);

    const double a = 45.0 * std::acos(-1.0) / 180.0;
    EXPECT_PRED2(test::near, colourAt(-2 * std::sin(a), 2 * std::cos(a), kPitch), kYellowRgb);
    EXPECT_PRED2(test::near, colourAt(0, 2, -kPitch), kGreenRgb);
    EXPECT_PRED2(test::near, colourAt(0, 2, 0), kRedRgb);
}

TEST_F(CubeRendererTest, EveryStickerShowsItsOwnColourWithBothTrianglesAndABlackOutline) {
    makePatterned(cube_);
    // View rotations that turn each face towards the viewer.
    const std::array<std::array<float, 2>, 6> views = {{
        {0, 0},
        {0, -90},
        {90, 0},
        {0, 180},
        {0, 90},
        {-90, 0},
    }};
    const double h = 2.0 / 3.0;
    for (int face = 0; face < kFaceCount; ++face) {
        cube_.setViewAngleX(views[static_cast<std::size_t>(face)][0]);
        cube_.setViewAngleY(views[static_cast<std::size_t>(face)][1]);
        drawFrame(false);
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                SCOPED_TRACE(testing::Message()
                             << "face " << face << " row " << row << " column " << column);
                const StickerPlace place = stickerPlace(face, row, column);
                const Rgb expected = paletteRgb(
                    cube_.facelets[static_cast<std::size_t>(face * 9 + row * 3 + column)].colour);
                // One point in each quarter of the square lies wholly inside one of its two
                // triangles, whichever diagonal splits it.
                for (const double a : {-0.35, 0.35}) {
                    for (const double b : {-0.35, 0.35}) {
                        const Point p = place.centre + a * place.across + b * place.down;
                        EXPECT_PRED2(test::near, colourAt(p[0], p[1], p[2]), expected);
                    }
                }
                for (const Point& edge :
                     {h * place.across, -h * place.across, h * place.down, -h * place.down}) {
                    const Point p = place.centre + edge;
                    EXPECT_TRUE(blackNear(p[0], p[1], p[2]));
                }
            }
        }
    }
}

/// What one frame drew, in window coordinates, read back through GL's feedback mode.
struct Feedback {
    struct Triangle {
        std::array<Point, 3> corners;
        Rgb colour;
    };
    std::vector<Triangle> triangles;
    std::vector<std::array<Point, 2>> lines;
};

bool samePoint(const Point& a, const Point& b) {
    return std::abs(a[0] - b[0]) < 0.05 && std::abs(a[1] - b[1]) < 0.05 &&
           std::abs(a[2] - b[2]) < 1e-4;
}

/// Length in the window plane.
double windowLength(const Point& a, const Point& b) {
    return std::hypot(b[0] - a[0], b[1] - a[1]);
}

/// Whether `p` lies on the window-plane segment `line`, ends included, to within a small
/// fraction of a pixel.
bool onSegment(const Point& p, const std::array<Point, 2>& line) {
    const double length = windowLength(line[0], line[1]);
    if (length < 1e-9) {
        return samePoint(p, line[0]);
    }
    const double dx = (line[1][0] - line[0][0]) / length;
    const double dy = (line[1][1] - line[0][1]) / length;
    const double along = (p[0] - line[0][0]) * dx + (p[1] - line[0][1]) * dy;
    const double across = (p[0] - line[0][0]) * dy - (p[1] - line[0][1]) * dx;
    return std::abs(across) < 0.05 && along > -0.05 && along < length + 0.05;
}

/// Draws the cube in feedback mode, with culling off so that every sticker is reported.
Feedback drawForFeedback(Cube& cube) {
    std::vector<GLfloat> buffer(16384);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glDisable(GL_CULL_FACE);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -15.0f);
    draw(cube);
    glEnable(GL_CULL_FACE);
    const GLint size = glRenderMode(GL_RENDER);
    EXPECT_GT(size, 0) << "feedback buffer too small";

    Feedback feedback;
    // Each vertex is x, y, z and a colour of four components.
    const auto vertex = [&buffer](std::size_t at) {
        return Point{buffer[at], buffer[at + 1], buffer[at + 2]};
    };
    std::size_t at = 0;
    while (at < static_cast<std::size_t>(size)) {
        const auto token = static_cast<GLenum>(buffer[at++]);
        if (token == GL_POLYGON_TOKEN) {
            const auto count = static_cast<std::size_t>(buffer[at++]);
            EXPECT_EQ(count, 3u);
            Feedback::Triangle triangle{};
            for (std::size_t i = 0; i < count; ++i, at += 7) {
                if (i < 3) {
                    triangle.corners[i] = vertex(at);
                }
            }
            const std::size_t colour = at - 4;
            triangle.colour = {static_cast<int>(std::lround(buffer[colour] * 255)),
                               static_cast<int>(std::lround(buffer[colour + 1] * 255)),
                               static_cast<int>(std::lround(buffer[colour + 2] * 255))};
            feedback.triangles.push_back(triangle);
        } else if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            feedback.lines.push_back({vertex(at), vertex(at + 7)});
            at += 14;
        } else {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
    }
    return feedback;
}

TEST_F(CubeRendererTest, EachFaceTurnMovesExactlyItsLayerWithSquaresAndOutlines) {
    const std::array<Point, kFaceCount> outward = {{
        {0, 0, 1},
        {1, 0, 0},
        {0, 1, 0},
        {0, 0, -1},
        {-1, 0, 0},
        {0, -1, 0},
    }};
    const double h = 2.0 / 3.0;
    for (int turning = 0; turning < kFaceCount; ++turning) {
        SCOPED_TRACE(testing::Message() << "turning face " << turning);
        Cube cube;
        makePatterned(cube);
        cube.setViewAngleX(20.0f);
        cube.setViewAngleY(-30.0f);
        cube.setTurnSpeed(30.0f);
        startTurn(cube, turning, turning % 2 == 0);
        const Feedback feedback = drawForFeedback(cube);
        const float angle = cube.layerAngleX + cube.layerAngleY + cube.layerAngleZ;
        ASSERT_EQ(std::abs(angle), 30.0f);
        const Point& axis = outward[static_cast<std::size_t>(turning)];

        // Where each sticker's corners should land: rotated with the layer when the sticker's
        // cubie lies in the turning slab, at rest otherwise.
        glLoadIdentity();
        glTranslatef(0.0f, 0.0f, -15.0f);
        glRotatef(45.0f, 1.0f, 1.0f, 0.0f);
        glRotatef(20.0f, 1.0f, 0.0f, 0.0f);
        glRotatef(-30.0f, 0.0f, 1.0f, 0.0f);
        std::vector<std::array<Point, 2>> expectedLines;
        int inLayer = 0;
        for (int face = 0; face < kFaceCount; ++face) {
            for (int row = 0; row < 3; ++row) {
                for (int column = 0; column < 3; ++column) {
                    const StickerPlace place = stickerPlace(face, row, column);
                    const Point cubie = place.centre + (-h) * place.normal;
                    const double depth =
                        cubie[0] * axis[0] + cubie[1] * axis[1] + cubie[2] * axis[2];
                    const bool turns = depth > 1.0;
                    inLayer += turns ? 1 : 0;
                    glPushMatrix();
                    if (turns) {
                        glRotatef(angle, static_cast<float>(std::abs(axis[0])),
                                  static_cast<float>(std::abs(axis[1])),
                                  static_cast<float>(std::abs(axis[2])));
                    }
                    std::array<Point, 4> corners{};
                    const std::array<std::array<double, 2>, 4> signs = {
                        {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}};
                    for (std::size_t i = 0; i < 4; ++i) {
                        const Point p = place.centre + (signs[i][0] * h) * place.across +
                                        (signs[i][1] * h) * place.down;
                        corners[i] = test::project(p[0], p[1], p[2]);
                    }
                    glPopMatrix();

                    // The sticker's two triangles: its own colour, corners among its own.
                    const Rgb colour = paletteRgb(
                        cube.facelets[static_cast<std::size_t>(face * 9 + row * 3 + column)]
                            .colour);
                    int triangles = 0;
                    for (const Feedback::Triangle& triangle : feedback.triangles) {
                        int matched = 0;
                        for (const Point& corner : triangle.corners) {
                            for (const Point& expected : corners) {
                                matched += samePoint(corner, expected) ? 1 : 0;
                            }
                        }
                        if (matched == 3) {
                            ++triangles;
                            EXPECT_PRED2(test::near, triangle.colour, colour)
                                << "face " << face << " row " << row << " column " << column;
                        }
                    }
                    EXPECT_EQ(triangles, 2)
                        << "face " << face << " row " << row << " column " << column;

                    for (std::size_t i = 0; i < 4; ++i) {
                        expectedLines.push_back({corners[i], corners[(i + 1) % 4]});
                    }
                }
            }
        }
        EXPECT_EQ(inLayer, 21);
        EXPECT_EQ(feedback.triangles.size(), 108u);

        // The distinct sticker edges: two stickers that move together share theirs.
        const auto sameEdge = [](const std::array<Point, 2>& a, const std::array<Point, 2>& b) {
            return (samePoint(a[0], b[0]) && samePoint(a[1], b[1])) ||
                   (samePoint(a[0], b[1]) && samePoint(a[1], b[0]));
        };
        std::vector<std::array<Point, 2>> edges;
        for (const auto& edge : expectedLines) {
            if (std::none_of(edges.begin(), edges.end(),
                             [&](const auto& known) { return sameEdge(known, edge); })) {
                edges.push_back(edge);
            }
        }

        // Every edge is outlined by exactly one line, and each line is nothing but edges
        // laid end to end: its length is the sum of the edges on it, so it covers no gap and
        // no edge twice.
        std::vector<int> linesOverEdge(edges.size(), 0);
        for (const auto& line : feedback.lines) {
            double covered = 0.0;
            for (std::size_t i = 0; i < edges.size(); ++i) {
                if (onSegment(edges[i][0], line) && onSegment(edges[i][1], line)) {
                    ++linesOverEdge[i];
                    covered += windowLength(edges[i][0], edges[i][1]);
                }
            }
            EXPECT_NEAR(covered, windowLength(line[0], line[1]), 0.05)
                << "an outline that is not made of sticker edges";
        }
        for (std::size_t i = 0; i < edges.size(); ++i) {
            EXPECT_EQ(linesOverEdge[i], 1) << "edge " << i << " of " << edges.size();
        }
        // Edges in a row along a grid line are one line, so far fewer lines than edges.
        EXPECT_LT(feedback.lines.size(), edges.size() / 2);
    }
}

TEST_F(CubeRendererTest, DrawingLeavesArraysShadingAndColourAsTheCallerNeedsThem) {
    // A caller's own vertex array comes back as it was.
    const std::array<GLfloat, 3> callerVertices{};
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, callerVertices.data());
    glShadeModel(GL_SMOOTH);
    drawFrame(false);
    EXPECT_PRED2(test::near, colourAt(0, 0, 2), kWhiteRgb);

    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    GLvoid* pointer = nullptr;
    glGetPointerv(GL_VERTEX_ARRAY_POINTER, &pointer);
    EXPECT_EQ(pointer, callerVertices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    GLint shadeModel = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shadeModel);
    EXPECT_EQ(shadeModel, GL_SMOOTH);
    // The outlines' black stays the current colour, as after drawing one sticker at a time.
    std::array<GLfloat, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, (std::array<GLfloat, 4>{0.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(CubeRendererTest, StickerBatchTakesEachStickerOnceAndDrawsWhenFull) {
    StickerBatch batch;
    drawSticker(cube_, 0, 1, 1, batch);
    drawSticker(cube_, 0, 1, 1, batch);
    EXPECT_EQ(batch.stickers, 1u);
    EXPECT_TRUE(cube_.facelets[4].drawn);
    // Outside the cube: nothing is added and nothing is marked.
    drawSticker(cube_, 6, 0, 0, batch);
    drawSticker(cube_, -1, 0, 0, batch);
    drawSticker(cube_, 0, 3, 0, batch);
    drawSticker(cube_, 0, 0, -1, batch);
    EXPECT_EQ(batch.stickers, 1u);

    // A full batch is drawn, under the matrix current then, before it takes another.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -15.0f);
    glRotatef(45.0f, 1.0f, 1.0f, 0.0f);
    for (int face = 0; face < kFaceCount; ++face) {
        for (int i = 0; i < 9; ++i) {
            drawSticker(cube_, face, i / 3, i % 3, batch);
        }
    }
    EXPECT_EQ(batch.stickers, batch.capacity());
    EXPECT_PRED2(test::near, colourAt(0, 0, 2), kBlackRgb);
    Cube other;
    setSolvedStickers(other);
    drawSticker(other, 2, 1, 1, batch);
    EXPECT_EQ(batch.stickers, 1u);
    glFinish();
    EXPECT_PRED2(test::near, colourAt(0, 0, 2), kWhiteRgb);
    EXPECT_PRED2(test::near, colourAt(-2, 0, 0), kBlueRgb);

    drawBatch(batch);
    EXPECT_EQ(batch.stickers, 0u);
    EXPECT_EQ(batch.outlineVertices, 0u);
}

TEST_F(CubeRendererTest, MatricesForBatchedCubesMatchTheOnesGLBuilds) {
    struct Step {
        float degrees;
        std::array<float, 3> axis;
    };
    // The tilt, view angles past a full turn and negative, and an axis of no length.
    const std::array<Step, 6> steps = {{{45.0f, {1.0f, 1.0f, 0.0f}},
                                        {397.0f, {1.0f, 0.0f, 0.0f}},
                                        {-29.5f, {0.0f, 1.0f, 0.0f}},
                                        {90.0f, {0.0f, 0.0f, 1.0f}},
                                        {33.0f, {2.0f, -3.0f, 0.5f}},
                                        {60.0f, {0.0f, 0.0f, 0.0f}}}};
    glLoadIdentity();
    glTranslatef(3.0f, -7.5f, -50.0f);
    Matrix4 product = translation(3.0f, -7.5f, -50.0f);
    for (const Step& step : steps) {
        std::array<GLfloat, 16> expected{};
        glPushMatrix();
        glLoadIdentity();
        glRotatef(step.degrees, step.axis[0], step.axis[1], step.axis[2]);
        glGetFloatv(GL_MODELVIEW_MATRIX, expected.data());
        glPopMatrix();
        const Matrix4 turn = rotation(step.degrees, step.axis[0], step.axis[1], step.axis[2]);
        for (std::size_t i = 0; i < turn.size(); ++i) {
            EXPECT_NEAR(turn[i], expected[i], 1e-6f) << step.degrees << " degrees, element " << i;
        }

        glRotatef(step.degrees, step.axis[0], step.axis[1], step.axis[2]);
        glGetFloatv(GL_MODELVIEW_MATRIX, expected.data());
        product = multiply(product, turn);
        for (std::size_t i = 0; i < product.size(); ++i) {
            EXPECT_NEAR(product[i], expected[i], 1e-5f) << "product, element " << i;
        }
    }
    glLoadIdentity();
}

} // namespace
} // namespace cw
