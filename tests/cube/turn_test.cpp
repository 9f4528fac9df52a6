// Face turns: the exact stickers a turn moves, and the invariants every turn keeps.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "cube/cube.h"
#include "cube/random.h"
#include "tests/support/cube_testing.h"

namespace cw {
namespace {

struct Expected {
    int index;
    int colour;
    int code;
};

TEST(FaceTurn, FrontClockwiseFromSolved) {
    Cube cube;
    testing::setSolved(cube);
    cube.turn(0, true);

    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(cube.facelets[static_cast<std::size_t>(i)].colour, kWhite) << i;
    }
    const std::vector<Expected> expected = {
        // The front's own corners carry their codes round.
        {0, kWhite, 11},
        {2, kWhite, 7},
        {8, kWhite, 37},
        {6, kWhite, 41},
        // Up, bottom row: blue from the left face.
        {24, kBlue, 11},
        {25, kBlue, 3},
        {26, kBlue, 7},
        // Right, left column: red from the up face.
        {9, kRed, 7},
        {12, kRed, 5},
        {15, kRed, 37},
        // Down, top row: green from the right face.
        {45, kGreen, 41},
        {46, kGreen, 33},
        {47, kGreen, 37},
        // Left, right column: orange from the down face.
        {38, kOrange, 11},
        {41, kOrange, 9},
        {44, kOrange, 41},
    };
    for (const Expected& e : expected) {
        const Facelet& f = cube.facelets[static_cast<std::size_t>(e.index)];
        EXPECT_EQ(f.colour, e.colour) << "index " << e.index;
        EXPECT_EQ(f.code, e.code) << "index " << e.index;
    }
}

TEST(FaceTurn, EveryTurnIsUndoneByItsInverseAndByFourOfItself) {
    Cube cube;
    srand(77);
    cube.reset();
    const FaceletArray start = cube.facelets;
    for (int face = 0; face < 6; ++face) {
        for (const bool clockwise : {true, false}) {
            cube.turn(face, clockwise);
            EXPECT_NE(cube.facelets, start) << face << clockwise;
            cube.turn(face, !clockwise);
            EXPECT_EQ(cube.facelets, start) << face << clockwise;
            for (int t = 0; t < 4; ++t) {
                cube.turn(face, clockwise);
            }
            EXPECT_EQ(cube.facelets, start) << face << clockwise;
        }
    }
}

TEST(FaceTurn, MovesTwentyStickersAndNeverACentre) {
    for (int face = 0; face < 6; ++face) {
        for (const bool clockwise : {true, false}) {
            Cube cube;
            // Give every sticker its own identity so that any move shows.
            for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
                cube.facelets[i].set(static_cast<int>(i), static_cast<int>(i));
            }
            cube.turn(face, clockwise);
            int moved = 0;
            for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
                moved += cube.facelets[i].code != static_cast<int>(i) ? 1 : 0;
            }
            EXPECT_EQ(moved, 20) << face;
            for (const int centre : {4, 13, 22, 31, 40, 49}) {
                EXPECT_EQ(cube.facelets[static_cast<std::size_t>(centre)].code, centre);
            }
        }
    }
}

TEST(FaceTurn, FacesOutsideTheCubeChangeNothing) {
    Cube cube;
    const FaceletArray before = cube.facelets;
    for (const int face : {-1, 6, 7, 100, -100}) {
        cube.turn(face, true);
        cube.turn(face, false);
    }
    EXPECT_EQ(cube.facelets, before);
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_EQ(cube.turningFace(), -1);
}

TEST(FaceTurn, DrawnFlagTravelsWithItsSticker) {
    Cube cube;
    testing::setSolved(cube);
    cube.facelets[24].drawn = true;
    cube.turn(0, true);
    EXPECT_TRUE(cube.facelets[9].drawn);
    EXPECT_FALSE(cube.facelets[24].drawn);
}

// After any turns from the solved layout, the stickers at one cubie position share one
// code, and that code is exactly the bits of the colours they show.
TEST(FaceTurn, CubiesStayWholeThroughLongRandomSequences) {
    std::map<int, std::vector<std::size_t>> positions; // solved code -> sticker indices
    for (std::size_t i = 0; i < kSolvedCodes.size(); ++i) {
        positions[kSolvedCodes[i]].push_back(i);
    }
    Cube cube;
    testing::setSolved(cube);
    srand(2024);
    for (int round = 0; round < 50; ++round) {
        for (int t = 0; t < 200; ++t) {
            cube.turn(rand() % 6, rand() % 2 == 0);
        }
        for (const auto& [solvedCode, indices] : positions) {
            const int code = cube.facelets[indices.front()].code;
            int colourBits = 0;
            for (const std::size_t i : indices) {
                EXPECT_EQ(cube.facelets[i].code, code) << "position " << solvedCode;
                colourBits |= kFaceBits[static_cast<std::size_t>(cube.facelets[i].colour)];
            }
            EXPECT_EQ(colourBits, code) << "position " << solvedCode;
        }
    }
}

} // namespace
} // namespace cw
