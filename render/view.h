// Where the scene puts the main cube and how a cube is turned before its stickers are
// drawn: the distance from the eye, the fixed tilt and the cube's own view rotations. The
// renderer draws with these, and the program's core uses the same to find what lies under
// the pointer. Standard library only.
#pragma once

#include "cube/cube.h"
#include "render/matrix.h"

namespace cw {

/// Distance of the main cube from the eye, along the viewing axis.
inline constexpr float kMainCubeDepth = -15.0f;

/// The fixed tilt about the diagonal between x and y, so three faces face the viewer.
inline constexpr float kTiltDegrees = 45.0f;

/// `base` multiplied in turn by the tilt and the cube's view rotations about x, y and z,
/// as the renderer's glRotatef calls multiply the modelview matrix before the stickers are
/// drawn: the matrix that takes the cube's own frame to where `base` puts its centre.
Matrix4 placeCube(const Matrix4& base, const Cube& cube);

} // namespace cw
