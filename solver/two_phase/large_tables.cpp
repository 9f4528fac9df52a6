// Builds the short solver's large tables: move tables by playing each move on cubes set to
// every coordinate value, symmetry classes by conjugating each new representative by all 16
// symmetries, and the pruning tables by a breadth-first search over classes that runs on
// every core. Also keeps them on disk (see prepareLargeTables()).
#include "solver/two_phase/large_tables.h"
#include "solver/core/move_table.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <iostream>
#include <mutex>
#include <stdexcept>

#include "solver/core/shared_depths.h"
#include "solver/core/symmetry.h"
#include "solver/core/threads.h"
#include "solver/two_phase/tables.h"

namespace cw::two_phase {

using namespace core;

namespace {

// Sorts `count` raw coordinate values into symmetry classes. The first value of each class
// met in counting order is its representative; every value records its class and the
// symmetry that carries it onto the representative, as class * 16 + symmetry. Returns, for
// each class, the symmetries that leave its representative unchanged as a bit mask.
template <typename ClassSyms, typename Reps>
std::vector<std::uint16_t> classify(int count, const auto& cubeOf, const auto& valueOf,
                                    ClassSyms& classSymOf, Reps& reps) {
    using ClassSym = typename ClassSyms::value_type;
    using Rep = typename Reps::value_type;
    constexpr auto kNoClass = static_cast<ClassSym>(~ClassSym{0});
    classSymOf.assign(static_cast<std::size_t>(count), kNoClass);
    reps.clear();
    std::vector<std::uint16_t> stabilizers;
    for (int value = 0; value < count; ++value) {
        if (classSymOf[static_cast<std::size_t>(value)] != kNoClass) {
            continue;
        }
        const std::size_t id = reps.size();
        const CubieCube cube = cubeOf(value);
        std::uint16_t fixing = 0;
        for (int s = 0; s < kUdSymmetryCount; ++s) {
            const auto image = static_cast<std::size_t>(valueOf(conjugate(cube, s)));
            if (classSymOf[image] == kNoClass) {
                classSymOf[image] = static_cast<ClassSym>(
                    id * kUdSymmetryCount + static_cast<std::size_t>(inverseSymmetry(s)));
            }
            if (image == static_cast<std::size_t>(value)) {
                fixing = static_cast<std::uint16_t>(fixing | 1U << s);
            }
        }
        reps.push_back(static_cast<Rep>(value));
        stabilizers.push_back(fixing);
    }
    return stabilizers;
}

// coordinate value * 16 + symmetry -> the coordinate of the conjugated cube.
std::vector<std::uint16_t> conjugationTable(int count, const auto& cubeOf, const auto& valueOf) {
    std::vector<std::uint16_t> table(static_cast<std::size_t>(count) * kUdSymmetryCount);
    for (int value = 0; value < count; ++value) {
        const CubieCube cube = cubeOf(value);
        for (int s = 0; s < kUdSymmetryCount; ++s) {
            table[static_cast<std::size_t>(value * kUdSymmetryCount + s)] =
                static_cast<std::uint16_t>(valueOf(conjugate(cube, s)));
        }
    }
    return table;
}

// Writes " 10%", " 20%" ... to the progress stream as the pruning tables fill.
class Progress {
public:
    Progress(std::ostream& out, std::size_t total) : out_(out), total_(total) {}

    void add(std::size_t filled) {
        const std::size_t now = filled_.fetch_add(filled) + filled;
        const auto percent = static_cast<int>(now * 100 / total_) / 10 * 10;
        const std::lock_guard lock(mutex_);
        while (shown_ < percent) {
            shown_ += 10;
            out_ << ' ' << shown_ << '%' << std::flush;
        }
    }

private:
    std::ostream& out_;
    std::size_t total_;
    std::atomic<std::size_t> filled_{0};
    std::mutex mutex_;
    int shown_ = 0;
};

// One breadth-first search over a pruning table indexed [class * rawCount + raw], where a
// class is a symmetry class of one coordinate and raw the other coordinate, conjugated by
// the symmetry that carries the first onto its class representative. The steps are the
// caller's lambdas, called inline for every entry.
template <typename Neighbour, typename Step, typename Conjugated>
struct ClassSearch {
    SharedDepths& depths;
    int classCount;
    int rawCount;
    int moveCount;
    // The symmetries that leave each representative unchanged.
    const std::vector<std::uint16_t>& stabilizers;
    // The class and symmetry of the first coordinate after move k from a representative.
    // (int cls, int k) -> std::pair<int, int>
    Neighbour neighbour;
    // The raw coordinate after move k, conjugated by symmetry s: (int raw, int k, int s) -> int.
    Step step;
    // The raw coordinate conjugated by symmetry s: (int raw, int s) -> int.
    Conjugated conjugated;

    std::size_t at(int cls, int raw) const {
        return static_cast<std::size_t>(cls) * static_cast<std::size_t>(rawCount) +
               static_cast<std::size_t>(raw);
    }

    // From each entry at `depth` in the class, marks the unknown neighbours (and their images
    // under the neighbour representative's own symmetries, which are the same cube seen
    // differently) one deeper.
    std::size_t expand(int cls, int depth, std::vector<int>& raws) {
        raws.clear();
        for (int raw = 0; raw < rawCount; ++raw) {
            if (depths.load(at(cls, raw)) == depth) {
                raws.push_back(raw);
            }
        }
        std::size_t stored = 0;
        for (int k = 0; k < moveCount && !raws.empty(); ++k) {
            const auto [next, sym] = neighbour(cls, k);
            const std::uint16_t fixing = stabilizers[static_cast<std::size_t>(next)];
            for (const int raw : raws) {
                const int image = step(raw, k, sym);
                stored += depths.storeIfUnknown(at(next, image), depth + 1) ? 1U : 0U;
                for (int s = 1; s < kUdSymmetryCount; ++s) {
                    if ((fixing >> s & 1U) != 0) {
                        stored += depths.storeIfUnknown(at(next, conjugated(image, s)), depth + 1)
                                      ? 1U
                                      : 0U;
                    }
                }
            }
        }
        return stored;
    }

    // Marks each unknown entry of the class that has a neighbour at `depth` one deeper. The
    // neighbours of one class under one move lie in one block of the table, so the loop runs
    // move by move over the entries still unknown.
    std::size_t gather(int cls, int depth, std::vector<int>& pending) {
        pending.clear();
        for (int raw = 0; raw < rawCount; ++raw) {
            if (depths.load(at(cls, raw)) == SharedDepths::kUnknown) {
                pending.push_back(raw);
            }
        }
        std::size_t stored = 0;
        for (int k = 0; k < moveCount && !pending.empty(); ++k) {
            const auto [next, sym] = neighbour(cls, k);
            for (std::size_t i = 0; i < pending.size();) {
                if (depths.load(at(next, step(pending[i], k, sym))) == depth) {
                    stored += depths.storeIfUnknown(at(cls, pending[i]), depth + 1) ? 1U : 0U;
                    pending[i] = pending.back();
                    pending.pop_back();
                } else {
                    ++i;
                }
            }
        }
        return stored;
    }

    void run(unsigned threads, Progress& progress) {
        const std::size_t total = depths.size();
        depths.storeIfUnknown(0, 0);
        progress.add(1);
        std::size_t known = 1;
        std::size_t atDepth = 1;
        const int chunk = std::max(1, 65536 / rawCount);
        for (int depth = 0; atDepth > 0 && known < total && depth + 1 < SharedDepths::kUnknown;
             ++depth) {
            // Spreading out from few entries is cheap; once most of the table is reached,
            // asking each unknown entry about its neighbours is cheaper.
            const bool forward = atDepth < total - known;
            std::atomic<int> nextClass{0};
            std::atomic<std::size_t> stored{0};
            runOnThreads(SharedDepths::usableThreads(threads), [&](unsigned) {
                std::vector<int> buffer;
                buffer.reserve(static_cast<std::size_t>(rawCount));
                for (int first = nextClass.fetch_add(chunk); first < classCount;
                     first = nextClass.fetch_add(chunk)) {
                    std::size_t count = 0;
                    for (int cls = first; cls < std::min(first + chunk, classCount); ++cls) {
                        count += forward ? expand(cls, depth, buffer) : gather(cls, depth, buffer);
                    }
                    stored += count;
                    progress.add(count);
                }
            });
            atDepth = stored;
            known += atDepth;
        }
        // What is left lies 15 moves or more away, as the table keeps it already.
        progress.add(total - known);
    }
};

// Spelled out for compilers that deduce no template arguments from an aggregate's fields
// (the WebAssembly toolchain's).
template <typename Neighbour, typename Step, typename Conjugated>
ClassSearch(SharedDepths&, int, int, int, const std::vector<std::uint16_t>&, Neighbour, Step,
            Conjugated) -> ClassSearch<Neighbour, Step, Conjugated>;

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

CubieCube cubeWithTwist(int value) {
    CubieCube cube;
    setTwist(cube, value);
    return cube;
}

CubieCube cubeWithCorners(int value) {
    CubieCube cube;
    setCornerPermutation(cube, value);
    return cube;
}

CubieCube cubeWithUdEdges(int value) {
    CubieCube cube;
    setUdEdgePermutation(cube, value);
    return cube;
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
    buildMoveTables(t);

    const std::vector<std::uint16_t> flipSliceFixing = classify(
        kFlipSliceCount, cubeWithFlipSlice, flipSliceOf, t.flipSliceClassSym, t.flipSliceRep);
    const std::vector<std::uint16_t> cornerFixing =
        classify(kPermutation8, cubeWithCorners, cornerPermutation, t.cornerClassSym, t.cornerRep);
    if (t.flipSliceRep.size() != kFlipSliceClassCount || t.cornerRep.size() != kCornerClassCount) {
        throw std::logic_error("the symmetry classes do not come out as counted");
    }
    fillInPlace(t.twistConj, conjugationTable(kTwistCount, cubeWithTwist, twist));
    buildFlipSliceClassMoves(t);
    fillInPlace(t.udEdgeConj, conjugationTable(kPermutation8, cubeWithUdEdges, udEdgePermutation));
    buildCornerSliceDepth(t);

    Progress shown(progress, kPhase1Entries + kPhase2Entries);
    // The pruning tables are filled where they are, two depths to a byte, with nothing else
    // the size of a table beside them.
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
        phase1.run(threads, shown);
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
    phase2.run(threads, shown);
}

} // namespace cw::two_phase
