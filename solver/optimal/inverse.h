// The inverse of the cube the optimal search has reached, kept up to date move by move. A
// cube and its inverse are equally far from solved (a solution played backwards, each move
// undone, solves the inverse), so the pattern table's bound for the inverse bounds the cube
// too. Appending a move m to the cube puts m^-1 in front of the inverse, which the
// coordinates' move tables cannot do (they only append), so the inverse is kept as pieces.
#pragma once

#include <array>
#include <cstdint>

#include "solver/core/cubie.h"
#include "solver/core/symmetry.h"
#include "solver/optimal/pattern_table.h"

namespace cw::optimal {

/// A cube's pieces one byte each: a corner as piece + 8 * twist, an edge as piece + 12 *
/// flip, both 0..23.
struct PackedCube {
    std::array<std::uint8_t, kCornerCount> corners{};
    std::array<std::uint8_t, kEdgeCount> edges{};
};

PackedCube packed(const CubieCube& cube);

/// Tables for putting a move in front of a packed cube and for reading its coordinates along
/// each axis. Built on the first call (thread-safe), then only read.
class InverseMoves {
public:
    static const InverseMoves& get();

    /// The move that undoes `move`.
    static constexpr int undo(int move) { return move - move % 3 + 2 - move % 3; }

    /// `move` followed by `cube`: core::multiply(core::moveCube(move), cube), packed.
    PackedCube before(const PackedCube& cube, int move) const {
        PackedCube out;
        const auto& corner = cornerBefore_[static_cast<std::size_t>(move)];
        const auto& edge = edgeBefore_[static_cast<std::size_t>(move)];
        for (std::size_t i = 0; i < kCornerCount; ++i) {
            out.corners[i] = corner[cube.corners[i]];
        }
        for (std::size_t i = 0; i < kEdgeCount; ++i) {
            out.edges[i] = edge[cube.edges[i]];
        }
        return out;
    }

    /// phaseOneCoordinates(core::alongAxis(cube, axis)), straight from the packed pieces.
    PhaseOneCoordinates along(const PackedCube& cube, int axis) const;

private:
    InverseMoves();

    static constexpr std::size_t kValues = 24;
    using Map = std::array<std::uint8_t, kValues>;
    std::array<Map, core::kMoveCount> cornerBefore_{};
    std::array<Map, core::kMoveCount> edgeBefore_{};
    // Seen along an axis, slot i holds what slot from[i] holds, mapped by the table at i.
    struct Axis {
        std::array<std::uint8_t, kCornerCount> cornerFrom{};
        std::array<std::uint8_t, kEdgeCount> edgeFrom{};
        std::array<Map, kCornerCount> corner{};
        std::array<Map, kEdgeCount> edge{};
    };
    std::array<Axis, core::kAxisCount> axes_{};
};

/// Rules out children whose inverse the table puts more than `remaining` moves from solved,
/// an axis at a time: each axis's lookups are asked for together, and read once other work
/// has given them time to arrive. A child has `inverse` (a PackedCube), `inverseDepths` and
/// `inverseExact`: along an axis whose bit is set there, its inverseDepths value is the
/// table's already and is used as it is; along the others it is looked up, stored and the
/// bit set. As in the search's own bound, three axes that ask for the same number of moves
/// ask for one more where the table allows it: that holds for any cube, so for an inverse too.
template <typename Table, typename Child, std::size_t N>
class InverseSieve {
public:
    /// Begins on `children[0..count)`; only those with their bit set in `probe` are looked
    /// up, along the axes in `order`, and each later axis only about those the ones before
    /// it kept.
    void start(std::size_t count, std::uint32_t probe,
               const std::array<std::size_t, core::kAxisCount>& order) {
        count_ = count;
        order_ = order;
        axis_ = 0;
        far_ = 0;
        left_ = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if ((probe >> i) & 1U) {
                alive_[left_++] = static_cast<std::uint8_t>(i);
            }
        }
    }

    /// Whether an axis is left to look along.
    bool axesLeft() const { return axis_ < core::kAxisCount && left_ > 0; }

    /// Settles the next axis's values that are known and asks the table about the others:
    /// true when it asked, and read() must come before anything else; false when nothing
    /// was asked and the axis is done.
    bool ask(const InverseMoves& inverse, const Table& table, const std::array<Child, N>& children,
             int remaining) {
        const std::size_t a = order_[axis_];
        const auto bit = static_cast<std::uint8_t>(1U << a);
        asking_ = 0;
        stay_ = 0;
        for (std::size_t j = 0; j < left_; ++j) {
            const Child& child = children[alive_[j]];
            if ((child.inverseExact & bit) == 0) {
                unknown_[asking_++] = alive_[j];
            } else if (child.inverseDepths[a] > remaining) {
                far_ |= std::uint32_t{1} << alive_[j];
            } else {
                alive_[stay_++] = alive_[j];
            }
        }
        if (asking_ == 0) {
            left_ = stay_;
            ++axis_;
            return false;
        }
        askTogether(
            table, asking_,
            [&](std::size_t j) {
                return inverse.along(children[unknown_[j]].inverse, static_cast<int>(a));
            },
            asked_, remaining);
        return true;
    }

    /// Reads what ask() asked for and finishes its axis: true when done, false when the
    /// table has asked for more, and read() must be called again.
    bool read(const Table& table, std::array<Child, N>& children, int remaining) {
        const std::size_t a = order_[axis_];
        const auto bit = static_cast<std::uint8_t>(1U << a);
        std::array<int, N>& depth = depths_;
        if (!readAsked(table, asked_, depth)) {
            return false;
        }
        for (std::size_t j = 0; j < asking_; ++j) {
            Child& child = children[unknown_[j]];
            child.inverseDepths[a] = static_cast<std::uint8_t>(depth[j]);
            if (readExactly(table, depth[j], remaining)) {
                child.inverseExact = static_cast<std::uint8_t>(child.inverseExact | bit);
            }
            if (depth[j] > remaining) {
                far_ |= std::uint32_t{1} << unknown_[j];
            } else {
                alive_[stay_++] = unknown_[j];
            }
        }
        left_ = stay_;
        ++axis_;
        return true;
    }

    /// Keeps the children not ruled out, in order, with `moves` alongside; returns how many.
    std::size_t keep(std::array<Child, N>& children, std::array<std::uint8_t, N>& moves,
                     int remaining) {
        for (std::size_t j = 0; j < left_ && remaining > 0 && Table::kOwnAxisTurnsStayHome; ++j) {
            const auto& d = children[alive_[j]].inverseDepths;
            if (d[0] == remaining && d[1] == remaining && d[2] == remaining) {
                far_ |= std::uint32_t{1} << alive_[j];
            }
        }
        if (far_ == 0) {
            return count_;
        }
        std::size_t stay = 0;
        for (std::size_t i = 0; i < count_; ++i) {
            if (((far_ >> i) & 1U) == 0) {
                children[stay] = children[i];
                moves[stay++] = moves[i];
            }
        }
        return stay;
    }

private:
    std::size_t count_ = 0;
    std::array<std::size_t, core::kAxisCount> order_{};
    std::size_t axis_ = 0;
    std::uint32_t far_ = 0;
    // The children still in, those the current axis asks about, and how many of the first
    // are settled.
    std::array<std::uint8_t, N> alive_{};
    std::size_t left_ = 0;
    std::array<std::uint8_t, N> unknown_{};
    std::size_t asking_ = 0;
    std::size_t stay_ = 0;
    AskedDepths<N> asked_;
    std::array<int, N> depths_{};
};

} // namespace cw::optimal
