// The fixed-function calls that WebGL's emulation lacks; see gl_compat.h. The glyph lists
// draw textured quads through the emulation itself, in window coordinates, with the depth
// of the raster position, so a glyph lands where glBitmap would put its pixels.
#include "platform/web/gl_compat.h"

#include <emscripten.h>

#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace cw::webgl {
namespace {

// clang-format off
// The emulation's current colour, which glRasterPos latches; it has no glGet for it.
EM_JS(void, jsCurrentColour, (float* rgba), {
    HEAPF32.set(GLImmediate.clientColor, rgba >> 2);
});

EM_JS(int, jsClientArrayEnabled, (int capability), {
    const attribute = GLEmulation.getAttributeFromCapability(capability);
    return attribute !== null && GLImmediate.enabledClientAttributes[attribute] ? 1 : 0;
});
// clang-format on

struct Texture {
    GLuint name = 0;
    int width = 0;
    int height = 0;
    ~Texture() { glDeleteTextures(1, &name); }
};

struct Glyph {
    std::shared_ptr<Texture> texture;
    int left = 0; // the cell, in texture pixels from the top left
    int top = 0;
    int width = 0;
    int height = 0;
    int descent = 0;
};

struct RasterPosition {
    bool valid = false;
    float x = 0;
    float y = 0;
    float z = 0; // window depth, 0 near to 1 far
    std::array<float, 4> colour{1, 1, 1, 1};
};

struct State {
    GLuint nextList = 1;
    std::map<GLuint, Glyph> lists; // named lists; a glyph once defined
    GLuint listBase = 0;
    std::vector<GLuint> listBaseStack;
    std::vector<std::array<bool, 4>> clientArrayStack;
    RasterPosition raster;
    GLenum shadeModel = GL_SMOOTH;
};

State& state() {
    static State current;
    return current;
}

constexpr std::array<GLenum, 4> kClientArrays = {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY,
                                                 GL_TEXTURE_COORD_ARRAY};

using Matrix = std::array<float, 16>;

std::array<float, 4> transform(const Matrix& m, const std::array<float, 4>& v) {
    std::array<float, 4> out{};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            out[static_cast<std::size_t>(row)] +=
                m[static_cast<std::size_t>(column * 4 + row)] * v[static_cast<std::size_t>(column)];
        }
    }
    return out;
}

void setRasterPosition(float x, float y, float z) {
    RasterPosition& raster = state().raster;
    Matrix modelview{};
    Matrix projection{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.data());
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    const std::array<float, 4> clip = transform(projection, transform(modelview, {x, y, z, 1}));
    const float w = clip[3];
    // Outside the view volume the raster position is invalid and bitmaps draw nothing.
    raster.valid =
        w > 0 && std::fabs(clip[0]) <= w && std::fabs(clip[1]) <= w && std::fabs(clip[2]) <= w;
    if (!raster.valid) {
        return;
    }
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    raster.x = static_cast<float>(viewport[0]) +
               (clip[0] / w + 1) * 0.5f * static_cast<float>(viewport[2]);
    raster.y = static_cast<float>(viewport[1]) +
               (clip[1] / w + 1) * 0.5f * static_cast<float>(viewport[3]);
    raster.z = (clip[2] / w + 1) * 0.5f;
    jsCurrentColour(raster.colour.data());
}

// Draws one glyph as a quad at the raster position and advances it. The projection and
// modelview are set to window coordinates for the quad and put back afterwards; the
// depth test applies as it does to a bitmap's pixels.
void drawGlyph(const Glyph& glyph) {
    RasterPosition& raster = state().raster;
    if (!raster.valid) {
        return;
    }
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLint matrixMode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    std::array<float, 4> colour{};
    jsCurrentColour(colour.data());

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(viewport[0], viewport[0] + viewport[2], viewport[1], viewport[1] + viewport[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, glyph.texture->name);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.5f);

    // Whole pixels, as a bitmap's are; the cell's bottom row lies `descent` below the
    // baseline. With this projection window depth d is eye depth 1 - 2d.
    const auto left = std::floor(raster.x);
    const auto bottom = std::floor(raster.y) - static_cast<float>(glyph.descent);
    const auto right = left + static_cast<float>(glyph.width);
    const auto top = bottom + static_cast<float>(glyph.height);
    const float depth = 1 - 2 * raster.z;
    const float textureWidth = static_cast<float>(glyph.texture->width);
    const float textureHeight = static_cast<float>(glyph.texture->height);
    const float u0 = static_cast<float>(glyph.left) / textureWidth;
    const float u1 = static_cast<float>(glyph.left + glyph.width) / textureWidth;
    const float v0 = static_cast<float>(glyph.top) / textureHeight;
    const float v1 = static_cast<float>(glyph.top + glyph.height) / textureHeight;
    glColor4f(raster.colour[0], raster.colour[1], raster.colour[2], raster.colour[3]);
    glBegin(GL_QUADS);
    glTexCoord2f(u0, v1);
    glVertex3f(left, bottom, depth);
    glTexCoord2f(u1, v1);
    glVertex3f(right, bottom, depth);
    glTexCoord2f(u1, v0);
    glVertex3f(right, top, depth);
    glTexCoord2f(u0, v0);
    glVertex3f(left, top, depth);
    glEnd();

    glDisable(GL_ALPHA_TEST);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glColor4f(colour[0], colour[1], colour[2], colour[3]);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(static_cast<GLenum>(matrixMode));

    raster.x += static_cast<float>(glyph.width);
}

} // namespace

bool defineGlyphLists(GLuint base, int count, const GlyphTexture& glyphs) {
    State& current = state();
    for (int i = 0; i < count; ++i) {
        if (current.lists.count(base + static_cast<GLuint>(i)) == 0) {
            return false;
        }
    }
    auto texture = std::make_shared<Texture>();
    texture->width = glyphs.columns * glyphs.cellWidth;
    texture->height = glyphs.rows * glyphs.cellHeight;
    // White where the glyph has a pixel: the raster colour, modulated by it, shows there.
    std::vector<std::uint8_t> rgba(glyphs.alpha.size() * 4, 255);
    for (std::size_t i = 0; i < glyphs.alpha.size(); ++i) {
        rgba[i * 4 + 3] = glyphs.alpha[i];
    }
    glGenTextures(1, &texture->name);
    glBindTexture(GL_TEXTURE_2D, texture->name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, texture->width, texture->height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    for (int i = 0; i < count; ++i) {
        Glyph& glyph = current.lists[base + static_cast<GLuint>(i)];
        glyph.texture = texture;
        glyph.left = (i % glyphs.columns) * glyphs.cellWidth;
        glyph.top = (i / glyphs.columns) * glyphs.cellHeight;
        glyph.width = glyphs.cellWidth;
        glyph.height = glyphs.cellHeight;
        glyph.descent = glyphs.descent;
    }
    return true;
}

void resetContext() {
    // The canvas's WebGL context lives on, so the textures are deleted with their lists.
    state() = State{};
}

} // namespace cw::webgl

// The GL 1.1 entry points themselves, with C linkage as GL/gl.h declares them.
extern "C" {

// WebGL's own calls (through the emulation), from emscripten's GL library.
void emscripten_glHint(GLenum target, GLenum mode);
void emscripten_glGetIntegerv(GLenum name, GLint* values);

// WebGL has no shade model: the emulation interpolates colours, and the renderer gives
// every corner of a square the same colour, so flat and smooth look the same. The mode
// is kept for glGet.
void glShadeModel(GLenum mode) {
    cw::webgl::state().shadeModel = mode;
}

void glGetIntegerv(GLenum name, GLint* values) {
    if (name == GL_SHADE_MODEL) {
        *values = static_cast<GLint>(cw::webgl::state().shadeModel);
        return;
    }
    emscripten_glGetIntegerv(name, values);
}

// The hints that WebGL does not know would set an error; it interpolates in perspective
// anyway, and a hint may always be ignored.
void glHint(GLenum target, GLenum mode) {
    switch (target) {
    case GL_PERSPECTIVE_CORRECTION_HINT:
    case GL_LINE_SMOOTH_HINT:
    case GL_POINT_SMOOTH_HINT:
    case GL_POLYGON_SMOOTH_HINT:
    case GL_FOG_HINT:
        return;
    default:
        emscripten_glHint(target, mode);
    }
}

GLuint glGenLists(GLsizei range) {
    auto& current = cw::webgl::state();
    if (range <= 0) {
        return 0;
    }
    const GLuint base = current.nextList;
    for (GLsizei i = 0; i < range; ++i) {
        current.lists[base + static_cast<GLuint>(i)] = {};
    }
    current.nextList += static_cast<GLuint>(range);
    return base;
}

void glDeleteLists(GLuint list, GLsizei range) {
    auto& lists = cw::webgl::state().lists;
    for (GLsizei i = 0; i < range; ++i) {
        lists.erase(list + static_cast<GLuint>(i));
    }
}

void glListBase(GLuint base) {
    cw::webgl::state().listBase = base;
}

void glCallLists(GLsizei n, GLenum type, const GLvoid* lists) {
    // The overlay's text is bytes; the other index types are not used.
    if (type != GL_UNSIGNED_BYTE || lists == nullptr) {
        return;
    }
    auto& current = cw::webgl::state();
    const auto* offsets = static_cast<const GLubyte*>(lists);
    for (GLsizei i = 0; i < n; ++i) {
        const auto found = current.lists.find(current.listBase + offsets[i]);
        if (found != current.lists.end() && found->second.texture) {
            cw::webgl::drawGlyph(found->second);
        }
    }
}

// Of the server attributes only the list base is stacked: it is the only one that
// anything here pushes.
void glPushAttrib(GLbitfield /*mask*/) {
    auto& current = cw::webgl::state();
    current.listBaseStack.push_back(current.listBase);
}

void glPopAttrib() {
    auto& current = cw::webgl::state();
    if (!current.listBaseStack.empty()) {
        current.listBase = current.listBaseStack.back();
        current.listBaseStack.pop_back();
    }
}

void glRasterPos2f(GLfloat x, GLfloat y) {
    cw::webgl::setRasterPosition(x, y, 0);
}

void glRasterPos3f(GLfloat x, GLfloat y, GLfloat z) {
    cw::webgl::setRasterPosition(x, y, z);
}

// The client state stacked is which vertex arrays are enabled; the pointers set while it
// was pushed stay as they are.
void glPushClientAttrib(GLbitfield /*mask*/) {
    std::array<bool, 4> enabled{};
    for (std::size_t i = 0; i < enabled.size(); ++i) {
        enabled[i] =
            cw::webgl::jsClientArrayEnabled(static_cast<int>(cw::webgl::kClientArrays[i])) != 0;
    }
    cw::webgl::state().clientArrayStack.push_back(enabled);
}

void glPopClientAttrib() {
    auto& stack = cw::webgl::state().clientArrayStack;
    if (stack.empty()) {
        return;
    }
    const std::array<bool, 4> enabled = stack.back();
    stack.pop_back();
    for (std::size_t i = 0; i < enabled.size(); ++i) {
        if (enabled[i]) {
            glEnableClientState(cw::webgl::kClientArrays[i]);
        } else {
            glDisableClientState(cw::webgl::kClientArrays[i]);
        }
    }
}

} // extern "C"
