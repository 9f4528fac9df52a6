// The two-phase search on a cube's pieces. Called by the public solve functions and the
// scramble maker.
#pragma once

#include <cstdint>
#include <span>

#include "solver/core/cubie.h"
#include "solver/two_phase/two_phase.h"

namespace cw::two_phase {

using namespace core;

/// The bounds both searches keep to. Every cube has a solution of at most 20 moves, and any
/// solution splits into a phase one that ends on a move outside the subgroup and a phase two
/// inside it, so a search that tries every such split within these limits always finds one.
inline constexpr int kPhase1Limit = 20;
inline constexpr int kPhase2Limit = 18;
inline constexpr int kMaxPath = kPhase1Limit + kPhase2Limit;
/// The guises of core::guisesOf(): the cube along each of three axes, as it is and inverted.
inline constexpr int kGuiseCount = 6;
/// Reaching the target length ends a search only once every first phase of up to this many
/// moves has been tried. A cube a few turns from solved then gets back a solution no longer
/// than those turns instead of the first one under the target; a random cube, whose first
/// phase is nearly always longer, is not held up by it.
inline constexpr int kThoroughPhase1Depth = 7;

/// A solution of `cube`, as solve() describes it.
Solution solveCubie(const CubieCube& cube, const SearchLimits& limits);

/// The moves `path` (0..17) that solve guise `guise` of a cube (see core::guisesOf) as a
/// solution of the cube itself: turned back about the diagonal, and for an inverted guise
/// reversed and inverted. Both searches record their solutions through it.
Solution solutionFromGuise(std::span<const std::uint8_t> path, int guise);

} // namespace cw::two_phase
