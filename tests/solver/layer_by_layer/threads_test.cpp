// The solver and the generator on several threads: each thread has its own stage counters
// and its own generator state, so threads solving at once get the answers a single thread
// gets, and a run on one thread leaves another's counters alone.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "solver/layer_by_layer/layer_by_layer.h"
#include "tests/solver/layer_by_layer/layer_by_layer_testing.h"

namespace cw {
namespace {

/// The solutions of the seeds first..first+count-1, solved one after another on the
/// calling thread.
std::vector<std::string> solutionsOf(std::uint32_t first, std::uint32_t count) {
    Cube cube;
    std::vector<std::string> out;
    for (std::uint32_t seed = first; seed < first + count; ++seed) {
        testing::scrambleFromSeed(cube, seed);
        out.push_back(solve(cube) ? testing::notation(cube.pending) : "not solved");
    }
    return out;
}

TEST(SolverThreads, ThreadsSolvingAtOnceGetTheSingleThreadedAnswers) {
    constexpr std::uint32_t kCount = 1500;
    const std::vector<std::string> expectedA = solutionsOf(1000, kCount);
    const std::vector<std::string> expectedB = solutionsOf(5000, kCount);

    // Both threads are in the middle of solves nearly all the time, so with counters
    // shared between them some stage would see the other's and pick other moves.
    std::vector<std::string> seenA;
    std::vector<std::string> seenB;
    std::thread a([&] { seenA = solutionsOf(1000, kCount); });
    std::thread b([&] { seenB = solutionsOf(5000, kCount); });
    a.join();
    b.join();
    EXPECT_EQ(seenA, expectedA);
    EXPECT_EQ(seenB, expectedB);
}

TEST(SolverThreads, ARunOnAnotherThreadLeavesThisThreadsCountersAlone) {
    const std::vector<std::string> expected = solutionsOf(0, 20);

    // On a solved cube the down-corner stage finds its first corner home and only
    // advances its counter: this thread is now in the middle of that stage.
    resetStageCounters();
    Cube cube;
    testing::setSolved(cube);
    cube.subStep = 5;
    cube.setSolverState(kStateDownCorners);
    ASSERT_EQ(solveDownCorners(cube), 1);

    std::vector<std::string> seen;
    std::thread other([&] { seen = solutionsOf(0, 20); });
    other.join();
    EXPECT_EQ(seen, expected);

    // The other thread's complete runs put its own counter back to the start; this
    // thread's counter still stands at the second corner.
    EXPECT_EQ(solveDownCorners(cube), 2);
    resetStageCounters();
}

TEST(SolverThreads, EachThreadHasItsOwnGenerator) {
    srand(12345);
    const int mainFirst = rand();
    srand(12345);

    int fresh = 0;
    int seeded = 0;
    std::thread other([&] {
        // A new thread starts from state 1, whatever another thread has seeded.
        fresh = rand();
        srand(12345);
        seeded = rand();
        for (int i = 0; i < 100; ++i) {
            rand();
        }
    });
    other.join();
    EXPECT_EQ(fresh, 41);
    EXPECT_EQ(seeded, mainFirst);
    // The other thread's draws did not advance this thread's sequence.
    EXPECT_EQ(rand(), mainFirst);
}

} // namespace
} // namespace cw
