// Tests of the optimal search over the small tables: known distances (among them of cubes
// whose inverse bounds higher), solutions checked on the stickers and against the short
// solver, the same length for a cube, its inverse and its mirror images, the same answer on
// any number of threads, and giving up with the length proven so far.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "optimal_testing.h"
#include "solver/core/symmetry.h"
#include "solver/optimal/inverse.h"
#include "solver/optimal/search.h"
#include "solver/two_phase/two_phase.h"

namespace cw::optimal {
namespace {

using core::kMoveCount;
using testing::knownDistance;
using testing::packedPatternTable;
using testing::pairTables;
using testing::played;
using testing::randomMoves;
using testing::shallowPatternTable;

// Whether `moves` solve `cube` when played on its stickers.
bool solvesStickers(const CubieCube& cube, const std::vector<int>& moves) {
    Cube stickers;
    EXPECT_EQ(loadFaceletString(stickers, faceletString(cube)), "");
    for (const Move& turn : two_phase::quarterTurns(faceTurns(moves))) {
        stickers.turn(turn.face, turn.clockwise);
    }
    return stickers.isSolved();
}

// The optimal length by the three small tables, which must agree; the solutions are checked.
int optimalLength(const CubieCube& cube, unsigned jobs = 2) {
    SearchSettings settings;
    settings.jobs = jobs;
    const SearchOutcome small = searchOptimal(cube, pairTables(), settings);
    const SearchOutcome shallow = searchOptimal(cube, shallowPatternTable(), settings);
    const SearchOutcome packed = searchOptimal(cube, packedPatternTable(), settings);
    EXPECT_TRUE(small.moves && shallow.moves && packed.moves);
    EXPECT_FALSE(small.interrupted || shallow.interrupted || packed.interrupted);
    if (!small.moves || !shallow.moves || !packed.moves) {
        return -1;
    }
    EXPECT_EQ(small.moves->size(), shallow.moves->size());
    EXPECT_EQ(small.moves->size(), packed.moves->size());
    EXPECT_EQ(small.provenLength, static_cast<int>(small.moves->size()));
    EXPECT_TRUE(solvesStickers(cube, *small.moves));
    EXPECT_TRUE(solvesStickers(cube, *shallow.moves));
    EXPECT_TRUE(solvesStickers(cube, *packed.moves));
    return static_cast<int>(small.moves->size());
}

TEST(OptimalSearch, FindsTheKnownDistances) {
    EXPECT_EQ(optimalLength(CubieCube{}), 0);
    for (int m = 0; m < kMoveCount; ++m) {
        EXPECT_EQ(optimalLength(played({m})), 1) << "move " << m;
    }
    // U2 D2 F2 B2 L2 R2 (faces in facelet order U R F D L B, half turns).
    EXPECT_EQ(optimalLength(played({1, 10, 7, 16, 13, 4})), 6);

    std::mt19937 random(21);
    for (int i = 0; i < 24; ++i) {
        const CubieCube cube = played(randomMoves(random, 3 + i % 5));
        EXPECT_EQ(optimalLength(cube), knownDistance(cube).value_or(-1)) << "cube " << i;
    }
}

TEST(OptimalSearch, IsNeverLongerThanTheShortSolverAndTheSameOnAnyNumberOfJobs) {
    std::mt19937 random(22);
    for (int i = 0; i < 4; ++i) {
        const CubieCube cube = played(randomMoves(random, 8));
        const std::optional<two_phase::Solution> two =
            two_phase::solveFacelets(faceletString(cube));
        ASSERT_TRUE(two.has_value());
        std::vector<std::vector<int>> answers;
        for (const unsigned jobs : {1u, 3u}) {
            SearchSettings settings;
            settings.jobs = jobs;
            const SearchOutcome outcome = searchOptimal(cube, pairTables(), settings);
            ASSERT_TRUE(outcome.moves.has_value());
            EXPECT_TRUE(solvesStickers(cube, *outcome.moves));
            EXPECT_LE(outcome.moves->size(), two->size());
            answers.push_back(*outcome.moves);
        }
        EXPECT_EQ(answers[0], answers[1]);
    }
}

// The first sequence of `length` moves in the search's order that solves `cube`: moves 0..17
// in turn at each step, no face twice in a row, and of two opposite faces the lower first.
std::optional<std::vector<int>> firstSolution(const CubieCube& cube, int length) {
    std::vector<int> moves;
    const auto extend = [&](const auto& self, const CubieCube& at) -> bool {
        if (static_cast<int>(moves.size()) == length) {
            return at == CubieCube{};
        }
        for (int m = 0; m < kMoveCount; ++m) {
            if (moves.empty() || core::mayFollow(m, moves.back())) {
                moves.push_back(m);
                if (self(self, core::multiply(at, core::moveCube(m)))) {
                    return true;
                }
                moves.pop_back();
            }
        }
        return false;
    };
    if (!extend(extend, cube)) {
        return std::nullopt;
    }
    return moves;
}

TEST(OptimalSearch, GivesTheFirstShortestSolutionInMoveOrderOnEveryTableAndAnyThreads) {
    // A thread works on several beginnings at a time and the threads finish them in any
    // order, yet the answer is the first shortest solution in order, as a search one move at
    // a time would meet it. Half turns of two adjacent faces, three times over each way, make
    // the same cube: the first two cubes have two shortest solutions that differ in their
    // first move, the third two that share their first two moves and differ after.
    // (Faces in facelet order U R F D L B; a move is face * 3 + quarter turns - 1.)
    const int u = 0;
    const int r2 = 4;
    const int u2 = 1;
    const int f2 = 7;
    const int l2 = 13;
    const int r = 3;
    std::vector<CubieCube> cubes{
        played({r2, u2, r2, u2, r2, u2}),
        played({f2, l2, f2, l2, f2, l2}),
        core::inverseOf(played({u, r, f2, l2, f2, l2, f2, l2})),
    };
    std::mt19937 random(23);
    for (int i = 0; i < 8; ++i) {
        cubes.push_back(played(randomMoves(random, 3 + i % 3)));
    }
    for (std::size_t i = 0; i < cubes.size(); ++i) {
        const CubieCube& cube = cubes[i];
        const std::optional<std::vector<int>> found = searchOptimal(cube, pairTables(), {}).moves;
        ASSERT_TRUE(found.has_value()) << "cube " << i;
        const std::optional<std::vector<int>> first =
            firstSolution(cube, static_cast<int>(found->size()));
        ASSERT_TRUE(first.has_value()) << "cube " << i;
        for (const unsigned jobs : {1u, 2u, 3u}) {
            SearchSettings settings;
            settings.jobs = jobs;
            EXPECT_EQ(searchOptimal(cube, pairTables(), settings).moves, first) << i << " " << jobs;
            EXPECT_EQ(searchOptimal(cube, shallowPatternTable(), settings).moves, first)
                << i << " " << jobs;
            EXPECT_EQ(searchOptimal(cube, packedPatternTable(), settings).moves, first)
                << i << " " << jobs;
        }
    }
}

TEST(OptimalSearch, ACubeItsInverseAndItsMirrorImageAreEquallyFar) {
    // Played backwards, a solution of a cube solves its inverse; seen in a mirror, it solves
    // the mirror image. So all three have the same optimal length, and a search that
    // proves a different one for any of them has a bound that is not a true lower bound
    // somewhere (a table entry, an axis, a symmetry).
    std::mt19937 random(24);
    for (int i = 0; i < 6; ++i) {
        const CubieCube cube = played(randomMoves(random, 8 + i % 2));
        const int length = optimalLength(cube);
        EXPECT_EQ(optimalLength(core::inverseOf(cube)), length) << "cube " << i;
        for (const int mirror : {1, 3, 9}) {
            EXPECT_EQ(optimalLength(core::conjugate(cube, mirror)), length)
                << "cube " << i << ", mirror " << mirror;
        }
    }
}

TEST(OptimalSearch, FindsTheKnownDistanceWhereTheInverseBoundsHigherThanTheCube) {
    // The search bounds every position by its inverse as well. In these cubes the inverse's
    // bound is the higher one from the start, so an inverse bound that is too high, or an
    // inverse kept wrongly move by move, cuts off their shortest solutions.
    std::mt19937 random(28);
    int higher = 0;
    for (int i = 0; i < 600 && higher < 10; ++i) {
        const CubieCube cube = played(randomMoves(random, 6 + i % 2));
        if (lowerBound(core::inverseOf(cube), shallowPatternTable()) <=
            lowerBound(cube, shallowPatternTable())) {
            continue;
        }
        ++higher;
        EXPECT_EQ(optimalLength(cube), knownDistance(cube).value_or(-1)) << "cube " << i;
    }
    EXPECT_EQ(higher, 10);
}

TEST(OptimalSearch, GivesUpWithTheLengthProvenSoFar) {
    std::mt19937 random(23);
    const CubieCube cube = played(randomMoves(random, 12));
    const int bound = lowerBound(cube, pairTables());

    SearchSettings past;
    past.deadline = std::chrono::steady_clock::now();
    const SearchOutcome late = searchOptimal(cube, pairTables(), past);
    EXPECT_TRUE(late.interrupted);
    EXPECT_FALSE(late.moves.has_value());
    EXPECT_EQ(late.provenLength, bound);

    std::atomic<bool> stop{true};
    SearchSettings stopped;
    stopped.stop = &stop;
    stopped.jobs = 2;
    const SearchOutcome early = searchOptimal(cube, pairTables(), stopped);
    EXPECT_TRUE(early.interrupted);
    EXPECT_EQ(early.provenLength, bound);

    // Searched to the end up to a length too short for it, the cube is proven longer.
    SearchSettings limited;
    limited.longest = bound + 1;
    std::vector<LengthReport> reports;
    limited.onLength = [&reports](const LengthReport& report) { reports.push_back(report); };
    const SearchOutcome shortOfIt =
        searchOptimal(played(randomMoves(random, 12)), shallowPatternTable(), limited);
    EXPECT_FALSE(shortOfIt.interrupted);
    EXPECT_FALSE(shortOfIt.moves.has_value());
    EXPECT_EQ(shortOfIt.provenLength, bound + 2);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().length, bound + 1);
    EXPECT_TRUE(reports.back().finished);
}

TEST(OptimalSearch, TakesAnotherSearchsSolutionOfALengthOnlyWhereItSolvesTheCubeInThatMany) {
    std::mt19937 random(29);
    for (int i = 0; i < 3; ++i) {
        const CubieCube cube = played(randomMoves(random, 8));
        SearchSettings plain;
        plain.jobs = 2;
        const SearchOutcome own = searchOptimal(cube, pairTables(), plain);
        ASSERT_TRUE(own.moves.has_value());
        const int length = own.provenLength;
        const int from = length - 2;

        // Asked about every length from `from` on that the search comes to; the moves it
        // gives for the cube's own length are the answer, and that length is not searched.
        // They are the search's own solution played backwards from the inverse's, so they
        // differ from the search's own.
        const SearchOutcome ofInverse = searchOptimal(core::inverseOf(cube), pairTables(), plain);
        ASSERT_TRUE(ofInverse.moves.has_value());
        std::vector<int> other;
        for (auto m = ofInverse.moves->rbegin(); m != ofInverse.moves->rend(); ++m) {
            other.push_back(InverseMoves::undo(*m));
        }
        ASSERT_EQ(static_cast<int>(other.size()), length);
        std::vector<int> asked;
        SearchSettings trying = plain;
        trying.tryLengthFrom = from;
        trying.tryLength = [&](int l) -> std::optional<std::vector<int>> {
            asked.push_back(l);
            return l == length ? std::optional(other) : std::nullopt;
        };
        const SearchOutcome taken = searchOptimal(cube, pairTables(), trying);
        EXPECT_TRUE(taken.tried) << "cube " << i;
        EXPECT_EQ(taken.moves, other) << "cube " << i;
        EXPECT_EQ(taken.provenLength, length);
        EXPECT_LT(taken.nodes, own.nodes);
        std::vector<int> expected;
        for (int l = std::max(from, lowerBound(cube, pairTables())); l <= length; ++l) {
            expected.push_back(l);
        }
        EXPECT_EQ(asked, expected) << "cube " << i;

        // Moves that do not solve the cube, or take more turns than asked for, are passed
        // over: the search finds its own.
        std::vector<int> wrong = other;
        // The last face turned the other way, or half, or not half.
        wrong.back() = wrong.back() / 3 * 3 + (wrong.back() + 1) % 3;
        std::vector<int> longer = other;
        longer.insert(longer.end(), {0, 2});
        for (const std::vector<int>& given : {wrong, longer}) {
            SearchSettings misled = plain;
            misled.tryLengthFrom = from;
            misled.tryLength = [&given](int) { return std::optional(given); };
            const SearchOutcome found = searchOptimal(cube, pairTables(), misled);
            EXPECT_FALSE(found.tried);
            EXPECT_EQ(found.moves, own.moves);
            EXPECT_EQ(found.provenLength, length);
        }
    }
}

} // namespace
} // namespace cw::optimal
