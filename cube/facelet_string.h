// Cube stickers as text: 54 letters in the order U, R, F, D, L, B, each face read row
// by row as seen from outside, each letter naming the face whose centre shows that
// colour. Used by the command-line solver to take a real cube's stickers and to print
// a cube's state.
#pragma once

#include <string>
#include <string_view>

#include "cube/cube.h"

namespace cw {

/// The solved cube as a facelet string.
inline constexpr std::string_view kSolvedFaceletString =
    "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";

/// Validates `text` and, when it describes a cube that face turns can reach, sets the
/// live stickers' colours and cubie codes from it and returns an empty string.
/// Otherwise returns a one-line message naming the fault and leaves the cube unchanged.
std::string loadFaceletString(Cube& cube, std::string_view text);

/// The live stickers as a facelet string.
std::string faceletString(const Cube& cube);

} // namespace cw
