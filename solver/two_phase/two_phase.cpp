// The short solver's public functions: reading the cube, writing and measuring solutions,
// and drawing random states and their scrambles from a generator of their own.
#include "solver/two_phase/two_phase.h"

#include <array>
#include <cstddef>

#include "cube/facelet_string.h"
#include "cube/notation.h"
#include "solver/core/cubie.h"
#include "solver/two_phase/large_search.h"
#include "solver/two_phase/search.h"
#include "solver/two_phase/tables.h"

namespace cw::two_phase {

using namespace core;

namespace {

// SplitMix64: small, fast, and the same on every platform, which std:: distributions are
// not; its output passes the usual statistical batteries.
class Generator {
public:
    explicit Generator(std::uint64_t state) : state_(state) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    /// A uniform draw from 0 to bound - 1: values in the incomplete last stretch of the
    /// 64-bit range are drawn again, so every result is equally likely.
    std::uint64_t below(std::uint64_t bound) {
        const std::uint64_t limit = ~std::uint64_t{0} - (~std::uint64_t{0} % bound);
        std::uint64_t value = next();
        while (value >= limit) {
            value = next();
        }
        return value % bound;
    }

private:
    std::uint64_t state_;
};

// A uniform ordering of the N pieces (Fisher-Yates); returns whether it is odd.
template <std::size_t N>
bool shuffle(Generator& generator, std::array<std::uint8_t, N>& pieces) {
    bool odd = false;
    for (std::size_t i = N - 1; i > 0; --i) {
        const auto j = static_cast<std::size_t>(generator.below(i + 1));
        if (j != i) {
            std::swap(pieces[i], pieces[j]);
            odd = !odd;
        }
    }
    return odd;
}

CubieCube randomCube(Generator& generator) {
    CubieCube cube;
    const bool cornersOdd = shuffle(generator, cube.cp);
    const bool edgesOdd = shuffle(generator, cube.ep);
    // Exchanging two fixed edges pairs the permutations of one parity with those of the other
    // one to one, so the reachable ones stay equally likely.
    if (cornersOdd != edgesOdd) {
        std::swap(cube.ep[0], cube.ep[1]);
    }
    setTwist(cube, static_cast<int>(generator.below(kTwistCount)));
    setFlip(cube, static_cast<int>(generator.below(kFlipCount)));
    return cube;
}

// Solved, or solved by a single face turn.
bool isTrivial(const CubieCube& cube) {
    if (cube == CubieCube{}) {
        return true;
    }
    for (int m = 0; m < kMoveCount; ++m) {
        if (multiply(cube, moveCube(m)) == CubieCube{}) {
            return true;
        }
    }
    return false;
}

CubieCube drawState(std::uint64_t seed, std::uint64_t index) {
    // Seed and index are mixed through the generator's own step so that neighbouring seeds
    // and indices start far apart.
    Generator mixer(seed);
    Generator generator(mixer.next() ^ Generator(index).next());
    CubieCube cube = randomCube(generator);
    while (isTrivial(cube)) {
        cube = randomCube(generator);
    }
    return cube;
}

} // namespace

Solution solvePieces(const CubieCube& cube, const SearchLimits& limits) {
    return limits.tables == TableSize::large ? solveWithLargeTables(cube, limits)
                                             : solveCubie(cube, limits);
}

void prepareTables() {
    tables();
}

std::optional<Solution> solveFacelets(std::string_view facelets, const SearchLimits& limits) {
    const std::optional<CubieCube> cube = fromFacelets(facelets);
    if (!cube) {
        return std::nullopt;
    }
    return solvePieces(*cube, limits);
}

std::optional<Solution> solve(const Cube& cube, const SearchLimits& limits) {
    return solveFacelets(faceletString(cube), limits);
}

std::string formatSolution(const Solution& moves) {
    return notation::formatFaceTurns(moves);
}

int faceTurnCount(const Solution& moves) {
    return static_cast<int>(moves.size());
}

int quarterTurnCount(const Solution& moves) {
    int count = 0;
    for (const FaceTurn& move : moves) {
        count += move.quarterTurns == 2 ? 2 : 1;
    }
    return count;
}

Solution inverse(const Solution& moves) {
    Solution out(moves.rbegin(), moves.rend());
    for (FaceTurn& move : out) {
        move.quarterTurns = 4 - move.quarterTurns;
    }
    return out;
}

MoveList quarterTurns(const Solution& moves) {
    MoveList out;
    for (const FaceTurn& move : moves) {
        if (move.quarterTurns == 3) {
            out.emplace_back(move.face, false);
        } else {
            for (int i = 0; i < move.quarterTurns; ++i) {
                out.emplace_back(move.face, true);
            }
        }
    }
    return out;
}

std::string randomStateFacelets(std::uint64_t seed, std::uint64_t index) {
    return faceletString(drawState(seed, index));
}

Scramble randomScramble(std::uint64_t seed, std::uint64_t index, const SearchLimits& limits) {
    const CubieCube cube = drawState(seed, index);
    return {inverse(solvePieces(cube, limits)), faceletString(cube)};
}

} // namespace cw::two_phase
