// The overlay font's glyphs in the browser: drawn once by the page in its bold monospace
// face, packed into one texture, one display list of the GL layer (gl_compat.h) a glyph.
#include "render/glyph_source.h"

#include "platform/web/gl_compat.h"
#include "platform/web/page_calls.h"

namespace cw {

namespace {
constexpr int kFirstCode = 32;
constexpr int kGlyphCount = 96;
constexpr int kPixelHeight = 18;
} // namespace

bool buildGlyphs(unsigned int base) {
    const webgl::GlyphTexture glyphs = page::rasteriseGlyphs(kFirstCode, kGlyphCount, kPixelHeight);
    if (glyphs.cellWidth <= 0 || glyphs.cellHeight <= 0 ||
        glyphs.columns * glyphs.rows < kGlyphCount) {
        return false;
    }
    return webgl::defineGlyphLists(base, kGlyphCount, glyphs);
}

} // namespace cw
