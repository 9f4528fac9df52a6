// Builds the optimal search's pattern tables: the classes of the flip-slice coordinate under
// the up-down symmetries, then a breadth-first search over classes and twists, forwards from
// the solved cube while few entries are known and backwards from the unknown ones after.
#include "solver/optimal/pattern_table.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <stdexcept>

#include "solver/core/move_table.h"
#include "solver/core/symmetry.h"
#include "solver/core/threads.h"

namespace cw::optimal {
namespace {

using core::conjugate;
using core::inverseSymmetry;
using core::kFlipCount;
using core::kMoveCount;
using core::kSliceCount;
using core::kTwistCount;
using core::kUdSymmetryCount;
using core::runOnThreads;

constexpr std::size_t kMoves = kMoveCount;

// The slice coordinate a table keeps: the slice edges' places, and their order too when
// `kSliceOrder`.
template <bool kSliceOrder>
int sliceValue(int sorted) {
    return kSliceOrder ? sorted : sorted / kSliceOrders;
}

template <bool kSliceOrder>
CubieCube flipSliceCube(std::uint32_t flipSlice) {
    CubieCube cube;
    const auto slice = static_cast<int>(flipSlice / kFlipCount);
    core::setEdgeSet(cube, core::kSliceEdges, kSliceOrder ? slice : slice * kSliceOrders);
    core::setFlip(cube, static_cast<int>(flipSlice % kFlipCount));
    return cube;
}

template <bool kSliceOrder>
std::uint32_t flipSliceOf(const CubieCube& cube) {
    return static_cast<std::uint32_t>(
        sliceValue<kSliceOrder>(core::edgeSet(cube, core::kSliceEdges)) * kFlipCount +
        core::flip(cube));
}

// Every flip-slice value's class and the symmetry that carries it onto the class's
// representative (its smallest value); the twist each symmetry makes of each twist; and, for
// the few representatives that some symmetries leave alone, which ones.
struct FlipSliceClasses {
    // Class * 16 + symmetry, together so that a lookup reads one place, not two; in large
    // pages, as lookups land anywhere in it.
    LargePageVector<std::uint32_t> classAndSymmetry;
    std::vector<std::uint32_t> representative;
    std::vector<std::uint16_t> stabiliser;     // bit s: symmetry s keeps the representative
    std::vector<std::uint16_t> twistConjugate; // [twist * 16 + symmetry]

    std::uint64_t entry(std::uint32_t flipSlice, std::uint16_t twist) const {
        const std::uint32_t both = classAndSymmetry[flipSlice];
        const std::uint32_t symmetry = both & 15;
        return std::uint64_t{both >> 4} * kTwistCount +
               twistConjugate[std::size_t{twist} * kUdSymmetryCount + symmetry];
    }
};

template <bool kSliceOrder>
const FlipSliceClasses& classes() {
    static const FlipSliceClasses kClasses = [] {
        using Table = SymmetricPatternTable<kSliceOrder>;
        constexpr std::uint32_t kFlipSliceCount = Table::kFlipSliceCount;
        constexpr std::uint32_t kNone = ~std::uint32_t{0};
        FlipSliceClasses c;
        c.classAndSymmetry.assign(kFlipSliceCount, kNone);
        for (std::uint32_t value = 0; value < kFlipSliceCount; ++value) {
            if (c.classAndSymmetry[value] != kNone) {
                continue;
            }
            const auto index = static_cast<std::uint32_t>(c.representative.size());
            c.representative.push_back(value);
            c.stabiliser.push_back(0);
            const CubieCube cube = flipSliceCube<kSliceOrder>(value);
            for (int s = 0; s < kUdSymmetryCount; ++s) {
                const std::uint32_t image = flipSliceOf<kSliceOrder>(conjugate(cube, s));
                if (image == value) {
                    c.stabiliser.back() = static_cast<std::uint16_t>(c.stabiliser.back() | 1u << s);
                }
                if (c.classAndSymmetry[image] == kNone) {
                    c.classAndSymmetry[image] =
                        index << 4 | static_cast<std::uint32_t>(inverseSymmetry(s));
                }
            }
        }
        if (c.representative.size() != Table::kClassCount) {
            throw std::logic_error("the flip-slice coordinate has an unexpected number of classes");
        }
        c.twistConjugate.resize(std::size_t{kTwistCount} * kUdSymmetryCount);
        for (int t = 0; t < kTwistCount; ++t) {
            CubieCube cube;
            core::setTwist(cube, t);
            for (int s = 0; s < kUdSymmetryCount; ++s) {
                c.twistConjugate[static_cast<std::size_t>(t * kUdSymmetryCount + s)] =
                    static_cast<std::uint16_t>(core::twist(conjugate(cube, s)));
            }
        }
        return c;
    }();
    return kClasses;
}

constexpr std::uint32_t kUnknown = 15;

// Runs work(firstWord, endWord) over [0, words) in chunks on `jobs` threads; the calling
// thread is one of them and calls `afterChunk` after each of its own chunks.
template <typename Work>
void inChunks(unsigned jobs, std::size_t words, const Work& work,
              const std::function<void()>& afterChunk) {
    constexpr std::size_t kChunkWords = std::size_t{1} << 14;
    std::atomic<std::size_t> next{0};
    const auto run = [&](bool caller) {
        for (;;) {
            const std::size_t begin = next.fetch_add(kChunkWords);
            if (begin >= words) {
                return;
            }
            work(begin, std::min(words, begin + kChunkWords));
            if (caller && afterChunk) {
                afterChunk();
            }
        }
    };
    runOnThreads(jobs, [&run](unsigned runner) { run(runner == 0); });
}

// Entries are read and written through atomic_ref during the build: threads fill entries
// that share a word with entries other threads read or fill.
#ifdef __cpp_lib_atomic_ref
constexpr bool kSharedBuild = true;

std::uint32_t loadWord(std::uint32_t* words, std::size_t word) {
    return std::atomic_ref<std::uint32_t>(words[word]).load(std::memory_order_relaxed);
}
#else
// Without atomic_ref (the WebAssembly toolchain's library) one thread builds the table.
constexpr bool kSharedBuild = false;

std::uint32_t loadWord(const std::uint32_t* words, std::size_t word) {
    return words[word];
}
#endif

// Sets the entry to `depth` if it is still unknown; true when it did.
bool fill(std::uint32_t* words, std::uint64_t index, std::uint32_t depth) {
    const unsigned shift = static_cast<unsigned>(index & 7) * 4;
#ifdef __cpp_lib_atomic_ref
    std::atomic_ref<std::uint32_t> word(words[index >> 3]);
    std::uint32_t old = word.load(std::memory_order_relaxed);
    while (((old >> shift) & 15) == kUnknown) {
        const std::uint32_t updated = (old & ~(15u << shift)) | depth << shift;
        if (word.compare_exchange_weak(old, updated, std::memory_order_relaxed)) {
            return true;
        }
    }
    return false;
#else
    std::uint32_t& word = words[index >> 3];
    if (((word >> shift) & 15) != kUnknown) {
        return false;
    }
    word = (word & ~(15u << shift)) | depth << shift;
    return true;
#endif
}

} // namespace

PhaseOneCoordinates phaseOneCoordinates(const CubieCube& cube) {
    return {static_cast<std::uint16_t>(core::twist(cube)),
            static_cast<std::uint16_t>(core::flip(cube)),
            static_cast<std::uint16_t>(core::edgeSet(cube, core::kSliceEdges))};
}

const MoveTables& moveTables() {
    static const MoveTables kTables = [] {
        const std::array<int, kMoveCount> all = core::allMoves();
        return MoveTables{
            core::moveTable<std::uint16_t>(kTwistCount, all, core::setTwist, core::twist),
            core::moveTable<std::uint16_t>(kFlipCount, all, core::setFlip, core::flip),
            core::moveTable<std::uint16_t>(
                core::kEdgeSetCount, all,
                [](CubieCube& cube, int value) {
                    core::setEdgeSet(cube, core::kSliceEdges, value);
                },
                [](const CubieCube& cube) { return core::edgeSet(cube, core::kSliceEdges); })};
    }();
    return kTables;
}

template <bool kSliceOrder>
SymmetricPatternTable<kSliceOrder>::SymmetricPatternTable()
    // Left unwritten: a table read from a file is written only once. Lookups land anywhere
    // in it, so it asks for large pages.
    : words_(LargePageAllocator<std::uint32_t>().allocate(kWords)) {}

template <bool kSliceOrder>
std::uint64_t SymmetricPatternTable<kSliceOrder>::indexOf(const PhaseOneCoordinates& at) const {
    return classes<kSliceOrder>().entry(
        static_cast<std::uint32_t>(sliceValue<kSliceOrder>(at.sliceEdges)) * kFlipCount + at.flip,
        at.twist);
}

template <bool kSliceOrder>
void SymmetricPatternTable<kSliceOrder>::prepareClasses() {
    classes<kSliceOrder>();
}

template <bool kSliceOrder>
std::span<std::uint8_t> SymmetricPatternTable<kSliceOrder>::bytes() {
    return {reinterpret_cast<std::uint8_t*>(words_.get()), kBytes};
}

template <bool kSliceOrder>
std::span<const std::uint8_t> SymmetricPatternTable<kSliceOrder>::bytes() const {
    return {reinterpret_cast<const std::uint8_t*>(words_.get()), kBytes};
}

template <bool kSliceOrder>
void SymmetricPatternTable<kSliceOrder>::build(
    unsigned jobs, int deepest, const std::function<void(std::uint64_t filled)>& progress) {
    const FlipSliceClasses& c = classes<kSliceOrder>();
    const MoveTables& moves = moveTables();
    std::uint32_t* const words = words_.get();
    std::fill(words, words + kWords, ~std::uint32_t{0});
    jobs = kSharedBuild ? core::usableThreads(jobs) : 1;

    // The entry one move away from (class, twist).
    const auto neighbour = [&c, &moves](std::uint64_t index, std::size_t m) {
        const std::uint32_t value = c.representative[static_cast<std::size_t>(index / kTwistCount)];
        const auto twist = static_cast<std::size_t>(index % kTwistCount);
        const std::uint32_t flip = moves.flip[value % kFlipCount * kMoves + m];
        const int sorted = kSliceOrder ? static_cast<int>(value / kFlipCount)
                                       : static_cast<int>(value / kFlipCount) * kSliceOrders;
        const auto slice = static_cast<std::uint32_t>(sliceValue<kSliceOrder>(
            moves.sliceEdges[static_cast<std::size_t>(sorted) * kMoves + m]));
        return c.entry(slice * kFlipCount + flip, moves.twist[twist * kMoves + m]);
    };

    std::atomic<std::uint64_t> filled{0};
    // An entry and the entries that its class's self-symmetries make of it stand for the
    // same cubes, so they are filled together.
    const auto fillAll = [words, &c](std::uint64_t index, std::uint32_t depth) {
        std::uint64_t count = fill(words, index, depth) ? 1u : 0u;
        const std::uint64_t cls = index / kTwistCount;
        const std::uint16_t stabiliser = c.stabiliser[static_cast<std::size_t>(cls)];
        if (stabiliser != 1) {
            const auto twist = static_cast<std::size_t>(index % kTwistCount);
            for (std::size_t s = 1; s < kUdSymmetryCount; ++s) {
                if ((stabiliser >> s & 1u) != 0) {
                    const std::uint64_t image =
                        cls * kTwistCount + c.twistConjugate[twist * kUdSymmetryCount + s];
                    count += fill(words, image, depth) ? 1u : 0u;
                }
            }
        }
        return count;
    };
    filled += fillAll(0, 0);

    const std::function<void()> report = [&] {
        if (progress) {
            progress(filled.load());
        }
    };
    std::uint64_t before = 0;
    for (std::uint32_t d = 0; d < static_cast<std::uint32_t>(deepest) && filled < kEntries; ++d) {
        const std::uint64_t atDepth = filled - before;
        before = filled;
        const bool forwards = atDepth < kEntries - filled;
        inChunks(
            jobs, kWords,
            [&](std::size_t first, std::size_t end) {
                std::uint64_t added = 0;
                for (std::size_t w = first; w < end; ++w) {
                    const std::uint32_t word = loadWord(words, w);
                    if (forwards ? word == ~std::uint32_t{0} : (word & 0x88888888u) == 0) {
                        continue; // nothing at depth d, or nothing unknown, in these eight
                    }
                    for (std::uint64_t k = 0; k < 8; ++k) {
                        const std::uint32_t entry = word >> (k * 4) & 15;
                        const std::uint64_t index = w * 8 + k;
                        if (index >= kEntries) {
                            break;
                        }
                        if (forwards && entry == d) {
                            for (std::size_t m = 0; m < kMoves; ++m) {
                                added += fillAll(neighbour(index, m), d + 1);
                            }
                        } else if (!forwards && entry == kUnknown) {
                            for (std::size_t m = 0; m < kMoves; ++m) {
                                const std::uint64_t next = neighbour(index, m);
                                if ((loadWord(words, static_cast<std::size_t>(next >> 3)) >>
                                         ((next & 7) * 4) &
                                     15) == d) {
                                    added += fill(words, index, d + 1) ? 1u : 0u;
                                    break;
                                }
                            }
                        }
                    }
                }
                filled += added;
            },
            report);
        if (filled == before) {
            throw std::logic_error("the pattern table's search stopped short");
        }
    }
    report();

    // What is still unknown lies deeper than the search went.
    const std::uint32_t beyond = static_cast<std::uint32_t>(deepest) + 1;
    if (filled < kEntries && beyond < kUnknown) {
        for (std::uint32_t& word : std::span(words, kWords)) {
            for (unsigned k = 0; k < 8; ++k) {
                if ((word >> (k * 4) & 15) == kUnknown) {
                    word = (word & ~(15u << (k * 4))) | beyond << (k * 4);
                }
            }
        }
    }
}

namespace {

// Breadth-first search over the pairs of a coordinate and the slice coordinate.
std::vector<std::uint8_t> pairDepths(int count, const std::vector<std::uint16_t>& move) {
    std::vector<std::uint16_t> sliceMove(std::size_t{kSliceCount} * kMoves);
    for (std::size_t i = 0; i < sliceMove.size(); ++i) {
        sliceMove[i] = static_cast<std::uint16_t>(
            moveTables().sliceEdges[i / kMoves * kSliceOrders * kMoves + i % kMoves] /
            kSliceOrders);
    }
    return core::pairDistances(count, move, kSliceCount, sliceMove, kMoves);
}

} // namespace

SmallPatternTable::SmallPatternTable()
    : twistSlice_(pairDepths(kTwistCount, moveTables().twist)),
      flipSlice_(pairDepths(kFlipCount, moveTables().flip)) {}

int SmallPatternTable::depth(const PhaseOneCoordinates& at) const {
    const std::size_t slice = at.sliceEdges / kSliceOrders;
    return std::max(twistSlice_[std::size_t{at.twist} * kSliceCount + slice],
                    flipSlice_[std::size_t{at.flip} * kSliceCount + slice]);
}

template class SymmetricPatternTable<false>;
template class SymmetricPatternTable<true>;

} // namespace cw::optimal
