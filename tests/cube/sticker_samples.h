// Test cubes made of real sticker measurements: the three lighting conditions of
// tests/data/sticker-colours, and cubes whose every sticker takes a colour drawn from one
// condition's measurements of its true colour. Used by the colour reader's tests and its
// benchmark.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cube/colour_reader.h"
#include "cube/cubie_cube.h"

namespace cw::testing {

/// The data's colour labels.
enum Label : int {
    kLabelGreen,
    kLabelWhite,
    kLabelYellow,
    kLabelRed,
    kLabelOrange,
    kLabelBlue,
    kLabelCount
};

/// One lighting condition: its name and every measurement of each label, as RGB.
struct LightCondition {
    std::string_view name;
    std::array<std::vector<Rgb>, kLabelCount> samples;
    /// The file's line numbers of the rows left out as labelling slips (see
    /// lightConditions).
    std::vector<int> mislabelled;
};

/// The three conditions, in the order cube1_light, cube1_dark, cube2_light, without the
/// rows whose colour is plainly another label's: a row more than kMislabelledGap (CIELAB
/// units) nearer another label's median colour than its own is a slip in the labelling,
/// not a sticker of its label seen in odd light. Under this rule the files' next worst row
/// is 34 units nearer, and the four slips (all of cube2_light) 64 to 77.
const std::vector<LightCondition>& lightConditions();

/// The three conditions with every row, as the files have them.
const std::vector<LightCondition>& publishedLightConditions();

inline constexpr double kMislabelledGap = 50.0;

/// The program's colour scheme: the label of each side, U, R, F, D, L, B (red on top,
/// white in front, as a standard cube is held in the program's grip).
inline constexpr std::array<int, 6> kProgramScheme = {kLabelRed,    kLabelGreen, kLabelWhite,
                                                      kLabelOrange, kLabelBlue,  kLabelYellow};

/// A small, exactly specified generator (SplitMix64), so that a seed gives the same cubes
/// with every standard library.
class SampleRandom {
public:
    explicit SampleRandom(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    /// A number from 0 to `count` - 1.
    std::size_t below(std::size_t count) { return static_cast<std::size_t>(next() % count); }

private:
    std::uint64_t state_;
};

/// A cube drawn uniformly from the states face turns reach, as a facelet string.
std::string randomStateFacelets(SampleRandom& random);

/// The colours of the cube `facelets` shows, each sticker drawn at random from the
/// condition's measurements of the label that `scheme` gives its letter's side.
StickerColours drawColours(std::string_view facelets, const LightCondition& condition,
                           const std::array<int, 6>& scheme, SampleRandom& random);

/// How a run of readings went.
struct ReadingTally {
    int exact = 0;       ///< sure, and the right cube
    int refused = 0;     ///< not sure, with stickers named
    int wrong = 0;       ///< sure of a different cube
    int unnamed = 0;     ///< not sure, and no sticker named
    int missedTruth = 0; ///< not sure, and a wrong sticker was not among those named
};

/// Reads `count` random-state cubes drawn from `condition` with seeds from `seed`.
ReadingTally tallyReadings(const LightCondition& condition, int count, std::uint64_t seed);

/// Reads `count` random-state cubes drawn from `condition` as tallyReadings does, each with
/// two stickers of one piece swapped (an edge flipped in place on even cubes, two of a
/// corner's three stickers exchanged on odd ones): no cube face turns reach shows those
/// colours, so every sure reading is wrong. Returns how many were read sure.
int sureSwappedReadings(const LightCondition& condition, int count, std::uint64_t seed);

} // namespace cw::testing
