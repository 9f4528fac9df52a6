// The packed inverse's tables, from the face turns and the diagonal turn as cubes of pieces.
#include "solver/optimal/inverse.h"

#include <cstddef>

namespace cw::optimal {
namespace {

constexpr int kTwists = 3;
constexpr int kFlips = 2;

// n choose k for n < 12, k <= 4, as slice() ranks the middle-layer edges' places.
constexpr std::array<std::array<std::uint16_t, 5>, kEdgeCount> kChoose = [] {
    std::array<std::array<std::uint16_t, 5>, kEdgeCount> c{};
    for (std::size_t n = 0; n < kEdgeCount; ++n) {
        c[n][0] = 1;
        for (std::size_t k = 1; k < 5 && k <= n; ++k) {
            c[n][k] = static_cast<std::uint16_t>(c[n - 1][k - 1] + (k < n ? c[n - 1][k] : 0));
        }
    }
    return c;
}();

} // namespace

PackedCube packed(const CubieCube& cube) {
    PackedCube out;
    for (std::size_t i = 0; i < kCornerCount; ++i) {
        out.corners[i] = static_cast<std::uint8_t>(cube.cp[i] + kCornerCount * cube.co[i]);
    }
    for (std::size_t i = 0; i < kEdgeCount; ++i) {
        out.edges[i] = static_cast<std::uint8_t>(cube.ep[i] + kEdgeCount * cube.eo[i]);
    }
    return out;
}

const InverseMoves& InverseMoves::get() {
    static const InverseMoves kTables;
    return kTables;
}

InverseMoves::InverseMoves() {
    // (A B).cp[i] = A.cp[B.cp[i]], twisted by A.co[B.cp[i]] + B.co[i]: with A in front, the
    // piece in each slot of B is renamed and twisted by A alone.
    const auto renamed = [](const CubieCube& a, std::size_t value, std::uint8_t extraTwist,
                            std::uint8_t extraFlip, bool corner) {
        if (corner) {
            const std::size_t piece = value % kCornerCount;
            const int twist =
                (static_cast<int>(value / kCornerCount) + a.co[piece] + extraTwist) % kTwists;
            return static_cast<std::uint8_t>(a.cp[piece] + kCornerCount * twist);
        }
        const std::size_t piece = value % kEdgeCount;
        const int flip = (static_cast<int>(value / kEdgeCount) + a.eo[piece] + extraFlip) % kFlips;
        return static_cast<std::uint8_t>(a.ep[piece] + kEdgeCount * flip);
    };
    for (std::size_t m = 0; m < core::kMoveCount; ++m) {
        const CubieCube& move = core::moveCube(static_cast<int>(m));
        for (std::size_t v = 0; v < kValues; ++v) {
            cornerBefore_[m][v] = renamed(move, v, 0, 0, true);
            edgeBefore_[m][v] = renamed(move, v, 0, 0, false);
        }
    }
    // Along an axis the cube is T C T^-1, T the diagonal turn's power: slot i of it holds
    // what C holds in slot T^-1.cp[i], renamed by T and twisted by T^-1 at i as well.
    CubieCube turn;
    for (std::size_t a = 0; a < core::kAxisCount; ++a) {
        const CubieCube back = core::inverseOf(turn);
        Axis& axis = axes_[a];
        for (std::size_t i = 0; i < kCornerCount; ++i) {
            axis.cornerFrom[i] = back.cp[i];
            for (std::size_t v = 0; v < kValues; ++v) {
                axis.corner[i][v] = renamed(turn, v, back.co[i], 0, true);
            }
        }
        for (std::size_t i = 0; i < kEdgeCount; ++i) {
            axis.edgeFrom[i] = back.ep[i];
            for (std::size_t v = 0; v < kValues; ++v) {
                axis.edge[i][v] = renamed(turn, v, 0, back.eo[i], false);
            }
        }
        turn = core::multiply(turn, core::diagonalTurn());
    }
}

PhaseOneCoordinates InverseMoves::along(const PackedCube& cube, int axisNumber) const {
    const Axis& axis = axes_[static_cast<std::size_t>(axisNumber)];
    // As core::twist() and core::flip() read them: all but the last slot, first slot
    // highest.
    int twist = 0;
    for (std::size_t i = 0; i + 1 < kCornerCount; ++i) {
        twist = twist * kTwists + axis.corner[i][cube.corners[axis.cornerFrom[i]]] / kCornerCount;
    }
    // As core::edgeSet() reads the middle-layer edges: their places counted from slot 11 down
    // in the combinatorial number system, then the order in which the slots met them,
    // counted upwards.
    int flip = 0;
    int places = 0;
    int found = 0;
    std::array<int, 4> order{};
    unsigned frontBack = 0;
    for (std::size_t place = 0; place < kEdgeCount; ++place) {
        const std::size_t slot = kEdgeCount - 1 - place;
        const int value = axis.edge[slot][cube.edges[axis.edgeFrom[slot]]];
        if (slot + 1 < kEdgeCount) {
            flip |= value / kEdgeCount << (kEdgeCount - 2 - slot);
        }
        const int piece = value % kEdgeCount;
        frontBack |= piece < core::kSliceEdges && piece % 2 == 1 ? 1U << slot : 0U;
        if (piece >= core::kSliceEdges) {
            ++found;
            places += kChoose[place][static_cast<std::size_t>(found)];
            order[static_cast<std::size_t>(4 - found)] = piece;
        }
    }
    int rank = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        int smaller = 0;
        for (std::size_t j = i + 1; j < 4; ++j) {
            smaller += order[j] < order[i] ? 1 : 0;
        }
        rank = rank * static_cast<int>(4 - i) + smaller;
    }
    return {static_cast<std::uint16_t>(twist), static_cast<std::uint16_t>(flip),
            static_cast<std::uint16_t>(places * core::kSlicePermCount + rank),
            static_cast<std::uint16_t>(frontBackEdgesIn(frontBack))};
}

} // namespace cw::optimal
