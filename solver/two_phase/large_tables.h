// The short solver's large tables: move tables for every coordinate the search carries, the
// symmetry classes of the first phase's flip-and-slice and of the corner permutation, and
// pruning tables on those classes that give each phase's exact length, or nearly. Built on
// every core the first time they are needed and kept in the user's cache folder. Used by the
// large-table search, the benchmark and their tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <span>
#include <vector>

#include "solver/core/cubie.h"
#include "solver/core/large_pages.h"
#include "solver/core/table_cache.h"
#include "solver/two_phase/tables.h"

namespace cw::two_phase {

using namespace core;

inline constexpr int kFlipSliceCount = kFlipCount * kSliceCount;
/// Symmetry classes of flip and slice together, and of the corner permutation, under the
/// 16 symmetries that keep the up-down axis.
inline constexpr int kFlipSliceClassCount = 64430;
inline constexpr int kCornerClassCount = 2768;
/// The entries of the two phases' pruning tables.
inline constexpr std::size_t kPhase1Entries = std::size_t{kFlipSliceClassCount} * kTwistCount;
inline constexpr std::size_t kPhase2Entries = std::size_t{kCornerClassCount} * kPermutation8;

struct LargeTables {
    // Move tables: the coordinate after each of the 18 moves, [value * 18 + move]; the
    // up-down edge order only for the ten second-phase moves, [value * 10 + k].
    std::vector<std::uint16_t> twistMove;
    std::vector<std::uint16_t> flipMove;
    std::vector<std::uint16_t> upEdgesMove;
    std::vector<std::uint16_t> downEdgesMove;
    std::vector<std::uint16_t> sliceEdgesMove;
    std::vector<std::uint16_t> cornerMove;
    std::vector<std::uint16_t> udEdgeMove;

    /// The order of the eight up-down edges once they are in those layers, from the up and
    /// down edge sets: [upEdges * 24 + downEdges % 24].
    std::vector<std::uint16_t> udEdgesOfHalves;

    // Symmetry reduction. A cube with flip f and slice s, flipSlice = s * 2048 + f, is
    // carried by a symmetry onto the representative of its class, where
    // flipSliceClassSym[flipSlice] = class * 16 + symmetry and flipSliceRep[class] is the
    // representative's flipSlice; its twist goes with it through twistConj ([twist * 16 +
    // symmetry]). Likewise for the corners (cornerClassSym, cornerRep) with the up-down edges.
    LargePageVector<std::uint32_t> flipSliceClassSym;
    std::vector<std::uint32_t> flipSliceRep;
    std::vector<std::uint16_t> twistConj;
    /// The class and symmetry, as in flipSliceClassSym, of each class representative after
    /// each move: [class * 18 + move]. A search that keeps a cube's class and symmetry finds
    /// all its neighbours' in one row here, where their raw coordinates would be one cache
    /// miss each in flipSliceClassSym.
    LargePageVector<std::uint32_t> flipSliceClassMove;
    std::vector<std::uint16_t> cornerClassSym;
    std::vector<std::uint16_t> cornerRep;
    std::vector<std::uint16_t> udEdgeConj;

    /// First phase: the fewest moves into the subgroup, [class * 2187 + conjugated twist].
    DepthTable phase1Depth;
    /// The fewest of those over every twist, by class: a bound small enough to stay in the
    /// processor's nearest cache, which turns most of a search's deep lookups away before
    /// they go out to memory.
    DepthTable flipSliceClassDepth;
    /// Second phase: the fewest subgroup moves that solve corners and up-down edges,
    /// [corner class * 40320 + conjugated edge order], at most 15.
    DepthTable phase2Depth;
    /// Second phase: the fewest subgroup moves that solve corners and middle-layer edges,
    /// [corners * 24 + slice order]; small enough to stay in the cache, so it is asked first.
    DepthTable cornerSliceDepth;

    /// The first phase's table entry of a cube with these coordinates; `classSym` is
    /// flipSliceClassSym[slice * 2048 + flip], read apart so that a search can fetch several
    /// at once.
    std::size_t phase1Index(std::uint32_t classSym, int twist) const {
        return std::size_t{classSym >> 4} * kTwistCount +
               twistConj[static_cast<std::size_t>(twist) * 16 + (classSym & 15)];
    }
    std::uint32_t flipSliceClassOf(int flip, int slice) const {
        return flipSliceClassSym[static_cast<std::size_t>(slice) * kFlipCount +
                                 static_cast<std::size_t>(flip)];
    }
    int phase1Distance(int flip, int slice, int twist) const {
        return phase1Depth[phase1Index(flipSliceClassOf(flip, slice), twist)];
    }

    int phase2Distance(int corners, int udEdges) const {
        const unsigned classSym = cornerClassSym[static_cast<std::size_t>(corners)];
        return phase2Depth[std::size_t{classSym >> 4} * kPermutation8 +
                           udEdgeConj[static_cast<std::size_t>(udEdges) * 16 + (classSym & 15)]];
    }

    /// Every table as bytes, in the order of the table file.
    std::vector<std::span<std::uint8_t>> sections();
    std::vector<std::span<const std::uint8_t>> sections() const;
    /// The bytes the tables take.
    std::size_t bytes() const;
};

/// Sizes every table and fills it: the pruning tables by breadth-first search on `threads`
/// threads (one when 0 or when threads cannot be started), writing a percentage to
/// `progress` as they fill.
void buildLargeTables(LargeTables& tables, unsigned threads, std::ostream& progress);

/// Sizes every table without filling it, as the table file's reader needs.
void sizeLargeTables(LargeTables& tables);

/// The table file's kind ("short"), version and section sizes.
table_cache::FileFormat largeTableFormat();

/// Loads `tables` from `file` when it holds them; else calls `build` to fill them and
/// writes them there (nothing is read or written for an empty path). Damaged, foreign or
/// unwritable files get a one-line note on `notes`. True when the tables were loaded.
bool loadOrBuildLargeTables(LargeTables& tables, const std::filesystem::path& file,
                            std::ostream& notes, const std::function<void(LargeTables&)>& build);

/// Where the tables are kept: the table file in the user's cache folder, or empty when no
/// cache folder can be named.
std::filesystem::path defaultLargeTableFile();

/// Readies the tables for every later large-table solve, once per process: loads `file`,
/// or builds them (with a progress line on `notes`) and writes them there; an empty path
/// builds them in memory only. Damaged, foreign or unwritable files get a one-line note on
/// `notes` and are rebuilt or left alone; the tables are always usable afterwards. Later
/// calls return at once. Thread-safe. True when the tables came from the file.
bool prepareLargeTables(const std::filesystem::path& file, std::ostream& notes);

/// The tables; when prepareLargeTables() has not run, readies them from
/// defaultLargeTableFile() with notes on standard error.
const LargeTables& largeTables();

} // namespace cw::two_phase
