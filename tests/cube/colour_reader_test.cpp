// Tests of the colour reader: on cubes made of real measurements (floors well below what
// bench/colour_reader_bench measures, with fixed seeds), and on made-up hard cases: another
// colour scheme, dim or tinted light, and a piece whose colours were swapped.
#include "cube/colour_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

#include "cube/facelet_places.h"
#include "cube/facelet_string.h"
#include "tests/cube/sticker_samples.h"

namespace cw {
namespace {

using namespace cw::testing;

bool names(const ColourReading& reading, int position) {
    return std::find(reading.doubtful.begin(), reading.doubtful.end(), position) !=
           reading.doubtful.end();
}

// Reads `count` random-state cubes of the bright condition with every colour passed through
// `change`, counting exact readings; fails at once on a wrong cube or a silent refusal.
int exactReadings(int count, std::uint64_t seed, const std::array<int, 6>& scheme,
                  const std::function<Rgb(Rgb)>& change) {
    const LightCondition& bright = lightConditions()[0];
    SampleRandom random(seed);
    int exact = 0;
    for (int n = 0; n < count; ++n) {
        const std::string truth = randomStateFacelets(random);
        StickerColours colours = drawColours(truth, bright, scheme, random);
        std::transform(colours.begin(), colours.end(), colours.begin(), change);
        const ColourReading reading = readColours(colours);
        EXPECT_TRUE(!reading.sure() || reading.facelets == truth) << "cube " << n;
        EXPECT_TRUE(reading.sure() || !reading.doubtful.empty()) << "cube " << n;
        exact += reading.facelets == truth ? 1 : 0;
    }
    return exact;
}

TEST(ColourReader, ReadsCubesOfRealMeasurementsUnderEveryLight) {
    // The benchmark measures 99.8 % to 100 % exact and no wrong cube on 1,000 cubes of each;
    // these floors leave room for another standard library's rounding.
    for (const LightCondition& condition : lightConditions()) {
        constexpr int kCubes = 150;
        const ReadingTally tally = tallyReadings(condition, kCubes, 7);
        EXPECT_GE(tally.exact, kCubes * 96 / 100) << condition.name;
        EXPECT_LE(tally.wrong, 1) << condition.name;
        EXPECT_EQ(tally.unnamed, 0) << condition.name;
        EXPECT_LE(tally.missedTruth, 1) << condition.name;
    }
}

TEST(ColourReader, ReadsAnyColourSchemeAndDimOrTintedLight) {
    constexpr int kCubes = 40;
    const auto same = [](Rgb c) { return c; };
    // White opposite blue, yellow opposite green, red opposite orange, in other places.
    const std::array<int, 6> otherScheme = {kLabelWhite,  kLabelRed,    kLabelBlue,
                                            kLabelYellow, kLabelOrange, kLabelGreen};
    EXPECT_GE(exactReadings(kCubes, 11, otherScheme, same), kCubes - 1);

    const auto scaled = [](double r, double g, double b) {
        return [r, g, b](Rgb c) {
            return Rgb{static_cast<std::uint8_t>(std::lround(c.r * r)),
                       static_cast<std::uint8_t>(std::lround(c.g * g)),
                       static_cast<std::uint8_t>(std::lround(c.b * b))};
        };
    };
    EXPECT_GE(exactReadings(kCubes, 12, kProgramScheme, scaled(0.4, 0.4, 0.4)), kCubes - 2)
        << "dim";
    EXPECT_GE(exactReadings(kCubes, 13, kProgramScheme, scaled(1.0, 0.85, 0.6)), kCubes - 2)
        << "warm lamp";
    EXPECT_GE(exactReadings(kCubes, 14, kProgramScheme, scaled(0.7, 0.85, 1.0)), kCubes - 2)
        << "cold daylight";
}

TEST(ColourReader, ExactColoursReadEvenThoughTheyDoNotSpread) {
    // Flat colours, as a drawing or a colour sensor with perfect stickers gives them.
    const std::array<Rgb, 6> flat = {{{200, 30, 40},
                                      {20, 160, 60},
                                      {240, 240, 240},
                                      {250, 120, 20},
                                      {20, 60, 200},
                                      {240, 220, 20}}};
    SampleRandom random(3);
    for (int n = 0; n < 20; ++n) {
        const std::string truth = randomStateFacelets(random);
        StickerColours colours{};
        for (std::size_t i = 0; i < colours.size(); ++i) {
            colours[i] = flat[static_cast<std::size_t>(facelet_places::sideOfLetter(truth[i]))];
        }
        const ColourReading reading = readColours(colours);
        EXPECT_EQ(reading.facelets, truth);
        EXPECT_EQ(reading.faceColours[2], flat[2]);
    }
}

TEST(ColourReader, TwoColoursSwappedOnOnePieceAreNamedNotGuessed) {
    // A piece put back the wrong way round: an edge flipped in place, or a corner with two of
    // its colours exchanged, makes a cube that face turns cannot reach. The reader must not
    // settle on some reachable cube: it names stickers in doubt (for a flipped edge, the
    // edges that might be the flipped one), and a corner's own stickers.
    const LightCondition& bright = lightConditions()[0];
    SampleRandom random(21);
    for (int n = 0; n < 12; ++n) {
        const std::string truth = randomStateFacelets(random);
        StickerColours colours = drawColours(truth, bright, kProgramScheme, random);
        const bool edge = n % 2 == 0;
        const auto slot = random.below(edge ? 12 : 8);
        const int first =
            edge ? facelet_places::kEdgePlaces[slot][0] : facelet_places::kCornerPlaces[slot][1];
        const int second =
            edge ? facelet_places::kEdgePlaces[slot][1] : facelet_places::kCornerPlaces[slot][2];
        std::swap(colours[static_cast<std::size_t>(first)],
                  colours[static_cast<std::size_t>(second)]);
        const ColourReading reading = readColours(colours);
        EXPECT_FALSE(reading.sure()) << "cube " << n << ", got " << reading.facelets;
        EXPECT_FALSE(reading.doubtful.empty()) << "cube " << n;
        if (!edge) {
            EXPECT_TRUE(names(reading, first) && names(reading, second)) << "cube " << n;
        }
    }
}

TEST(ColourReader, SwappedPairsInRealLightAreRarelyReadAsAReachableCube) {
    // In dim light and on the second cube, colours are close enough that some reachable cube
    // can explain a swapped pair nearly as well as the pieces it shows. Every sure reading
    // of one is a wrong cube: these 3,000 give 7 (16, with the data's mislabelled rows in,
    // before the reader compared the best reachable cube with the best pieces of any turn
    // and doubted two misread stickers on one piece).
    int sure = 0;
    for (const LightCondition& condition : lightConditions()) {
        sure += sureSwappedReadings(condition, 1000, 77);
    }
    EXPECT_LE(sure, 10);
}

TEST(ColourReader, OneStickerShowingAnotherColourIsReadAsTheShortColour) {
    // A white sticker that measures yellow (glare, a worn sticker) leaves ten yellows and
    // eight whites; only one reading keeps nine of each and every piece real. In dim light,
    // where the other colours spread widely too, about 95 % of such cubes read exactly
    // (90 % before the reader weighed a lone odd sticker this way).
    const LightCondition& dark = lightConditions()[1];
    const std::vector<Rgb>& yellows = dark.samples[kLabelYellow];
    SampleRandom random(32);
    constexpr int kCubes = 300;
    int exact = 0;
    int wrong = 0;
    for (int n = 0; n < kCubes; ++n) {
        const std::string truth = randomStateFacelets(random);
        StickerColours colours = drawColours(truth, dark, kProgramScheme, random);
        std::size_t odd = 0;
        do {
            odd = random.below(kFaceletCount);
        } while (truth[odd] != 'F' || odd % 9 == 4);
        colours[odd] = yellows[random.below(yellows.size())];
        const ColourReading reading = readColours(colours);
        EXPECT_TRUE(reading.sure() || !reading.doubtful.empty()) << "cube " << n;
        exact += reading.facelets == truth ? 1 : 0;
        wrong += reading.sure() && reading.facelets != truth ? 1 : 0;
    }
    EXPECT_GE(exact, 280);
    EXPECT_LE(wrong, 1);
}

TEST(ColourReader, GreyStickersAreRefusedWithStickersNamed) {
    StickerColours grey{};
    grey.fill({128, 128, 128});
    const ColourReading reading = readColours(grey);
    EXPECT_FALSE(reading.sure());
    EXPECT_FALSE(reading.doubtful.empty());
    EXPECT_EQ(reading.best.size(), 54U);
}

} // namespace
} // namespace cw
