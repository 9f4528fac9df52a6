// CIELAB and CIEDE2000 against published reference values: the 34 pairs of Sharma, Wu and
// Dalal's test data (2005), which include the hue pairs on either side of a half turn where
// the mean hue flips, and a few sRGB colours' CIELAB values under D65.
#include "cube/colour_difference.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace cw {
namespace {

struct Pair {
    Lab first;
    Lab second;
    double difference;
};

constexpr std::array<Pair, 34> kSharmaPairs = {{
    {{50.0000, 2.6772, -79.7751}, {50.0000, 0.0000, -82.7485}, 2.0425},
    {{50.0000, 3.1571, -77.2803}, {50.0000, 0.0000, -82.7485}, 2.8615},
    {{50.0000, 2.8361, -74.0200}, {50.0000, 0.0000, -82.7485}, 3.4412},
    {{50.0000, -1.3802, -84.2814}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -1.1848, -84.8006}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -0.9009, -85.5211}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, 0.0000, 0.0000}, {50.0000, -1.0000, 2.0000}, 2.3669},
    {{50.0000, -1.0000, 2.0000}, {50.0000, 0.0000, 0.0000}, 2.3669},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0009}, 7.1792},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0010}, 7.1792},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0011}, 7.2195},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0012}, 7.2195},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0009, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0010, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0011, -2.4900}, 4.7461},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 0.0000, -2.5000}, 4.3065},
    {{50.0000, 2.5000, 0.0000}, {73.0000, 25.0000, -18.0000}, 27.1492},
    {{50.0000, 2.5000, 0.0000}, {61.0000, -5.0000, 29.0000}, 22.8977},
    {{50.0000, 2.5000, 0.0000}, {56.0000, -27.0000, -3.0000}, 31.9030},
    {{50.0000, 2.5000, 0.0000}, {58.0000, 24.0000, 15.0000}, 19.4535},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.1736, 0.5854}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2972, 0.0000}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 1.8634, 0.5757}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2592, 0.3350}, 1.0000},
    {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
    {{63.0109, -31.0961, -5.8663}, {62.8187, -29.7946, -4.0864}, 1.2630},
    {{61.2901, 3.7196, -5.3901}, {61.4292, 2.2480, -4.9620}, 1.8731},
    {{35.0831, -44.1164, 3.7933}, {35.0232, -40.0716, 1.5901}, 1.8645},
    {{22.7233, 20.0904, -46.6940}, {23.0331, 14.9730, -42.5619}, 2.0373},
    {{36.4612, 47.8580, 18.3852}, {36.2715, 50.5065, 21.2231}, 1.4146},
    {{90.8027, -2.0831, 1.4410}, {91.1528, -1.6435, 0.0447}, 1.4441},
    {{90.9257, -0.5406, -0.9208}, {88.6381, -0.8985, -0.7239}, 1.5381},
    {{6.7747, -0.2908, -2.4247}, {5.8714, -0.0985, -2.2286}, 0.6377},
    {{2.0776, 0.0795, -1.1350}, {0.9033, -0.0636, -0.5514}, 0.9082},
}};

TEST(ColourDifference, MatchesThePublishedReferencePairsBothWaysRound) {
    for (const Pair& pair : kSharmaPairs) {
        EXPECT_NEAR(colourDifference(pair.first, pair.second), pair.difference, 5e-5)
            << pair.first.l << ' ' << pair.first.a << ' ' << pair.first.b;
        EXPECT_NEAR(colourDifference(pair.second, pair.first), pair.difference, 5e-5);
    }
}

TEST(ColourDifference, LightnessWeightDividesOnlyTheLightnessPart) {
    const Lab first{50.0, 2.5, 0.0};
    const Lab second{73.0, 25.0, -18.0};
    const ColourDifference parts = colourDifferenceParts(first, second);
    const double lightness = parts.lightness / 2.0;
    EXPECT_NEAR(
        colourDifference(first, second, 2.0),
        std::sqrt(lightness * lightness + parts.chroma * parts.chroma + parts.hue * parts.hue),
        1e-12);
    EXPECT_LT(colourDifference(first, second, 2.0), colourDifference(first, second));
    EXPECT_EQ(colourDifference(Lab{40.0, 0.0, 0.0}, Lab{60.0, 0.0, 0.0}, 2.0) * 2.0,
              colourDifference(Lab{40.0, 0.0, 0.0}, Lab{60.0, 0.0, 0.0}));
}

TEST(ColourDifference, SrgbColoursConvertToTheirKnownLabValues) {
    struct Known {
        Rgb rgb;
        Lab lab;
    };
    // Reference values of sRGB under D65 (white, black, the primaries, a mid grey).
    constexpr std::array<Known, 6> kKnown = {{
        {{255, 255, 255}, {100.0, 0.0, 0.0}},
        {{0, 0, 0}, {0.0, 0.0, 0.0}},
        {{255, 0, 0}, {53.2408, 80.0925, 67.2032}},
        {{0, 255, 0}, {87.7347, -86.1827, 83.1793}},
        {{0, 0, 255}, {32.2970, 79.1875, -107.8602}},
        {{128, 128, 128}, {53.5850, 0.0, 0.0}},
    }};
    for (const Known& known : kKnown) {
        const Lab lab = toLab(known.rgb);
        EXPECT_NEAR(lab.l, known.lab.l, 0.01);
        EXPECT_NEAR(lab.a, known.lab.a, 0.01);
        EXPECT_NEAR(lab.b, known.lab.b, 0.01);
    }
}

} // namespace
} // namespace cw
