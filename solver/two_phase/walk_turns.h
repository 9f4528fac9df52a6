// Depth-first walks that take turns, for a search whose time goes on waiting for memory:
// each walk runs until it has asked for memory it is about to read, then the others run
// while that memory arrives. Knows nothing of what the walks search.
#pragma once

#include <array>
#include <cstddef>
#include <limits>

namespace cw::two_phase {

/// Runs `kCount` walks by turns until none has work left. A walk with nothing left is first
/// given new work by the caller and, when there is none, takes an untried branch from
/// another walk: the one nearest the top of that walk's path, where the most work waits.
///
/// A `Walk` keeps its untried branches on a stack of its own, level by level, and has
///   bool isIdle() const;                          // nothing left to walk
///   int shallowestOpenLevel(int below) const;     // its first level under `below` with an
///                                                 // untried branch, or `below` if none
///   void takeBranchFrom(Walk& other, int level);  // goes on with one of other's untried
///                                                 // branches at `level` (no longer idle)
template <typename Walk, std::size_t kCount>
class TakingTurns {
public:
    /// Runs the walks by turns until every one is idle and none can be given work, or until
    /// `stopped()`. `startNew(walk)` gives an idle walk new work and returns true, or returns
    /// false when there is none; `goOnUntilWaiting(walk)` runs a walk up to its next pause or
    /// until it is idle.
    template <typename StartNew, typename GoOnUntilWaiting, typename Stopped>
    void runUntilAllDone(StartNew&& startNew, GoOnUntilWaiting&& goOnUntilWaiting,
                         Stopped&& stopped) {
        for (;;) {
            bool busy = false;
            for (Walk& walk : walks_) {
                if (stopped()) {
                    return;
                }
                if (walk.isIdle() && !startNew(walk) && !takeBranchForIdle(walk)) {
                    continue;
                }
                busy = true;
                goOnUntilWaiting(walk);
            }
            if (!busy) {
                return;
            }
        }
    }

private:
    // Gives idle `walk` the untried branch nearest the top of another walk's path; false if
    // no walk has one.
    bool takeBranchForIdle(Walk& walk) {
        Walk* from = nullptr;
        int level = std::numeric_limits<int>::max();
        for (Walk& other : walks_) {
            if (other.isIdle()) {
                continue;
            }
            const int open = other.shallowestOpenLevel(level);
            if (open < level) {
                from = &other;
                level = open;
            }
        }
        if (from == nullptr) {
            return false;
        }
        walk.takeBranchFrom(*from, level);
        return true;
    }

    std::array<Walk, kCount> walks_;
};

} // namespace cw::two_phase
