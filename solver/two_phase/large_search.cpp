// The two-phase search on the large tables. The first phase's table gives the exact number of
// moves into the subgroup <U, D, R2, L2, F2, B2>, so phase one walks only paths that reach it
// in as many moves as it has left. Every coordinate phase two needs rides along on move
// tables, so a way into the subgroup is handed over without replaying its moves, and a
// second-phase bound is looked up only for moves that may follow. As in the small-table
// search the cube is searched in six guises, and after a first solution the search goes on
// for shorter ones, each phase two only allowed to beat the best so far.
#include "solver/two_phase/large_search.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>

#include "solver/two_phase/large_tables.h"
#include "solver/two_phase/symmetry.h"
#include "solver/two_phase/tables.h"

namespace cw::two_phase {
namespace {

// The symmetries' action on moves and on each other as small tables the search reads inline.
struct SymmetryMaps {
    // moves[s][m]: conjugateMove(m, s); composed[s][r]: composeSymmetries(s, r).
    std::array<std::array<std::uint8_t, kMoveCount>, kUdSymmetryCount> moves{};
    std::array<std::array<std::uint8_t, kUdSymmetryCount>, kUdSymmetryCount> composed{};
};

const SymmetryMaps& symmetryMaps() {
    static const SymmetryMaps kMaps = [] {
        SymmetryMaps maps;
        for (int s = 0; s < kUdSymmetryCount; ++s) {
            const auto si = static_cast<std::size_t>(s);
            for (int m = 0; m < kMoveCount; ++m) {
                maps.moves[si][static_cast<std::size_t>(m)] =
                    static_cast<std::uint8_t>(conjugateMove(m, s));
            }
            for (int r = 0; r < kUdSymmetryCount; ++r) {
                maps.composed[si][static_cast<std::size_t>(r)] =
                    static_cast<std::uint8_t>(composeSymmetries(s, r));
            }
        }
        return maps;
    }();
    return kMaps;
}

// Asks for the row of `value` in a move table to be brought into the cache, for a search
// that will read it soon.
template <typename Table>
void prefetchRow(const Table& table, std::size_t value) {
    const auto* row = table.data() + value * kMoveCount;
    __builtin_prefetch(row);
    __builtin_prefetch(row + kMoveCount - 1);
}

using Clock = std::chrono::steady_clock;

// Every cube has a solution of at most 20 moves, and any solution splits into a phase one
// that ends on a move outside the subgroup and a phase two inside it, so a search that tries
// every such split up to 20 moves always finds one. Phase two is first held to
// kQuickPhase2Limit moves and paths that enter the subgroup and leave it again within a few
// moves are skipped, which finds short solutions far sooner; only when that pass finds none
// of at most kGuaranteedLength moves (or time is left to look for shorter ones) does a
// second pass drop both restrictions.
constexpr int kGuaranteedLength = 20;
constexpr int kPhase1Limit = 20;
constexpr int kPhase2Limit = 18;
constexpr int kQuickPhase2Limit = 12;
constexpr int kGuiseCount = 6;
// As in the small-table search: reaching the target ends the search only once every first
// phase of up to this many moves has been tried, so that a cube a few turns from solved gets
// a solution no longer than those turns.
constexpr int kThoroughPhase1Depth = 7;
constexpr int kMaxPath = kPhase1Limit + kPhase2Limit;
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

Position positionOf(const LargeTables& t, const CubieCube& cube) {
    return {twist(cube),
            t.flipSliceClassOf(flip(cube), slice(cube)),
            edgeSet(cube, kSliceEdges),
            cornerPermutation(cube),
            edgeSet(cube, kUpEdges),
            edgeSet(cube, kDownEdges)};
}

class LargeSearch {
public:
    LargeSearch(const CubieCube& cube, const SearchLimits& limits)
        : t_(largeTables()), limits_(limits), guises_(guisesOf(cube)),
          bestLength_(std::max(limits.targetLength, kGuaranteedLength) + 1) {
        if (limits.budget.count() > 0) {
            deadline_ = Clock::now() + limits.budget;
        }
    }

    Solution run() {
        for (const bool quick : {true, false}) {
            quick_ = quick;
            phase2Cap_ = quick ? kQuickPhase2Limit : kPhase2Limit;
            for (int depth = 0; depth <= kPhase1Limit && depth < bestLength_ && !stop_ &&
                                !(reachedTarget() && depth > kThoroughPhase1Depth);
                 ++depth) {
                for (guise_ = 0; guise_ < kGuiseCount && !stop_; ++guise_) {
                    if (isRepeatedGuise()) {
                        continue;
                    }
                    const Position start =
                        positionOf(t_, guises_[static_cast<std::size_t>(guise_)]);
                    const int distance =
                        t_.phase1Depth[t_.phase1Index(start.flipSliceClassSym, start.twist)];
                    if (distance <= depth) {
                        phase1(start, 0, depth);
                    }
                }
            }
            if (stop_ || reachedTarget() || (bestLength_ <= kGuaranteedLength && !hasDeadline())) {
                break;
            }
        }
        return best_;
    }

private:
    // A cube with symmetries shows the same guise more than once; one search of it is enough.
    bool isRepeatedGuise() const {
        for (int other = 0; other < guise_; ++other) {
            if (guises_[static_cast<std::size_t>(other)] ==
                guises_[static_cast<std::size_t>(guise_)]) {
                return true;
            }
        }
        return false;
    }

    void phase1(const Position& at, int done, int togo) {
        if (togo == 0) {
            // Only a path that enters the subgroup on its last move is new: one whose last
            // move is a phase-two move was already found one move shorter.
            if (done == 0 || !isPhase2Move(path_[static_cast<std::size_t>(done - 1)])) {
                startPhase2(at, done);
            }
            return;
        }
        // The rows that the moves which stay will read, asked for before the lookups below
        // keep the processor waiting.
        const std::size_t cornerRow = static_cast<std::size_t>(at.corners) * kMoveCount;
        const std::size_t upRow = static_cast<std::size_t>(at.upEdges) * kMoveCount;
        const std::size_t downRow = static_cast<std::size_t>(at.downEdges) * kMoveCount;
        prefetchRow(t_.cornerMove, static_cast<std::size_t>(at.corners));
        prefetchRow(t_.upEdgesMove, static_cast<std::size_t>(at.upEdges));
        prefetchRow(t_.downEdgesMove, static_cast<std::size_t>(at.downEdges));
        const int previous = done > 0 ? path_[static_cast<std::size_t>(done - 1)] : -1;
        const std::size_t twistRow = static_cast<std::size_t>(at.twist) * kMoveCount;
        const std::size_t sliceRow = static_cast<std::size_t>(at.sliceEdges) * kMoveCount;
        // The cube seen through its symmetry is its class representative; a move on the cube
        // is the move seen through the same symmetry on the representative.
        const std::size_t classRow = std::size_t{at.flipSliceClassSym >> 4} * kMoveCount;
        const auto& seenAs = maps_.moves[at.flipSliceClassSym & 15];
        const auto& thenAs = maps_.composed[at.flipSliceClassSym & 15];
        // The bounds of all the moves that may follow are fetched before any is used: each
        // lookup misses the cache, and independent loads overlap where a load per branch
        // would wait for each in turn.
        std::array<std::uint8_t, kMoveCount> moves;
        std::array<Position, kMoveCount> next;
        std::size_t count = 0;
        for (int m = 0; m < kMoveCount; ++m) {
            if (!mayFollow(m, previous)) {
                continue;
            }
            const auto mi = static_cast<std::size_t>(m);
            moves[count] = static_cast<std::uint8_t>(m);
            Position& child = next[count++];
            child.twist = t_.twistMove[twistRow + mi];
            child.sliceEdges = t_.sliceEdgesMove[sliceRow + mi];
            const std::uint32_t classSym = t_.flipSliceClassMove[classRow + seenAs[mi]];
            child.flipSliceClassSym = (classSym & ~15U) | thenAs[classSym & 15];
        }
        std::array<int, kMoveCount> distance;
        if (togo == 1) {
            // On the last move only the subgroup itself will do, which the coordinates show
            // without a lookup: its flip and slice are a class of their own, class 0.
            for (std::size_t i = 0; i < count; ++i) {
                distance[i] = (next[i].twist != 0 || next[i].flipSliceClassSym >= 16) ? 1 : 0;
            }
        } else {
            // Most moves fail on their class's bound over every twist, which stays in the
            // nearest cache; only the rest go out to the full table.
            for (std::size_t i = 0; i < count; ++i) {
                const int fewest = t_.flipSliceClassDepth[next[i].flipSliceClassSym >> 4];
                distance[i] =
                    fewest > togo - 1
                        ? fewest
                        : t_.phase1Depth[t_.phase1Index(next[i].flipSliceClassSym, next[i].twist)];
            }
        }
        // The moves that stay: into the subgroup, or nearer it, in time. Their coordinates for
        // phase two come from one row of each table, read together.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < count; ++i) {
            // Inside the subgroup with a few moves still to go, the rest would be a short
            // detour out and back that phase two does better.
            if (distance[i] > togo - 1 ||
                (quick_ && distance[i] == 0 && togo - 1 > 0 && togo - 1 < 5)) {
                continue;
            }
            const std::size_t m = moves[i];
            Position& child = next[kept];
            child = next[i];
            moves[kept++] = moves[i];
            child.corners = t_.cornerMove[cornerRow + m];
            child.upEdges = t_.upEdgesMove[upRow + m];
            child.downEdges = t_.downEdgesMove[downRow + m];
            // Its own rows, which the search will read when it comes to it.
            if (togo > 2) {
                prefetchRow(t_.flipSliceClassMove, std::size_t{child.flipSliceClassSym >> 4});
            }
            if (togo > 1) {
                prefetchRow(t_.cornerMove, static_cast<std::size_t>(child.corners));
                prefetchRow(t_.upEdgesMove, static_cast<std::size_t>(child.upEdges));
                prefetchRow(t_.downEdgesMove, static_cast<std::size_t>(child.downEdges));
            }
        }
        for (std::size_t i = 0; i < kept && !stop_; ++i) {
            if (++nodes_ % kClockInterval == 0) {
                checkClock();
            }
            path_[static_cast<std::size_t>(done)] = moves[i];
            phase1(next[i], done + 1, togo - 1);
        }
    }

    int phase2Bound(int corners, int udEdges, int sliceOrder) const {
        const auto c = static_cast<std::size_t>(corners);
        return std::max(
            t_.cornerSliceDepth[c * kSlicePermCount + static_cast<std::size_t>(sliceOrder)],
            t_.phase2Distance(corners, udEdges));
    }

    void startPhase2(const Position& at, int phase1Length) {
        const int cap = std::min(bestLength_ - 1 - phase1Length, phase2Cap_);
        // The small corner table first: it stays in the cache and turns most ways in away.
        if (cap < 0 || t_.cornerSliceDepth[static_cast<std::size_t>(at.corners) * kSlicePermCount +
                                           static_cast<std::size_t>(at.sliceEdges)] > cap) {
            return;
        }
        const int udEdges =
            t_.udEdgesOfHalves[static_cast<std::size_t>(at.upEdges) * kSlicePermCount +
                               static_cast<std::size_t>(at.downEdges % 24)];
        for (int depth = phase2Bound(at.corners, udEdges, at.sliceEdges); depth <= cap; ++depth) {
            if (phase2(at.corners, udEdges, at.sliceEdges, phase1Length, depth)) {
                record(phase1Length + depth);
                break;
            }
        }
        if (!best_.empty() && reachedTarget() && phase1Length > kThoroughPhase1Depth) {
            stop_ = true;
        }
    }

    bool phase2(int corners, int udEdges, int sliceOrder, int done, int togo) {
        if (togo == 0) {
            return corners == 0 && udEdges == 0 && sliceOrder == 0;
        }
        const int previous = done > 0 ? path_[static_cast<std::size_t>(done - 1)] : -1;
        for (std::size_t k = 0; k < kPhase2Moves.size(); ++k) {
            const int m = kPhase2Moves[k];
            if (!mayFollow(m, previous)) {
                continue;
            }
            const auto mi = static_cast<std::size_t>(m);
            const int cornersNext =
                t_.cornerMove[static_cast<std::size_t>(corners) * kMoveCount + mi];
            const int edgesNext =
                t_.udEdgeMove[static_cast<std::size_t>(udEdges) * kPhase2MoveCount + k];
            const int sliceNext =
                t_.sliceEdgesMove[static_cast<std::size_t>(sliceOrder) * kMoveCount + mi];
            const int bound = togo == 1 ? (cornersNext | edgesNext | sliceNext) != 0
                                        : phase2Bound(cornersNext, edgesNext, sliceNext);
            if (bound > togo - 1) {
                continue;
            }
            path_[static_cast<std::size_t>(done)] = static_cast<std::uint8_t>(m);
            if (phase2(cornersNext, edgesNext, sliceNext, done + 1, togo - 1)) {
                return true;
            }
        }
        return false;
    }

    bool reachedTarget() const { return !best_.empty() && bestLength_ <= limits_.targetLength; }

    bool hasDeadline() const { return deadline_ != Clock::time_point{}; }

    // Time is up only once a solution of at most 20 moves is in hand.
    void checkClock() {
        if (hasDeadline() && bestLength_ <= kGuaranteedLength && Clock::now() >= deadline_) {
            stop_ = true;
        }
    }

    // Keeps the path as a solution of the cube itself: a guise's moves turned back about the
    // diagonal, and an inverted guise's solution reversed and inverted.
    void record(int length) {
        Solution moves;
        for (int i = 0; i < length; ++i) {
            const int m = diagonalConjugateMove(path_[static_cast<std::size_t>(i)], guise_ / 2);
            moves.push_back({cubeFace(moveFace(m)), moveQuarterTurns(m)});
        }
        best_ = guise_ % 2 != 0 ? inverse(moves) : moves;
        bestLength_ = length;
        checkClock();
    }

    const LargeTables& t_;
    const SymmetryMaps& maps_ = symmetryMaps();
    SearchLimits limits_;
    std::array<CubieCube, kGuiseCount> guises_;
    std::array<std::uint8_t, kMaxPath> path_{};
    Clock::time_point deadline_{};
    int guise_ = 0;
    int phase2Cap_ = kQuickPhase2Limit;
    bool quick_ = true;
    // Solutions longer than this are not worth recording: one of at most 20 moves exists.
    int bestLength_;
    Solution best_;
    std::uint64_t nodes_ = 0;
    bool stop_ = false;
};

} // namespace

Solution solveWithLargeTables(const CubieCube& cube, const SearchLimits& limits) {
    if (cube == CubieCube{}) {
        return {};
    }
    return LargeSearch(cube, limits).run();
}

} // namespace cw::two_phase
