// The overlay font's glyphs on Linux: the system's bold "Courier New" (or its nearest
// match) found by fontconfig, rendered by FreeType into glBitmap display lists. The
// program hands it to the bitmap font, which calls it when it is built on a new context.
#include "platform/glyph_source.h"

#include <GL/gl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <string>
#include <vector>

namespace cw {
namespace {

/// One way of asking fontconfig for a font, and what the answer must be to be taken.
struct FontRequest {
    const char* pattern;
    bool mustBeMonospace;
    bool mustBeBold;
};

// The overlay was laid out for bold Courier New (Liberation Mono Bold is its metric
// twin on Linux). Failing that any bold monospace keeps the layout close, and any font at
// all is better than no text.
constexpr FontRequest kRequests[] = {
    {"Courier New:bold", true, true},
    {"monospace:bold", true, false},
    {"", false, false},
};

struct FontFile {
    std::string path;
    int index = 0;
};

/// fontconfig's best match for a request, if it meets the request's conditions.
bool matchFont(const FontRequest& request, FontFile& found) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(request.pattern));
    if (pattern == nullptr) {
        return false;
    }
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return false;
    }

    bool accepted = true;
    int spacing = FC_PROPORTIONAL;
    if (request.mustBeMonospace &&
        (FcPatternGetInteger(match, FC_SPACING, 0, &spacing) != FcResultMatch ||
         spacing != FC_MONO)) {
        accepted = false;
    }
    int weight = FC_WEIGHT_REGULAR;
    if (request.mustBeBold && (FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) != FcResultMatch ||
                               weight < FC_WEIGHT_BOLD)) {
        accepted = false;
    }
    FcChar8* file = nullptr;
    if (accepted && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        file != nullptr) {
        found.path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &found.index) != FcResultMatch) {
            found.index = 0;
        }
    } else {
        accepted = false;
    }
    FcPatternDestroy(match);
    return accepted;
}

/// Copies one rendered glyph into glBitmap's layout: rows bottom-up, (width + 7) / 8 bytes
/// a row, most significant bit leftmost. Grey bitmaps (from fonts that ignore the mono
/// request) are thresholded at half intensity.
std::vector<GLubyte> glyphBits(const FT_Bitmap& bitmap) {
    const unsigned int width = bitmap.width;
    const unsigned int rows = bitmap.rows;
    const std::size_t rowBytes = (width + 7) / 8;
    std::vector<GLubyte> bits(rowBytes * rows, 0);
    const std::size_t pitch = static_cast<std::size_t>(std::abs(bitmap.pitch));
    for (unsigned int memoryRow = 0; memoryRow < rows; ++memoryRow) {
        const unsigned char* source = bitmap.buffer + memoryRow * pitch;
        // A positive pitch stores the top row first; a negative one the bottom row first.
        const std::size_t glRow = bitmap.pitch >= 0 ? rows - 1 - memoryRow : memoryRow;
        GLubyte* target = bits.data() + glRow * rowBytes;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (std::size_t byte = 0; byte < rowBytes; ++byte) {
                target[byte] = source[byte];
            }
        } else {
            for (unsigned int x = 0; x < width; ++x) {
                if (source[x] >= 128) {
                    target[x / 8] = static_cast<GLubyte>(target[x / 8] | (0x80u >> (x % 8)));
                }
            }
        }
    }
    return bits;
}

} // namespace

// The first font of the requests that loads is taken.
bool buildGlyphs(unsigned int base, int firstCode, int count, int pixelHeight) {
    if (FcInit() == FcFalse) {
        return false;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    FT_Face face = nullptr;
    for (const FontRequest& request : kRequests) {
        FontFile file;
        if (!matchFont(request, file)) {
            continue;
        }
        if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0) {
            face = nullptr;
            continue;
        }
        if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight)) != 0) {
            FT_Done_Face(face);
            face = nullptr;
            continue;
        }
        break;
    }
    if (face == nullptr) {
        FT_Done_FreeType(library);
        return false;
    }

    // glBitmap reads its pixels when the list is compiled, so the unpack state matters
    // here and nowhere else.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);

    for (int i = 0; i < count; ++i) {
        const auto code = static_cast<FT_ULong>(firstCode + i);
        glNewList(base + static_cast<GLuint>(i), GL_COMPILE);
        if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
            const FT_GlyphSlot glyph = face->glyph;
            const FT_Bitmap& bitmap = glyph->bitmap;
            const auto advance = static_cast<GLfloat>((glyph->advance.x + 32) >> 6);
            const bool drawable = bitmap.width > 0 && bitmap.rows > 0 &&
                                  (bitmap.pixel_mode == FT_PIXEL_MODE_MONO ||
                                   bitmap.pixel_mode == FT_PIXEL_MODE_GRAY);
            if (drawable) {
                const std::vector<GLubyte> bits = glyphBits(bitmap);
                glBitmap(static_cast<GLsizei>(bitmap.width), static_cast<GLsizei>(bitmap.rows),
                         static_cast<GLfloat>(-glyph->bitmap_left),
                         static_cast<GLfloat>(static_cast<int>(bitmap.rows) - glyph->bitmap_top),
                         advance, 0.0f, bits.data());
            } else {
                // A glyph with no pixels still has to move the raster position. Mesa
                // refuses to compile an empty glBitmap into a list (the list would then
                // not advance at all), so it gets one blank pixel instead.
                const GLubyte blank = 0;
                glBitmap(1, 1, 0.0f, 0.0f, advance, 0.0f, &blank);
            }
        }
        glEndList();
    }

    glPopClientAttrib();
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return true;
}

} // namespace cw
