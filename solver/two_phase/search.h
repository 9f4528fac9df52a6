// The two-phase search on a cube's pieces. Called by the public solve functions and the
// scramble maker.
#pragma once

#include <cstdint>
#include <span>

#include "solver/core/cubie.h"
#include "solver/two_phase/two_phase.h"

namespace cw::two_phase {

using namespace core;

/// A solution of `cube`, as solve() describes it.
Solution solveCubie(const CubieCube& cube, const SearchLimits& limits);

/// The moves `path` (0..17) that solve guise `guise` of a cube (see core::guisesOf) as a
/// solution of the cube itself: turned back about the diagonal, and for an inverted guise
/// reversed and inverted. Both searches record their solutions through it.
Solution solutionFromGuise(std::span<const std::uint8_t> path, int guise);

} // namespace cw::two_phase
