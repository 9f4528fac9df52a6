// Where the bitmap font's glyphs come from: each window system has its own source, built
// beside its window in platform/ (FreeType on Linux, GDI and WGL on Windows). BitmapFont
// calls it once per context.
#pragma once

namespace cw {

/// Fills the display lists base .. base + 95 with bitmap glyphs of the character codes 32
/// to 127 in the overlay's font, bold "Courier New" 18 pixels high (or the nearest the
/// system has), on the current context. Each list draws its glyph at the raster position
/// and moves the raster position by the glyph's advance; a glyph without pixels (the
/// space) still moves it. Returns false when no font could be used.
bool buildGlyphs(unsigned int base);

} // namespace cw
