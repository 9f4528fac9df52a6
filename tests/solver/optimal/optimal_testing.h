// Helpers of the optimal solver's tests: cubes made by moves, and the exact distance from
// solved of every cube up to seven face turns away, by breadth-first search.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "solver/core/cubie.h"
#include "solver/optimal/pattern_table.h"

namespace cw::optimal::testing {

/// A solved cube after `moves` (0..17).
CubieCube played(const std::vector<int>& moves, const CubieCube& from = {});

/// `count` random moves in which no face follows itself.
std::vector<int> randomMoves(std::mt19937& random, int count);

/// The fewest face turns that solve `cube`, when that is at most seven; nothing otherwise.
/// Every cube within four turns is kept from a breadth-first search (46,741 of them); a
/// farther one is met halfway from the cubes within three.
std::optional<int> knownDistance(const CubieCube& cube);

/// Every cube within `radius` turns of solved (at most four), with its distance.
const std::vector<std::pair<CubieCube, int>>& nearCubes(int radius);

/// The pattern table searched to distance 5 only (its other entries read 6): quick to build
/// and still a true lower bound. Built once for all tests.
const MediumPatternTable& shallowPatternTable();

/// The cut of packedPatternTable().
inline constexpr int kPackedCut = 4;

/// The medium table's coordinate packed with the cut at kPackedCut, reading
/// shallowPatternTable() below it: so it reads that table's value where it is below the cut,
/// and the smaller of the true distance and kPackedCut + 1 from the cut on. Built once for
/// all tests.
const PackedPatternTable<TableSize::medium>& packedPatternTable();

/// The small stand-in table, built once for all tests.
const SmallPatternTable& pairTables();

} // namespace cw::optimal::testing
