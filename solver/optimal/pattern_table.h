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
    int depthAt(std::uint64_t index) const {
        return static_cast<int>(
            (words_.get()[static_cast<std::size_t>(index >> 3)] >> ((index & 7) * 4)) & 15);
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

/// The bounds of `count` positions, `at(i)` the coordinates of each, looked up together: a
/// table that splits a lookup into finding the entry and reading it has every entry found
/// before any is read, so that the reads' misses in a table of gigabytes overlap rather than
/// wait for one another.
template <typename Table, typename At, std::size_t N>
void depthsTogether(const Table& table, std::size_t count, const At& at,
                    std::array<int, N>& depths) {
    if constexpr (requires(const PhaseOneCoordinates& c) { table.indexOf(c); }) {
        std::array<std::uint64_t, N> index{};
        for (std::size_t i = 0; i < count; ++i) {
            index[i] = table.indexOf(at(i));
        }
        for (std::size_t i = 0; i < count; ++i) {
            depths[i] = table.depthAt(index[i]);
        }
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            depths[i] = table.depth(at(i));
        }
    }
}

} // namespace cw::optimal
