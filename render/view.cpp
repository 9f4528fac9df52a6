// A cube's orientation in the frame; see view.h.
#include "render/view.h"

namespace cw {

Matrix4 placeCube(const Matrix4& base, const Cube& cube) {
    static const Matrix4 kTilt = rotation(kTiltDegrees, 1.0f, 1.0f, 0.0f);
    Matrix4 m = multiply(base, kTilt);
    m = multiply(m, rotation(cube.viewAngleX(), 1.0f, 0.0f, 0.0f));
    m = multiply(m, rotation(cube.viewAngleY(), 0.0f, 1.0f, 0.0f));
    return multiply(m, rotation(cube.viewAngleZ(), 0.0f, 0.0f, 1.0f));
}

} // namespace cw
