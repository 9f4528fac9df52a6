// Pieces, face turns and coordinates of the searches. The face turns are the
// published piece cycles of each face; the tests check every one against the sticker model.
#include "solver/core/cubie.h"

#include <cstddef>
#include <stdexcept>

namespace cw::core {
namespace {

using namespace pieces;

// One clockwise quarter turn of each face in facelet-string order, as the piece that each
// slot receives and the twist or flip it picks up on the way.
const std::array<CubieCube, kSideCount> kQuarterTurns = {{
    {Corners{UBR, URF, UFL, ULB, DFR, DLF, DBL, DRB}, Corners{},
     Edges{UB, UR, UF, UL, DR, DF, DL, DB, FR, FL, BL, BR}, Edges{}},
    {Corners{DFR, UFL, ULB, URF, DRB, DLF, DBL, UBR}, Corners{2, 0, 0, 1, 1, 0, 0, 2},
     Edges{FR, UF, UL, UB, BR, DF, DL, DB, DR, FL, BL, UR}, Edges{}},
    {Corners{UFL, DLF, ULB, UBR, URF, DFR, DBL, DRB}, Corners{1, 2, 0, 0, 2, 1, 0, 0},
     Edges{UR, FL, UL, UB, DR, FR, DL, DB, UF, DF, BL, BR},
     Edges{0, 1, 0, 0, 0, 1, 0, 0, 1, 1, 0, 0}},
    {Corners{URF, UFL, ULB, UBR, DLF, DBL, DRB, DFR}, Corners{},
     Edges{UR, UF, UL, UB, DF, DL, DB, DR, FR, FL, BL, BR}, Edges{}},
    {Corners{URF, ULB, DBL, UBR, DFR, UFL, DLF, DRB}, Corners{0, 1, 2, 0, 0, 2, 1, 0},
     Edges{UR, UF, BL, UB, DR, DF, FL, DB, FR, UL, DL, BR}, Edges{}},
    {Corners{URF, UFL, UBR, DRB, DFR, DLF, ULB, DBL}, Corners{0, 0, 1, 2, 0, 0, 2, 1},
     Edges{UR, UF, UL, BR, DR, DF, DL, BL, FR, FL, UB, DB},
     Edges{0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 1}},
}};

const CubieCube kDiagonalTurn = {Corners{URF, DFR, DLF, UFL, UBR, DRB, DBL, ULB},
                                 Corners{1, 2, 1, 2, 2, 1, 2, 1},
                                 Edges{UF, FR, DF, FL, UB, BR, DB, BL, UR, DR, DL, UL},
                                 Edges{1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 1}};

// Lehmer code of an ordering of 0..N-1; the identity is 0.
template <std::size_t N>
int permutationRank(const std::array<std::uint8_t, N>& pieces) {
    int rank = 0;
    for (std::size_t i = 0; i < N; ++i) {
        int smaller = 0;
        for (std::size_t j = i + 1; j < N; ++j) {
            smaller += pieces[j] < pieces[i] ? 1 : 0;
        }
        rank = rank * static_cast<int>(N - i) + smaller;
    }
    return rank;
}

template <std::size_t N>
std::array<std::uint8_t, N> permutationOfRank(int rank) {
    std::array<int, N> digits{};
    for (std::size_t i = N; i-- > 0;) {
        const int base = static_cast<int>(N - i);
        digits[i] = rank % base;
        rank /= base;
    }
    std::array<bool, N> used{};
    std::array<std::uint8_t, N> pieces{};
    for (std::size_t i = 0; i < N; ++i) {
        int skip = digits[i];
        std::size_t piece = 0;
        while (used[piece] || skip > 0) {
            if (!used[piece]) {
                --skip;
            }
            ++piece;
        }
        used[piece] = true;
        pieces[i] = static_cast<std::uint8_t>(piece);
    }
    return pieces;
}

constexpr int choose(int n, int k) {
    if (k < 0 || k > n) {
        return 0;
    }
    int result = 1;
    for (int i = 0; i < k; ++i) {
        result = result * (n - i) / (i + 1);
    }
    return result;
}

// The twists or flips of all pieces but the last as a number in base `kStates`; the last
// piece's follows from the others, since their sum is a multiple of kStates.
template <int kStates, std::size_t N>
int orientationOf(const std::array<std::uint8_t, N>& orientations) {
    int value = 0;
    for (std::size_t i = 0; i + 1 < N; ++i) {
        value = value * kStates + orientations[i];
    }
    return value;
}

template <int kStates, std::size_t N>
void setOrientation(std::array<std::uint8_t, N>& orientations, int value) {
    int sum = 0;
    for (std::size_t i = N - 1; i-- > 0;) {
        orientations[i] = static_cast<std::uint8_t>(value % kStates);
        sum += orientations[i];
        value /= kStates;
    }
    orientations[N - 1] = static_cast<std::uint8_t>((kStates - sum % kStates) % kStates);
}

bool isSliceEdge(std::uint8_t edge) {
    return edge >= FR;
}

// The cube with the four edges from `first` on relabelled as the middle-layer edges and the
// others as up-down edges, so that slice() and setSlice() rank the places of any four.
CubieCube asSliceEdges(const CubieCube& cube, int first) {
    CubieCube marked;
    std::uint8_t other = 0;
    for (std::size_t slot = 0; slot < kEdgeCount; ++slot) {
        const int edge = cube.ep[slot];
        marked.ep[slot] = edge >= first && edge < first + 4
                              ? static_cast<std::uint8_t>(kSliceEdges + edge - first)
                              : other++;
    }
    return marked;
}

} // namespace

CubieCube multiply(const CubieCube& a, const CubieCube& b) {
    CubieCube out;
    for (std::size_t i = 0; i < kCornerCount; ++i) {
        out.cp[i] = a.cp[b.cp[i]];
        out.co[i] = static_cast<std::uint8_t>((a.co[b.cp[i]] + b.co[i]) % 3);
    }
    for (std::size_t i = 0; i < kEdgeCount; ++i) {
        out.ep[i] = a.ep[b.ep[i]];
        out.eo[i] = static_cast<std::uint8_t>((a.eo[b.ep[i]] + b.eo[i]) % 2);
    }
    return out;
}

CubieCube inverseOf(const CubieCube& cube) {
    CubieCube out;
    for (std::size_t i = 0; i < kCornerCount; ++i) {
        out.cp[cube.cp[i]] = static_cast<std::uint8_t>(i);
        out.co[cube.cp[i]] = static_cast<std::uint8_t>((3 - cube.co[i]) % 3);
    }
    for (std::size_t i = 0; i < kEdgeCount; ++i) {
        out.ep[cube.ep[i]] = static_cast<std::uint8_t>(i);
        out.eo[cube.ep[i]] = cube.eo[i];
    }
    return out;
}

const CubieCube& moveCube(int move) {
    static const std::array<CubieCube, kMoveCount> kMoves = [] {
        std::array<CubieCube, kMoveCount> moves{};
        for (int face = 0; face < kSideCount; ++face) {
            CubieCube turned;
            for (int quarterTurns = 1; quarterTurns <= 3; ++quarterTurns) {
                turned = multiply(turned, kQuarterTurns[static_cast<std::size_t>(face)]);
                moves[static_cast<std::size_t>(moveOf(face, quarterTurns))] = turned;
            }
        }
        return moves;
    }();
    return kMoves[static_cast<std::size_t>(move)];
}

int moveMatching(const CubieCube& cube) {
    for (int m = 0; m < kMoveCount; ++m) {
        if (moveCube(m) == cube) {
            return m;
        }
    }
    throw std::logic_error("a cube that no face turn makes, where one was expected");
}

const CubieCube& diagonalTurn() {
    return kDiagonalTurn;
}

std::optional<CubieCube> fromFacelets(std::string_view facelets) {
    FaceletReading reading = readFaceletString(facelets);
    if (!reading.error.empty()) {
        return std::nullopt;
    }
    return reading.pieces;
}

int twist(const CubieCube& cube) {
    return orientationOf<3>(cube.co);
}

void setTwist(CubieCube& cube, int value) {
    setOrientation<3>(cube.co, value);
}

int flip(const CubieCube& cube) {
    return orientationOf<2>(cube.eo);
}

void setFlip(CubieCube& cube, int value) {
    setOrientation<2>(cube.eo, value);
}

// The places of the middle-layer edges, counted from slot 11 down, ranked in the
// combinatorial number system: slots 8 to 11 are places 3 to 0 and rank 0.
int slice(const CubieCube& cube) {
    int value = 0;
    int found = 0;
    for (int place = 0; place < kEdgeCount; ++place) {
        if (isSliceEdge(cube.ep[static_cast<std::size_t>(kEdgeCount - 1 - place)])) {
            ++found;
            value += choose(place, found);
        }
    }
    return value;
}

void setSlice(CubieCube& cube, int value) {
    std::array<bool, kEdgeCount> inSlice{};
    for (int found = 4; found > 0; --found) {
        int place = found - 1;
        while (choose(place + 1, found) <= value) {
            ++place;
        }
        value -= choose(place, found);
        inSlice[static_cast<std::size_t>(kEdgeCount - 1 - place)] = true;
    }
    std::uint8_t nextSlice = FR;
    std::uint8_t nextOther = UR;
    for (std::size_t slot = 0; slot < kEdgeCount; ++slot) {
        cube.ep[slot] = inSlice[slot] ? nextSlice++ : nextOther++;
    }
}

int cornerPermutation(const CubieCube& cube) {
    return permutationRank(cube.cp);
}

void setCornerPermutation(CubieCube& cube, int value) {
    cube.cp = permutationOfRank<kCornerCount>(value);
}

int udEdgePermutation(const CubieCube& cube) {
    std::array<std::uint8_t, 8> pieces{};
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        pieces[i] = cube.ep[i];
    }
    return permutationRank(pieces);
}

void setUdEdgePermutation(CubieCube& cube, int value) {
    const std::array<std::uint8_t, 8> pieces = permutationOfRank<8>(value);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        cube.ep[i] = pieces[i];
    }
}

int slicePermutation(const CubieCube& cube) {
    std::array<std::uint8_t, 4> pieces{};
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        pieces[i] = static_cast<std::uint8_t>(cube.ep[FR + i] - FR);
    }
    return permutationRank(pieces);
}

void setSlicePermutation(CubieCube& cube, int value) {
    const std::array<std::uint8_t, 4> pieces = permutationOfRank<4>(value);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        cube.ep[FR + i] = static_cast<std::uint8_t>(pieces[i] + FR);
    }
}

int edgeSet(const CubieCube& cube, int first) {
    const CubieCube marked = asSliceEdges(cube, first);
    CubieCube order;
    std::size_t next = kSliceEdges;
    for (std::size_t slot = 0; slot < kEdgeCount; ++slot) {
        if (marked.ep[slot] >= kSliceEdges) {
            order.ep[next++] = marked.ep[slot];
        }
    }
    return slice(marked) * kSlicePermCount + slicePermutation(order);
}

void setEdgeSet(CubieCube& cube, int first, int value) {
    CubieCube places;
    setSlice(places, value / kSlicePermCount);
    CubieCube order;
    setSlicePermutation(order, value % kSlicePermCount);
    std::size_t nextInSet = kSliceEdges;
    int nextOther = 0;
    for (std::size_t slot = 0; slot < kEdgeCount; ++slot) {
        if (places.ep[slot] >= kSliceEdges) {
            cube.ep[slot] = static_cast<std::uint8_t>(order.ep[nextInSet++] - kSliceEdges + first);
        } else {
            if (nextOther == first) {
                nextOther += 4;
            }
            cube.ep[slot] = static_cast<std::uint8_t>(nextOther++);
        }
    }
}

} // namespace cw::core
