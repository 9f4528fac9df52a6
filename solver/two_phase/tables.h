// The move and pruning tables of the two-phase search, built once per process and only read
// afterwards. Used by the search and by the tests that check them against the sticker model.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "solver/core/cubie.h"
#include "solver/core/large_pages.h"

namespace cw::two_phase {

using namespace core;

/// The ten face turns that keep a cube in the second phase's subgroup <U, D, R2, L2, F2, B2>:
/// U, U2, U', D, D2, D', R2, L2, F2, B2, as indices into the 18 moves.
inline constexpr std::array<int, 10> kPhase2Moves = {0, 1, 2, 9, 10, 11, 4, 13, 7, 16};
inline constexpr int kPhase2MoveCount = static_cast<int>(kPhase2Moves.size());

/// Whether `move` keeps a cube in the second phase's subgroup.
constexpr bool isPhase2Move(int move) {
    return moveFace(move) % 3 == 0 || moveQuarterTurns(move) == 2;
}

/// Pruning depths packed two to a byte: the search's lookups miss the cache, and half the
/// size is half as many misses. A depth past 15 is kept as 15, which is still a lower bound.
/// Tables of megabytes sit in large pages (see solver/core/large_pages.h).
class DepthTable {
public:
    DepthTable() = default;
    explicit DepthTable(const std::vector<std::uint8_t>& depths);

    /// `size` depths, all 0.
    void resize(std::size_t size) {
        size_ = size;
        packed_.assign((size + 1) / 2, 0);
    }
    void set(std::size_t index, int depth) {
        const int shift = static_cast<int>(index & 1) * 4;
        std::uint8_t& both = packed_[index >> 1];
        both = static_cast<std::uint8_t>((both & ~(15 << shift)) | std::min(depth, 15) << shift);
    }
    int operator[](std::size_t index) const {
        return (packed_[index >> 1] >> ((index & 1) * 4)) & 15;
    }
    std::size_t size() const { return size_; }
    std::size_t bytes() const { return packed_.size(); }
    /// The packed bytes, as a table file holds them.
    LargePageVector<std::uint8_t>& storage() { return packed_; }
    const LargePageVector<std::uint8_t>& storage() const { return packed_; }

private:
    LargePageVector<std::uint8_t> packed_;
    std::size_t size_ = 0;
};

struct Tables {
    // Move tables: the coordinate after each move, indexed [coordinate * moves + move]. The
    // first phase's run over all 18 moves, the second phase's over kPhase2Moves.
    std::vector<std::uint16_t> twistMove;
    std::vector<std::uint16_t> flipMove;
    std::vector<std::uint16_t> sliceMove;
    std::vector<std::uint16_t> cornerMove;
    std::vector<std::uint16_t> udEdgeMove;
    std::vector<std::uint8_t> slicePermMove;

    // Pruning tables: the fewest moves that solve both coordinates of a pair, indexed
    // [first * count of second + second]. The first phase's bound is the largest of its three
    // pairs: twist and flip each say little about the other, so the third pair adds to it.
    DepthTable twistSliceDepth;
    DepthTable flipSliceDepth;
    DepthTable twistFlipDepth;
    DepthTable cornerSliceDepth;
    DepthTable udEdgeSliceDepth;

    /// The lower bound of the first phase's length for these coordinates.
    int phase1Bound(int twistValue, int flipValue, int sliceValue) const {
        const auto s = static_cast<std::size_t>(sliceValue);
        const auto t = static_cast<std::size_t>(twistValue);
        const auto f = static_cast<std::size_t>(flipValue);
        return std::max(
            std::max(twistSliceDepth[t * kSliceCount + s], flipSliceDepth[f * kSliceCount + s]),
            twistFlipDepth[t * kFlipCount + f]);
    }

    /// The lower bound of the second phase's length for these coordinates.
    int phase2Bound(int corners, int udEdges, int slicePerm) const {
        const auto s = static_cast<std::size_t>(slicePerm);
        return std::max(cornerSliceDepth[static_cast<std::size_t>(corners) * kSlicePermCount + s],
                        udEdgeSliceDepth[static_cast<std::size_t>(udEdges) * kSlicePermCount + s]);
    }

    /// The bytes the tables take.
    std::size_t bytes() const;
};

/// The tables, built on the first call (thread-safe).
const Tables& tables();

} // namespace cw::two_phase
