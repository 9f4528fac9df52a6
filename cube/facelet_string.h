// Cube stickers as text: 54 letters in the order U, R, F, D, L, B, each face read row
// by row as seen from outside, each letter naming the face whose centre shows that
// colour. The one reader of the format: the command-line solver takes a real cube's
// stickers through it, and the short solver a cube's pieces.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "cube/cube.h"
#include "cube/cubie_cube.h"

namespace cw {

/// The solved cube as a facelet string.
inline constexpr std::string_view kSolvedFaceletString =
    "UUUUUUUUURRRRRRRRRFFFFFFFFFDDDDDDDDDLLLLLLLLLBBBBBBBBB";

/// The cube's face numbers (cube.h) of the faces in the order the string lists them:
/// U, R, F, D, L, B.
inline constexpr std::array<int, kFaceCount> kStringFaceOrder = {2, 1, 0, 5, 4, 3};

/// What readFaceletString made of its text.
struct FaceletReading {
    /// The pieces the stickers show; the solved cube when `error` is set.
    CubieCube pieces;
    /// Empty when the text describes a cube that face turns can reach; otherwise a
    /// one-line message naming the first fault found.
    std::string error;
    /// The positions (0 to 53) of the stickers at fault: the bad letter, the centre, the
    /// piece in a slot, every slot holding a piece that appears twice, every corner turned
    /// in place (for a twist), every edge flipped (for a flip) or every piece out of its
    /// slot (for a swap). Empty when no sticker can be named.
    std::vector<int> places;
};

/// Reads a facelet string into the pieces it shows, checking everything that makes a cube
/// reachable: the length, the letters, the centres, each letter's count, every corner and
/// edge, no piece twice, and the twists, flips and permutation parities.
FaceletReading readFaceletString(std::string_view text);

/// Validates `text` and, when it describes a cube that face turns can reach, sets the
/// live stickers' colours and cubie codes from it and returns an empty string.
/// Otherwise returns a one-line message naming the fault and leaves the cube unchanged.
std::string loadFaceletString(Cube& cube, std::string_view text);

/// The live stickers as a facelet string.
std::string faceletString(const Cube& cube);

/// The facelet string of a cube given by its pieces.
std::string faceletString(const CubieCube& cube);

} // namespace cw
