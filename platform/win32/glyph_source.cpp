// The overlay font's glyphs on Windows: a GDI font, bold "Courier New", turned into
// display lists by wglUseFontBitmapsA on the current context's device context. The
// program hands it to the bitmap font, which calls it when it is built on a new context.
#include "platform/glyph_source.h"

#include <windows.h>

#include <GL/gl.h>

namespace cw {

namespace {

// A glyph without pixels (the space) must still move the raster position. Some drivers
// (Mesa, under Wine) refuse the empty glBitmap that wglUseFontBitmapsA compiles for it,
// and the list then moves nothing; each such glyph's list is compiled again as one blank
// pixel that advances by the glyph's cell width.
void compileBlankGlyphs(HDC dc, unsigned int base, int firstCode, int count) {
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    for (int i = 0; i < count; ++i) {
        const auto code = static_cast<UINT>(firstCode + i);
        GLYPHMETRICS metrics{};
        const DWORD size = GetGlyphOutlineA(dc, code, GGO_BITMAP, &metrics, 0, nullptr, &identity);
        if (size != 0) {
            // It has pixels, or GDI knows nothing of it (GDI_ERROR): leave it as built.
            continue;
        }
        const GLubyte blank = 0;
        glNewList(base + static_cast<unsigned int>(i), GL_COMPILE);
        glBitmap(1, 1, 0.0f, 0.0f, static_cast<GLfloat>(metrics.gmCellIncX), 0.0f, &blank);
        glEndList();
    }
}

} // namespace

bool buildGlyphs(unsigned int base, int firstCode, int count, int pixelHeight) {
    // The device context the window made the context current on.
    const HDC dc = wglGetCurrentDC();
    if (dc == nullptr) {
        return false;
    }
    const HFONT font = CreateFontA(-pixelHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                   ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Courier New");
    if (font == nullptr) {
        return false;
    }
    const HGDIOBJ previous = SelectObject(dc, font);
    const bool built = wglUseFontBitmapsA(dc, static_cast<DWORD>(firstCode),
                                          static_cast<DWORD>(count), base) != FALSE;
    if (built) {
        compileBlankGlyphs(dc, base, firstCode, count);
    }
    // The glyphs live on in the display lists; the font is no longer needed.
    SelectObject(dc, previous);
    DeleteObject(font);
    return built;
}

} // namespace cw
