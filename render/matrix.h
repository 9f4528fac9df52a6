// The 4x4 matrix maths the renderer does on the CPU: GL's translate, rotate and multiply,
// worked out the same way in single precision, and points and normals moved by a matrix.
// The cube renderer places batched cubes with it.
#pragma once

#include <array>

namespace cw {

/// A 4x4 matrix in GL's column-major order.
using Matrix4 = std::array<float, 16>;

/// The matrix glTranslatef(x, y, z) multiplies the current one by.
Matrix4 translation(float x, float y, float z);

/// The matrix glRotatef(degrees, x, y, z) multiplies the current one by, worked out the same
/// way in single precision: the axis normalised, a zero axis giving no rotation.
Matrix4 rotation(float degrees, float x, float y, float z);

/// The matrix gluPerspective multiplies the current one by: a vertical field of view of
/// `fovy` degrees over `aspect` (width / height), with near and far planes.
Matrix4 perspective(double fovy, double aspect, double near, double far);

/// a * b, as glMultMatrixf(b) with a current.
Matrix4 multiply(const Matrix4& a, const Matrix4& b);

/// The point `p` moved by `m`.
std::array<float, 3> movePoint(const Matrix4& m, const std::array<float, 3>& p);

/// The normal `n` turned by `m`. Only the rotation part counts: the matrices here hold
/// nothing but rotations and translations, so that is also the inverse transpose GL uses.
std::array<float, 3> turnNormal(const Matrix4& m, const std::array<float, 3>& n);

} // namespace cw
