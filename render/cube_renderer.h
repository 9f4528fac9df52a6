// Draws cubes with OpenGL 1.1 vertex arrays: the fixed tilt, each cube's view rotations,
// its 54 stickers and its turning layer. The scene calls it for every cube every frame.
#pragma once

#include "cube/cube.h"
#include "render/matrix.h"
#include "render/sticker_mesh.h"

namespace cw {

/// Draws `cube` at the position the modelview matrix gives its centre, and advances its
/// turn animation by one frame (which may apply the turn and end it). Leaves the tilt and
/// view rotations on the modelview matrix, so the caller pushes and pops around it. Marks
/// every live sticker drawn. Touches no blending or depth state: the caller decides
/// whether the stickers are blended. Leaves the current colour black.
void draw(Cube& cube);

/// Collects `cube` into `batch` as draw(cube) would draw it with `base` as the modelview
/// matrix: the same stickers in the same order, marked drawn the same way, and its turn
/// animation advanced by one frame in the same place. Each vertex is moved on the CPU by the
/// matrix draw would give it, so the batch is drawn later under a modelview at identity, in
/// one go with other cubes. Touches no GL state unless the batch fills and is drawn.
void drawInto(Cube& cube, const Matrix4& base, StickerBatch& batch);

/// Adds the live sticker at (face, row, column) to `batch`, as a square of the sticker's
/// colour at the cube's alpha with a black outline, unless it is already marked drawn this
/// frame; then marks it drawn. It reaches the screen when the batch is drawn. A full batch
/// is drawn first, under the modelview matrix current at that moment.
void drawSticker(Cube& cube, int face, int row, int column, StickerBatch& batch);

/// Closes the open group's outline, then draws the stickers collected in `batch` under the
/// current modelview matrix, squares first and then outlines, and empties it. Leaves the
/// client array state and the shade model as it found them, and the current colour black.
/// Does nothing for an empty batch.
void drawBatch(StickerBatch& batch);

} // namespace cw
