// Tests of --optimal's memory check: each table is refused, with a message that names a
// smaller one, where the free memory is short of what it needs; and of the two-phase search's
// moves it asks for before a long length.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "solver/core/cubie.h"
#include "solver/two_phase/two_phase.h"
#include "tools/optimal_solve.h"

namespace cw::tools {
namespace {

using optimal::TableSize;

constexpr std::uint64_t kGigabyte = std::uint64_t{1} << 30;

TEST(OptimalMemory, EachTableIsRefusedWhereTheFreeMemoryIsShortNamingASmallerOne) {
    EXPECT_EQ(memoryRefusal(TableSize::large, 1 * kGigabyte),
              "--optimal needs 1.6 GB of free memory for its table, and this machine has 1.0 GB "
              "free (--table-size medium needs less, and searches more slowly)");
    EXPECT_EQ(memoryRefusal(TableSize::large, 2 * kGigabyte), std::nullopt);
    EXPECT_EQ(memoryRefusal(TableSize::medium, 50 << 20),
              "--optimal needs 68 MB of free memory for its table, and this machine has 50 MB "
              "free (--table-size small needs less, and searches more slowly)");
    EXPECT_EQ(memoryRefusal(TableSize::small, 0), std::nullopt);
    // Where the system says nothing of its free memory, only the build's reach counts.
    EXPECT_EQ(memoryRefusal(TableSize::large, std::nullopt), std::nullopt);
}

TEST(OptimalMemory, ThePackedAndHugeTablesNeedAMachineWithTheMemoryAndA64BitBuild) {
    if (sizeof(std::size_t) < 8) {
        // The browser build cannot address them however much memory the machine has.
        EXPECT_EQ(memoryRefusal(TableSize::huge, 64 * kGigabyte),
                  "--optimal needs 4.6 GB of memory for this table, more than this build can "
                  "address (--table-size packed needs less)");
        EXPECT_EQ(memoryRefusal(TableSize::packed, 64 * kGigabyte),
                  "--optimal needs 2.4 GB of memory for this table, more than this build can "
                  "address (--table-size large needs less)");
        return;
    }
    EXPECT_EQ(memoryRefusal(TableSize::huge, 4 * kGigabyte),
              "--optimal needs 4.6 GB of free memory for its table, and this machine has 4.0 GB "
              "free (--table-size packed needs less, and searches more slowly)");
    EXPECT_EQ(memoryRefusal(TableSize::huge, 5 * kGigabyte), std::nullopt);
    // The packed table's build takes more than the table: two bits an entry, and the medium
    // table beside it.
    EXPECT_EQ(memoryRefusal(TableSize::packed, 2 * kGigabyte),
              "--optimal needs 2.4 GB of free memory for its table, and this machine has 2.0 GB "
              "free (--table-size large needs less, and searches more slowly)");
    EXPECT_EQ(memoryRefusal(TableSize::packed, 3 * kGigabyte), std::nullopt);
}

TEST(OptimalTry, TheTwoPhaseSearchsMovesSolveTheCubeInNoMoreTurnsThanAskedFor) {
    if (sizeof(std::size_t) < 8) {
        GTEST_SKIP() << "the browser build keeps only the two-phase search's small tables";
    }
    for (std::uint64_t index = 0; index < 3; ++index) {
        const CubieCube cube =
            core::fromFacelets(two_phase::randomStateFacelets(41, index)).value();
        const std::optional<std::vector<int>> moves = twoPhaseTry(cube)(20);
        ASSERT_TRUE(moves.has_value());
        EXPECT_LE(moves->size(), 20U);
        CubieCube played = cube;
        for (const int move : *moves) {
            played = core::multiply(played, core::moveCube(move));
        }
        EXPECT_EQ(played, CubieCube{}) << "cube " << index;
        // No random state is a turn from solved: asked for one, it gives nothing, having
        // given up at its deadline.
        const auto soon = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
        EXPECT_EQ(twoPhaseTry(cube, soon)(1), std::nullopt);
    }
}

TEST(OptimalTry, ATryToldToStopSearchesNoFurtherThanItsFirstSolution) {
    if (sizeof(std::size_t) < 8) {
        GTEST_SKIP() << "the browser build keeps only the two-phase search's small tables";
    }
    // Told to stop (Ctrl-C), the two-phase search ends with its first solution of at most 20
    // moves, so a try for one move fewer than that finds nothing; not told, it goes on and
    // finds one.
    std::atomic<bool> stop{true};
    for (std::uint64_t index = 0; index < 3; ++index) {
        const CubieCube cube =
            core::fromFacelets(two_phase::randomStateFacelets(42, index)).value();
        const std::optional<std::vector<int>> first =
            twoPhaseTry(cube, std::chrono::steady_clock::time_point::max(), &stop)(20);
        ASSERT_TRUE(first.has_value());
        const int shorter = static_cast<int>(first->size()) - 1;
        EXPECT_EQ(twoPhaseTry(cube, std::chrono::steady_clock::time_point::max(), &stop)(shorter),
                  std::nullopt)
            << "cube " << index;
        const std::optional<std::vector<int>> found = twoPhaseTry(cube)(shorter);
        ASSERT_TRUE(found.has_value()) << "cube " << index;
        EXPECT_LE(static_cast<int>(found->size()), shorter);
    }
}

} // namespace
} // namespace cw::tools
