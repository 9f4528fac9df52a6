// The optimal search: iterative deepening over face turns, bounded below by a pattern table
// looked up along three axes, for each position and for its inverse, on several threads. Used by
// cubewright-solve --optimal, the optimal-solver benchmark and the tests.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "cube/move.h"
#include "solver/core/cubie.h"
#include "solver/optimal/pattern_table.h"

namespace cw::optimal {

/// One search length, reported before it starts (finished false) and after.
struct LengthReport {
    int length = 0;
    bool finished = false;
    /// For a finished length: how long it took and the positions it visited.
    double seconds = 0;
    std::uint64_t nodes = 0;
};

struct SearchSettings {
    /// Threads; the answer is the same for any number.
    unsigned jobs = 1;
    /// The longest solution looked for. A caller that holds a solution of N turns already
    /// passes N - 1: when nothing shorter turns up, its own solution is optimal.
    int longest = 20;
    /// When to give up, and a flag that gives up when set (e.g. by Ctrl-C).
    std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
    const std::atomic<bool>* stop = nullptr;
    std::function<void(const LengthReport&)> onLength;
    /// Whether a position is also bounded by its inverse's distance, which is the same. Off,
    /// the search is as it was before it had that bound: the benchmark compares the two.
    bool inverseBounds = true;
    /// Another way to a solution of a given number of moves, asked before the search takes
    /// on a length of `tryLengthFrom` or more, whose tree is large. It returns moves (0..17)
    /// that solve the cube in at most that many, or nothing. Every shorter length has no
    /// solution by then, so such moves are a shortest solution, and the length's own search
    /// is left out. Which lengths it is asked about depends on the cube alone, not on the
    /// table or the threads, so the answer is still the same on any. cubewright-solve asks
    /// the two-phase search, which finds one for most cubes 18 moves from solved in a small
    /// part of the time their last length's search takes: that search goes on until the
    /// first of the two-move beginnings in its order that holds a solution, often far in.
    /// (From 18: the two-phase search seldom finds 17 moves where they are the shortest.)
    std::function<std::optional<std::vector<int>>(int length)> tryLength;
    int tryLengthFrom = 18;
};

struct SearchOutcome {
    /// The first solution of the shortest length, as moves 0..17 (face * 3 + quarter turns
    /// - 1, faces in facelet order), when one of at most `longest` turns was found.
    std::optional<std::vector<int>> moves;
    /// No solution has fewer face turns than this: the length of `moves` when found,
    /// longest + 1 when none was, and the length being searched when the search gave up.
    int provenLength = 0;
    /// The deadline passed or the stop flag was set before the search was through.
    bool interrupted = false;
    std::uint64_t nodes = 0;
    /// The solution came from SearchSettings::tryLength.
    bool tried = false;
};

/// Searches lengths from the cube's lower bound upwards, each to the end, so the solution it
/// returns is the shortest there is. Deterministic: for a given cube, table and `longest`,
/// any number of jobs returns the same moves, unless interrupted.
template <typename Table>
SearchOutcome searchOptimal(const CubieCube& cube, const Table& table,
                            const SearchSettings& settings);

extern template SearchOutcome searchOptimal(const CubieCube&, const MediumPatternTable&,
                                            const SearchSettings&);
extern template SearchOutcome searchOptimal(const CubieCube&, const LargePatternTable&,
                                            const SearchSettings&);
extern template SearchOutcome searchOptimal(const CubieCube&, const HugePatternTable&,
                                            const SearchSettings&);
extern template SearchOutcome searchOptimal(const CubieCube&, const SmallPatternTable&,
                                            const SearchSettings&);
extern template SearchOutcome searchOptimal(const CubieCube&, const PackedHugePatternTable&,
                                            const SearchSettings&);
extern template SearchOutcome searchOptimal(const CubieCube&,
                                            const PackedPatternTable<TableSize::medium>&,
                                            const SearchSettings&);

/// The lower bound the search starts from: the largest of the table's bounds along the three
/// axes (one more when they agree, where the table allows it).
template <typename Table>
int lowerBound(const CubieCube& cube, const Table& table);

extern template int lowerBound(const CubieCube&, const MediumPatternTable&);
extern template int lowerBound(const CubieCube&, const LargePatternTable&);
extern template int lowerBound(const CubieCube&, const HugePatternTable&);
extern template int lowerBound(const CubieCube&, const SmallPatternTable&);
extern template int lowerBound(const CubieCube&, const PackedHugePatternTable&);
extern template int lowerBound(const CubieCube&, const PackedPatternTable<TableSize::medium>&);

/// The shortest solution as cubewright-solve --optimal gives it, or the best one found when
/// the search gives up.
struct OptimalSolution {
    std::vector<FaceTurn> moves;
    /// No solution has fewer face turns; equal to the length of `moves` when it is optimal.
    int provenLength = 0;
    bool interrupted = false;
    std::uint64_t nodes = 0;
    /// The solution came from SearchSettings::tryLength.
    bool tried = false;

    bool optimal() const { return provenLength == static_cast<int>(moves.size()); }
};

/// Starts from `first`, a solution the caller found already (cubewright-solve takes the
/// small two-phase search's), and searches for anything shorter than that: `first` is kept
/// when nothing is, so the last length is never searched when it is optimal already.
template <typename Table>
OptimalSolution solveOptimal(const CubieCube& cube, const Table& table, SearchSettings settings,
                             std::vector<FaceTurn> first);

extern template OptimalSolution solveOptimal(const CubieCube&, const MediumPatternTable&,
                                             SearchSettings, std::vector<FaceTurn>);
extern template OptimalSolution solveOptimal(const CubieCube&, const LargePatternTable&,
                                             SearchSettings, std::vector<FaceTurn>);
extern template OptimalSolution solveOptimal(const CubieCube&, const HugePatternTable&,
                                             SearchSettings, std::vector<FaceTurn>);
extern template OptimalSolution solveOptimal(const CubieCube&, const SmallPatternTable&,
                                             SearchSettings, std::vector<FaceTurn>);
extern template OptimalSolution solveOptimal(const CubieCube&, const PackedHugePatternTable&,
                                             SearchSettings, std::vector<FaceTurn>);
extern template OptimalSolution solveOptimal(const CubieCube&,
                                             const PackedPatternTable<TableSize::medium>&,
                                             SearchSettings, std::vector<FaceTurn>);

/// Moves 0..17 as face turns, for formatting and checking.
std::vector<FaceTurn> faceTurns(const std::vector<int>& moves);

} // namespace cw::optimal
