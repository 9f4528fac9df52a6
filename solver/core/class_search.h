// Tables of one entry per symmetry class of one coordinate and value of another: the classes
// of a coordinate under the 16 up-down symmetries, the conjugation of the other coordinate by
// them, and the breadth-first search that fills such a table in packed depths on every core.
// The two-phase search's large pruning tables and the optimal solver's pattern tables are
// built by it.
#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "solver/core/cubie.h"
#include "solver/core/shared_depths.h"
#include "solver/core/symmetry.h"
#include "solver/core/threads.h"

namespace cw::core {

/// A solved cube with one coordinate set by `kSet`, as the functions below take it:
/// cubeWith<setTwist>(value).
template <auto kSet>
CubieCube cubeWith(int value) {
    CubieCube cube;
    kSet(cube, value);
    return cube;
}

/// Sorts the `count` values of a coordinate into symmetry classes; `imagesOf(value, images)`
/// sets images[s] to the value conjugated by each symmetry s. The first value of each class
/// met in counting order, its smallest, is its representative, reps[class]; every value
/// records classSymOf[value] = class * 16 + a symmetry that carries it onto the
/// representative (the inverse of the first symmetry that carries the representative onto
/// it). Returns, for each class, the symmetries that leave its representative unchanged as a
/// bit mask.
template <typename ClassSyms, typename Reps>
std::vector<std::uint16_t> symmetryClassesOfImages(int count, const auto& imagesOf,
                                                   ClassSyms& classSymOf, Reps& reps) {
    using ClassSym = typename ClassSyms::value_type;
    using Rep = typename Reps::value_type;
    constexpr auto kNoClass = static_cast<ClassSym>(~ClassSym{0});
    classSymOf.assign(static_cast<std::size_t>(count), kNoClass);
    reps.clear();
    std::vector<std::uint16_t> stabilizers;
    std::array<std::uint32_t, kUdSymmetryCount> images{};
    for (int value = 0; value < count; ++value) {
        if (classSymOf[static_cast<std::size_t>(value)] != kNoClass) {
            continue;
        }
        const std::size_t id = reps.size();
        imagesOf(value, images);
        std::uint16_t fixing = 0;
        for (int s = 0; s < kUdSymmetryCount; ++s) {
            const std::size_t image = images[static_cast<std::size_t>(s)];
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

/// symmetryClassesOfImages() for a coordinate whose images are read off conjugated cubes:
/// `cubeOf(value)` is a cube with that value and `valueOf(cube)` reads it back.
template <typename ClassSyms, typename Reps>
std::vector<std::uint16_t> symmetryClasses(int count, const auto& cubeOf, const auto& valueOf,
                                           ClassSyms& classSymOf, Reps& reps) {
    const auto imagesOf = [&](int value, std::array<std::uint32_t, kUdSymmetryCount>& images) {
        const CubieCube cube = cubeOf(value);
        for (int s = 0; s < kUdSymmetryCount; ++s) {
            images[static_cast<std::size_t>(s)] =
                static_cast<std::uint32_t>(valueOf(conjugate(cube, s)));
        }
    };
    return symmetryClassesOfImages(count, imagesOf, classSymOf, reps);
}

/// value * 16 + symmetry -> the coordinate of cubeOf(value) conjugated by the symmetry.
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

/// One breadth-first search from the solved cube (entry 0) over a table indexed [class *
/// rawCount + raw], where a class is a symmetry class of one coordinate and raw the other
/// coordinate, conjugated by the symmetry that carries the first onto its class
/// representative. The steps are the caller's lambdas, called inline for every entry. The
/// depths go into SharedDepths, or into SharedLevels where two bits an entry will do.
template <typename Depths, typename Neighbour, typename Step, typename Conjugated>
struct ClassSearch {
    Depths& depths;
    int classCount;
    int rawCount;
    int moveCount;
    /// The symmetries that leave each representative unchanged (symmetryClasses()).
    const std::vector<std::uint16_t>& stabilizers;
    /// The class and symmetry of the first coordinate after move k from a representative:
    /// (int cls, int k) -> std::pair<int, int>.
    Neighbour neighbour;
    /// The raw coordinate after move k, conjugated by symmetry s: (int raw, int k, int s) -> int.
    Step step;
    /// The raw coordinate conjugated by symmetry s: (int raw, int s) -> int.
    Conjugated conjugated;

    /// Fills the depths up to `deepest` (at most 14) on `threads` threads; the entries left
    /// unknown then read deepest + 1, which for 14 is what the packed depths keep for 15 and
    /// more. Calls report(entries known) on the calling thread now and then, last with every
    /// entry. Throws std::logic_error if a depth adds nothing while entries are left, which
    /// only steps that are not a cube's can make happen.
    template <typename Report>
    void run(unsigned threads, int deepest, const Report& report) {
        deepest = std::min(deepest, Depths::kUnknown - 1);
        const std::size_t total = depths.size();
        std::size_t known = storeWithImages(0, 0, stabilizers[0] & ~1U, 0);
        std::size_t atDepth = known;
        report(known);
        const int chunk = std::max(1, 65536 / rawCount);
        for (int depth = 0; depth < deepest && known < total; ++depth) {
            // Spreading out from few entries is cheap; once most of the table is reached,
            // asking each unknown entry about its neighbours is cheaper.
            const bool forward = atDepth < total - known;
            depths.startDepth(depth);
            std::atomic<int> nextClass{0};
            std::atomic<std::size_t> stored{0};
            runOnThreads(Depths::usableThreads(threads), [&](unsigned runner) {
                std::vector<int> buffer;
                buffer.reserve(static_cast<std::size_t>(rawCount));
                for (int first = nextClass.fetch_add(chunk); first < classCount;
                     first = nextClass.fetch_add(chunk)) {
                    std::size_t count = 0;
                    for (int cls = first; cls < std::min(first + chunk, classCount); ++cls) {
                        count += forward ? expand(cls, depth, buffer) : gather(cls, depth, buffer);
                    }
                    const std::size_t now = stored += count;
                    if (runner == 0) {
                        report(known + now);
                    }
                }
            });
            atDepth = stored;
            known += atDepth;
            if (atDepth == 0 && known < total) {
                throw std::logic_error("a breadth-first search over classes stopped short");
            }
        }
        if (known < total && deepest + 1 < Depths::kUnknown) {
            depths.fillUnknown(deepest + 1);
        }
        report(total);
    }

private:
    std::size_t at(int cls, int raw) const {
        return static_cast<std::size_t>(cls) * static_cast<std::size_t>(rawCount) +
               static_cast<std::size_t>(raw);
    }

    // Stores the entry and its images under the other symmetries `others` that leave its
    // class representative unchanged: the same cube seen differently. Returns how many it
    // stored.
    std::size_t storeWithImages(int cls, int raw, unsigned others, int depth) {
        std::size_t stored = depths.storeIfUnknown(at(cls, raw), depth) ? 1U : 0U;
        for (int s = 1; others != 0 && s < kUdSymmetryCount; ++s) {
            if ((others >> s & 1U) != 0) {
                stored += depths.storeIfUnknown(at(cls, conjugated(raw, s)), depth) ? 1U : 0U;
            }
        }
        return stored;
    }

    // The raw values whose entries in the class hold `depth`, in order.
    void rawsHolding(int cls, int depth, std::vector<int>& raws) const {
        raws.clear();
        const std::size_t first = at(cls, 0);
        depths.forEachHolding(
            first, first + static_cast<std::size_t>(rawCount), depth,
            [&raws, first](std::size_t index) { raws.push_back(static_cast<int>(index - first)); });
    }

    // From each entry at `depth` in the class, marks the unknown neighbours one deeper.
    std::size_t expand(int cls, int depth, std::vector<int>& raws) {
        rawsHolding(cls, depth, raws);
        std::size_t stored = 0;
        for (int k = 0; k < moveCount && !raws.empty(); ++k) {
            const auto [next, sym] = neighbour(cls, k);
            const unsigned others = stabilizers[static_cast<std::size_t>(next)] & ~1U;
            for (const int raw : raws) {
                stored += storeWithImages(next, step(raw, k, sym), others, depth + 1);
            }
        }
        return stored;
    }

    // Marks each unknown entry of the class that has a neighbour at `depth` one deeper. The
    // neighbours of one class under one move lie in one block of the table, so the loop runs
    // move by move over the entries still unknown.
    std::size_t gather(int cls, int depth, std::vector<int>& pending) {
        rawsHolding(cls, Depths::kUnknown, pending);
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
};

// Spelled out for compilers that deduce no template arguments from an aggregate's fields
// (the WebAssembly toolchain's).
template <typename Depths, typename Neighbour, typename Step, typename Conjugated>
ClassSearch(Depths&, int, int, int, const std::vector<std::uint16_t>&, Neighbour, Step, Conjugated)
    -> ClassSearch<Depths, Neighbour, Step, Conjugated>;

} // namespace cw::core
