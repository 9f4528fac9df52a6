// The overlay font's glyphs from the system's fonts: each back end has its own source
// beside its window (FreeType on Linux, GDI and WGL on Windows). The program hands it to
// the bitmap font (app/program.cpp), which calls it once per context.
#pragma once

namespace cw {

/// Fills the display lists base .. base + count - 1 with bitmap glyphs of the character
/// codes firstCode .. firstCode + count - 1 in bold "Courier New" `pixelHeight` pixels high
/// (or the nearest the system has), on the current context. Each list draws its glyph at
/// the raster position and moves the raster position by the glyph's advance; a glyph
/// without pixels (the space) still moves it. Returns false when no font could be used.
bool buildGlyphs(unsigned int base, int firstCode, int count, int pixelHeight);

} // namespace cw
