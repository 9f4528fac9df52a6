// The two-phase search on the large tables. Called by the public solve functions and the
// scramble maker when the large tables are chosen.
#pragma once

#include "solver/core/cubie.h"
#include "solver/two_phase/two_phase.h"

namespace cw::two_phase {

using namespace core;

/// A solution of `cube`, as solve() describes it for the large tables.
Solution solveWithLargeTables(const CubieCube& cube, const SearchLimits& limits);

} // namespace cw::two_phase
