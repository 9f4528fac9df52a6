// The small table first, the large one when that is not enough: a near cube never asks for
// the large table, a far one gets the same answer the large table alone gives, and the
// caller's own deadline ends the first search without it.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <vector>

#include "optimal_testing.h"
#include "solver/optimal/quick_first.h"
#include "solver/two_phase/two_phase.h"

namespace cw::optimal {
namespace {

using namespace std::chrono_literals;
using testing::pairTables;
using testing::played;
using testing::randomMoves;
using testing::shallowPatternTable;

struct Outcome {
    OptimalSolution solution;
    int loads = 0;
    std::vector<LengthReport> reports;
};

Outcome quickFirst(const CubieCube& cube, std::chrono::steady_clock::duration moment,
                   SearchSettings settings = {}) {
    Outcome run;
    settings.jobs = 2;
    settings.onLength = [&run](const LengthReport& report) { run.reports.push_back(report); };
    const auto full = [&run]() -> const SmallPatternTable& {
        ++run.loads;
        return pairTables();
    };
    // The table built only five turns deep: it has to search far cubes, even near ones.
    run.solution = solveQuickFirst(cube, shallowPatternTable(), full, settings,
                                   two_phase::solvePieces(cube), moment);
    return run;
}

Outcome fullOnly(const CubieCube& cube) {
    Outcome run;
    SearchSettings settings;
    settings.jobs = 2;
    settings.onLength = [&run](const LengthReport& report) { run.reports.push_back(report); };
    run.solution = solveOptimal(cube, pairTables(), settings, two_phase::solvePieces(cube));
    return run;
}

TEST(QuickFirst, GivesTheLargeTablesAnswerWhetherOrNotItLoadsIt) {
    std::mt19937 random(41);
    int tried = 0;
    for (int i = 0; i < 12 && tried < 6; ++i) {
        const CubieCube cube = played(randomMoves(random, 7 + i % 3));
        // Only cubes the first table has to search: where its bound already equals the
        // first solution's length, it proves it at once, in no time at all.
        if (lowerBound(cube, shallowPatternTable()) >=
            static_cast<int>(two_phase::solvePieces(cube).size())) {
            continue;
        }
        ++tried;
        const Outcome alone = fullOnly(cube);
        ASSERT_TRUE(alone.solution.optimal());

        // Time enough on the small table: the large one is never asked for.
        const Outcome near = quickFirst(cube, 1h);
        EXPECT_EQ(near.loads, 0);
        EXPECT_EQ(near.solution.moves, alone.solution.moves);
        EXPECT_TRUE(near.solution.optimal());
        EXPECT_FALSE(near.reports.empty());

        // No time on it: the large table is loaded once, and only its search reports.
        const Outcome far = quickFirst(cube, 0s);
        EXPECT_EQ(far.loads, 1);
        EXPECT_EQ(far.solution.moves, alone.solution.moves);
        ASSERT_EQ(far.reports.size(), alone.reports.size());
        for (std::size_t k = 0; k < far.reports.size(); ++k) {
            EXPECT_EQ(far.reports[k].length, alone.reports[k].length);
            EXPECT_EQ(far.reports[k].nodes, alone.reports[k].nodes);
        }
    }
    EXPECT_EQ(tried, 6);
}

TEST(QuickFirst, TheCallersDeadlineOrStopEndsItWithoutTheLargeTable) {
    std::mt19937 random(43);
    const CubieCube cube = played(randomMoves(random, 20));
    shallowPatternTable();
    SearchSettings settings;
    settings.deadline = std::chrono::steady_clock::now();
    const Outcome timed = quickFirst(cube, 1h, settings);
    EXPECT_EQ(timed.loads, 0);
    EXPECT_TRUE(timed.solution.interrupted);
    EXPECT_FALSE(timed.solution.moves.empty());

    std::atomic<bool> stop{true};
    SearchSettings stopped;
    stopped.stop = &stop;
    const Outcome interrupted = quickFirst(cube, 0s, stopped);
    EXPECT_EQ(interrupted.loads, 0);
    EXPECT_TRUE(interrupted.solution.interrupted);
}

} // namespace
} // namespace cw::optimal
