// The optimal search on a small table first, for a moment, and on a large one only when that
// is not enough: a cube a few turns from solved is proven on the small table in far less
// time than the large one takes to load. Used by cubewright-solve --optimal.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

#include "solver/optimal/search.h"

namespace cw::optimal {

/// solveOptimal() on `quick` for at most `moment`; when that runs out before the search is
/// through, solveOptimal() again from the start on the table `full()` returns (so `full`
/// can load it), with the caller's deadline and stop flag. When the caller's own deadline
/// or stop flag ends the first search, its best is the answer. The moves are the same
/// whichever table proves them: the search returns the first solution of the shortest
/// length in its order of moves, and a table only says which branches cannot hold one.
/// Only the search that gives the answer reports its lengths to `settings.onLength`.
template <typename Quick, typename LoadFull>
OptimalSolution solveQuickFirst(const CubieCube& cube, const Quick& quick, LoadFull full,
                                const SearchSettings& settings, const std::vector<FaceTurn>& first,
                                std::chrono::steady_clock::duration moment) {
    using Clock = std::chrono::steady_clock;
    SearchSettings attempt = settings;
    attempt.deadline = std::min(settings.deadline, Clock::now() + moment);
    std::vector<LengthReport> reports;
    attempt.onLength = [&reports](const LengthReport& report) { reports.push_back(report); };
    OptimalSolution found = solveOptimal(cube, quick, attempt, first);
    const bool givenUp =
        (settings.stop != nullptr && settings.stop->load()) || Clock::now() >= settings.deadline;
    if (!found.interrupted || givenUp) {
        if (settings.onLength) {
            for (const LengthReport& report : reports) {
                settings.onLength(report);
            }
        }
        return found;
    }
    return solveOptimal(cube, full(), settings, first);
}

} // namespace cw::optimal
