// Phase two of the two-phase search, shared by the search on the small tables (search.cpp)
// and the one on the large tables (large_search.cpp): from a way into the subgroup
// <U, D, R2, L2, F2, B2>, the fewest moves inside it that solve the cube, by iterative
// deepening over the corner, edge and slice orders. Each search comes with its own tables
// (a Moves type below) and with its settings, the ways in which the two searches differ.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "solver/core/cubie.h"
#include "solver/two_phase/search.h"
#include "solver/two_phase/tables.h"

namespace cw::two_phase {

/// Where the two searches differ; each has the settings measured best for it.
struct SearchSettings {
    /// Phase two is first held to this quick limit, since long phase twos are slow and seldom
    /// part of a short solution; only when that finds nothing (or, on the large tables, time
    /// is left to look for shorter ones) does a second pass run with the full kPhase2Limit.
    /// Each search has the limit measured best for it: 10 moves on the small tables, 12 on
    /// the large ones.
    int quickPhase2Limit = kPhase2Limit;
    /// Whether the second pass, too, skips the paths that enter the subgroup with a few moves
    /// still to go (a short detour out and back that phase two does better); the first pass
    /// always skips them.
    bool skipDetoursOnSecondPass = true;
    /// Whether a guise that a cube with symmetries shows more than once is searched once.
    bool skipRepeatedGuises = false;
    /// Whether phase two's nodes count towards the search's node limit.
    bool countPhase2Nodes = false;
    /// Whether phase two looks up the bounds of all ten moves before trying any, so that
    /// their loads overlap, rather than only those of the moves that may follow the last.
    bool boundsBeforeMoves = false;
};

inline constexpr SearchSettings kSmallTablesSettings{.quickPhase2Limit = 10,
                                                     .skipDetoursOnSecondPass = true,
                                                     .skipRepeatedGuises = false,
                                                     .countPhase2Nodes = true,
                                                     .boundsBeforeMoves = true};
inline constexpr SearchSettings kLargeTablesSettings{.quickPhase2Limit = 12,
                                                     .skipDetoursOnSecondPass = false,
                                                     .skipRepeatedGuises = true,
                                                     .countPhase2Nodes = false,
                                                     .boundsBeforeMoves = false};

/// Whether phase one skips a move into the subgroup that leaves `togo` moves still to go.
constexpr bool skipsDetour(const SearchSettings& settings, bool firstPass, int togo) {
    return (firstPass || settings.skipDetoursOnSecondPass) && togo > 0 && togo < 5;
}

/// Whether guise `guise` of `guises` is one of those before it, with the settings that skip
/// repeated guises.
inline bool skipsGuise(const SearchSettings& settings,
                       const std::array<CubieCube, kGuiseCount>& guises, int guise) {
    if (!settings.skipRepeatedGuises) {
        return false;
    }
    for (int other = 0; other < guise; ++other) {
        if (guises[static_cast<std::size_t>(other)] == guises[static_cast<std::size_t>(guise)]) {
            return true;
        }
    }
    return false;
}

/// A cube in the subgroup as phase two sees it.
struct Phase2Position {
    int corners = 0;
    int udEdges = 0;
    int slice = 0;
};

/// What phase two found after a first phase: whether it was tried at all (a search checks
/// whether to stop only then) and the whole solution's length (0: none within the cap).
struct Phase2Result {
    bool tried = false;
    int length = 0;
};

/// Phase two on the tables of `Moves`, which has
///   Rows rowsOf(const Phase2Position&) const;  // whose after(k) is the position after
///                                              // kPhase2Moves[k]
///   int bound(const Phase2Position&) const;    // a lower bound of its phase two's length
template <SearchSettings kSettings, typename Moves>
class PhaseTwo {
public:
    using Path = std::array<std::uint8_t, kMaxPath>;

    explicit PhaseTwo(const Moves& moves) : moves_(moves) {}

    /// Phase two after a first phase of `phase1Length` moves on `path`, only if it makes a
    /// solution shorter than `bestLength`, and of at most `passLimit` moves. `enter(cap)` gives
    /// the position the first phase reached, or nothing when it can tell at once that no
    /// phase two of at most `cap` moves solves it. The moves found follow the first phase's.
    template <typename Enter>
    Phase2Result start(Path& path, int phase1Length, int bestLength, int passLimit, Enter&& enter,
                       std::uint64_t& nodes) const {
        const int cap = std::min(bestLength - 1 - phase1Length, passLimit);
        if (cap < 0) {
            return {};
        }
        const std::optional<Phase2Position> at = enter(cap);
        if (!at) {
            return {};
        }
        const int length = shortest(path, *at, phase1Length, cap, nodes);
        return {true, length < 0 ? 0 : phase1Length + length};
    }

    /// The fewest moves, at most `cap`, that solve `at`, written to `path` from `done` on;
    /// -1 if more are needed.
    int shortest(Path& path, const Phase2Position& at, int done, int cap,
                 std::uint64_t& nodes) const {
        for (int depth = moves_.bound(at); depth <= cap; ++depth) {
            if (solves(path, at, done, depth, nodes)) {
                return depth;
            }
        }
        return -1;
    }

private:
    static bool isSolved(const Phase2Position& at) {
        return (at.corners | at.udEdges | at.slice) == 0;
    }

    // Whether `togo` moves solve `at`; the moves go to `path` from `done` on.
    bool solves(Path& path, const Phase2Position& at, int done, int togo,
                std::uint64_t& nodes) const {
        if constexpr (kSettings.countPhase2Nodes) {
            ++nodes;
        }
        if (togo == 0) {
            return isSolved(at);
        }
        const auto rows = moves_.rowsOf(at);
        const int previous = done > 0 ? path[static_cast<std::size_t>(done - 1)] : -1;
        // One move from the end only the solved cube will do, which needs no lookup.
        const auto boundOf = [&](const Phase2Position& next) {
            return togo == 1 ? static_cast<int>(!isSolved(next)) : moves_.bound(next);
        };
        if constexpr (kSettings.boundsBeforeMoves) {
            std::array<int, kPhase2MoveCount> bounds{};
            for (std::size_t k = 0; k < kPhase2Moves.size(); ++k) {
                bounds[k] = boundOf(rows.after(k));
            }
            for (std::size_t k = 0; k < kPhase2Moves.size(); ++k) {
                const int m = kPhase2Moves[k];
                if (bounds[k] > togo - 1 || !mayFollow(m, previous)) {
                    continue;
                }
                path[static_cast<std::size_t>(done)] = static_cast<std::uint8_t>(m);
                if (solves(path, rows.after(k), done + 1, togo - 1, nodes)) {
                    return true;
                }
            }
        } else {
            for (std::size_t k = 0; k < kPhase2Moves.size(); ++k) {
                const int m = kPhase2Moves[k];
                if (!mayFollow(m, previous)) {
                    continue;
                }
                const Phase2Position next = rows.after(k);
                if (boundOf(next) > togo - 1) {
                    continue;
                }
                path[static_cast<std::size_t>(done)] = static_cast<std::uint8_t>(m);
                if (solves(path, next, done + 1, togo - 1, nodes)) {
                    return true;
                }
            }
        }
        return false;
    }

    const Moves& moves_;
};

/// Phase two's moves on the small tables (tables.h), whose move tables run over the ten
/// phase-two moves.
class SmallTablesPhase2Moves {
public:
    explicit SmallTablesPhase2Moves(const Tables& tables)
        : corners_(tables.cornerMove.data()), udEdges_(tables.udEdgeMove.data()),
          slice_(tables.slicePermMove.data()), t_(tables) {}

    struct Rows {
        const std::uint16_t* corners;
        const std::uint16_t* udEdges;
        const std::uint8_t* slice;
        Phase2Position after(std::size_t k) const { return {corners[k], udEdges[k], slice[k]}; }
    };

    Rows rowsOf(const Phase2Position& at) const {
        return {corners_ + static_cast<std::size_t>(at.corners) * kPhase2MoveCount,
                udEdges_ + static_cast<std::size_t>(at.udEdges) * kPhase2MoveCount,
                slice_ + static_cast<std::size_t>(at.slice) * kPhase2MoveCount};
    }

    int bound(const Phase2Position& at) const {
        return t_.phase2Bound(at.corners, at.udEdges, at.slice);
    }

    /// The position of `cube`, which must be in the subgroup.
    static Phase2Position positionOf(const CubieCube& cube) {
        return {cornerPermutation(cube), udEdgePermutation(cube), slicePermutation(cube)};
    }

private:
    // The move tables' rows are read at every node: their addresses are kept here rather
    // than looked up through the tables each time.
    const std::uint16_t* corners_;
    const std::uint16_t* udEdges_;
    const std::uint8_t* slice_;
    const Tables& t_;
};

} // namespace cw::two_phase
