// Colours as people see them: measured sRGB colours in CIELAB, and the CIEDE2000 difference
// between two of them, split into its lightness, chroma and hue parts so that a caller can
// weigh each part by how much it drifts.
#pragma once

#include <cstdint>

namespace cw {

/// A measured colour, 0 to 255 a channel, as sRGB.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb& other) const = default;
};

/// A colour in CIELAB under the D65 white point: lightness 0 to 100, then the green-red and
/// blue-yellow axes.
struct Lab {
    double l = 0;
    double a = 0;
    double b = 0;
};

Lab toLab(Rgb colour);

/// The three parts of the CIEDE2000 difference from `first` to `second`, each already
/// divided by its weighting function, with the blue region's rotation term folded into the
/// hue part, so that lightness² + chroma² + hue² is the difference squared.
struct ColourDifference {
    double lightness = 0;
    double chroma = 0;
    double hue = 0;
};

ColourDifference colourDifferenceParts(const Lab& first, const Lab& second);

/// CIEDE2000, with the lightness part divided by `lightnessWeight` (1 is the standard
/// difference; 2 weighs lightness half, as for textiles).
double colourDifference(const Lab& first, const Lab& second, double lightnessWeight = 1.0);

} // namespace cw
