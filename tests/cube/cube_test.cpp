// The cube's reset, its solved test and its drawing marks.
#include <gtest/gtest.h>

#include <bit>
#include <set>

#include "cube/cube.h"
#include "cube/random.h"
#include "tests/support/cube_testing.h"

namespace cw {
namespace {

TEST(CubeReset, SetsEveryFieldButTurnSpeedAndBackup) {
    Cube cube;
    cube.setTurnSpeed(4.5f);
    cube.setViewAngleX(10.0f);
    cube.setViewAngleY(20.0f);
    cube.setViewAngleZ(30.0f);
    cube.setAlpha(0.3f);
    cube.setAutoSolve(true);
    cube.setSolverState(7);
    cube.setResumeState(4);
    cube.subStep = 3;
    cube.layerAngleY = 45.0f;
    cube.pending.push_back(Move(1, true));
    cube.current = cube.pending.begin();
    cube.solution.push_back(Move(2, false));
    cube.backup[5].set(3, 99);
    cube.facelets[7].drawn = true;

    cube.reset();

    EXPECT_EQ(cube.turnSpeed(), 4.5f);
    EXPECT_EQ(cube.backup[5].code, 99);
    EXPECT_EQ(cube.viewAngleX(), 0.0f);
    EXPECT_EQ(cube.viewAngleY(), 0.0f);
    EXPECT_EQ(cube.viewAngleZ(), 0.0f);
    EXPECT_EQ(cube.layerAngleX, 0.0f);
    EXPECT_EQ(cube.layerAngleY, 0.0f);
    EXPECT_EQ(cube.layerAngleZ, 0.0f);
    EXPECT_EQ(cube.alpha(), 1.0f);
    EXPECT_FALSE(cube.autoSolve());
    EXPECT_EQ(cube.solverState(), 0);
    EXPECT_EQ(cube.resumeState(), -1);
    EXPECT_EQ(cube.subStep, 0);
    EXPECT_EQ(cube.turningFace(), -1);
    EXPECT_TRUE(cube.pending.empty());
    EXPECT_TRUE(cube.solution.empty());
    EXPECT_FALSE(cube.current.has_value());
    for (const Facelet& f : cube.facelets) {
        EXPECT_FALSE(f.drawn);
    }
}

TEST(CubeReset, ConstructionStartsAtNineDegreesPerFrame) {
    const Cube cube;
    EXPECT_EQ(cube.turnSpeed(), 9.0f);
    EXPECT_EQ(cube.alpha(), 1.0f);
}

TEST(CubeReset, ScrambledThenUndoneGivesTheSolvedLayout) {
    Cube cube;
    std::vector<Move> turns;
    srand(12345);
    cube.reset();
    srand(12345);
    drawScrambleInto(turns);
    EXPECT_FALSE(cube.isSolved());
    for (auto it = turns.rbegin(); it != turns.rend(); ++it) {
        cube.turn(it->face, !it->clockwise);
    }
    EXPECT_TRUE(cube.isSolved());
    for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
        EXPECT_EQ(cube.facelets[i].colour, static_cast<int>(i / 9)) << "index " << i;
        EXPECT_EQ(cube.facelets[i].code, kSolvedCodes[i]) << "index " << i;
    }
}

TEST(CubeSolvedTest, JudgesColoursOnly) {
    Cube cube;
    testing::setSolved(cube);
    EXPECT_TRUE(cube.isSolved());

    // Drawing marks and codes do not matter.
    for (Facelet& f : cube.facelets) {
        f.drawn = true;
    }
    cube.facelets[0].code = 63;
    EXPECT_TRUE(cube.isSolved());

    // Any sticker off its centre's colour does.
    cube.facelets[53].colour = 0;
    EXPECT_FALSE(cube.isSolved());

    // A cube whose faces each show one colour, other than their own, is solved too.
    for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
        cube.facelets[i].colour = static_cast<int>((i / 9 + 1) % 6);
    }
    EXPECT_TRUE(cube.isSolved());
}

TEST(CubeMarks, ClearMarksTouchesOnlyTheLiveDrawnFlags) {
    Cube cube;
    testing::setSolved(cube);
    for (Facelet& f : cube.facelets) {
        f.drawn = true;
    }
    cube.backup[0].drawn = true;
    const std::string before = testing::colours(cube);
    cube.clearMarks();
    for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
        EXPECT_FALSE(cube.facelets[i].drawn);
        EXPECT_EQ(cube.facelets[i].code, kSolvedCodes[i]);
    }
    EXPECT_EQ(testing::colours(cube), before);
    EXPECT_TRUE(cube.backup[0].drawn);
}

TEST(SolvedLayout, HasTwentySixDistinctCubies) {
    std::set<int> centres, edges, corners;
    for (const int code : kSolvedCodes) {
        switch (std::popcount(static_cast<unsigned>(code))) {
        case 1:
            centres.insert(code);
            break;
        case 2:
            edges.insert(code);
            break;
        case 3:
            corners.insert(code);
            break;
        default:
            ADD_FAILURE() << "code " << code;
        }
    }
    EXPECT_EQ(centres, (std::set<int>{1, 2, 4, 8, 16, 32}));
    EXPECT_EQ(edges, (std::set<int>{3, 5, 6, 9, 10, 18, 20, 24, 33, 36, 40, 48}));
    EXPECT_EQ(corners, (std::set<int>{7, 11, 22, 26, 37, 41, 52, 56}));
}

TEST(Palette, GivesTheSevenColours) {
    EXPECT_EQ(paletteColour(kWhite), (std::array<float, 3>{1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(paletteColour(kGreen), (std::array<float, 3>{0.0f, 1.0f, 0.0f}));
    EXPECT_EQ(paletteColour(kRed), (std::array<float, 3>{1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(paletteColour(kYellow), (std::array<float, 3>{1.0f, 1.0f, 0.0f}));
    EXPECT_EQ(paletteColour(kBlue), (std::array<float, 3>{0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(paletteColour(kOrange), (std::array<float, 3>{1.0f, 0.5f, 0.0f}));
    EXPECT_EQ(paletteColour(kBlack), (std::array<float, 3>{0.0f, 0.0f, 0.0f}));
    // A sticker set by hand to a colour outside the palette is drawn black.
    EXPECT_EQ(paletteColour(7), paletteColour(kBlack));
    EXPECT_EQ(paletteColour(-1), paletteColour(kBlack));
}

} // namespace
} // namespace cw
