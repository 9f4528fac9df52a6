// Tests of the facelet string: its layout against the cube's own grids, the round trip
// through a cube, and each check that turns an impossible cube away.
#include "cube/facelet_string.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "cube/random.h"

namespace cw {
namespace {

// The string after swapping the letters at two 1-based positions.
std::string swapped(std::string text, std::size_t first, std::size_t second) {
    // Checked access: an optimising build cannot prove the string long enough otherwise.
    const char letter = text.at(first - 1);
    text.at(first - 1) = text.at(second - 1);
    text.at(second - 1) = letter;
    return text;
}

// The string with the letters at 1-based positions replaced.
std::string replaced(std::string text, std::initializer_list<std::pair<std::size_t, char>> edits) {
    for (const auto& [position, letter] : edits) {
        text[position - 1] = letter;
    }
    return text;
}

TEST(FaceletString, SolvedStringIsTheSolvedLayout) {
    Cube cube;
    ASSERT_EQ(loadFaceletString(cube, kSolvedFaceletString), "");
    for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
        EXPECT_EQ(cube.facelets[i].colour, static_cast<std::int32_t>(i / 9)) << "sticker " << i;
        EXPECT_EQ(cube.facelets[i].code, kSolvedCodes[i]) << "sticker " << i;
    }
    EXPECT_TRUE(cube.isSolved());
    EXPECT_EQ(faceletString(cube), kSolvedFaceletString);
}

// One quarter turn of each kind of face, worked out by hand on a real cube: these pin the
// order of the faces and the way up of each grid.
TEST(FaceletString, QuarterTurnsMatchHandWrittenStrings) {
    struct Case {
        int face;
        const char* text;
    };
    const Case cases[] = {
        // front clockwise: U's bottom row shows L, R's left column U, D's top row R,
        // L's right column D.
        {0, "UUUUUULLLURRURRURRFFFFFFFFFRRRDDDDDDLLDLLDLLDBBBBBBBBB"},
        // right clockwise: U's right column shows F, F's right column D, D's right column
        // B, B's left column U.
        {1, "UUFUUFUUFRRRRRRRRRFFDFFDFFDDDBDDBDDBLLLLLLLLLUBBUBBUBB"},
        // up clockwise: the top rows of F, L, B, R take the colours of R, F, L, B.
        {2, "UUUUUUUUUBBBRRRRRRRRRFFFFFFDDDDDDDDDFFFLLLLLLLLLBBBBBB"},
        // down clockwise: the bottom rows of F, R, B, L take the colours of L, F, R, B.
        {5, "UUUUUUUUURRRRRRFFFFFFFFFLLLDDDDDDDDDLLLLLLBBBBBBBBBRRR"},
    };
    for (const Case& c : cases) {
        Cube turned;
        setSolvedStickers(turned);
        turned.turn(c.face, true);
        EXPECT_EQ(faceletString(turned), c.text) << "face " << c.face;

        Cube loaded;
        ASSERT_EQ(loadFaceletString(loaded, c.text), "") << "face " << c.face;
        EXPECT_EQ(loaded.facelets, turned.facelets) << "face " << c.face;
    }
}

TEST(FaceletString, ScrambledCubesSurviveTheRoundTrip) {
    Cube cube;
    Cube loaded;
    for (std::uint32_t seed = 1; seed <= 300; ++seed) {
        srand(seed);
        cube.reset();
        const std::string text = faceletString(cube);
        ASSERT_EQ(loadFaceletString(loaded, text), "") << "seed " << seed << ": " << text;
        // Colours and the codes of every piece, rebuilt from the colours alone.
        ASSERT_EQ(loaded.facelets, cube.facelets) << "seed " << seed;
        ASSERT_EQ(faceletString(loaded), text) << "seed " << seed;
    }
}

TEST(FaceletString, PiecesReadFromAStringWriteItBack) {
    EXPECT_EQ(readFaceletString(kSolvedFaceletString).pieces, CubieCube{});
    EXPECT_EQ(readFaceletString(kSolvedFaceletString).error, "");
    // Up clockwise: each up slot receives the piece of the slot after it, going
    // clockwise seen from above, untwisted and unflipped.
    const FaceletReading up =
        readFaceletString("UUUUUUUUUBBBRRRRRRRRRFFFFFFDDDDDDDDDFFFLLLLLLLLLBBBBBB");
    ASSERT_EQ(up.error, "");
    CubieCube expected;
    expected.cp = {3, 0, 1, 2, 4, 5, 6, 7};
    expected.ep = {3, 0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(up.pieces, expected);

    Cube cube;
    for (std::uint32_t seed = 1; seed <= 100; ++seed) {
        srand(seed);
        cube.reset();
        const std::string text = faceletString(cube);
        const FaceletReading reading = readFaceletString(text);
        ASSERT_EQ(reading.error, "") << text;
        EXPECT_EQ(faceletString(reading.pieces), text) << "seed " << seed;
    }
}

TEST(FaceletString, AcceptsChangesThatTurnsCanMake) {
    Cube cube;
    // Two corners twisted opposite ways: URF clockwise, UFL anticlockwise.
    std::string twisted =
        replaced(std::string(kSolvedFaceletString),
                 {{9, 'F'}, {10, 'U'}, {21, 'R'}, {7, 'F'}, {19, 'L'}, {39, 'U'}});
    EXPECT_EQ(loadFaceletString(cube, twisted), "");
    // Two edges flipped.
    std::string flipped =
        replaced(std::string(kSolvedFaceletString), {{8, 'F'}, {20, 'U'}, {6, 'R'}, {11, 'U'}});
    EXPECT_EQ(loadFaceletString(cube, flipped), "");
    // Two edges and two corners swapped: UF with UR, and URF with UFL.
    std::string swappedPairs = replaced(std::string(kSolvedFaceletString), {{6, 'U'},
                                                                            {11, 'F'},
                                                                            {8, 'U'},
                                                                            {20, 'R'},
                                                                            {9, 'U'},
                                                                            {10, 'F'},
                                                                            {21, 'L'},
                                                                            {7, 'U'},
                                                                            {19, 'R'},
                                                                            {39, 'F'}});
    EXPECT_EQ(loadFaceletString(cube, swappedPairs), "");
}

TEST(FaceletString, WritesUnknownColoursAsQuestionMarks) {
    Cube cube;
    setSolvedStickers(cube);
    cube.facelets[22].colour = kBlack;
    cube.facelets[0].colour = -3;
    const std::string text = faceletString(cube);
    EXPECT_EQ(text[4], '?');  // the up centre
    EXPECT_EQ(text[18], '?'); // the front face's first sticker
    EXPECT_EQ(text.substr(27), kSolvedFaceletString.substr(27));
}

struct Rejection {
    const char* rule;
    std::string text;
    std::string message;
};

// Each input breaks one rule (a wrong letter count cannot help breaking a piece as well;
// the count is what gets reported).
std::vector<Rejection> rejections() {
    const std::string solved(kSolvedFaceletString);
    return {
        {"too short", solved.substr(1),
         "the facelet string is 53 characters long; it needs 54 letters"},
        {"too long", solved + "U", "the facelet string is 55 characters long; it needs 54 letters"},
        {"empty", "", "the facelet string is 0 characters long; it needs 54 letters"},
        {"lower case", replaced(solved, {{12, 'r'}}),
         "the facelet string has 'r' at position 12; only U, R, F, D, L and B are allowed"},
        {"control byte", replaced(solved, {{54, '\n'}}),
         "the facelet string has byte 0x0A at position 54; only U, R, F, D, L and B are "
         "allowed"},
        {"high byte", replaced(solved, {{1, '\xC3'}}),
         "the facelet string has byte 0xC3 at position 1; only U, R, F, D, L and B are "
         "allowed"},
        {"centre", swapped(solved, 5, 14),
         "the centre of face U is R; every centre must carry its own face's letter"},
        {"letter count", replaced(solved, {{1, 'R'}}),
         "the letter U appears 8 times; each letter must appear exactly 9 times"},
        {"edge with one colour twice", swapped(solved, 20, 2),
         "the edge at UF shows U and U; no real edge has those colours"},
        {"edge with opposite colours", swapped(solved, 11, 33),
         "the edge at UR shows U and D; no real edge has those colours"},
        {"corner with opposite colours", swapped(solved, 10, 30),
         "the corner at URF shows U, D and F going clockwise; no real corner has those "
         "colours in that order"},
        {"mirror-image corner", swapped(solved, 10, 39),
         "the corner at URF shows U, L and F going clockwise; no real corner has those "
         "colours in that order"},
        {"corner twice", replaced(solved, {{10, 'F'}, {21, 'L'}, {42, 'R'}}),
         "the corner UFL appears twice and the corner URF is missing"},
        {"edge twice", replaced(solved, {{20, 'R'}, {17, 'F'}}),
         "the edge UR appears twice and the edge UF is missing"},
        {"corner twisted", replaced(solved, {{9, 'F'}, {10, 'U'}, {21, 'R'}}),
         "a corner is twisted in place (the corner twists do not add up to a multiple of 3)"},
        {"edge flipped", replaced(solved, {{8, 'F'}, {20, 'U'}}),
         "an edge is flipped in place (the edge flips add up to an odd number)"},
        {"two edges swapped", replaced(solved, {{6, 'U'}, {11, 'F'}, {8, 'U'}, {20, 'R'}}),
         "two pieces are swapped (the corner and edge permutations have different parities)"},
        {"two corners swapped",
         replaced(solved, {{9, 'U'}, {10, 'F'}, {21, 'L'}, {7, 'U'}, {19, 'R'}, {39, 'F'}}),
         "two pieces are swapped (the corner and edge permutations have different parities)"},
    };
}

TEST(FaceletString, EachFaultHasItsOwnMessageAndLeavesTheCubeAlone) {
    for (const Rejection& r : rejections()) {
        Cube cube;
        srand(7);
        cube.reset();
        const FaceletArray before = cube.facelets;
        EXPECT_EQ(loadFaceletString(cube, r.text), r.message) << r.rule;
        EXPECT_EQ(cube.facelets, before) << r.rule;
        EXPECT_EQ(readFaceletString(r.text).error, r.message) << r.rule;
    }
}

TEST(FaceletString, MessagesAreOneLineOfPrintableText) {
    for (const Rejection& r : rejections()) {
        Cube cube;
        const std::string message = loadFaceletString(cube, r.text);
        ASSERT_FALSE(message.empty()) << r.rule;
        for (char c : message) {
            EXPECT_TRUE(c >= 0x20 && c < 0x7f) << r.rule << ": byte " << static_cast<int>(c);
        }
    }
}

TEST(FaceletString, ScrambledCubeWithOneFaultIsRejected) {
    // The same checks hold away from the solved layout: flip one edge of a scrambled cube
    // in place by exchanging its two stickers' letters.
    Cube cube;
    srand(42);
    cube.reset();
    const std::string text = faceletString(cube);
    ASSERT_EQ(loadFaceletString(cube, text), "");
    EXPECT_EQ(loadFaceletString(cube, swapped(text, 8, 20)),
              "an edge is flipped in place (the edge flips add up to an odd number)");
    // Exchanging the whole pieces in UR and UF leaves one transposition too many.
    EXPECT_EQ(loadFaceletString(cube, swapped(swapped(text, 6, 8), 11, 20)),
              "two pieces are swapped (the corner and edge permutations have different parities)");
}

} // namespace
} // namespace cw
