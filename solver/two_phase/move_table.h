// Building a coordinate's move table by playing each move on a cube set to every value.
// Used by the small and the large tables of the two-phase search.
#pragma once

#include <cstddef>
#include <vector>

#include "solver/two_phase/cubie.h"

namespace cw::two_phase {

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

} // namespace cw::two_phase
