// The two-phase search's piece model: the 18 face turns on a CubieCube (which
// cube/cubie_cube.h defines and the facelet reader fills), and the coordinates the move and
// pruning tables are indexed by. Used by the short solver, its random states and its tests.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "cube/cubie_cube.h"
#include "cube/facelet_string.h"

namespace cw::core {

/// The search numbers the faces as the facelet string lists them, 0 U, 1 R, 2 F, 3 D, 4 L,
/// 5 B, and calls them sides, apart from the cube's own face numbers (cw::kFaceCount):
/// opposite sides are three apart, so `side % 3` is the axis. cubeFace() converts.
inline constexpr int kSideCount = 6;

/// The slots (and pieces) by name, in the order of CubieCube's arrays, for writing cubes out
/// piece by piece.
namespace pieces {
using Corners = std::array<std::uint8_t, kCornerCount>;
using Edges = std::array<std::uint8_t, kEdgeCount>;

enum Corner : std::uint8_t { URF, UFL, ULB, UBR, DFR, DLF, DBL, DRB };
enum Edge : std::uint8_t { UR, UF, UL, UB, DR, DF, DL, DB, FR, FL, BL, BR };
} // namespace pieces

/// The 18 face turns: move = side * 3 + quarterTurns - 1; moveFace() gives the side.
inline constexpr int kMoveCount = 18;

constexpr int moveFace(int move) {
    return move / 3;
}
constexpr int moveQuarterTurns(int move) {
    return move % 3 + 1;
}
constexpr int moveOf(int face, int quarterTurns) {
    return face * 3 + quarterTurns - 1;
}

/// Whether `move` may follow `previous` (-1 for none) in a search: never the same face twice
/// in a row, and of two opposite faces turned in a row only the lower-numbered first, since
/// they commute.
constexpr bool mayFollow(int move, int previous) {
    if (previous < 0) {
        return true;
    }
    const int face = moveFace(move);
    const int last = moveFace(previous);
    return face != last && !(face % 3 == last % 3 && face < last);
}

/// The cube's own face number (0 front, 1 right, 2 up, 3 back, 4 left, 5 down) of a side.
constexpr int cubeFace(int side) {
    return kStringFaceOrder[static_cast<std::size_t>(side)];
}

/// The side of the cube's own face number `face`: cubeFace() undone.
constexpr int sideOf(int face) {
    int side = 0;
    while (side < kSideCount - 1 && cubeFace(side) != face) {
        ++side;
    }
    return side;
}

/// `a` followed by `b`. Also right for the whole-cube rotations used as symmetries.
CubieCube multiply(const CubieCube& a, const CubieCube& b);

/// The cube that `cube` followed by it gives the solved cube.
CubieCube inverseOf(const CubieCube& cube);

/// The effect of one of the 18 face turns on a solved cube.
const CubieCube& moveCube(int move);

/// The face turn whose effect on a solved cube is `cube`. Throws std::logic_error when no
/// face turn has it: a map that must carry face turns onto face turns did not.
int moveMatching(const CubieCube& cube);

/// The 120-degree turn of the whole cube about its URF-DBL diagonal, which carries each of
/// the three face axes onto the next.
const CubieCube& diagonalTurn();

/// The pieces of a facelet string, read by cw::readFaceletString, or nothing when it is not
/// a cube that face turns reach. (cw::faceletString writes a CubieCube's string.)
std::optional<CubieCube> fromFacelets(std::string_view facelets);

// The coordinates. Each get has a set that gives some cube with that coordinate value.

inline constexpr int kTwistCount = 2187;    // 3^7 corner twists
inline constexpr int kFlipCount = 2048;     // 2^11 edge flips
inline constexpr int kSliceCount = 495;     // places of the 4 middle-layer edges among 12
inline constexpr int kPermutation8 = 40320; // 8! orders of the corners, or of the U, D edges
inline constexpr int kSlicePermCount = 24;  // 4! orders of the middle-layer edges

int twist(const CubieCube& cube);
void setTwist(CubieCube& cube, int value);
int flip(const CubieCube& cube);
void setFlip(CubieCube& cube, int value);
/// 0 when the four middle-layer edges are in the middle layer, in any order.
int slice(const CubieCube& cube);
void setSlice(CubieCube& cube, int value);
int cornerPermutation(const CubieCube& cube);
void setCornerPermutation(CubieCube& cube, int value);
/// The order of the eight up and down edges, read only when they are in those layers.
int udEdgePermutation(const CubieCube& cube);
void setUdEdgePermutation(CubieCube& cube, int value);
/// The order of the four middle-layer edges, read only when they are in that layer.
int slicePermutation(const CubieCube& cube);
void setSlicePermutation(CubieCube& cube, int value);

/// Places and order of four edges among the twelve slots: 12 * 11 * 10 * 9.
inline constexpr int kEdgeSetCount = 11880;
/// The first edges of the three sets edgeSet() reads: UR UF UL UB, DR DF DL DB and the
/// middle-layer edges FR FL BL BR.
inline constexpr int kUpEdges = 0;
inline constexpr int kDownEdges = 4;
inline constexpr int kSliceEdges = 8;

/// Where the four edges `first` to `first + 3` are and in which order: the places in the
/// numbering slice() uses, times 24, plus the order in which they meet the slots counted
/// upwards. For the middle-layer edges, edgeSet() / 24 is slice() and, once they are in the
/// middle layer, edgeSet() is slicePermutation().
int edgeSet(const CubieCube& cube, int first);
void setEdgeSet(CubieCube& cube, int first, int value);

} // namespace cw::core
