// The overlay font's glyphs in the browser: drawn once by the page in its bold monospace
// face, packed into one texture, one display list of the GL layer (gl_compat.h) a glyph.
#include "platform/glyph_source.h"

#include "platform/web/gl_compat.h"
#include "platform/web/page_calls.h"

namespace cw {

bool buildGlyphs(unsigned int base, int firstCode, int count, int pixelHeight) {
    const webgl::GlyphTexture glyphs = page::rasteriseGlyphs(firstCode, count, pixelHeight);
    if (glyphs.cellWidth <= 0 || glyphs.cellHeight <= 0 || glyphs.columns * glyphs.rows < count) {
        return false;
    }
    return webgl::defineGlyphLists(base, count, glyphs);
}

} // namespace cw
