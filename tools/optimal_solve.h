// cubewright-solve --optimal: the pattern table made ready (free memory checked, loaded from
// the cache folder or built with a progress line), the search with its progress lines, and
// Ctrl-C turned into a request to stop. Used by cubewright-solve and its tests.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "solver/core/cubie.h"
#include "solver/optimal/search.h"
#include "solver/optimal/table_size.h"

namespace cw::tools {

/// The free memory the system reports (MemAvailable on Linux), or nothing when it says none.
std::optional<std::uint64_t> availableMemory();

/// "1.6 GB", "67 MB".
std::string byteSize(std::uint64_t bytes);

/// Why --optimal cannot use the table `tables` on a machine with `free` bytes of free memory
/// (nothing known when empty), naming a smaller table; nothing when it can.
std::optional<std::string> memoryRefusal(optimal::TableSize tables,
                                         std::optional<std::uint64_t> free);

class OptimalSolver {
public:
    virtual ~OptimalSolver() = default;

    /// Gets the table ready on `jobs` threads: refuses (nothing, with `error` set) when the
    /// machine has less free memory than the table needs, says how much it needs before it
    /// builds, and shows the build's progress on standard error.
    static std::unique_ptr<OptimalSolver> open(optimal::TableSize tables, unsigned jobs,
                                               std::string& error);

    /// The shortest solution, or the best found with the length proven when `settings`
    /// gives up first. Progress lines go to standard error.
    virtual optimal::OptimalSolution solve(const CubieCube& cube,
                                           optimal::SearchSettings settings) const = 0;
};

/// How many positions the two-phase search visits, on its large tables, when asked for a
/// solution of a given length before the optimal search takes that length on.
inline constexpr std::uint64_t kTwoPhaseTryPositions = 20'000'000;

/// SearchSettings::tryLength for `cube`: the two-phase search on its large tables (loaded
/// from the cache folder, or built there, on the first call), with kTwoPhaseTryPositions
/// positions to find a solution of the length asked for, no time past `deadline`, and none
/// after `stop` is set (as the optimal search's own stop flag, Ctrl-C, is). The same moves on
/// any machine when there is no deadline and no stop.
std::function<std::optional<std::vector<int>>(int)> twoPhaseTry(
    const CubieCube& cube,
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max(),
    const std::atomic<bool>* stop = nullptr);

/// The solution line's text: "R U2 F' (3 face turns, optimal)", or "(N face turns, at least
/// M)" when the search gave up before it proved the length.
std::string optimalText(const optimal::OptimalSolution& solution);

/// From now on Ctrl-C sets the returned flag instead of ending the program.
const std::atomic<bool>& catchInterrupt();

} // namespace cw::tools
