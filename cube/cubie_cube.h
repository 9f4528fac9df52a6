// A cube at the level of its pieces: which corner and edge sits in each slot and how it is
// turned there. The facelet-string reader makes one of a string; the short solver
// searches on them.
#pragma once

#include <array>
#include <cstdint>

namespace cw {

inline constexpr int kCornerCount = 8;
inline constexpr int kEdgeCount = 12;

/// Corner slots URF UFL ULB UBR DFR DLF DBL DRB and edge slots UR UF UL UB DR DF DL DB FR FL
/// BL BR; each piece has the number of the slot it belongs in. `cp[slot]` is the corner
/// sitting in a slot and `co[slot]` its twist (0..2, clockwise); `ep` and `eo` the same for
/// edges (flip 0..1). A default-built one is the solved cube.
struct CubieCube {
    std::array<std::uint8_t, kCornerCount> cp{0, 1, 2, 3, 4, 5, 6, 7};
    std::array<std::uint8_t, kCornerCount> co{};
    std::array<std::uint8_t, kEdgeCount> ep{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    std::array<std::uint8_t, kEdgeCount> eo{};

    bool operator==(const CubieCube& other) const = default;
};

} // namespace cw
