// CIELAB and CIEDE2000 as Sharma, Wu and Dalal state them ("The CIEDE2000 color-difference
// formula: implementation notes, supplementary test data, and mathematical observations",
// 2005). The hue angles are only needed through their sines and cosines, so the mean hue is
// taken as the direction halfway between the two colours' hue directions, and the hue
// difference from their cross and dot products: one arc tangent a difference, not two plus
// three sines.
#include "cube/colour_difference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace cw {
namespace {

double linearChannel(std::uint8_t value) {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> values{};
        for (std::size_t i = 0; i < values.size(); ++i) {
            const double c = static_cast<double>(i) / 255.0;
            values[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return values;
    }();
    return table[value];
}

double labCurve(double t) {
    constexpr double kEdge = 216.0 / 24389.0;
    constexpr double kSlope = 24389.0 / 27.0;
    return t > kEdge ? std::cbrt(t) : (kSlope * t + 16.0) / 116.0;
}

double power7(double x) {
    const double x2 = x * x;
    return x2 * x2 * x2 * x;
}

constexpr double kDegree = std::numbers::pi / 180.0;

} // namespace

Lab toLab(Rgb colour) {
    const double r = linearChannel(colour.r);
    const double g = linearChannel(colour.g);
    const double b = linearChannel(colour.b);
    const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
    const double fx = labCurve(x);
    const double fy = labCurve(y);
    const double fz = labCurve(z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

ColourDifference colourDifferenceParts(const Lab& first, const Lab& second) {
    constexpr double kPow25To7 = 6103515625.0;
    const double c1 = std::sqrt(first.a * first.a + first.b * first.b);
    const double c2 = std::sqrt(second.a * second.a + second.b * second.b);
    const double meanC7 = power7((c1 + c2) / 2.0);
    const double g = 0.5 * (1.0 - std::sqrt(meanC7 / (meanC7 + kPow25To7)));
    const double a1 = (1.0 + g) * first.a;
    const double a2 = (1.0 + g) * second.a;
    const double cp1 = std::sqrt(a1 * a1 + first.b * first.b);
    const double cp2 = std::sqrt(a2 * a2 + second.b * second.b);

    // 2·√(C1'C2')·sin(Δh'/2), whose square is 2(C1'C2' − a1'a2' − b1b2) and whose sign is
    // the sign of Δh', that of the cross product.
    const double cross = a1 * second.b - first.b * a2;
    const double hueChord =
        std::sqrt(std::max(0.0, 2.0 * (cp1 * cp2 - a1 * a2 - first.b * second.b)));
    const double dH = cross < 0.0 ? -hueChord : hueChord;

    // The mean hue: halfway along the shorter way round between the two hue directions, the
    // one hue when the other colour is grey, 0 when both are. Exactly opposite hues (no
    // shorter way) take the mean of the two angles, as the usual statement does.
    double cosMean = 1.0;
    double sinMean = 0.0;
    {
        double x = (cp1 > 0.0 ? a1 / cp1 : 0.0) + (cp2 > 0.0 ? a2 / cp2 : 0.0);
        double y = (cp1 > 0.0 ? first.b / cp1 : 0.0) + (cp2 > 0.0 ? second.b / cp2 : 0.0);
        double length = std::sqrt(x * x + y * y);
        if (length < 1e-12 && cp1 > 0.0 && cp2 > 0.0) {
            const double h1 = std::atan2(first.b, a1);
            const double h2 = std::atan2(second.b, a2);
            const auto positive = [](double h) { return h < 0.0 ? h + 2.0 * std::numbers::pi : h; };
            const double mean = (positive(h1) + positive(h2)) / 2.0;
            x = std::cos(mean);
            y = std::sin(mean);
            length = 1.0;
        }
        if (length >= 1e-12) {
            cosMean = x / length;
            sinMean = y / length;
        }
    }
    double meanH = std::atan2(sinMean, cosMean) / kDegree;
    if (meanH < 0.0) {
        meanH += 360.0;
    }

    const double dL = second.l - first.l;
    const double dC = cp2 - cp1;
    const double meanL = (first.l + second.l) / 2.0;
    const double meanCp = (cp1 + cp2) / 2.0;
    // The hue weighting's cosines of h̄', 2h̄', 3h̄' and 4h̄' from one sine and cosine, by the
    // angle-sum rules.
    const double c1h = cosMean;
    const double s1h = sinMean;
    const double c2h = c1h * c1h - s1h * s1h;
    const double s2h = 2.0 * s1h * c1h;
    const double c3h = c2h * c1h - s2h * s1h;
    const double s3h = s2h * c1h + c2h * s1h;
    const double c4h = c2h * c2h - s2h * s2h;
    const double s4h = 2.0 * s2h * c2h;
    const auto cosPlus = [](double c, double s, double degrees) {
        return c * std::cos(degrees * kDegree) - s * std::sin(degrees * kDegree);
    };
    const double t = 1.0 - 0.17 * cosPlus(c1h, s1h, -30.0) + 0.24 * c2h +
                     0.32 * cosPlus(c3h, s3h, 6.0) - 0.20 * cosPlus(c4h, s4h, -63.0);
    const double hueOff = (meanH - 275.0) / 25.0;
    const double dTheta = 30.0 * std::exp(-hueOff * hueOff);
    const double meanCp7 = power7(meanCp);
    const double rc = 2.0 * std::sqrt(meanCp7 / (meanCp7 + kPow25To7));
    const double l50 = (meanL - 50.0) * (meanL - 50.0);
    const double sl = 1.0 + 0.015 * l50 / std::sqrt(20.0 + l50);
    const double sc = 1.0 + 0.045 * meanCp;
    const double sh = 1.0 + 0.015 * meanCp * t;
    const double rt = -std::sin(2.0 * dTheta * kDegree) * rc;
    const double termC = dC / sc;
    const double termH = dH / sh;
    // C² + H² + rt·C·H, written as C² plus a hue part, so that the parts square and add up.
    const double hueSquared = std::max(0.0, termH * termH + rt * termC * termH);
    return {dL / sl, termC, std::sqrt(hueSquared)};
}

double colourDifference(const Lab& first, const Lab& second, double lightnessWeight) {
    const ColourDifference d = colourDifferenceParts(first, second);
    const double l = d.lightness / lightnessWeight;
    return std::sqrt(l * l + d.chroma * d.chroma + d.hue * d.hue);
}

} // namespace cw
