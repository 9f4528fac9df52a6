// The lower bounds of the optimal search: how many face turns at least it takes to bring a
// cube's corner twists, edge flips and middle-slice edges home. Used by the search, by
// cubewright-solve --optimal (which keeps the large table on disk) and by the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "solver/two_phase/cubie.h"

namespace cw::optimal {

/// The twist, flip and middle-slice coordinates of one cube, kept up to date move by move
/// through the tables below.
struct PhaseOneCoordinates {
    std::uint16_t twist = 0;
    std::uint16_t flip = 0;
    std::uint16_t slice = 0;

    bool operator==(const PhaseOneCoordinates& other) const = default;
};

PhaseOneCoordinates phaseOneCoordinates(const two_phase::CubieCube& cube);

/// The coordinates after each of the 18 moves, indexed [value * 18 + move].
struct MoveTables {
    std::vector<std::uint16_t> twist;
    std::vector<std::uint16_t> flip;
    std::vector<std::uint16_t> slice;

    PhaseOneCoordinates after(const PhaseOneCoordinates& from, int move) const {
        const auto m = static_cast<std::size_t>(move);
        return {twist[from.twist * std::size_t{two_phase::kMoveCount} + m],
                flip[from.flip * std::size_t{two_phase::kMoveCount} + m],
                slice[from.slice * std::size_t{two_phase::kMoveCount} + m]};
    }
};

/// Built on the first call (thread-safe), then only read.
const MoveTables& moveTables();

/// The flip and slice coordinates together (slice * 2048 + flip) sorted into classes of
/// values that the 16 up-down symmetries carry into one another.
inline constexpr std::uint32_t kFlipSliceCount = two_phase::kSliceCount * two_phase::kFlipCount;
inline constexpr std::uint32_t kFlipSliceClassCount = 64430;

/// The fewest face turns that bring twist, flip and slice home, for every cube up to the
/// 16 symmetries: one entry per flip-slice class and twist, four bits each (140,908,410
/// entries, 70 MB). The distances go up to 12; the search looks each cube up along three
/// axes. Building it from scratch takes minutes, so cubewright-solve keeps it on disk.
class PatternTable {
public:
    static constexpr std::uint64_t kEntries =
        std::uint64_t{kFlipSliceClassCount} * two_phase::kTwistCount;
    /// The deepest distance in a complete table.
    static constexpr int kDeepest = 12;

    /// A table with nothing in it yet: build() it or fill bytes() from a file.
    PatternTable();

    /// Fills the table by breadth-first search from the solved cube on `jobs` threads,
    /// calling `progress` now and then (on the calling thread) with the entries filled so
    /// far. With `deepest` below kDeepest it stops after that distance and the entries left
    /// read deepest + 1, which is still a lower bound: the tests use this to keep it quick.
    void build(unsigned jobs, int deepest = kDeepest,
               const std::function<void(std::uint64_t filled)>& progress = {});

    /// The table's storage, for reading it from and writing it to a file.
    std::span<std::uint8_t> bytes();
    std::span<const std::uint8_t> bytes() const;
    static constexpr std::size_t kBytes = (kEntries + 7) / 8 * 4;

    /// The bound for these coordinates.
    int depth(const PhaseOneCoordinates& at) const { return depthAt(indexOf(at)); }

    std::uint64_t indexOf(const PhaseOneCoordinates& at) const;
    int depthAt(std::uint64_t index) const {
        return static_cast<int>((words_[index >> 3] >> ((index & 7) * 4)) & 15);
    }

private:
    std::vector<std::uint32_t> words_;
};

/// A small stand-in with the same interface: the larger of two plain tables over twist and
/// slice and over flip and slice (2 MB, built in well under a second). A weaker bound, so
/// the search is slower; the tests run the search on it.
class PairTables {
public:
    PairTables();
    int depth(const PhaseOneCoordinates& at) const;

private:
    std::vector<std::uint8_t> twistSlice_;
    std::vector<std::uint8_t> flipSlice_;
};

} // namespace cw::optimal
