// Builds the short solver's large tables: move tables by playing each move on cubes set to
// every coordinate value, then the symmetry classes and the pruning tables by the search over
// classes in solver/core/class_search.h, which runs on every core. Also keeps them on disk (see
// prepareLargeTables()).
#include "solver/two_phase/large_tables.h"
#include "solver/core/move_table.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <stdexcept>

#include "solver/core/class_search.h"
#include "solver/core/shared_depths.h"
#include "solver/core/symmetry.h"
#include "solver/two_phase/tables.h"

namespace cw::two_phase {

using namespace core;

namespace {

// Writes " 10%", " 20%" ... to the progress stream as the pruning tables fill.
class Progress {
public:
    Progress(std::ostream& out, std::uint64_t total) : out_(out), total_(total) {}

    void reached(std::uint64_t filled) {
        const auto percent = static_cast<int>(filled * 100 / total_) / 10 * 10;
        while (shown_ < percent) {
            shown_ += 10;
            out_ << ' ' << shown_ << '%' << std::flush;
        }
    }

private:
    std::ostream& out_;
    std::uint64_t total_;
    int shown_ = 0;
};

// A plain breadth-first search over corners and middle-layer order in the second phase.
void buildCornerSliceDepth(LargeTables& t) {
    SharedDepths depths(t.cornerSliceDepth.storage(), t.cornerSliceDepth.size());
    const std::size_t total = depths.size();
    depths.storeIfUnknown(0, 0);
    std::size_t known = 1;
    for (int depth = 0; known < total && depth + 1 < SharedDepths::kUnknown; ++depth) {
        for (std::size_t index = 0; index < total; ++index) {
            if (depths.load(index) != depth) {
                continue;
            }
            const std::size_t corners = index / kSlicePermCount;
            const std::size_t order = index % kSlicePermCount;
            for (const int m : kPhase2Moves) {
                const std::size_t next =
                    std::size_t{t.cornerMove[corners * kMoveCount + static_cast<std::size_t>(m)]} *
                        kSlicePermCount +
                    t.sliceEdgesMove[order * kMoveCount + static_cast<std::size_t>(m)];
                known += depths.storeIfUnknown(next, depth + 1) ? 1U : 0U;
            }
        }
    }
}

int flipSliceOf(const CubieCube& cube) {
    return slice(cube) * kFlipCount + flip(cube);
}

CubieCube cubeWithFlipSlice(int value) {
    CubieCube cube;
    setSlice(cube, value / kFlipCount);
    setFlip(cube, value % kFlipCount);
    return cube;
}

void buildMoveTables(LargeTables& t) {
    const std::array<int, kMoveCount> all = allMoves();
    fillInPlace(t.twistMove, moveTable<std::uint16_t>(kTwistCount, all, setTwist, twist));
    fillInPlace(t.flipMove, moveTable<std::uint16_t>(kFlipCount, all, setFlip, flip));
    const auto edgeSetMoves = [&all](int first) {
        return moveTable<std::uint16_t>(
            kEdgeSetCount, all, [first](CubieCube& cube, int v) { setEdgeSet(cube, first, v); },
            [first](const CubieCube& cube) { return edgeSet(cube, first); });
    };
    fillInPlace(t.upEdgesMove, edgeSetMoves(kUpEdges));
    fillInPlace(t.downEdgesMove, edgeSetMoves(kDownEdges));
    fillInPlace(t.sliceEdgesMove, edgeSetMoves(kSliceEdges));
    fillInPlace(t.cornerMove, moveTable<std::uint16_t>(kPermutation8, all, setCornerPermutation,
                                                       cornerPermutation));
    fillInPlace(t.udEdgeMove, moveTable<std::uint16_t>(kPermutation8, kPhase2Moves,
                                                       setUdEdgePermutation, udEdgePermutation));

    t.udEdgesOfHalves.assign(std::size_t{kEdgeSetCount} * kSlicePermCount, 0);
    for (int up = 0; up < kEdgeSetCount; ++up) {
        CubieCube cube;
        setEdgeSet(cube, kUpEdges, up);
        // Only cubes with all eight up-down edges in those layers are asked about.
        bool upInLayers = true;
        for (std::size_t slot = kSliceEdges; slot < kEdgeCount; ++slot) {
            upInLayers = upInLayers && cube.ep[slot] >= kDownEdges;
        }
        if (!upInLayers) {
            continue;
        }
        for (int order = 0; order < kSlicePermCount; ++order) {
            CubieCube orderCube;
            setSlicePermutation(orderCube, order);
            std::size_t next = kSliceEdges;
            for (std::size_t slot = 0; slot < kSliceEdges; ++slot) {
                if (cube.ep[slot] >= kDownEdges) {
                    cube.ep[slot] =
                        static_cast<std::uint8_t>(orderCube.ep[next++] - kSliceEdges + kDownEdges);
                }
            }
            t.udEdgesOfHalves[static_cast<std::size_t>(up * kSlicePermCount + order)] =
                static_cast<std::uint16_t>(udEdgePermutation(cube));
        }
    }
}

void buildFlipSliceClassMoves(LargeTables& t) {
    t.flipSliceClassMove.assign(std::size_t{kFlipSliceClassCount} * kMoveCount, 0);
    for (std::size_t cls = 0; cls < kFlipSliceClassCount; ++cls) {
        const std::uint32_t rep = t.flipSliceRep[cls];
        for (std::size_t m = 0; m < kMoveCount; ++m) {
            const std::size_t flipNext = t.flipMove[rep % kFlipCount * kMoveCount + m];
            const auto sliceNext = static_cast<std::size_t>(
                t.sliceEdgesMove[rep / kFlipCount * kSlicePermCount * kMoveCount + m] /
                kSlicePermCount);
            t.flipSliceClassMove[cls * kMoveCount + m] =
                t.flipSliceClassSym[sliceNext * kFlipCount + flipNext];
        }
    }
}

void buildFlipSliceClassDepth(LargeTables& t) {
    t.flipSliceClassDepth.resize(kFlipSliceClassCount);
    for (std::size_t cls = 0; cls < kFlipSliceClassCount; ++cls) {
        int fewest = 15;
        for (std::size_t twistValue = 0; twistValue < kTwistCount; ++twistValue) {
            fewest = std::min(fewest, t.phase1Depth[cls * kTwistCount + twistValue]);
        }
        t.flipSliceClassDepth.set(cls, fewest);
    }
}

} // namespace

void buildLargeTables(LargeTables& t, unsigned threads, std::ostream& progress) {
    // Sized tables keep their storage (the table file's reader builds into it).
    sizeLargeTables(t);
    buildMoveTables(t);

    const std::vector<std::uint16_t> flipSliceFixing = symmetryClasses(
        kFlipSliceCount, cubeWithFlipSlice, flipSliceOf, t.flipSliceClassSym, t.flipSliceRep);
    const std::vector<std::uint16_t> cornerFixing =
        symmetryClasses(kPermutation8, cubeWith<setCornerPermutation>, cornerPermutation,
                        t.cornerClassSym, t.cornerRep);
    if (t.flipSliceRep.size() != kFlipSliceClassCount || t.cornerRep.size() != kCornerClassCount) {
        throw std::logic_error("the symmetry classes do not come out as counted");
    }
    fillInPlace(t.twistConj, conjugationTable(kTwistCount, cubeWith<setTwist>, twist));
    buildFlipSliceClassMoves(t);
    fillInPlace(t.udEdgeConj,
                conjugationTable(kPermutation8, cubeWith<setUdEdgePermutation>, udEdgePermutation));
    buildCornerSliceDepth(t);

    Progress shown(progress, kPhase1Entries + kPhase2Entries);
    // The pruning tables are filled where they are, two depths to a byte, with nothing else
    // the size of a table beside them, as deep as four bits go: what is left lies 15 moves
    // or more away and reads 15.
    constexpr int kDeepest = SharedDepths::kUnknown - 1;
    {
        SharedDepths phase1Depth(t.phase1Depth.storage(), t.phase1Depth.size());
        ClassSearch phase1{
            phase1Depth,
            kFlipSliceClassCount,
            kTwistCount,
            kMoveCount,
            flipSliceFixing,
            [&t](int cls, int m) {
                const std::uint32_t next =
                    t.flipSliceClassMove[static_cast<std::size_t>(cls) * kMoveCount +
                                         static_cast<std::size_t>(m)];
                return std::pair<int, int>(static_cast<int>(next >> 4),
                                           static_cast<int>(next & 15));
            },
            [&t](int raw, int m, int s) {
                return int{
                    t.twistConj[std::size_t{
                                    t.twistMove[static_cast<std::size_t>(raw * kMoveCount + m)]} *
                                    kUdSymmetryCount +
                                static_cast<std::size_t>(s)]};
            },
            [&t](int raw, int s) {
                return int{t.twistConj[static_cast<std::size_t>(raw * kUdSymmetryCount + s)]};
            }};
        phase1.run(threads, kDeepest, [&shown](std::size_t known) { shown.reached(known); });
    }
    buildFlipSliceClassDepth(t);

    SharedDepths phase2Depth(t.phase2Depth.storage(), t.phase2Depth.size());
    ClassSearch phase2{
        phase2Depth,
        kCornerClassCount,
        kPermutation8,
        kPhase2MoveCount,
        cornerFixing,
        [&t](int cls, int k) {
            const std::size_t rep = t.cornerRep[static_cast<std::size_t>(cls)];
            const std::size_t next =
                t.cornerMove[rep * kMoveCount +
                             static_cast<std::size_t>(kPhase2Moves[static_cast<std::size_t>(k)])];
            return std::pair<int, int>(t.cornerClassSym[next] >> 4, t.cornerClassSym[next] & 15);
        },
        [&t](int raw, int k, int s) {
            return int{t.udEdgeConj[std::size_t{t.udEdgeMove[static_cast<std::size_t>(
                                        raw * kPhase2MoveCount + k)]} *
                                        kUdSymmetryCount +
                                    static_cast<std::size_t>(s)]};
        },
        [&t](int raw, int s) {
            return int{t.udEdgeConj[static_cast<std::size_t>(raw * kUdSymmetryCount + s)]};
        }};
    phase2.run(threads, kDeepest,
               [&shown](std::size_t known) { shown.reached(kPhase1Entries + known); });
}

} // namespace cw::two_phase
