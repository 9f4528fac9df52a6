// Tests of the short solver through its public interface: solutions checked by playing them
// on the stickers, their notation and lengths, and random states and their scrambles.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "cube/random.h"
#include "solver/two_phase/two_phase.h"

namespace cw::two_phase {
namespace {

void play(Cube& cube, const Solution& moves) {
    for (const Move& move : quarterTurns(moves)) {
        cube.turn(move.face, move.clockwise);
    }
}

// The facelet string of `moves` played on a solved cube.
std::string stickersAfter(const Solution& moves) {
    Cube cube;
    setSolvedStickers(cube);
    play(cube, moves);
    return faceletString(cube);
}

// Solves `text` and checks the solution on the stickers; returns its length.
int solveAndCheck(const std::string& text, const SearchLimits& limits = {}) {
    const std::optional<Solution> solution = solveFacelets(text, limits);
    EXPECT_TRUE(solution.has_value()) << text;
    if (!solution) {
        return -1;
    }
    Cube cube;
    EXPECT_EQ(loadFaceletString(cube, text), "");
    play(cube, *solution);
    EXPECT_EQ(faceletString(cube), kSolvedFaceletString)
        << text << " with " << formatSolution(*solution);
    return faceTurnCount(*solution);
}

TEST(ShortSolve, SolvedCubeNeedsNoMoves) {
    const std::optional<Solution> solution = solveFacelets(kSolvedFaceletString);
    ASSERT_TRUE(solution.has_value());
    EXPECT_TRUE(solution->empty());
}

TEST(ShortSolve, OneMoveCubesTakeOneMove) {
    for (int face = 0; face < kFaceCount; ++face) {
        for (int quarterTurns = 1; quarterTurns <= 3; ++quarterTurns) {
            const Solution scramble = {{face, quarterTurns}};
            const std::optional<Solution> solution = solveFacelets(stickersAfter(scramble));
            ASSERT_TRUE(solution.has_value());
            EXPECT_EQ(*solution, inverse(scramble)) << formatSolution(scramble);
        }
    }
}

// With the target set to the scramble's length, the search must go on past its first
// solutions until it finds one no longer than the scramble.
TEST(ShortSolve, SearchGoesOnDownToItsTarget) {
    const std::vector<Solution> scrambles = {
        {{1, 1}, {2, 1}, {1, 3}, {2, 3}},
        {{0, 2}, {3, 2}, {1, 2}, {4, 2}, {2, 2}, {5, 2}},
        {{1, 1}, {4, 3}, {2, 2}, {0, 1}, {3, 3}, {5, 2}, {1, 2}},
    };
    for (const Solution& scramble : scrambles) {
        const SearchLimits limits = {faceTurnCount(scramble), 1'000'000'000};
        EXPECT_LE(solveAndCheck(stickersAfter(scramble), limits), faceTurnCount(scramble))
            << formatSolution(scramble);
    }
}

// With the default limits, a cube a few turns from solved gets a solution no longer than
// those turns, not merely the first one under the target length.
TEST(ShortSolve, CubesAFewTurnsFromSolvedGetNoLongerSolutions) {
    std::uint32_t state = 12345;
    const auto next = [&state](std::uint32_t range) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) % range);
    };
    for (int trial = 0; trial < 60; ++trial) {
        Solution scramble;
        const int length = 2 + trial % 6;
        while (static_cast<int>(scramble.size()) < length) {
            const int face = next(kFaceCount);
            if (scramble.empty() || scramble.back().face != face) {
                scramble.push_back({face, 1 + next(3)});
            }
        }
        EXPECT_LE(solveAndCheck(stickersAfter(scramble)), length) << formatSolution(scramble);
    }
}

TEST(ShortSolve, RandomStatesAreSolved) {
    // The first solution of each, to keep the test fast; the benchmark checks a thousand
    // more with the default limits and measures their lengths.
    const SearchLimits first = {20, 0};
    for (std::uint64_t index = 0; index < 2000; ++index) {
        solveAndCheck(randomStateFacelets(1, index), first);
    }
}

TEST(ShortSolve, CubeAndItsStringGiveTheSameSolution) {
    Cube cube;
    srand(3);
    cube.reset();
    EXPECT_EQ(solve(cube), solveFacelets(faceletString(cube)));
}

TEST(ShortSolve, UnreachableCubesGetNoSolution) {
    std::string flipped(kSolvedFaceletString);
    std::swap(flipped[7], flipped[19]);
    EXPECT_FALSE(solveFacelets(flipped).has_value());
    EXPECT_FALSE(solveFacelets("UUUU").has_value());
}

TEST(ShortSolve, ThreadsGetTheSameSolutionsAsOneThread) {
    std::vector<std::string> cubes;
    for (std::uint64_t index = 0; index < 40; ++index) {
        cubes.push_back(randomStateFacelets(5, index));
    }
    std::vector<std::optional<Solution>> alone;
    for (const std::string& text : cubes) {
        alone.push_back(solveFacelets(text));
    }
    std::array<std::vector<std::optional<Solution>>, 2> together;
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < together.size(); ++t) {
        threads.emplace_back([&cubes, &together, t] {
            for (const std::string& text : cubes) {
                together[t].push_back(solveFacelets(text));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(together[0], alone);
    EXPECT_EQ(together[1], alone);
}

TEST(Notation, StandardNotationWithHalfTurns) {
    const Solution moves = {{1, 2}, {2, 3}, {0, 1}, {3, 1}, {4, 3}, {5, 2}};
    EXPECT_EQ(formatSolution(moves), "R2 U' F B L' D2");
    EXPECT_EQ(faceTurnCount(moves), 6);
    EXPECT_EQ(quarterTurnCount(moves), 8);
    EXPECT_EQ(formatSolution(inverse(moves)), "D2 L B' F' U R2");
    EXPECT_EQ(quarterTurns(moves).size(), 8u);
    EXPECT_EQ(formatSolution({}), "");
}

TEST(RandomStates, AreReachableAndSpreadOverAllStates) {
    Cube cube;
    std::array<int, 8> cornerInFirstSlot{};
    std::array<int, 3> firstCornerTwist{};
    std::set<std::string> distinct;
    constexpr int kDraws = 4000;
    for (int i = 0; i < kDraws; ++i) {
        const std::string text = randomStateFacelets(9, static_cast<std::uint64_t>(i));
        // The program's own checks: parity, twist and flip sums, every piece once.
        ASSERT_EQ(loadFaceletString(cube, text), "") << text;
        distinct.insert(text);
        // Which corner sits at URF, and how it is turned, from its up or down sticker.
        const std::string corner = {text[8], text[9], text[20]};
        const std::size_t upOrDown = corner.find_first_of("UD");
        ASSERT_NE(upOrDown, std::string::npos);
        ++firstCornerTwist[upOrDown];
        const std::string turned = corner.substr(upOrDown) + corner.substr(0, upOrDown);
        const std::array<std::string, 8> names = {"URF", "UFL", "ULB", "UBR",
                                                  "DFR", "DLF", "DBL", "DRB"};
        const auto at = std::find(names.begin(), names.end(), turned);
        ASSERT_NE(at, names.end()) << turned;
        ++cornerInFirstSlot[static_cast<std::size_t>(at - names.begin())];
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(kDraws));
    // Each of 8 corners expects 500 of 4000 and each twist 1333; these bands are more than
    // five standard deviations wide.
    for (const int count : cornerInFirstSlot) {
        EXPECT_GT(count, 390);
        EXPECT_LT(count, 610);
    }
    for (const int count : firstCornerTwist) {
        EXPECT_GT(count, 1170);
        EXPECT_LT(count, 1500);
    }
}

TEST(RandomStates, SeedAndIndexReproduceTheState) {
    EXPECT_EQ(randomStateFacelets(42, 3), randomStateFacelets(42, 3));
    EXPECT_NE(randomStateFacelets(42, 3), randomStateFacelets(42, 4));
    EXPECT_NE(randomStateFacelets(42, 3), randomStateFacelets(43, 3));
    // The program's generator is neither used nor disturbed.
    srand(11);
    const int expected = rand();
    srand(11);
    randomScramble(42, 3);
    EXPECT_EQ(rand(), expected);
}

TEST(RandomStates, ScramblePlayedOnASolvedCubeGivesItsStickers) {
    for (std::uint64_t index = 0; index < 20; ++index) {
        const Scramble scramble = randomScramble(2, index);
        EXPECT_EQ(scramble.facelets, randomStateFacelets(2, index));
        EXPECT_EQ(stickersAfter(scramble.moves), scramble.facelets)
            << formatSolution(scramble.moves);
        EXPECT_GE(faceTurnCount(scramble.moves), 2);
    }
}

} // namespace
} // namespace cw::two_phase
