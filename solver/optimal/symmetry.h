// The 16 symmetries of the cube that keep the up-down axis in place (eight rotations, each
// with or without a left-right mirror), as the optimal solver's pattern table uses them.
#pragma once

#include <array>

#include "solver/core/cubie.h"

namespace cw::optimal {

/// Symmetry s is the half turn about the front-back axis (s & 1), then (s >> 1) & 3 quarter
/// turns about the up-down axis, then the left-right mirror when s >= 8. Symmetry 0 is none.
inline constexpr int kSymmetryCount = 16;

/// `cube` seen through symmetry `symmetry`: S * cube * S^-1. Conjugates are as far from
/// solved as the cube itself, since every symmetry maps face turns onto face turns, and the
/// twist, flip and middle-slice coordinates of a conjugate follow from the cube's own.
CubieCube conjugate(const CubieCube& cube, int symmetry);

/// The symmetry that undoes `symmetry`: conjugate(conjugate(c, s), inverseSymmetry(s)) == c.
int inverseSymmetry(int symmetry);

/// The three orientations the search looks the cube up in: the cube itself and the cube
/// turned once and twice about its URF-DBL diagonal, which brings the left-right and the
/// front-back axis onto the up-down one.
inline constexpr int kAxisCount = 3;

/// The cube turned `axis` times about the diagonal, conjugated: D^axis * cube * D^-axis.
CubieCube alongAxis(const CubieCube& cube, int axis);

/// axisMove(axis, m) is the move that does to alongAxis(c, axis) what move m does to c:
/// alongAxis(c * m, axis) == alongAxis(c, axis) * axisMove(axis, m).
int axisMove(int axis, int move);

} // namespace cw::optimal
