// Test cubes made of real sticker measurements. The data files are built into the program
// (tests/cube/CMakeLists.txt turns them into sticker_data.cpp), so that the tests read them
// the same way under every platform's runner.
#include "tests/cube/sticker_samples.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <sstream>

#include "cube/facelet_places.h"
#include "cube/facelet_string.h"

namespace cw::testing {

// The measurement files as text, in the order cube1_light, cube1_dark, cube2_light.
extern const std::array<std::string_view, 3> kStickerData;

namespace {

// HSV as the data writes it (H 0 to 179 in steps of 2 degrees, S and V 0 to 255) to RGB.
Rgb fromHsv(int h, int s, int v) {
    const double hue = h * 2.0 / 60.0;
    const double value = v / 255.0;
    const double chroma = value * (s / 255.0);
    const double x = chroma * (1.0 - std::abs(std::fmod(hue, 2.0) - 1.0));
    double r = 0;
    double g = 0;
    double b = 0;
    switch (static_cast<int>(hue) % 6) {
    case 0:
        r = chroma, g = x;
        break;
    case 1:
        r = x, g = chroma;
        break;
    case 2:
        g = chroma, b = x;
        break;
    case 3:
        g = x, b = chroma;
        break;
    case 4:
        r = x, b = chroma;
        break;
    default:
        r = chroma, b = x;
        break;
    }
    const double m = value - chroma;
    const auto channel = [m](double c) {
        return static_cast<std::uint8_t>(std::lround(std::clamp((c + m) * 255.0, 0.0, 255.0)));
    };
    return {channel(r), channel(g), channel(b)};
}

struct Row {
    int line = 0;
    int label = 0;
    Rgb colour;
};

std::vector<Row> readRows(std::string_view text) {
    std::vector<Row> rows;
    std::istringstream in{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        int h = 0;
        int s = 0;
        int v = 0;
        int label = 0;
        char comma = 0;
        std::istringstream row(line);
        if (row >> h >> comma >> s >> comma >> v >> comma >> label && label >= 0 &&
            label < kLabelCount) {
            rows.push_back({number, label, fromHsv(h, s, v)});
        }
    }
    return rows;
}

double median(std::vector<double> values) {
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// How much nearer (in CIELAB) each row's colour is to the nearest other label's median
// colour than to its own label's.
std::vector<double> nearerToAnother(const std::vector<Row>& rows) {
    std::array<Lab, kLabelCount> middle{};
    for (int label = 0; label < kLabelCount; ++label) {
        std::array<std::vector<double>, 3> parts;
        for (const Row& row : rows) {
            if (row.label == label) {
                const Lab lab = toLab(row.colour);
                parts[0].push_back(lab.l);
                parts[1].push_back(lab.a);
                parts[2].push_back(lab.b);
            }
        }
        middle[static_cast<std::size_t>(label)] = {median(parts[0]), median(parts[1]),
                                                   median(parts[2])};
    }
    std::vector<double> nearer;
    for (const Row& row : rows) {
        const Lab lab = toLab(row.colour);
        const auto distance = [&lab](const Lab& m) {
            return std::hypot(lab.l - m.l, lab.a - m.a, lab.b - m.b);
        };
        double other = std::numeric_limits<double>::infinity();
        for (int label = 0; label < kLabelCount; ++label) {
            if (label != row.label) {
                other = std::min(other, distance(middle[static_cast<std::size_t>(label)]));
            }
        }
        nearer.push_back(distance(middle[static_cast<std::size_t>(row.label)]) - other);
    }
    return nearer;
}

LightCondition readCondition(std::string_view name, std::string_view text, bool audited) {
    LightCondition condition{name, {}, {}};
    const std::vector<Row> rows = readRows(text);
    const std::vector<double> nearer = nearerToAnother(rows);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (audited && nearer[i] > kMislabelledGap) {
            condition.mislabelled.push_back(rows[i].line);
        } else {
            condition.samples[static_cast<std::size_t>(rows[i].label)].push_back(rows[i].colour);
        }
    }
    return condition;
}

template <std::size_t N>
void shuffle(std::array<std::uint8_t, N>& items, SampleRandom& random) {
    for (std::size_t i = N; i > 1; --i) {
        std::swap(items[i - 1], items[random.below(i)]);
    }
}

template <std::size_t N>
int parity(const std::array<std::uint8_t, N>& items) {
    int odd = 0;
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = i + 1; j < N; ++j) {
            odd ^= static_cast<int>(items[i] > items[j]);
        }
    }
    return odd;
}

} // namespace

const std::vector<LightCondition>& lightConditions() {
    static const std::vector<LightCondition> conditions = {
        readCondition("cube1_light", kStickerData[0], true),
        readCondition("cube1_dark", kStickerData[1], true),
        readCondition("cube2_light", kStickerData[2], true),
    };
    return conditions;
}

const std::vector<LightCondition>& publishedLightConditions() {
    static const std::vector<LightCondition> conditions = {
        readCondition("cube1_light", kStickerData[0], false),
        readCondition("cube1_dark", kStickerData[1], false),
        readCondition("cube2_light", kStickerData[2], false),
    };
    return conditions;
}

std::uint64_t SampleRandom::next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::string randomStateFacelets(SampleRandom& random) {
    CubieCube cube;
    shuffle(cube.cp, random);
    shuffle(cube.ep, random);
    if (parity(cube.cp) != parity(cube.ep)) {
        std::swap(cube.ep[0], cube.ep[1]);
    }
    int twists = 0;
    for (std::size_t i = 0; i + 1 < cube.co.size(); ++i) {
        cube.co[i] = static_cast<std::uint8_t>(random.below(3));
        twists += cube.co[i];
    }
    cube.co.back() = static_cast<std::uint8_t>((3 - twists % 3) % 3);
    int flips = 0;
    for (std::size_t i = 0; i + 1 < cube.eo.size(); ++i) {
        cube.eo[i] = static_cast<std::uint8_t>(random.below(2));
        flips += cube.eo[i];
    }
    cube.eo.back() = static_cast<std::uint8_t>(flips % 2);
    return faceletString(cube);
}

StickerColours drawColours(std::string_view facelets, const LightCondition& condition,
                           const std::array<int, 6>& scheme, SampleRandom& random) {
    StickerColours colours{};
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const int side = facelet_places::sideOfLetter(facelets[i]);
        const auto& pool =
            condition.samples[static_cast<std::size_t>(scheme[static_cast<std::size_t>(side)])];
        colours[i] = pool[random.below(pool.size())];
    }
    return colours;
}

ReadingTally tallyReadings(const LightCondition& condition, int count, std::uint64_t seed) {
    ReadingTally tally;
    SampleRandom random(seed);
    for (int n = 0; n < count; ++n) {
        const std::string truth = randomStateFacelets(random);
        const ColourReading reading =
            readColours(drawColours(truth, condition, kProgramScheme, random));
        if (reading.sure()) {
            ++(reading.facelets == truth ? tally.exact : tally.wrong);
            continue;
        }
        ++tally.refused;
        if (reading.doubtful.empty()) {
            ++tally.unnamed;
        }
        for (std::size_t i = 0; i < truth.size(); ++i) {
            if (reading.best[i] != truth[i] &&
                std::find(reading.doubtful.begin(), reading.doubtful.end(), static_cast<int>(i)) ==
                    reading.doubtful.end()) {
                ++tally.missedTruth;
                break;
            }
        }
    }
    return tally;
}

int sureSwappedReadings(const LightCondition& condition, int count, std::uint64_t seed) {
    SampleRandom random(seed);
    int sure = 0;
    for (int n = 0; n < count; ++n) {
        const std::string truth = randomStateFacelets(random);
        StickerColours colours = drawColours(truth, condition, kProgramScheme, random);
        int first = 0;
        int second = 0;
        if (n % 2 == 0) {
            const auto& edge = facelet_places::kEdgePlaces[random.below(12)];
            first = edge[0];
            second = edge[1];
        } else {
            const auto& corner = facelet_places::kCornerPlaces[random.below(8)];
            const std::size_t kept = random.below(3);
            first = corner[(kept + 1) % 3];
            second = corner[(kept + 2) % 3];
        }
        std::swap(colours[static_cast<std::size_t>(first)],
                  colours[static_cast<std::size_t>(second)]);
        sure += readColours(colours).sure() ? 1 : 0;
    }
    return sure;
}

} // namespace cw::testing
