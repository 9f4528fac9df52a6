// Pieces, face turns and coordinates of the two-phase search. The face turns are the
// published piece cycles of each face; the tests check every one against the sticker model.
#include "solver/two_phase/cubie.h"

#include "cube/facelet_places.h"

#include <cstddef>

namespace cw::two_phase {
namespace {

using Corners = std::array<std::uint8_t, kCornerCount>;
using Edges = std::array<std::uint8_t, kEdgeCount>;

enum Corner : std::uint8_t { URF, UFL, ULB, UBR, DFR, DLF, DBL, DRB };
enum Edge : std::uint8_t { UR, UF, UL, UB, DR, DF, DL, DB, FR, FL, BL, BR };

// One clockwise quarter turn of each face in facelet-string order, as the piece that each
// slot receives and the twist or flip it picks up on the way.
const std::array<CubieCube, kFaceCount> kQuarterTurns = {{
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

// The sticker places and piece faces the facelet-string reader uses, so that both read a
// string the same way.
using facelet_places::kCornerColours;
using facelet_places::kCornerPlaces;
using facelet_places::kD;
using facelet_places::kEdgeColours;
using facelet_places::kEdgePlaces;
using facelet_places::kU;

constexpr std::string_view kLetters = "URFDLB";

template <std::size_t N>
bool isEvenPermutation(const std::array<std::uint8_t, N>& pieces) {
    bool even = true;
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = i + 1; j < N; ++j) {
            if (pieces[i] > pieces[j]) {
                even = !even;
            }
        }
    }
    return even;
}

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
        for (int face = 0; face < kFaceCount; ++face) {
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

const CubieCube& diagonalTurn() {
    return kDiagonalTurn;
}

std::optional<CubieCube> fromFacelets(std::string_view facelets) {
    if (facelets.size() != 54) {
        return std::nullopt;
    }
    std::array<int, 54> faces{};
    for (std::size_t i = 0; i < facelets.size(); ++i) {
        const std::size_t face = kLetters.find(facelets[i]);
        if (face == std::string_view::npos) {
            return std::nullopt;
        }
        faces[i] = static_cast<int>(face);
    }
    const auto at = [&faces](int place) { return faces[static_cast<std::size_t>(place)]; };
    for (int face = 0; face < kFaceCount; ++face) {
        if (at(face * 9 + 4) != face) {
            return std::nullopt;
        }
    }

    CubieCube cube;
    std::array<bool, kCornerCount> seenCorner{};
    int twistSum = 0;
    for (std::size_t slot = 0; slot < kCornerCount; ++slot) {
        const auto& places = kCornerPlaces[slot];
        std::size_t twisted = 0;
        while (twisted < 3 && at(places[twisted]) != kU && at(places[twisted]) != kD) {
            ++twisted;
        }
        if (twisted == 3) {
            return std::nullopt;
        }
        const std::array<int, 3> shown = {at(places[twisted]), at(places[(twisted + 1) % 3]),
                                          at(places[(twisted + 2) % 3])};
        std::size_t piece = 0;
        while (piece < kCornerCount && kCornerColours[piece] != shown) {
            ++piece;
        }
        if (piece == kCornerCount || seenCorner[piece]) {
            return std::nullopt;
        }
        seenCorner[piece] = true;
        cube.cp[slot] = static_cast<std::uint8_t>(piece);
        cube.co[slot] = static_cast<std::uint8_t>(twisted);
        twistSum += static_cast<int>(twisted);
    }

    std::array<bool, kEdgeCount> seenEdge{};
    int flipSum = 0;
    for (std::size_t slot = 0; slot < kEdgeCount; ++slot) {
        const std::array<int, 2> shown = {at(kEdgePlaces[slot][0]), at(kEdgePlaces[slot][1])};
        const std::array<int, 2> reversed = {shown[1], shown[0]};
        std::size_t piece = 0;
        while (piece < kEdgeCount && kEdgeColours[piece] != shown &&
               kEdgeColours[piece] != reversed) {
            ++piece;
        }
        if (piece == kEdgeCount || seenEdge[piece]) {
            return std::nullopt;
        }
        seenEdge[piece] = true;
        cube.ep[slot] = static_cast<std::uint8_t>(piece);
        cube.eo[slot] = kEdgeColours[piece] == shown ? 0 : 1;
        flipSum += cube.eo[slot];
    }

    if (twistSum % 3 != 0 || flipSum % 2 != 0 ||
        isEvenPermutation(cube.cp) != isEvenPermutation(cube.ep)) {
        return std::nullopt;
    }
    return cube;
}

std::string toFacelets(const CubieCube& cube) {
    std::string text(54, '?');
    const auto put = [&text](int place, int face) {
        text[static_cast<std::size_t>(place)] = kLetters[static_cast<std::size_t>(face)];
    };
    for (int face = 0; face < kFaceCount; ++face) {
        put(face * 9 + 4, face);
    }
    for (std::size_t slot = 0; slot < kCornerCount; ++slot) {
        for (std::size_t k = 0; k < 3; ++k) {
            put(kCornerPlaces[slot][(k + cube.co[slot]) % 3], kCornerColours[cube.cp[slot]][k]);
        }
    }
    for (std::size_t slot = 0; slot < kEdgeCount; ++slot) {
        for (std::size_t k = 0; k < 2; ++k) {
            put(kEdgePlaces[slot][(k + cube.eo[slot]) % 2], kEdgeColours[cube.ep[slot]][k]);
        }
    }
    return text;
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

} // namespace cw::two_phase
