// Builds the two-phase search's move tables by playing each move on cubes set to every
// coordinate value, and its pruning tables by breadth-first search from the solved cube.
#include "solver/two_phase/tables.h"
#include "solver/core/move_table.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <functional>

#include "solver/core/threads.h"

namespace cw::two_phase {

using namespace core;

namespace {

// Breadth-first search over the pairs of two coordinates, both solved at 0.
template <typename A, typename B>
DepthTable depthTable(int countA, const std::vector<A>& moveA, int countB,
                      const std::vector<B>& moveB, std::size_t moveCount) {
    return DepthTable(pairDistances(countA, moveA, countB, moveB, moveCount));
}

Tables build() {
    Tables t;
    const std::array<int, kMoveCount> all = allMoves();
    t.twistMove = moveTable<std::uint16_t>(kTwistCount, all, setTwist, twist);
    t.flipMove = moveTable<std::uint16_t>(kFlipCount, all, setFlip, flip);
    t.sliceMove = moveTable<std::uint16_t>(kSliceCount, all, setSlice, slice);
    t.cornerMove = moveTable<std::uint16_t>(kPermutation8, kPhase2Moves, setCornerPermutation,
                                            cornerPermutation);
    t.udEdgeMove = moveTable<std::uint16_t>(kPermutation8, kPhase2Moves, setUdEdgePermutation,
                                            udEdgePermutation);
    t.slicePermMove = moveTable<std::uint8_t>(kSlicePermCount, kPhase2Moves, setSlicePermutation,
                                              slicePermutation);

    // The distance tables are independent of one another: they are shared out among the
    // threads, the largest first.
    const std::array<std::function<void()>, 5> builds = {
        [&t] {
            t.twistFlipDepth =
                depthTable(kTwistCount, t.twistMove, kFlipCount, t.flipMove, kMoveCount);
        },
        [&t] {
            t.twistSliceDepth =
                depthTable(kTwistCount, t.twistMove, kSliceCount, t.sliceMove, kMoveCount);
        },
        [&t] {
            t.flipSliceDepth =
                depthTable(kFlipCount, t.flipMove, kSliceCount, t.sliceMove, kMoveCount);
        },
        [&t] {
            t.cornerSliceDepth = depthTable(kPermutation8, t.cornerMove, kSlicePermCount,
                                            t.slicePermMove, kPhase2Moves.size());
        },
        [&t] {
            t.udEdgeSliceDepth = depthTable(kPermutation8, t.udEdgeMove, kSlicePermCount,
                                            t.slicePermMove, kPhase2Moves.size());
        },
    };
    std::atomic<std::size_t> next{0};
    runOnThreads(std::min(everyCore(), static_cast<unsigned>(builds.size())), [&](unsigned) {
        for (std::size_t i = next++; i < builds.size(); i = next++) {
            builds[i]();
        }
    });

    return t;
}

} // namespace

DepthTable::DepthTable(const std::vector<std::uint8_t>& depths) {
    resize(depths.size());
    for (std::size_t i = 0; i < depths.size(); ++i) {
        set(i, depths[i]);
    }
}

std::size_t Tables::bytes() const {
    return (twistMove.size() + flipMove.size() + sliceMove.size() + cornerMove.size() +
            udEdgeMove.size()) *
               sizeof(std::uint16_t) +
           slicePermMove.size() + twistSliceDepth.bytes() + flipSliceDepth.bytes() +
           twistFlipDepth.bytes() + cornerSliceDepth.bytes() + udEdgeSliceDepth.bytes();
}

const Tables& tables() {
    static const Tables kTables = build();
    return kTables;
}

} // namespace cw::two_phase
