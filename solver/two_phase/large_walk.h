// The pieces of the two-phase search on the large tables (large_search.cpp) that say what
// it searches with: its limits and settings, phase two's moves on these tables, the position
// phase one carries, the depth-first walk that takes turns with others, and the moves that
// may follow a move. In a header of their own so that the search's file reads as the search;
// everything here is inline, as the search's inner loops use it.
#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "solver/core/cubie.h"
#include "solver/two_phase/large_tables.h"
#include "solver/two_phase/phase_two.h"
#include "solver/two_phase/search.h"
#include "solver/two_phase/tables.h"

namespace cw::two_phase::large {

using namespace core;

// Asks for the row of `value` in a move table to be brought into the cache, for a search
// that will read it soon.
template <typename Table>
inline void prefetchRow(const Table& table, std::size_t value) {
    const auto* row = table.data() + value * kMoveCount;
    __builtin_prefetch(row);
    __builtin_prefetch(row + kMoveCount - 1);
}

using Clock = std::chrono::steady_clock;

// The bounds of search.h and the settings of phase_two.h. Phase two is first held to
// kSettings.quickPhase2Limit moves and paths that enter the subgroup and leave it again within
// a few moves are skipped, which finds short solutions far sooner; only when that pass finds
// none of at most kGuaranteedLength moves (or time is left to look for shorter ones) does a
// second pass drop both restrictions.
constexpr int kGuaranteedLength = 20;
constexpr SearchSettings kSettings = kLargeTablesSettings;
constexpr int kQuickPhase2Limit = kSettings.quickPhase2Limit;
// The clock is read once per this many nodes.
constexpr unsigned kClockInterval = 1024;

// The coordinates phase one carries for a position on its path. Flip and slice go as their
// symmetry class and the symmetry that carries them onto its representative
// (LargeTables::flipSliceClassSym), so that one row of LargeTables::flipSliceClassMove gives
// every neighbour's.
struct Position {
    int twist = 0;
    std::uint32_t flipSliceClassSym = 0;
    int sliceEdges = 0;
    int corners = 0;
    int upEdges = 0;
    int downEdges = 0;
};

inline Position positionOf(const LargeTables& t, const CubieCube& cube) {
    return {twist(cube),
            t.flipSliceClassOf(flip(cube), slice(cube)),
            edgeSet(cube, kSliceEdges),
            cornerPermutation(cube),
            edgeSet(cube, kUpEdges),
            edgeSet(cube, kDownEdges)};
}

// Phase two's moves on the large tables, whose corner and slice move tables run over all 18
// moves and whose edges enter the subgroup as two halves.
class LargeTablesPhase2Moves {
public:
    explicit LargeTablesPhase2Moves(const LargeTables& tables) : t_(tables) {}

    struct Rows {
        const std::uint16_t* corners;
        const std::uint16_t* udEdges;
        const std::uint16_t* slice;
        Phase2Position after(std::size_t k) const {
            const auto m = static_cast<std::size_t>(kPhase2Moves[k]);
            return {corners[m], udEdges[k], slice[m]};
        }
    };

    Rows rowsOf(const Phase2Position& at) const {
        return {&t_.cornerMove[static_cast<std::size_t>(at.corners) * kMoveCount],
                &t_.udEdgeMove[static_cast<std::size_t>(at.udEdges) * kPhase2MoveCount],
                &t_.sliceEdgesMove[static_cast<std::size_t>(at.slice) * kMoveCount]};
    }

    int bound(const Phase2Position& at) const {
        return std::max(cornerSliceDepth(at.corners, at.slice),
                        t_.phase2Distance(at.corners, at.udEdges));
    }

    // The position phase one reached at `at`; nothing when the small corner table, which
    // stays in the cache and turns most ways in away, already needs more than `cap` moves.
    std::optional<Phase2Position> enter(const Position& at, int cap) const {
        if (cornerSliceDepth(at.corners, at.sliceEdges) > cap) {
            return std::nullopt;
        }
        const int udEdges =
            t_.udEdgesOfHalves[static_cast<std::size_t>(at.upEdges) * kSlicePermCount +
                               static_cast<std::size_t>(at.downEdges % 24)];
        return Phase2Position{at.corners, udEdges, at.sliceEdges};
    }

private:
    int cornerSliceDepth(int corners, int slice) const {
        return t_.cornerSliceDepth[static_cast<std::size_t>(corners) * kSlicePermCount +
                                   static_cast<std::size_t>(slice)];
    }

    const LargeTables& t_;
};

// One depth-first walk of the first phase, kept on a stack of its own rather than the call
// stack, so that several walks can take turns (TakingTurns, walk_turns.h): a walk pauses each time
// it has asked for memory that its next step reads (the bounds of a position's neighbours, the
// move-table rows of the neighbours it keeps), and the others run while that memory arrives. A walk
// looks for ways into the subgroup of `depth` moves below the position it started from; a walk with
// nothing left takes over an untried neighbour near the top of another's path.
struct Walk {
    enum class Step : std::uint8_t { expand, filter, advance, idle };
    // The neighbours of the position at one level of the path that are still to be walked.
    struct Level {
        std::array<Position, kMoveCount> next;
        std::array<std::uint8_t, kMoveCount> moves;
        std::uint8_t kept = 0;
        std::uint8_t taken = 0;
    };

    Step step = Step::idle;
    int guise = 0;
    int depth = 0;
    // The level the walk started from, and the moves from the guise's start to `at`.
    int base = 0;
    int done = 0;
    Position at{};
    // The neighbours of `at` whose bounds are on their way.
    std::array<Position, kMoveCount> candidates;
    std::array<std::uint8_t, kMoveCount> candidateMoves;
    std::array<std::uint32_t, kMoveCount> lookup;
    std::size_t candidateCount = 0;
    std::array<Level, kPhase1Limit + 1> levels;
    std::array<std::uint8_t, kMaxPath> path{};

    // What TakingTurns (walk_turns.h) asks of a walk.
    bool isIdle() const { return step == Step::idle; }

    int shallowestOpenLevel(int below) const {
        for (int l = base; l < std::min(done, below); ++l) {
            const Level& row = levels[static_cast<std::size_t>(l)];
            if (row.taken < row.kept) {
                return l;
            }
        }
        return below;
    }

    // Goes on below an untried neighbour at `level` of `other`'s path.
    void takeBranchFrom(Walk& other, int level) {
        const auto l = static_cast<std::size_t>(level);
        Level& row = other.levels[l];
        const std::size_t i = row.taken++;
        guise = other.guise;
        depth = other.depth;
        std::copy_n(other.path.begin(), l, path.begin());
        path[l] = row.moves[i];
        at = row.next[i];
        base = level + 1;
        done = level + 1;
        step = Step::expand;
    }
};

// How many walks take turns. Two were measured faster than one, three or four: the memory
// one walk asks for is mostly there when its turn comes again, and more walks spread the
// work over more of the tree before the first solution turns up.
constexpr std::size_t kWalkCount = 2;

// The moves that may follow a move, listed for each move and, first, for none.
struct Followers {
    std::array<std::uint8_t, kMoveCount> moves{};
    std::size_t count = 0;
};
using FollowerTable = std::array<Followers, kMoveCount + 1>;

// The moves that may follow each move; with `lastOnly`, only those that can end the first
// phase: quarter turns of the four side faces.
inline FollowerTable followerTable(bool lastOnly) {
    FollowerTable table;
    for (int previous = -1; previous < kMoveCount; ++previous) {
        Followers& next = table[static_cast<std::size_t>(previous + 1)];
        for (int m = 0; m < kMoveCount; ++m) {
            if (mayFollow(m, previous) && !(lastOnly && isPhase2Move(m))) {
                next.moves[next.count++] = static_cast<std::uint8_t>(m);
            }
        }
    }
    return table;
}

} // namespace cw::two_phase::large
