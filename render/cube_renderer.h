// Draws one cube with OpenGL 1.1 immediate-mode calls: the fixed tilt, the cube's view
// rotations, its 54 stickers and its turning layer. The scene calls it once per cube per frame.
#pragma once

#include "cube/cube.h"

namespace cw {

/// Draws `cube` at the position the modelview matrix gives its centre, and advances its
/// turn animation by one frame (which may apply the turn and end it). Leaves the tilt and
/// view rotations on the modelview matrix, so the caller pushes and pops around it. Marks
/// every live sticker drawn. Touches no blending or depth state: the caller decides
/// whether the stickers are blended.
void draw(Cube& cube);

/// Draws the live sticker at (face, row, column) as a square of the sticker's colour at
/// the cube's alpha with a black outline, unless it is already marked drawn this frame;
/// then marks it drawn.
void drawSticker(Cube& cube, int face, int row, int column);

} // namespace cw
