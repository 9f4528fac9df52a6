// The generator's exact sequence and the scrambles it gives.
#include <gtest/gtest.h>

#include <vector>

#include "cube/cube.h"
#include "cube/random.h"
#include "tests/support/cube_testing.h"

namespace cw {
namespace {

std::vector<Move> scrambleFrom(std::uint32_t seed) {
    srand(seed);
    std::vector<Move> turns;
    drawScrambleInto(turns);
    return turns;
}

TEST(Generator, FollowsTheLinearCongruentialRule) {
    srand(1);
    const std::vector<int> expected = {41, 18467, 6334, 26500, 19169, 15724};
    for (const int value : expected) {
        EXPECT_EQ(rand(), value);
    }
    // Values stay within 0..32767 and reseeding repeats the sequence.
    srand(987654321u);
    std::vector<int> first;
    for (int i = 0; i < 1000; ++i) {
        first.push_back(rand());
        EXPECT_GE(first.back(), 0);
        EXPECT_LE(first.back(), kRandMax);
    }
    srand(987654321u);
    for (const int value : first) {
        EXPECT_EQ(rand(), value);
    }
}

TEST(Scramble, FromStateOneBeginsDownLeftDownFront) {
    const std::vector<Move> turns = scrambleFrom(1);
    ASSERT_EQ(turns.size(), 100u);
    EXPECT_EQ(turns[0], Move(5, true));
    EXPECT_EQ(turns[1], Move(4, false));
    EXPECT_EQ(turns[2], Move(5, false));
    EXPECT_EQ(turns[3], Move(0, false));
}

TEST(Scramble, FromStateThreeRefusesTheImmediateUndo) {
    srand(3);
    // The raw draws: front counter-clockwise, then front clockwise (refused).
    EXPECT_EQ(rand() % 6, 0);
    EXPECT_EQ((rand() % 100 + 1) % 2, 1);
    EXPECT_EQ(rand() % 6, 0);
    EXPECT_EQ((rand() % 100 + 1) % 2, 0);

    const std::vector<Move> turns = scrambleFrom(3);
    EXPECT_EQ(turns[0], Move(0, false));
    EXPECT_EQ(turns[1], Move(5, true));
    EXPECT_EQ(turns[2], Move(2, true));
}

TEST(Scramble, NeverUndoesTheTurnBefore) {
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        const std::vector<Move> turns = scrambleFrom(seed);
        ASSERT_EQ(turns.size(), 100u);
        for (std::size_t i = 1; i < turns.size(); ++i) {
            EXPECT_FALSE(turns[i].isInverseOf(turns[i - 1])) << "seed " << seed << " turn " << i;
        }
    }
}

TEST(Scramble, ResetAppliesTheDrawnTurnsWithoutRecordingThem) {
    Cube scrambled;
    srand(42);
    scrambled.reset();
    EXPECT_TRUE(scrambled.pending.empty());
    EXPECT_TRUE(scrambled.solution.empty());
    EXPECT_EQ(scrambled.turningFace(), -1);
    EXPECT_EQ(scrambled.layerAngleX + scrambled.layerAngleY + scrambled.layerAngleZ, 0.0f);

    Cube replayed;
    testing::setSolved(replayed);
    for (const Move& m : scrambleFrom(42)) {
        replayed.turn(m.face, m.clockwise);
    }
    EXPECT_EQ(replayed.facelets, scrambled.facelets);
}

TEST(Scramble, SameGeneratorStateGivesSameStickers) {
    Cube a;
    Cube b;
    srand(5);
    a.reset();
    srand(5);
    b.reset();
    EXPECT_EQ(a.facelets, b.facelets);
    srand(6);
    b.reset();
    EXPECT_NE(a.facelets, b.facelets);
}

} // namespace
} // namespace cw
