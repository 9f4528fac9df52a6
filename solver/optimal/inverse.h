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

    /// Keeps of `children[0..count)`, and of `moves` alongside, those whose inverse `table`
    /// puts at most `remaining` moves from solved; returns how many. Only the children with
    /// their bit set in `probe` are looked up, along the axes in `order`: each axis's lookups
    /// go out together, and the next axis is asked only about the children the ones before
    /// it kept. A child has `inverse` (a PackedCube), `inverseDepths` and `inverseExact`:
    /// along an axis whose bit is set there, its inverseDepths value is the table's already
    /// and is used as it is; along the others this looks it up, stores it and sets the bit.
    /// As in the search's own bound, three axes that ask for the same number of moves ask for
    /// one more where the table allows it: that holds for any cube, so for an inverse too.
    template <typename Table, typename Child, std::size_t N>
    std::size_t keepNear(const Table& table, std::array<Child, N>& children,
                         std::array<std::uint8_t, N>& moves, std::size_t count, std::uint32_t probe,
                         const std::array<std::size_t, core::kAxisCount>& order,
                         int remaining) const {
        std::array<std::uint8_t, N> alive{};
        std::size_t left = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if ((probe >> i) & 1U) {
                alive[left++] = static_cast<std::uint8_t>(i);
            }
        }
        std::uint32_t far = 0;
        for (std::size_t k = 0; k < core::kAxisCount && left > 0; ++k) {
            const std::size_t a = order[k];
            const auto bit = static_cast<std::uint8_t>(1U << a);
            // Those whose value along this axis is known are settled first; the rest, looked
            // up, follow in `unknown`.
            std::array<std::uint8_t, N> unknown{};
            std::size_t asking = 0;
            std::size_t stay = 0;
            for (std::size_t j = 0; j < left; ++j) {
                const Child& child = children[alive[j]];
                if ((child.inverseExact & bit) == 0) {
                    unknown[asking++] = alive[j];
                } else if (child.inverseDepths[a] > remaining) {
                    far |= std::uint32_t{1} << alive[j];
                } else {
                    alive[stay++] = alive[j];
                }
            }
            std::array<int, N> depth{};
            depthsTogether(
                table, asking,
                [&](std::size_t j) {
                    return along(children[unknown[j]].inverse, static_cast<int>(a));
                },
                depth, remaining);
            for (std::size_t j = 0; j < asking; ++j) {
                Child& child = children[unknown[j]];
                child.inverseDepths[a] = static_cast<std::uint8_t>(depth[j]);
                if (readExactly(table, depth[j], remaining)) {
                    child.inverseExact = static_cast<std::uint8_t>(child.inverseExact | bit);
                }
                if (depth[j] > remaining) {
                    far |= std::uint32_t{1} << unknown[j];
                } else {
                    alive[stay++] = unknown[j];
                }
            }
            left = stay;
        }
        for (std::size_t j = 0; j < left && remaining > 0 && Table::kOwnAxisTurnsStayHome; ++j) {
            const auto& d = children[alive[j]].inverseDepths;
            if (d[0] == remaining && d[1] == remaining && d[2] == remaining) {
                far |= std::uint32_t{1} << alive[j];
            }
        }
        if (far == 0) {
            return count;
        }
        std::size_t stay = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (((far >> i) & 1U) == 0) {
                children[stay] = children[i];
                moves[stay++] = moves[i];
            }
        }
        return stay;
    }

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

} // namespace cw::optimal
