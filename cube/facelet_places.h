// Where the stickers of each corner and edge slot sit in a facelet string, the faces of the
// piece that belongs in each slot, and the letters of the faces in the string's order. Used
// by the facelet-string reader and writer and by the solve page, which marks the stickers
// a message names.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "cube/cubie_cube.h"
#include "cube/facelet_string.h"
#include "cube/notation.h"

namespace cw::facelet_places {

// The faces in the order of the string, U, R, F, D, L, B: each letter's place in "URFDLB".
enum Side : int { kU, kR, kF, kD, kL, kB };

/// The letter of a side.
inline char sideLetter(int side) {
    return notation::faceLetter(kStringFaceOrder[static_cast<std::size_t>(side)]);
}

/// The side a letter names, or -1.
inline int sideOfLetter(char letter) {
    for (int side = 0; side < kFaceCount; ++side) {
        if (sideLetter(side) == letter) {
            return side;
        }
    }
    return -1;
}

/// A piece's name as the messages write it: the letters of its sides, e.g. "URF".
template <std::size_t N>
std::string pieceName(const std::array<int, N>& sides) {
    std::string name;
    for (int side : sides) {
        name += sideLetter(side);
    }
    return name;
}

using CornerTriple = std::array<int, 3>;
using EdgePair = std::array<int, 2>;

// Where each corner slot's stickers sit in the string: the up or down sticker first, then
// the other two going clockwise seen from outside the corner.
inline constexpr std::array<CornerTriple, std::size_t{kCornerCount}> kCornerPlaces = {{
    {8, 9, 20},   // URF
    {6, 18, 38},  // UFL
    {0, 36, 47},  // ULB
    {2, 45, 11},  // UBR
    {29, 26, 15}, // DFR
    {27, 44, 24}, // DLF
    {33, 53, 42}, // DBL
    {35, 17, 51}, // DRB
}};

// The corner that belongs in each slot, as its colours in the slot's sticker order.
inline constexpr std::array<CornerTriple, std::size_t{kCornerCount}> kCornerColours = {{
    {kU, kR, kF},
    {kU, kF, kL},
    {kU, kL, kB},
    {kU, kB, kR},
    {kD, kF, kR},
    {kD, kL, kF},
    {kD, kB, kL},
    {kD, kR, kB},
}};

// Where each edge slot's stickers sit: the up or down sticker first, or for the middle
// layer the front or back sticker first.
inline constexpr std::array<EdgePair, std::size_t{kEdgeCount}> kEdgePlaces = {{
    {5, 10},  // UR
    {7, 19},  // UF
    {3, 37},  // UL
    {1, 46},  // UB
    {32, 16}, // DR
    {28, 25}, // DF
    {30, 43}, // DL
    {34, 52}, // DB
    {23, 12}, // FR
    {21, 41}, // FL
    {50, 39}, // BL
    {48, 14}, // BR
}};

inline constexpr std::array<EdgePair, std::size_t{kEdgeCount}> kEdgeColours = {{
    {kU, kR},
    {kU, kF},
    {kU, kL},
    {kU, kB},
    {kD, kR},
    {kD, kF},
    {kD, kL},
    {kD, kB},
    {kF, kR},
    {kF, kL},
    {kB, kL},
    {kB, kR},
}};

} // namespace cw::facelet_places
