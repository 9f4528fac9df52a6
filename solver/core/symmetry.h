// The 16 symmetries of the cube that keep the up-down axis, as cubes of pieces, and the
// conjugation of cubes and face turns by them; and the turn about the URF-DBL diagonal that
// brings each face axis onto the up-down one. Used by the tables of the two-phase and the
// optimal search to store one entry per symmetry class, and by their searches to look at a
// cube along all three axes.
#pragma once

#include <array>
#include <cstdint>

#include "solver/core/cubie.h"

namespace cw::core {

inline constexpr int kUdSymmetryCount = 16;

/// Symmetry `s` is F2^(s / 8) U4^((s / 2) % 4) LR^(s % 2): a half turn of the whole cube
/// about the front-back axis, quarter turns about the up-down axis and the mirror that swaps
/// left and right. Symmetry 0 is the identity; the odd ones are mirrors, whose corner twists
/// are stored as 3 to 5 (see symmetryProduct()).
const CubieCube& udSymmetry(int s);

/// The symmetry that undoes `s`.
int inverseSymmetry(int s);

/// `a` followed by `b`, where either may be a mirror: a mirrored corner's twist is 3 to 5,
/// and after a mirror the twists that follow count the other way round.
CubieCube symmetryProduct(const CubieCube& a, const CubieCube& b);

/// S_s C S_s^-1: the cube `cube` seen through symmetry `s`. A face turn maps to a face turn
/// (see conjugateMove()), so a cube made by moves maps to the cube made by their images.
CubieCube conjugate(const CubieCube& cube, int s);

/// The move m' with S_s m S_s^-1 = m'. A mirror turns a clockwise quarter turn into a
/// counter-clockwise one.
int conjugateMove(int move, int s);

/// The symmetry v with conjugate(conjugate(cube, first), then) == conjugate(cube, v).
int composeSymmetries(int first, int then);

/// conjugateMove() and composeSymmetries() as the tables behind them, for searches that read
/// them in their inner loops: moves[s][move] and composed[first][then].
struct SymmetryActions {
    std::array<std::array<std::uint8_t, kMoveCount>, kUdSymmetryCount> moves{};
    std::array<std::array<std::uint8_t, kUdSymmetryCount>, kUdSymmetryCount> composed{};
};
const SymmetryActions& symmetryActions();

/// The three axes a cube is looked at along: the cube itself, and the cube turned once and
/// twice about its URF-DBL diagonal (diagonalTurn()), which brings the left-right and the
/// front-back axis onto the up-down one.
inline constexpr int kAxisCount = 3;

/// The cube turned `axis` times about the diagonal, conjugated: D^axis C D^-axis.
CubieCube alongAxis(const CubieCube& cube, int axis);

/// The move that does to alongAxis(c, axis) what `move` does to c:
/// alongAxis(c * move, axis) == alongAxis(c, axis) * axisMove(axis, move).
int axisMove(int axis, int move);

/// The move that `move`, found in a solution of alongAxis(c, axis), is on c itself.
inline int moveBackFromAxis(int axis, int move) {
    return axisMove((kAxisCount - axis) % kAxisCount, move);
}

/// The six guises in which the search looks at a cube: turned 0, 1 and 2 times about the
/// diagonal (index / 2), each as it is and inverted (index % 2). A solution of guise i is a
/// solution of the cube once its moves go through moveBackFromAxis(i / 2, move) and,
/// for an inverted guise, are reversed and inverted.
std::array<CubieCube, 6> guisesOf(const CubieCube& cube);

} // namespace cw::core
