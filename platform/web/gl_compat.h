// The OpenGL 1.1 calls that emscripten's fixed-function emulation over WebGL does not
// have, as far as the renderer and the overlay font use them: display lists holding one
// glyph each, the raster position, the list base with its attribute stack, and the client
// array state's stack. The glyph source fills the lists; the renderer's calls are the
// ordinary GL ones (GL/gl.h), defined in gl_compat.cpp.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <vector>

namespace cw::webgl {

/// The glyphs of one font, packed into one texture: one cell each, all cells the same
/// size, `cellWidth` also being every glyph's advance.
struct GlyphTexture {
    int cellWidth = 0;
    int cellHeight = 0;
    int descent = 0; ///< pixels of a cell below the baseline
    int columns = 0;
    int rows = 0;
    std::vector<std::uint8_t> alpha; ///< one byte a pixel, 0 or 255, top row first
};

/// Makes lists `base` .. `base + count - 1` (named by glGenLists) draw the glyphs of the
/// cells 0 .. count - 1, row by row, of `glyphs`: each at the raster position, on its
/// baseline, in the raster colour, moving the raster position by the advance. The
/// texture is made on the current context and deleted with the last of these lists.
/// Returns false if the lists were not all named by glGenLists.
bool defineGlyphLists(GLuint base, int count, const GlyphTexture& glyphs);

/// Deletes every list and glyph texture and empties the attribute stacks, as a new
/// context starts: the window calls it when it is created again. (A WebGL canvas keeps
/// its one context; to the program the re-created window's context is a new one all the
/// same, with list names starting again from 1.)
void resetContext();

} // namespace cw::webgl
