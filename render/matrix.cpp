// The renderer's matrix maths; see matrix.h.
#include "render/matrix.h"

#include <cmath>
#include <cstddef>

namespace cw {

Matrix4 translation(float x, float y, float z) {
    return {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, x, y, z, 1.0f};
}

Matrix4 rotation(float degrees, float x, float y, float z) {
    Matrix4 m = translation(0.0f, 0.0f, 0.0f);
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f) {
        return m;
    }
    x /= length;
    y /= length;
    z /= length;
    constexpr float kRadiansPerDegree = 3.14159265358979323846f / 180.0f;
    const float s = std::sin(degrees * kRadiansPerDegree);
    const float c = std::cos(degrees * kRadiansPerDegree);
    const float t = 1.0f - c;
    m[0] = x * x * t + c;
    m[1] = y * x * t + z * s;
    m[2] = x * z * t - y * s;
    m[4] = x * y * t - z * s;
    m[5] = y * y * t + c;
    m[6] = y * z * t + x * s;
    m[8] = x * z * t + y * s;
    m[9] = y * z * t - x * s;
    m[10] = z * z * t + c;
    return m;
}

Matrix4 perspective(double fovy, double aspect, double near, double far) {
    constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
    const double f = 1.0 / std::tan(fovy * kRadiansPerDegree / 2.0);
    Matrix4 m{};
    m[0] = static_cast<float>(f / aspect);
    m[5] = static_cast<float>(f);
    m[10] = static_cast<float>((far + near) / (near - far));
    m[11] = -1.0f;
    m[14] = static_cast<float>(2.0 * far * near / (near - far));
    return m;
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 product{};
    for (std::size_t column = 0; column < 4; ++column) {
        for (std::size_t row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (std::size_t k = 0; k < 4; ++k) {
                sum += a[k * 4 + row] * b[column * 4 + k];
            }
            product[column * 4 + row] = sum;
        }
    }
    return product;
}

std::array<float, 3> movePoint(const Matrix4& m, const std::array<float, 3>& p) {
    return {m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12],
            m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13],
            m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14]};
}

std::array<float, 3> turnNormal(const Matrix4& m, const std::array<float, 3>& n) {
    return {m[0] * n[0] + m[4] * n[1] + m[8] * n[2], m[1] * n[0] + m[5] * n[1] + m[9] * n[2],
            m[2] * n[0] + m[6] * n[1] + m[10] * n[2]};
}

} // namespace cw
