// The two-phase search on a cube's pieces. Called by the public solve functions and the
// scramble maker.
#pragma once

#include "solver/core/cubie.h"
#include "solver/two_phase/two_phase.h"

namespace cw::two_phase {

using namespace core;

/// A solution of `cube`, as solve() describes it.
Solution solveCubie(const CubieCube& cube, const SearchLimits& limits);

} // namespace cw::two_phase
