// Building a coordinate's move table by playing each move on a cube set to every value, and
// a pruning table over two coordinates by breadth-first search. Used by the small and the
// large tables of the two-phase search and by the optimal solver's small stand-in table.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "solver/core/cubie.h"

namespace cw::core {

/// The coordinate after each move, indexed [value * moves + move]: `set` puts a cube at a
/// value, `get` reads the value back.
template <typename Value>
std::vector<Value> moveTable(int count, const auto& moves, auto set, auto get) {
    std::vector<Value> table(static_cast<std::size_t>(count) * moves.size());
    std::size_t at = 0;
    for (int value = 0; value < count; ++value) {
        CubieCube cube;
        set(cube, value);
        for (const int move : moves) {
            table[at++] = static_cast<Value>(get(multiply(cube, moveCube(move))));
        }
    }
    return table;
}

/// Puts `values` into `table`: into the storage it has when it is sized for them already, so
/// that a table sized ahead (as the large two-phase tables are, for the file they are
/// written to) is built where it is, and into new storage otherwise.
template <typename Table, typename Values>
void fillInPlace(Table& table, const Values& values) {
    if (table.size() == values.size()) {
        std::copy(values.begin(), values.end(), table.begin());
    } else {
        table.assign(values.begin(), values.end());
    }
}

/// The 18 moves in order, for moveTable().
constexpr std::array<int, kMoveCount> allMoves() {
    std::array<int, kMoveCount> moves{};
    for (int m = 0; m < kMoveCount; ++m) {
        moves[static_cast<std::size_t>(m)] = m;
    }
    return moves;
}

/// The fewest moves that bring both coordinates to 0, for every pair, indexed [a * countB +
/// b]: a breadth-first search from (0, 0) over move tables of `moveCount` moves each, whose
/// inverses must be among them (as face turns' are), so that the pairs one move from a pair
/// are also those it is one move from. Throws std::logic_error when some pair cannot be
/// reached (or lies more than 254 moves away): the move tables are then not those of a
/// cube's coordinates.
template <typename A, typename B>
std::vector<std::uint8_t> pairDistances(int countA, const std::vector<A>& moveA, int countB,
                                        const std::vector<B>& moveB, std::size_t moveCount) {
    constexpr std::uint8_t kUnknown = 0xFF;
    const auto aCount = static_cast<std::size_t>(countA);
    const auto bCount = static_cast<std::size_t>(countB);
    const std::size_t size = aCount * bCount;
    std::vector<std::uint8_t> depth(size, kUnknown);
    depth[0] = 0;
    std::size_t reached = 1;
    std::size_t level = 1; // pairs at depth d
    for (std::uint8_t d = 0; reached < size; ++d) {
        const std::size_t before = reached;
        // Out from the pairs at d while they are fewer than the pairs not reached yet; then
        // the other way, each pair not reached yet looking for a neighbour at d, which most
        // find within a move or two.
        const bool outwards = level < size - reached;
        for (std::size_t a = 0; a < aCount; ++a) {
            const A* rowA = &moveA[a * moveCount];
            for (std::size_t b = 0, index = a * bCount; b < bCount; ++b, ++index) {
                if (depth[index] != (outwards ? d : kUnknown)) {
                    continue;
                }
                const B* rowB = &moveB[b * moveCount];
                for (std::size_t m = 0; m < moveCount; ++m) {
                    const std::size_t next = std::size_t{rowA[m]} * bCount + rowB[m];
                    if (outwards && depth[next] == kUnknown) {
                        depth[next] = static_cast<std::uint8_t>(d + 1);
                        ++reached;
                    } else if (!outwards && depth[next] == d) {
                        depth[index] = static_cast<std::uint8_t>(d + 1);
                        ++reached;
                        break;
                    }
                }
            }
        }
        level = reached - before;
        if (reached == before || (d + 1 == kUnknown - 1 && reached < size)) {
            throw std::logic_error("pairDistances: some pairs of coordinates cannot be reached");
        }
    }
    return depth;
}

} // namespace cw::core
