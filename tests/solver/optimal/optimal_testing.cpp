// Helpers of the optimal solver's tests: a breadth-first table of the cubes near solved,
// keyed by their pieces, and the tables the tests share.
#include "optimal_testing.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <unordered_map>

namespace cw::optimal::testing {
namespace {

using core::kMoveCount;
using core::mayFollow;
using core::moveCube;
using core::multiply;

std::string keyOf(const CubieCube& cube) {
    std::string key;
    key.append(cube.cp.begin(), cube.cp.end());
    key.append(cube.co.begin(), cube.co.end());
    key.append(cube.ep.begin(), cube.ep.end());
    key.append(cube.eo.begin(), cube.eo.end());
    return key;
}

constexpr int kBallRadius = 4;

struct Ball {
    std::unordered_map<std::string, int> distance;
    std::vector<std::pair<CubieCube, int>> cubes; // by distance
};

const Ball& ball() {
    static const Ball kBall = [] {
        Ball b;
        b.cubes.emplace_back(CubieCube{}, 0);
        b.distance.emplace(keyOf(CubieCube{}), 0);
        for (std::size_t i = 0; i < b.cubes.size(); ++i) {
            const auto [cube, d] = b.cubes[i];
            if (d == kBallRadius) {
                continue;
            }
            for (int m = 0; m < kMoveCount; ++m) {
                const CubieCube next = multiply(cube, moveCube(m));
                if (b.distance.emplace(keyOf(next), d + 1).second) {
                    b.cubes.emplace_back(next, d + 1);
                }
            }
        }
        return b;
    }();
    return kBall;
}

} // namespace

CubieCube played(const std::vector<int>& moves, const CubieCube& from) {
    CubieCube cube = from;
    for (const int m : moves) {
        cube = multiply(cube, moveCube(m));
    }
    return cube;
}

std::vector<int> randomMoves(std::mt19937& random, int count) {
    std::vector<int> moves;
    std::uniform_int_distribution<int> pick(0, kMoveCount - 1);
    while (static_cast<int>(moves.size()) < count) {
        const int m = pick(random);
        if (moves.empty() || core::moveFace(m) != core::moveFace(moves.back())) {
            moves.push_back(m);
        }
    }
    return moves;
}

std::optional<int> knownDistance(const CubieCube& cube) {
    const Ball& b = ball();
    if (const auto found = b.distance.find(keyOf(cube)); found != b.distance.end()) {
        return found->second;
    }
    // Farther than four: some first one to three moves lead into the ball.
    std::optional<int> best;
    for (const auto& [first, length] : b.cubes) {
        if (length == 0 || length >= kBallRadius || (best && length >= *best)) {
            continue;
        }
        // `first` was reached from solved by its moves; the same moves played on `cube`
        // give cube * first.
        const auto rest = b.distance.find(keyOf(multiply(cube, first)));
        if (rest != b.distance.end()) {
            best = std::min(best.value_or(99), length + rest->second);
        }
    }
    return best;
}

const std::vector<std::pair<CubieCube, int>>& nearCubes(int radius) {
    static std::vector<std::vector<std::pair<CubieCube, int>>> byRadius(kBallRadius + 1);
    auto& out = byRadius[static_cast<std::size_t>(radius)];
    if (out.empty()) {
        for (const auto& entry : ball().cubes) {
            if (entry.second <= radius) {
                out.push_back(entry);
            }
        }
    }
    return out;
}

const MediumPatternTable& shallowPatternTable() {
    static const MediumPatternTable kTable = [] {
        MediumPatternTable table;
        table.build(2, 5);
        return table;
    }();
    return kTable;
}

const PackedPatternTable<TableSize::medium>& packedPatternTable() {
    static const PackedPatternTable<TableSize::medium> kTable = [] {
        PackedPatternTable<TableSize::medium> table;
        table.build(2, kPackedCut);
        table.lookBelowIn(shallowPatternTable());
        return table;
    }();
    return kTable;
}

const SmallPatternTable& pairTables() {
    static const SmallPatternTable kTables;
    return kTables;
}

} // namespace cw::optimal::testing
