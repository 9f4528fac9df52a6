// The two-phase search on the large tables. The first phase's table gives the exact number of
// moves into the subgroup <U, D, R2, L2, F2, B2>, so phase one walks only paths that reach it
// in as many moves as it has left. Every coordinate phase two needs rides along on move
// tables, so a way into the subgroup is handed over without replaying its moves, and a
// second-phase bound is looked up only for moves that may follow. As in the small-table
// search the cube is searched in six guises, and after a first solution the search goes on
// for shorter ones, each phase two only allowed to beat the best so far. Nearly all of phase
// one's time is spent waiting for table memory, so it runs as two walks that take turns, each
// asking for what it will read next before handing over to the other (see Walk in
// large_walk.h and TakingTurns in walk_turns.h).
#include "solver/two_phase/large_search.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>

#include "solver/core/symmetry.h"
#include "solver/two_phase/large_tables.h"
#include "solver/two_phase/large_walk.h"
#include "solver/two_phase/phase_two.h"
#include "solver/two_phase/search.h"
#include "solver/two_phase/tables.h"
#include "solver/two_phase/walk_turns.h"

namespace cw::two_phase {

using namespace core;

namespace {

using namespace large;

class LargeSearch {
public:
    LargeSearch(const CubieCube& cube, const SearchLimits& limits)
        : t_(largeTables()), moves_(t_), phaseTwo_(moves_), limits_(limits),
          guises_(guisesOf(cube)),
          bestLength_(std::max(limits.targetLength, kGuaranteedLength) + 1) {
        if (limits.budget.count() > 0) {
            deadline_ = Clock::now() + limits.budget;
        }
        for (std::size_t g = 0; g < kGuiseCount; ++g) {
            starts_[g] = positionOf(t_, guises_[g]);
            startDistance_[g] =
                t_.phase1Depth[t_.phase1Index(starts_[g].flipSliceClassSym, starts_[g].twist)];
        }
    }

    Solution solve() {
        for (const bool quick : {true, false}) {
            quick_ = quick;
            phase2Cap_ = quick ? kQuickPhase2Limit : kPhase2Limit;
            for (int depth = 0; depth <= kPhase1Limit && depth < bestLength_ && !stop_ &&
                                !(reachedTarget() && depth > kThoroughPhase1Depth);
                 ++depth) {
                walkAll(depth);
            }
            if (stop_ || reachedTarget() || (bestLength_ <= kGuaranteedLength && !goesOn())) {
                break;
            }
        }
        return best_;
    }

private:
    // Every way into the subgroup of `depth` moves, from every guise, by walks taking turns.
    void walkAll(int depth) {
        int nextGuise = 0;
        walks_.runUntilAllDone([&](Walk& walk) { return startGuise(walk, nextGuise, depth); },
                               [&](Walk& walk) { goOnUntilWaiting(walk); }, [&] { return stop_; });
    }

    // Starts `walk` on the next guise that is within `depth` moves of the subgroup. A guise
    // already in it needs no walk: phase two alone, at once.
    bool startGuise(Walk& walk, int& nextGuise, int depth) {
        for (; nextGuise < kGuiseCount && !stop_; ++nextGuise) {
            const auto g = static_cast<std::size_t>(nextGuise);
            if (startDistance_[g] > depth || skipsGuise(kSettings, guises_, nextGuise)) {
                continue;
            }
            walk.guise = nextGuise;
            walk.depth = depth;
            walk.base = 0;
            walk.done = 0;
            walk.at = starts_[g];
            if (depth == 0) {
                startPhase2(walk, walk.at, 0);
                continue;
            }
            walk.step = Walk::Step::expand;
            ++nextGuise;
            return true;
        }
        return false;
    }

    // Runs `walk` until it has asked for memory it is about to read, or has nothing left.
    void goOnUntilWaiting(Walk& walk) {
        for (;;) {
            switch (walk.step) {
            case Walk::Step::expand:
                if (walk.depth - walk.done == 1) {
                    enterSubgroup(walk);
                    walk.step = Walk::Step::advance;
                    break;
                }
                expand(walk);
                walk.step = Walk::Step::filter;
                return;
            case Walk::Step::filter:
                filter(walk);
                walk.step = Walk::Step::advance;
                return;
            case Walk::Step::advance:
                advance(walk);
                if (walk.step == Walk::Step::idle || stop_) {
                    return;
                }
                break;
            case Walk::Step::idle:
                return;
            }
        }
    }

    // Where the walk's last move lists the moves that may follow it (0: no move yet).
    static std::size_t afterLastMove(const Walk& walk) {
        return walk.done > 0 ? std::size_t{walk.path[static_cast<std::size_t>(walk.done - 1)]} + 1
                             : 0;
    }

    // Moves to the next neighbour still to be walked, climbing back up the path as levels run
    // out; idle when the walk's own part is done.
    void advance(Walk& walk) {
        int level = walk.done;
        while (level >= walk.base) {
            Walk::Level& row = walk.levels[static_cast<std::size_t>(level)];
            if (row.taken < row.kept) {
                const std::size_t i = row.taken++;
                walk.path[static_cast<std::size_t>(level)] = row.moves[i];
                walk.at = row.next[i];
                walk.done = level + 1;
                walk.step = Walk::Step::expand;
                if (++nodes_ % kClockInterval == 0) {
                    checkClock();
                }
                return;
            }
            --level;
        }
        walk.step = Walk::Step::idle;
    }

    // The neighbours of the walk's position that may follow its last move and that their
    // class's bound over every twist (which stays in the nearest cache) lets reach the
    // subgroup in time; their bounds from the full table are asked for, to be read by filter().
    void expand(Walk& walk) {
        const Position& at = walk.at;
        const int togo = walk.depth - walk.done;
        const Followers& moves = followers_[afterLastMove(walk)];
        const std::size_t twistRow = static_cast<std::size_t>(at.twist) * kMoveCount;
        const std::size_t sliceRow = static_cast<std::size_t>(at.sliceEdges) * kMoveCount;
        // The cube seen through its symmetry is its class representative; a move on the cube
        // is the move seen through the same symmetry on the representative.
        const std::uint32_t* classRow =
            t_.flipSliceClassMove.data() + std::size_t{at.flipSliceClassSym >> 4} * kMoveCount;
        const auto& seenAs = symmetries_.moves[at.flipSliceClassSym & 15];
        const auto& thenAs = symmetries_.composed[at.flipSliceClassSym & 15];
        std::size_t count = 0;
        for (std::size_t k = 0; k < moves.count; ++k) {
            const std::size_t m = moves.moves[k];
            const std::uint32_t classSym = classRow[seenAs[m]];
            if (t_.flipSliceClassDepth[classSym >> 4] > togo - 1) {
                continue;
            }
            Position& child = walk.candidates[count];
            walk.candidateMoves[count] = static_cast<std::uint8_t>(m);
            child.flipSliceClassSym = (classSym & ~15U) | thenAs[classSym & 15];
            child.twist = t_.twistMove[twistRow + m];
            child.sliceEdges = t_.sliceEdgesMove[sliceRow + m];
            const std::size_t index = t_.phase1Index(child.flipSliceClassSym, child.twist);
            walk.lookup[count++] = static_cast<std::uint32_t>(index);
            __builtin_prefetch(t_.phase1Depth.storage().data() + index / 2);
        }
        walk.candidateCount = count;
    }

    // Keeps the neighbours whose bounds let them reach the subgroup in time, with their
    // coordinates for phase two, and asks for the rows their own neighbours will read.
    void filter(Walk& walk) {
        const Position& at = walk.at;
        const int togo = walk.depth - walk.done;
        const std::size_t cornerRow = static_cast<std::size_t>(at.corners) * kMoveCount;
        const std::size_t upRow = static_cast<std::size_t>(at.upEdges) * kMoveCount;
        const std::size_t downRow = static_cast<std::size_t>(at.downEdges) * kMoveCount;
        Walk::Level& row = walk.levels[static_cast<std::size_t>(walk.done)];
        std::size_t kept = 0;
        for (std::size_t i = 0; i < walk.candidateCount; ++i) {
            const int distance = t_.phase1Depth[walk.lookup[i]];
            // Inside the subgroup with a few moves still to go, the rest would be a short
            // detour out and back that phase two does better.
            if (distance > togo - 1 ||
                (distance == 0 && skipsDetour(kSettings, quick_, togo - 1))) {
                continue;
            }
            const std::size_t m = walk.candidateMoves[i];
            Position& child = row.next[kept];
            child = walk.candidates[i];
            row.moves[kept++] = walk.candidateMoves[i];
            child.corners = t_.cornerMove[cornerRow + m];
            child.upEdges = t_.upEdgesMove[upRow + m];
            child.downEdges = t_.downEdgesMove[downRow + m];
            // Its own rows, which the walk will read when it comes to it.
            prefetchRow(t_.flipSliceClassMove, std::size_t{child.flipSliceClassSym >> 4});
            prefetchRow(t_.twistMove, static_cast<std::size_t>(child.twist));
            prefetchRow(t_.sliceEdgesMove, static_cast<std::size_t>(child.sliceEdges));
            prefetchRow(t_.cornerMove, static_cast<std::size_t>(child.corners));
            prefetchRow(t_.upEdgesMove, static_cast<std::size_t>(child.upEdges));
            prefetchRow(t_.downEdgesMove, static_cast<std::size_t>(child.downEdges));
        }
        row.kept = static_cast<std::uint8_t>(kept);
        row.taken = 0;
    }

    // One move from the end of phase one: only the subgroup itself will do, which the
    // coordinates show without a lookup, since its flip and slice are a class of their own,
    // class 0, and only a quarter turn of a side face gets there (a path whose last move is
    // a phase-two move was already found one move shorter). Each way in goes on to phase two
    // at once.
    void enterSubgroup(Walk& walk) {
        const Position& at = walk.at;
        Walk::Level& row = walk.levels[static_cast<std::size_t>(walk.done)];
        row.kept = 0;
        row.taken = 0;
        const Followers& moves = lastMoves_[afterLastMove(walk)];
        const std::uint32_t* classRow =
            t_.flipSliceClassMove.data() + std::size_t{at.flipSliceClassSym >> 4} * kMoveCount;
        const auto& seenAs = symmetries_.moves[at.flipSliceClassSym & 15];
        const std::size_t twistRow = static_cast<std::size_t>(at.twist) * kMoveCount;
        for (std::size_t k = 0; k < moves.count && !stop_; ++k) {
            const std::size_t m = moves.moves[k];
            if (classRow[seenAs[m]] >= 16 || t_.twistMove[twistRow + m] != 0) {
                continue;
            }
            // Twist and class 0: the subgroup's own coordinates.
            Position leaf;
            leaf.sliceEdges =
                t_.sliceEdgesMove[static_cast<std::size_t>(at.sliceEdges) * kMoveCount + m];
            leaf.corners = t_.cornerMove[static_cast<std::size_t>(at.corners) * kMoveCount + m];
            leaf.upEdges = t_.upEdgesMove[static_cast<std::size_t>(at.upEdges) * kMoveCount + m];
            leaf.downEdges =
                t_.downEdgesMove[static_cast<std::size_t>(at.downEdges) * kMoveCount + m];
            walk.path[static_cast<std::size_t>(walk.done)] = static_cast<std::uint8_t>(m);
            startPhase2(walk, leaf, walk.done + 1);
        }
    }

    void startPhase2(Walk& walk, const Position& at, int phase1Length) {
        const Phase2Result found = phaseTwo_.start(
            walk.path, phase1Length, bestLength_, phase2Cap_,
            [&](int cap) { return moves_.enter(at, cap); }, nodes_);
        if (!found.tried) {
            return;
        }
        if (found.length > 0) {
            record(walk, found.length);
        }
        if (!best_.empty() && reachedTarget() && phase1Length > kThoroughPhase1Depth) {
            stop_ = true;
        }
    }

    bool reachedTarget() const { return !best_.empty() && bestLength_ <= limits_.targetLength; }

    bool hasDeadline() const { return deadline_ != Clock::time_point{}; }

    // Whether the search goes on for shorter solutions once it has one of at most 20 moves.
    bool goesOn() const { return hasDeadline() || limits_.shorterNodes > 0; }

    // Time, or the positions allowed, are up (or the caller says stop) only once a solution
    // of at most 20 moves is in hand.
    void checkClock() {
        if (bestLength_ > kGuaranteedLength) {
            return;
        }
        if ((hasDeadline() && Clock::now() >= deadline_) ||
            (limits_.shorterNodes > 0 && nodes_ >= limits_.shorterNodes) ||
            (limits_.stop != nullptr && limits_.stop->load(std::memory_order_relaxed))) {
            stop_ = true;
        }
    }

    void record(const Walk& walk, int length) {
        best_ = solutionFromGuise(std::span(walk.path).first(static_cast<std::size_t>(length)),
                                  walk.guise);
        bestLength_ = length;
        checkClock();
    }

    const LargeTables& t_;
    LargeTablesPhase2Moves moves_;
    PhaseTwo<kSettings, LargeTablesPhase2Moves> phaseTwo_;
    const SymmetryActions& symmetries_ = symmetryActions();
    inline static const FollowerTable followers_ = followerTable(false);
    inline static const FollowerTable lastMoves_ = followerTable(true);
    SearchLimits limits_;
    std::array<CubieCube, kGuiseCount> guises_;
    std::array<Position, kGuiseCount> starts_{};
    std::array<int, kGuiseCount> startDistance_{};
    TakingTurns<Walk, kWalkCount> walks_;
    Clock::time_point deadline_{};
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
    return LargeSearch(cube, limits).solve();
}

} // namespace cw::two_phase
