// The up-down symmetries of the cube, from three generators written out piece by piece, and
// the diagonal turn's action on cubes and moves; the tests check that each maps every face
// turn onto a face turn, as seen on the stickers.
#include "solver/core/symmetry.h"

#include <cstddef>

namespace cw::core {
namespace {

using namespace pieces;

// The whole cube turned half a turn about the front-back axis.
const CubieCube kHalfTurnF = {Corners{DLF, DFR, DRB, DBL, UFL, URF, UBR, ULB}, Corners{},
                              Edges{DL, DF, DR, DB, UL, UF, UR, UB, FL, FR, BR, BL}, Edges{}};
// The whole cube turned a quarter turn clockwise about the up-down axis, seen from above.
const CubieCube kQuarterTurnU = {Corners{UBR, URF, UFL, ULB, DRB, DFR, DLF, DBL}, Corners{},
                                 Edges{UB, UR, UF, UL, DB, DR, DF, DL, BR, FR, FL, BL},
                                 Edges{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1}};
// The mirror image in the plane between left and right.
const CubieCube kMirrorLR = {Corners{UFL, URF, UBR, ULB, DLF, DFR, DRB, DBL},
                             Corners{3, 3, 3, 3, 3, 3, 3, 3},
                             Edges{UL, UF, UR, UB, DL, DF, DR, DB, FL, FR, BR, BL}, Edges{}};

// A twist as an element of the corner's orientation group: clockwise twists 0 to 2, and
// 3 to 5 for the same twists seen in a mirror, where a later twist counts backwards.
std::uint8_t twistProduct(std::uint8_t a, std::uint8_t b) {
    const int aTwist = a % 3;
    const int bTwist = b % 3;
    const bool mirrored = (a >= 3) != (b >= 3);
    const int twist = (a >= 3 ? aTwist - bTwist + 3 : aTwist + bTwist) % 3;
    return static_cast<std::uint8_t>(twist + (mirrored ? 3 : 0));
}

struct SymmetryTables {
    std::array<CubieCube, kUdSymmetryCount> cubes{};
    std::array<int, kUdSymmetryCount> inverse{};
    SymmetryActions actions;
};

const SymmetryTables& symmetryTables() {
    static const SymmetryTables kTables = [] {
        SymmetryTables t;
        CubieCube f2;
        for (int a = 0; a < 2; ++a) {
            CubieCube u4 = f2;
            for (int b = 0; b < 4; ++b) {
                t.cubes[static_cast<std::size_t>(a * 8 + b * 2)] = u4;
                t.cubes[static_cast<std::size_t>(a * 8 + b * 2 + 1)] =
                    symmetryProduct(u4, kMirrorLR);
                u4 = symmetryProduct(u4, kQuarterTurnU);
            }
            f2 = symmetryProduct(f2, kHalfTurnF);
        }
        for (std::size_t s = 0; s < kUdSymmetryCount; ++s) {
            for (std::size_t r = 0; r < kUdSymmetryCount; ++r) {
                if (symmetryProduct(t.cubes[s], t.cubes[r]) == CubieCube{}) {
                    t.inverse[s] = static_cast<int>(r);
                }
            }
            for (int m = 0; m < kMoveCount; ++m) {
                const CubieCube image =
                    symmetryProduct(symmetryProduct(t.cubes[s], moveCube(m)),
                                    t.cubes[static_cast<std::size_t>(t.inverse[s])]);
                t.actions.moves[s][static_cast<std::size_t>(m)] =
                    static_cast<std::uint8_t>(moveMatching(image));
            }
        }
        // Seeing a cube through s and then through r is seeing it through S_r S_s.
        for (std::size_t s = 0; s < kUdSymmetryCount; ++s) {
            for (std::size_t r = 0; r < kUdSymmetryCount; ++r) {
                const CubieCube both = symmetryProduct(t.cubes[r], t.cubes[s]);
                for (std::size_t v = 0; v < kUdSymmetryCount; ++v) {
                    if (t.cubes[v] == both) {
                        t.actions.composed[s][r] = static_cast<std::uint8_t>(v);
                    }
                }
            }
        }
        return t;
    }();
    return kTables;
}

// The diagonal turn's powers D^0, D^1, D^2 and what each makes of every move.
struct AxisTables {
    std::array<CubieCube, kAxisCount> turns{};
    std::array<std::array<std::uint8_t, kMoveCount>, kAxisCount> moves{};
};

const AxisTables& axisTables() {
    static const AxisTables kTables = [] {
        AxisTables t;
        t.turns[1] = diagonalTurn();
        t.turns[2] = multiply(t.turns[1], t.turns[1]);
        for (std::size_t axis = 0; axis < kAxisCount; ++axis) {
            const CubieCube inverse = inverseOf(t.turns[axis]);
            for (int m = 0; m < kMoveCount; ++m) {
                t.moves[axis][static_cast<std::size_t>(m)] = static_cast<std::uint8_t>(
                    moveMatching(multiply(multiply(t.turns[axis], moveCube(m)), inverse)));
            }
        }
        return t;
    }();
    return kTables;
}

} // namespace

CubieCube symmetryProduct(const CubieCube& a, const CubieCube& b) {
    CubieCube out;
    for (std::size_t i = 0; i < kCornerCount; ++i) {
        out.cp[i] = a.cp[b.cp[i]];
        out.co[i] = twistProduct(a.co[b.cp[i]], b.co[i]);
    }
    for (std::size_t i = 0; i < kEdgeCount; ++i) {
        out.ep[i] = a.ep[b.ep[i]];
        out.eo[i] = static_cast<std::uint8_t>((a.eo[b.ep[i]] + b.eo[i]) % 2);
    }
    return out;
}

const CubieCube& udSymmetry(int s) {
    return symmetryTables().cubes[static_cast<std::size_t>(s)];
}

int inverseSymmetry(int s) {
    return symmetryTables().inverse[static_cast<std::size_t>(s)];
}

const SymmetryActions& symmetryActions() {
    return symmetryTables().actions;
}

CubieCube conjugate(const CubieCube& cube, int s) {
    return symmetryProduct(symmetryProduct(udSymmetry(s), cube), udSymmetry(inverseSymmetry(s)));
}

int conjugateMove(int move, int s) {
    return symmetryActions().moves[static_cast<std::size_t>(s)][static_cast<std::size_t>(move)];
}

int composeSymmetries(int first, int then) {
    return symmetryActions()
        .composed[static_cast<std::size_t>(first)][static_cast<std::size_t>(then)];
}

CubieCube alongAxis(const CubieCube& cube, int axis) {
    const CubieCube& turn = axisTables().turns[static_cast<std::size_t>(axis)];
    return multiply(multiply(turn, cube), inverseOf(turn));
}

int axisMove(int axis, int move) {
    return axisTables().moves[static_cast<std::size_t>(axis)][static_cast<std::size_t>(move)];
}

std::array<CubieCube, 6> guisesOf(const CubieCube& cube) {
    std::array<CubieCube, 6> guises{};
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const CubieCube turned = alongAxis(cube, axis);
        guises[static_cast<std::size_t>(axis * 2)] = turned;
        guises[static_cast<std::size_t>(axis * 2 + 1)] = inverseOf(turned);
    }
    return guises;
}

} // namespace cw::core
