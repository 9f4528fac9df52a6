// The lower bounds of the optimal search: how many face turns at least it takes to bring a
// cube's corner twists, edge flips and middle-slice edges home (and, for the huge table, every
// edge into its own slice). Used by the search, by cubewright-solve --optimal (which keeps the
// medium, large and huge tables on disk) and by the tests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "solver/core/cubie.h"
#include "solver/core/large_pages.h"
#include "solver/optimal/table_size.h"

namespace cw::optimal {

/// The twist, flip and middle-slice coordinates of one cube, kept up to date move by move
/// through the tables below. `sliceEdges` says where the four middle-slice edges are and in
/// which order (core::edgeSet(cube, core::kSliceEdges)), so that sliceEdges / 24 is the
/// slice coordinate. `frontBackEdges` says which four slots hold the edges UF, UB, DF and DB,
/// in any order: with the middle-slice edges' places it tells which of the three slices
/// between opposite faces each edge is in. All four are 0 on the solved cube.
struct PhaseOneCoordinates {
    std::uint16_t twist = 0;
    std::uint16_t flip = 0;
    std::uint16_t sliceEdges = 0;
    std::uint16_t frontBackEdges = 0;

    bool operator==(const PhaseOneCoordinates& other) const = default;
};

/// The orders of the four middle-slice edges in each of their places.
inline constexpr int kSliceOrders = core::kSlicePermCount;

/// The places of the edges UF, UB, DF and DB among the twelve slots.
inline constexpr int kFrontBackPlaces = 495;

/// The ways to share the twelve edges out between the three slices, four each
/// (12! / (4! 4! 4!)): the middle slice's places, then the front-back edges' among the eight
/// slots left.
inline constexpr int kEdgeLayerCount = 34650;

/// The edges' slices as one number below kEdgeLayerCount, 0 on the solved cube, from the
/// middle-slice edges' places (sliceEdges / 24) and frontBackEdges.
int edgeLayers(const PhaseOneCoordinates& at);

/// frontBackEdges of a cube whose edges UF, UB, DF and DB are in the slots of `slots` (bit i
/// for slot i, in CubieCube's order).
int frontBackEdgesIn(unsigned slots);

PhaseOneCoordinates phaseOneCoordinates(const CubieCube& cube);

/// The coordinates after each of the 18 moves, indexed [value * 18 + move].
struct MoveTables {
    std::vector<std::uint16_t> twist;
    std::vector<std::uint16_t> flip;
    std::vector<std::uint16_t> sliceEdges;
    std::vector<std::uint16_t> frontBackEdges;

    PhaseOneCoordinates after(const PhaseOneCoordinates& from, int move) const {
        const auto m = static_cast<std::size_t>(move);
        return {twist[from.twist * std::size_t{core::kMoveCount} + m],
                flip[from.flip * std::size_t{core::kMoveCount} + m],
                sliceEdges[from.sliceEdges * std::size_t{core::kMoveCount} + m],
                frontBackEdges[from.frontBackEdges * std::size_t{core::kMoveCount} + m]};
    }
};

/// Built on the first call (thread-safe), then only read.
const MoveTables& moveTables();

/// The fewest face turns that bring twist, flip and some of the edges' places home, for every
/// cube up to the 16 up-down symmetries: one entry per class of the flip and edge coordinates
/// together and twist, four bits each. The search looks each cube up along three axes. What
/// of the edges' places counts:
/// - medium: the middle-slice edges' places, in any order (64,430 classes, 140,908,410
///   entries, 67 MB, distances up to 12);
/// - large: their places and their order (1,523,864 classes, 3,332,690,568 entries, 1.6 GB,
///   distances up to 14), which bounds far tighter;
/// - huge: which slice every edge is in, in any order (4,443,560 classes, 9,718,065,720
///   entries, 4.5 GB, distances up to 14), tighter again: the edges of the up and down faces
///   count as home only in their own slices, front-back or left-right.
/// Building any of them from scratch takes a while, so cubewright-solve keeps them on disk.
template <TableSize kSize>
class SymmetricPatternTable {
public:
    static_assert(kSize != TableSize::small);
    static constexpr TableSize kTableSize = kSize;
    static constexpr int kSliceValues = kSize == TableSize::medium  ? core::kSliceCount
                                        : kSize == TableSize::large ? core::kEdgeSetCount
                                                                    : kEdgeLayerCount;
    static constexpr std::uint32_t kFlipSliceCount = std::uint32_t{kSliceValues} * core::kFlipCount;
    static constexpr std::uint32_t kClassCount = kSize == TableSize::medium  ? 64430
                                                 : kSize == TableSize::large ? 1523864
                                                                             : 4443560;
    static constexpr std::uint64_t kEntries = std::uint64_t{kClassCount} * core::kTwistCount;
    /// The deepest distance the build fills in. Past 14 the four bits run out; what is left
    /// then reads 15, which is still a lower bound.
    static constexpr int kDeepest = kSize == TableSize::medium ? 12 : 14;
    /// Whether a turn of either face on the axis a lookup goes along leaves the solved cube
    /// at home along that axis. A turn of the up or down face twists no corner, flips no edge
    /// and moves no middle-slice edge seen along the up-down axis, but it carries edges
    /// between the front-back and the left-right slice, which the huge table tells apart.
    static constexpr bool kOwnAxisTurnsStayHome = kSize != TableSize::huge;
    static constexpr std::uint64_t kBytes = (kEntries + 7) / 8 * 4;
    /// Roughly what the table and its class lists take in memory.
    static constexpr std::uint64_t kMemoryBytes = kBytes + std::uint64_t{kClassCount} * 6;
    /// Whether this build can address the table at all: a 32-bit one (WebAssembly) cannot
    /// hold the huge one.
    static constexpr bool kAddressable = kBytes <= std::numeric_limits<std::size_t>::max();

    /// A table with nothing in it yet (not even zeros, so that a table read from a file is
    /// written once): build() it or fill bytes() from a file. Throws std::length_error
    /// where the table is not kAddressable.
    SymmetricPatternTable();

    /// Fills the table by breadth-first search from the solved cube on `jobs` threads,
    /// calling `progress` now and then (on the calling thread) with the entries filled so
    /// far, last with kEntries. With `deepest` below kDeepest it stops after that distance
    /// and the entries left read deepest + 1, which is still a lower bound: the tests use
    /// this to keep it quick.
    void build(unsigned jobs, int deepest = kDeepest,
               const std::function<void(std::uint64_t filled)>& progress = {});

    /// Works out the flip-slice classes that lookups go through, unless done already in this
    /// process (thread-safe; build() and the first lookup do it too). Loading does it while
    /// the file is read.
    static void prepareClasses();

    /// The table's storage, for reading it from and writing it to a file.
    std::span<std::uint8_t> bytes();
    std::span<const std::uint8_t> bytes() const;

    /// The bound for these coordinates.
    int depth(const PhaseOneCoordinates& at) const { return depthAt(indexOf(at)); }

    /// The entry of these coordinates: the class of their flip and slice values together,
    /// numbered in the order of the classes' smallest values, times 2187, plus the twist as
    /// a symmetry that carries the flip-slice value onto that smallest value leaves it. The
    /// table files depend on this numbering.
    static std::uint64_t indexOf(const PhaseOneCoordinates& at);

    /// indexOf() for each of `at` into `index`, a step at a time for up to kMoveCount of
    /// them: each step's loads from the class tables, which are larger than the processor's
    /// nearest caches, are then independent of one another and overlap.
    static void indicesOf(std::span<const PhaseOneCoordinates> at, std::uint64_t* index);
    int depthAt(std::uint64_t index) const {
        return static_cast<int>(
            (words_.get()[static_cast<std::size_t>(index >> 3)] >> ((index & 7) * 4)) & 15);
    }
    /// Starts bringing the entry at `index` into the caches, for a depthAt() to come.
    void prefetch(std::uint64_t index) const {
        __builtin_prefetch(words_.get() + static_cast<std::size_t>(index >> 3));
    }

private:
    static constexpr std::size_t kWords = kAddressable ? static_cast<std::size_t>(kBytes / 4) : 0;
    struct FreeWords {
        void operator()(std::uint32_t* words) const {
            LargePageAllocator<std::uint32_t>().deallocate(words, kWords);
        }
    };
    std::unique_ptr<std::uint32_t, FreeWords> words_;
};

using MediumPatternTable = SymmetricPatternTable<TableSize::medium>;
using LargePatternTable = SymmetricPatternTable<TableSize::large>;
using HugePatternTable = SymmetricPatternTable<TableSize::huge>;
extern template class SymmetricPatternTable<TableSize::medium>;
extern template class SymmetricPatternTable<TableSize::large>;
extern template class SymmetricPatternTable<TableSize::huge>;

/// Bounds asked for and not read yet: what askTogether() leaves for readAsked().
template <std::size_t N>
struct AskedDepths {
    std::size_t count = 0;
    int remaining = -1;
    /// The entries' places in the table.
    std::array<std::uint64_t, N> index{};
    /// For a table that looks further in a second round (see PackedPatternTable): the
    /// coordinates, those that go on to it and where, and the bounds read so far.
    std::array<PhaseOneCoordinates, N> at{};
    std::array<std::uint8_t, N> further{};
    std::size_t furtherCount = 0;
    std::array<std::uint64_t, N> furtherIndex{};
    bool secondRound = false;
    /// For a table that has no entries to ask for, the bounds themselves.
    std::array<int, N> depth{};
};

/// A SymmetricPatternTable's bounds kept to three values an entry, five entries to a byte: "at
/// most cut - 1", cut, or "cut + 1 or more" (cut 11 by default). Where it says only "at most
/// cut - 1", the medium table beside it gives the bound. On the huge table's coordinate that
/// takes 1.9 GB where the huge table takes 4.5, and gives up little of its bound: 80 % of the
/// huge table's entries are 11 or 12 and only 0.002 % more, and a search turns on telling
/// them apart, as most of its lookups have 9 to 11 moves left. Built by a breadth-first search
/// that keeps two bits an entry and packs them in place: 2.4 GB while it builds.
/// Its bound is not exact where the medium table stands in, so it never adds the one more
/// that three agreeing axes allow.
template <TableSize kSize>
class PackedPatternTable {
public:
    using Full = SymmetricPatternTable<kSize>;
    static constexpr TableSize kTableSize = kSize == TableSize::huge ? TableSize::packed : kSize;
    static constexpr bool kOwnAxisTurnsStayHome = false;
    static constexpr int kCut = 11;
    static constexpr std::uint64_t kEntries = Full::kEntries;
    static constexpr std::uint64_t kBytes = (kEntries + 4) / 5;
    /// What the build takes: two bits an entry.
    static constexpr std::uint64_t kBuildBytes = (kEntries + 3) / 4;
    /// Roughly what the build takes with the class lists and the medium table beside it.
    static constexpr std::uint64_t kMemoryBytes =
        kBuildBytes + std::uint64_t{Full::kClassCount} * 6 + MediumPatternTable::kMemoryBytes;
    /// As for the full table: a 32-bit build holds neither.
    static constexpr bool kAddressable =
        Full::kAddressable && kBuildBytes <= std::numeric_limits<std::size_t>::max();

    /// A table with nothing in it yet: build() it or fill bytes() from a file, and give it
    /// the medium table to read with lookBelowIn(). Throws std::length_error where the table
    /// is not kAddressable.
    PackedPatternTable();

    /// Fills the table by breadth-first search on `jobs` threads up to `cut`, which must be
    /// below the deepest distance of the coordinate, calling `progress` as
    /// SymmetricPatternTable::build() does. The tests use a small cut to keep it quick.
    void build(unsigned jobs, int cut = kCut,
               const std::function<void(std::uint64_t filled)>& progress = {});

    static void prepareClasses() { Full::prepareClasses(); }

    /// The table that gives the bounds below the cut; it must outlive this one. Until it is
    /// given, those bounds read 0, which holds but prunes nothing.
    void lookBelowIn(const MediumPatternTable& below) { below_ = &below; }
    const MediumPatternTable* below() const { return below_; }

    int cut() const { return cut_; }

    std::span<std::uint8_t> bytes();
    std::span<const std::uint8_t> bytes() const;

    /// The bound for these coordinates (the medium table's below the cut).
    int depth(const PhaseOneCoordinates& at) const;

    static std::uint64_t indexOf(const PhaseOneCoordinates& at) { return Full::indexOf(at); }

    /// The bounds of `count` positions, `at(i)` the coordinates of each, asked for together
    /// and read later with readAsked() (see askTogether()). A caller that keeps the positions
    /// whose bound is at most `remaining` needs no more than "at most cut - 1" where
    /// `remaining` is cut - 1 or more: those read cut - 1 without the look into the medium
    /// table. Such a value is not a bound, only at least the bound.
    template <typename At, std::size_t N>
    void askTogether(std::size_t count, const At& at, AskedDepths<N>& asked) const;
    template <std::size_t N>
    bool readAsked(AskedDepths<N>& asked, std::array<int, N>& depths) const;

private:
    // 0 for "at most cut - 1", 1 for cut, 2 for more.
    int levelAt(std::uint64_t index) const;

    struct FreeBytes {
        void operator()(std::uint8_t* bytes) const {
            LargePageAllocator<std::uint8_t>().deallocate(bytes,
                                                          static_cast<std::size_t>(kBuildBytes));
        }
    };
    std::unique_ptr<std::uint8_t, FreeBytes> bytes_;
    const MediumPatternTable* below_ = nullptr;
    int cut_ = kCut;
};

using PackedHugePatternTable = PackedPatternTable<TableSize::huge>;
extern template class PackedPatternTable<TableSize::medium>;
extern template class PackedPatternTable<TableSize::huge>;

/// A small stand-in with the same interface: the larger of two plain tables over twist and
/// slice and over flip and slice (2 MB, built in well under a second). A weaker bound, so
/// the search is slower; the tests run the search on it.
class SmallPatternTable {
public:
    static constexpr bool kOwnAxisTurnsStayHome = true;

    SmallPatternTable();
    int depth(const PhaseOneCoordinates& at) const;

private:
    std::vector<std::uint8_t> twistSlice_;
    std::vector<std::uint8_t> flipSlice_;
};

/// The bounds of `count` positions, `at(i)` the coordinates of each, asked for together: a
/// table that splits a lookup into finding the entry and reading it has every entry found and
/// on its way into the caches before readAsked() reads any, so that the misses in a table of
/// gigabytes overlap rather than wait for one another. A caller with other work to do in
/// between (the search has other positions) hides the wait behind it.
///
/// `remaining` is for a caller that keeps only the positions whose bound is at most that
/// many: a table may then read a bound it would have to look further for as some value no
/// more than `remaining` (see PackedPatternTable). Left out, every bound is exact.
template <typename Table, typename At, std::size_t N>
void askTogether(const Table& table, std::size_t count, const At& at, AskedDepths<N>& asked,
                 int remaining = -1) {
    asked.count = count;
    asked.remaining = remaining;
    if constexpr (requires { table.askTogether(count, at, asked); }) {
        table.askTogether(count, at, asked);
    } else if constexpr (requires(const PhaseOneCoordinates& c) { table.indexOf(c); }) {
        std::array<PhaseOneCoordinates, N> coordinates{};
        for (std::size_t i = 0; i < count; ++i) {
            coordinates[i] = at(i);
        }
        table.indicesOf(std::span(coordinates).first(count), asked.index.data());
        for (std::size_t i = 0; i < count; ++i) {
            table.prefetch(asked.index[i]);
        }
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            asked.depth[i] = table.depth(at(i));
        }
    }
}

/// The bounds askTogether() asked for, in its order, into `depths`: true when they are
/// there. False when the table has asked for more entries, to be read in another call: a
/// table that stands another in below some depth asks that one only about the positions
/// that need it.
template <typename Table, std::size_t N>
bool readAsked(const Table& table, AskedDepths<N>& asked, std::array<int, N>& depths) {
    if constexpr (requires { table.readAsked(asked, depths); }) {
        return table.readAsked(asked, depths);
    } else if constexpr (requires(const PhaseOneCoordinates& c) { table.indexOf(c); }) {
        for (std::size_t i = 0; i < asked.count; ++i) {
            depths[i] = table.depthAt(asked.index[i]);
        }
    } else {
        for (std::size_t i = 0; i < asked.count; ++i) {
            depths[i] = asked.depth[i];
        }
    }
    return true;
}

/// Whether a bound that readAsked() read for a caller keeping `remaining` moves is the
/// table's own bound, which holds for the position at any number of moves left, rather than
/// a value that only says the bound is at most `remaining`.
template <typename Table>
bool readExactly(const Table& table, int depth, int remaining) {
    if constexpr (requires { table.cut(); }) {
        return remaining < table.cut() - 1 || depth != table.cut() - 1;
    } else {
        return true;
    }
}

namespace packed_detail {
/// The value of digit i (0 to 4) of each byte read in base 3: [byte * 5 + i]. Five values
/// make at most 242; a byte past that, which no build writes, reads 0 throughout, which
/// sends every lookup of it to the table below, whose bounds always hold.
extern const std::array<std::uint8_t, 256 * 5> kDigits;
} // namespace packed_detail

template <TableSize kSize>
int PackedPatternTable<kSize>::levelAt(std::uint64_t index) const {
    const std::uint8_t byte = bytes_.get()[static_cast<std::size_t>(index / 5)];
    return packed_detail::kDigits[std::size_t{byte} * 5 + static_cast<std::size_t>(index % 5)];
}

template <TableSize kSize>
int PackedPatternTable<kSize>::depth(const PhaseOneCoordinates& at) const {
    const int level = levelAt(indexOf(at));
    if (level != 0) {
        return cut_ - 1 + level;
    }
    return below_ != nullptr ? below_->depth(at) : 0;
}

template <TableSize kSize>
template <typename At, std::size_t N>
void PackedPatternTable<kSize>::askTogether(std::size_t count, const At& at,
                                            AskedDepths<N>& asked) const {
    for (std::size_t i = 0; i < count; ++i) {
        asked.at[i] = at(i);
    }
    Full::indicesOf(std::span<const PhaseOneCoordinates>(asked.at).first(count),
                    asked.index.data());
    for (std::size_t i = 0; i < count; ++i) {
        __builtin_prefetch(bytes_.get() + static_cast<std::size_t>(asked.index[i] / 5));
    }
    asked.secondRound = false;
}

template <TableSize kSize>
template <std::size_t N>
bool PackedPatternTable<kSize>::readAsked(AskedDepths<N>& asked, std::array<int, N>& depths) const {
    if (asked.secondRound) {
        for (std::size_t j = 0; j < asked.furtherCount; ++j) {
            depths[asked.further[j]] = below_->depthAt(asked.furtherIndex[j]);
        }
        return true;
    }
    // Below the cut the medium table's bound may decide; it is asked only about the entries
    // that read "at most cut - 1", as the others are settled, and most of a search's
    // lookups rule their position out at or past the cut.
    const bool lookBelow = asked.remaining < cut_ - 1 && below_ != nullptr;
    std::array<PhaseOneCoordinates, N> further{};
    asked.furtherCount = 0;
    for (std::size_t i = 0; i < asked.count; ++i) {
        const int level = levelAt(asked.index[i]);
        if (level != 0 || asked.remaining >= cut_ - 1) {
            depths[i] = cut_ - 1 + level;
        } else if (!lookBelow) {
            depths[i] = 0;
        } else {
            further[asked.furtherCount] = asked.at[i];
            asked.further[asked.furtherCount++] = static_cast<std::uint8_t>(i);
        }
    }
    if (asked.furtherCount == 0) {
        return true;
    }
    MediumPatternTable::indicesOf(
        std::span<const PhaseOneCoordinates>(further).first(asked.furtherCount),
        asked.furtherIndex.data());
    for (std::size_t j = 0; j < asked.furtherCount; ++j) {
        below_->prefetch(asked.furtherIndex[j]);
    }
    asked.secondRound = true;
    return false;
}

} // namespace cw::optimal
