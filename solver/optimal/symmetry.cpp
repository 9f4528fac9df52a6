// Conjugation of a cube by the up-down-axis symmetries and by the diagonal turn. Built from
// three published generators; the tests check that each maps the 18 face turns onto face
// turns, which only true symmetries do.
#include "solver/optimal/symmetry.h"

#include <cstddef>
#include <stdexcept>

namespace cw::optimal {
namespace {

using core::inverseOf;
using core::kMoveCount;
using core::moveCube;
using core::multiply;

using Corners = std::array<std::uint8_t, kCornerCount>;
using Edges = std::array<std::uint8_t, kEdgeCount>;

enum Corner : std::uint8_t { URF, UFL, ULB, UBR, DFR, DLF, DBL, DRB };
enum Edge : std::uint8_t { UR, UF, UL, UB, DR, DF, DL, DB, FR, FL, BL, BR };

// A quarter turn of the whole cube about the up-down axis, and a half turn about the
// front-back axis. Neither twists a corner; the quarter turn moves the middle-layer edges
// from the front and back faces to the sides, which flips them.
const CubieCube kQuarterTurnU = {Corners{UBR, URF, UFL, ULB, DRB, DFR, DLF, DBL}, Corners{},
                                 Edges{UB, UR, UF, UL, DB, DR, DF, DL, BR, FR, FL, BL},
                                 Edges{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1}};
const CubieCube kHalfTurnF = {Corners{DLF, DFR, DRB, DBL, UFL, URF, UBR, ULB}, Corners{},
                              Edges{DL, DF, DR, DB, UL, UF, UR, UB, FL, FR, BR, BL}, Edges{}};

// The left-right mirror as the slot each slot is reflected onto. It is its own inverse.
constexpr Corners kMirrorCorners = {UFL, URF, UBR, ULB, DLF, DFR, DRB, DBL};
constexpr Edges kMirrorEdges = {UL, UF, UR, UB, DL, DF, DR, DB, FL, FR, BR, BL};

// The mirror image of a cube. A mirror keeps up and down stickers on the up and down faces,
// so flips stay as they are, but it turns clockwise into counter-clockwise, so twists change
// sign. (A mirror is no cube state, so it cannot go through multiply().)
CubieCube mirrored(const CubieCube& cube) {
    CubieCube out;
    for (std::size_t i = 0; i < kCornerCount; ++i) {
        const std::size_t from = kMirrorCorners[i];
        out.cp[i] = kMirrorCorners[cube.cp[from]];
        out.co[i] = static_cast<std::uint8_t>((3 - cube.co[from]) % 3);
    }
    for (std::size_t i = 0; i < kEdgeCount; ++i) {
        const std::size_t from = kMirrorEdges[i];
        out.ep[i] = kMirrorEdges[cube.ep[from]];
        out.eo[i] = cube.eo[from];
    }
    return out;
}

CubieCube conjugateBy(const CubieCube& rotation, const CubieCube& cube) {
    return multiply(multiply(rotation, cube), inverseOf(rotation));
}

// A cube that no symmetry but the identity leaves alone, to tell symmetries apart.
CubieCube generic() {
    CubieCube cube;
    for (const int move : {0, 4, 7, 9, 14, 17, 3, 11, 6}) {
        cube = multiply(cube, moveCube(move));
    }
    return cube;
}

struct AxisTables {
    std::array<CubieCube, 3> turns; // D^0, D^1, D^2
    std::array<std::array<int, kMoveCount>, 3> moves{};
};

const AxisTables& axisTables() {
    static const AxisTables kTables = [] {
        AxisTables t;
        t.turns[1] = core::diagonalTurn();
        t.turns[2] = multiply(t.turns[1], t.turns[1]);
        for (std::size_t axis = 0; axis < 3; ++axis) {
            for (int m = 0; m < kMoveCount; ++m) {
                const CubieCube image = conjugateBy(t.turns[axis], moveCube(m));
                int found = -1;
                for (int candidate = 0; candidate < kMoveCount; ++candidate) {
                    if (moveCube(candidate) == image) {
                        found = candidate;
                    }
                }
                if (found < 0) {
                    throw std::logic_error(
                        "the diagonal turn does not map face turns onto face turns");
                }
                t.moves[axis][static_cast<std::size_t>(m)] = found;
            }
        }
        return t;
    }();
    return kTables;
}

} // namespace

CubieCube conjugate(const CubieCube& cube, int symmetry) {
    // The rotation part of each symmetry, the half turn after the quarter turns, and its
    // inverse.
    static const std::array<std::array<CubieCube, 2>, kSymmetryCount> kRotations = [] {
        std::array<std::array<CubieCube, 2>, kSymmetryCount> rotations{};
        for (std::size_t s = 0; s < kSymmetryCount; ++s) {
            CubieCube rotation = (s & 1) != 0 ? kHalfTurnF : CubieCube{};
            for (std::size_t i = 0; i < ((s >> 1) & 3); ++i) {
                rotation = multiply(rotation, kQuarterTurnU);
            }
            rotations[s] = {rotation, inverseOf(rotation)};
        }
        return rotations;
    }();
    const auto& [rotation, inverse] = kRotations[static_cast<std::size_t>(symmetry)];
    return multiply(multiply(rotation, symmetry >= 8 ? mirrored(cube) : cube), inverse);
}

int inverseSymmetry(int symmetry) {
    static const std::array<int, kSymmetryCount> kInverse = [] {
        std::array<int, kSymmetryCount> inverse{};
        const CubieCube probe = generic();
        for (int s = 0; s < kSymmetryCount; ++s) {
            const CubieCube image = conjugate(probe, s);
            for (int t = 0; t < kSymmetryCount; ++t) {
                if (conjugate(image, t) == probe) {
                    inverse[static_cast<std::size_t>(s)] = t;
                }
            }
        }
        return inverse;
    }();
    return kInverse[static_cast<std::size_t>(symmetry)];
}

CubieCube alongAxis(const CubieCube& cube, int axis) {
    return conjugateBy(axisTables().turns[static_cast<std::size_t>(axis)], cube);
}

int axisMove(int axis, int move) {
    return axisTables().moves[static_cast<std::size_t>(axis)][static_cast<std::size_t>(move)];
}

} // namespace cw::optimal
