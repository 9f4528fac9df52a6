// Reading and writing a cube's stickers as a facelet string, with the checks that keep
// impossible cubes away from the solvers. Used by the command-line solver, the short
// solver and the tests.
#include "cube/facelet_string.h"

#include <cstddef>
#include <cstdio>

#include "cube/facelet_places.h"
#include "cube/notation.h"

namespace cw {
namespace {

// A side is a face numbered in the order the string lists them, U, R, F, D, L, B. A
// letter's colour is its face's number, because every centre shows the colour of the
// face it sits on.
using namespace facelet_places;

int faceOfSide(int side) {
    return kStringFaceOrder[static_cast<std::size_t>(side)];
}

// The live sticker index of a string position.
std::size_t stickerIndex(std::size_t position) {
    return static_cast<std::size_t>(faceOfSide(static_cast<int>(position / 9))) * 9 + position % 9;
}

// Names a byte for a message without copying control characters or stray bytes of a
// multi-byte character onto the user's terminal.
std::string describeByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    char text[16];
    if (value >= 0x21 && value < 0x7f) {
        std::snprintf(text, sizeof text, "'%c'", byte);
    } else {
        std::snprintf(text, sizeof text, "byte 0x%02X", static_cast<unsigned>(value));
    }
    return text;
}

// Odd or even, counted by the cycles of a permutation.
template <std::size_t N>
int permutationParity(const std::array<std::uint8_t, N>& piece) {
    std::array<bool, N> visited{};
    int parity = 0;
    for (std::size_t start = 0; start < N; ++start) {
        std::size_t length = 0;
        for (std::size_t slot = start; !visited[slot]; slot = piece[slot]) {
            visited[slot] = true;
            ++length;
        }
        if (length > 0) {
            parity ^= static_cast<int>((length - 1) % 2);
        }
    }
    return parity;
}

bool isUpOrDown(int side) {
    return side == kU || side == kD;
}

// Whether a piece appears twice; if so, the first such piece and the first one missing.
template <std::size_t N>
bool findRepeat(const std::array<std::uint8_t, N>& pieces, std::size_t& repeated,
                std::size_t& missing) {
    std::array<int, N> seen{};
    for (std::size_t piece : pieces) {
        ++seen[piece];
    }
    repeated = missing = N;
    for (std::size_t piece = 0; piece < N; ++piece) {
        if (seen[piece] > 1 && repeated == N) {
            repeated = piece;
        }
        if (seen[piece] == 0 && missing == N) {
            missing = piece;
        }
    }
    return repeated < N;
}

} // namespace

FaceletReading readFaceletString(std::string_view text) {
    FaceletReading reading;
    const auto fail = [&reading](std::string message, std::vector<int> places = {}) {
        reading.error = std::move(message);
        reading.places = std::move(places);
        return std::move(reading);
    };
    // The stickers of the slots that `chosen` picks.
    const auto slotsWhere = [](const auto& places, auto chosen) {
        std::vector<int> marked;
        for (std::size_t slot = 0; slot < places.size(); ++slot) {
            if (chosen(slot)) {
                marked.insert(marked.end(), places[slot].begin(), places[slot].end());
            }
        }
        return marked;
    };
    if (text.size() != kFaceletCount) {
        return fail("the facelet string is " + std::to_string(text.size()) +
                    " characters long; it needs 54 letters");
    }

    std::array<int, kFaceletCount> sides{};
    for (std::size_t position = 0; position < text.size(); ++position) {
        const int side = sideOfLetter(text[position]);
        if (side < 0) {
            return fail("the facelet string has " + describeByte(text[position]) + " at position " +
                            std::to_string(position + 1) + "; only U, R, F, D, L and B are allowed",
                        {static_cast<int>(position)});
        }
        sides[position] = side;
    }

    for (int side = 0; side < kFaceCount; ++side) {
        const int centre = sides[static_cast<std::size_t>(side * 9 + 4)];
        if (centre != side) {
            return fail(std::string("the centre of face ") + sideLetter(side) + " is " +
                            sideLetter(centre) + "; every centre must carry its own face's letter",
                        {side * 9 + 4});
        }
    }

    std::array<int, kFaceCount> counts{};
    for (int side : sides) {
        ++counts[static_cast<std::size_t>(side)];
    }
    for (int side = 0; side < kFaceCount; ++side) {
        const int count = counts[static_cast<std::size_t>(side)];
        if (count != 9) {
            return fail(std::string("the letter ") + sideLetter(side) + " appears " +
                        std::to_string(count) + " times; each letter must appear exactly 9 times");
        }
    }

    // Which piece sits in each slot, and how it is turned there: a corner's twist is the
    // place of its up or down colour among the slot's stickers, an edge is flipped when its
    // first colour is not on the slot's first sticker.
    CubieCube& pieces = reading.pieces;
    int twistSum = 0;
    for (std::size_t slot = 0; slot < kCornerPlaces.size(); ++slot) {
        CornerTriple shown{};
        for (std::size_t i = 0; i < 3; ++i) {
            shown[i] = sides[static_cast<std::size_t>(kCornerPlaces[slot][i])];
        }
        const auto fault = [&] {
            return fail("the corner at " + pieceName(kCornerColours[slot]) + " shows " +
                            sideLetter(shown[0]) + ", " + sideLetter(shown[1]) + " and " +
                            sideLetter(shown[2]) +
                            " going clockwise; no real corner has those colours in that order",
                        {kCornerPlaces[slot].begin(), kCornerPlaces[slot].end()});
        };
        int twist = -1;
        for (std::size_t i = 0; i < 3; ++i) {
            if (isUpOrDown(shown[i])) {
                if (twist >= 0) {
                    return fault();
                }
                twist = static_cast<int>(i);
            }
        }
        if (twist < 0) {
            return fault();
        }
        const auto t = static_cast<std::size_t>(twist);
        const CornerTriple turned = {shown[t], shown[(t + 1) % 3], shown[(t + 2) % 3]};
        std::size_t piece = 0;
        while (piece < kCornerColours.size() && kCornerColours[piece] != turned) {
            ++piece;
        }
        if (piece == kCornerColours.size()) {
            return fault();
        }
        pieces.cp[slot] = static_cast<std::uint8_t>(piece);
        pieces.co[slot] = static_cast<std::uint8_t>(twist);
        twistSum += twist;
    }

    int flipSum = 0;
    for (std::size_t slot = 0; slot < kEdgePlaces.size(); ++slot) {
        const EdgePair shown = {sides[static_cast<std::size_t>(kEdgePlaces[slot][0])],
                                sides[static_cast<std::size_t>(kEdgePlaces[slot][1])]};
        const EdgePair reversed = {shown[1], shown[0]};
        std::size_t piece = 0;
        while (piece < kEdgeColours.size() && kEdgeColours[piece] != shown &&
               kEdgeColours[piece] != reversed) {
            ++piece;
        }
        if (piece == kEdgeColours.size()) {
            return fail("the edge at " + pieceName(kEdgeColours[slot]) + " shows " +
                            sideLetter(shown[0]) + " and " + sideLetter(shown[1]) +
                            "; no real edge has those colours",
                        {kEdgePlaces[slot].begin(), kEdgePlaces[slot].end()});
        }
        pieces.ep[slot] = static_cast<std::uint8_t>(piece);
        pieces.eo[slot] = kEdgeColours[piece] == shown ? 0 : 1;
        flipSum += pieces.eo[slot];
    }

    // With every slot holding a real piece, a piece that appears twice means another is
    // missing, so one message names both.
    std::size_t repeated = 0;
    std::size_t missing = 0;
    if (findRepeat(pieces.cp, repeated, missing)) {
        return fail("the corner " + pieceName(kCornerColours[repeated]) +
                        " appears twice and the corner " + pieceName(kCornerColours[missing]) +
                        " is missing",
                    slotsWhere(kCornerPlaces,
                               [&](std::size_t slot) { return pieces.cp[slot] == repeated; }));
    }
    if (findRepeat(pieces.ep, repeated, missing)) {
        return fail(
            "the edge " + pieceName(kEdgeColours[repeated]) + " appears twice and the edge " +
                pieceName(kEdgeColours[missing]) + " is missing",
            slotsWhere(kEdgePlaces, [&](std::size_t slot) { return pieces.ep[slot] == repeated; }));
    }

    if (twistSum % 3 != 0) {
        return fail(
            "a corner is twisted in place (the corner twists do not add up to a "
            "multiple of 3)",
            slotsWhere(kCornerPlaces, [&](std::size_t slot) { return pieces.co[slot] != 0; }));
    }
    if (flipSum % 2 != 0) {
        return fail(
            "an edge is flipped in place (the edge flips add up to an odd number)",
            slotsWhere(kEdgePlaces, [&](std::size_t slot) { return pieces.eo[slot] != 0; }));
    }
    if (permutationParity(pieces.cp) != permutationParity(pieces.ep)) {
        std::vector<int> moved =
            slotsWhere(kCornerPlaces, [&](std::size_t slot) { return pieces.cp[slot] != slot; });
        const std::vector<int> movedEdges =
            slotsWhere(kEdgePlaces, [&](std::size_t slot) { return pieces.ep[slot] != slot; });
        moved.insert(moved.end(), movedEdges.begin(), movedEdges.end());
        return fail("two pieces are swapped (the corner and edge permutations have different "
                    "parities)",
                    std::move(moved));
    }
    return reading;
}

std::string loadFaceletString(Cube& cube, std::string_view text) {
    FaceletReading reading = readFaceletString(text);
    if (!reading.error.empty()) {
        return std::move(reading.error);
    }

    // The cube is reachable: every sticker takes its letter's colour and the code of the
    // piece it belongs to, the OR of the bits of the faces whose colours that piece shows.
    std::array<int, kFaceletCount> sides{};
    for (std::size_t position = 0; position < text.size(); ++position) {
        sides[position] = sideOfLetter(text[position]);
    }
    const auto bitOf = [](int side) {
        return kFaceBits[static_cast<std::size_t>(faceOfSide(side))];
    };
    std::array<std::int32_t, kFaceletCount> codes{};
    for (int side = 0; side < kFaceCount; ++side) {
        codes[static_cast<std::size_t>(side * 9 + 4)] = bitOf(side);
    }
    for (const CornerTriple& places : kCornerPlaces) {
        std::int32_t code = 0;
        for (int place : places) {
            code |= bitOf(sides[static_cast<std::size_t>(place)]);
        }
        for (int place : places) {
            codes[static_cast<std::size_t>(place)] = code;
        }
    }
    for (const EdgePair& places : kEdgePlaces) {
        const std::int32_t code = bitOf(sides[static_cast<std::size_t>(places[0])]) |
                                  bitOf(sides[static_cast<std::size_t>(places[1])]);
        for (int place : places) {
            codes[static_cast<std::size_t>(place)] = code;
        }
    }
    for (std::size_t position = 0; position < kFaceletCount; ++position) {
        cube.facelets[stickerIndex(position)].set(faceOfSide(sides[position]), codes[position]);
    }
    return "";
}

std::string faceletString(const Cube& cube) {
    // Colour c is the colour of face c's centre, so its letter is face c's.
    std::string text(kFaceletCount, '?');
    for (std::size_t position = 0; position < kFaceletCount; ++position) {
        const std::int32_t colour = cube.facelets[stickerIndex(position)].colour;
        if (isFace(colour)) {
            text[position] = notation::faceLetter(colour);
        }
    }
    return text;
}

std::string faceletString(const CubieCube& cube) {
    std::string text(kFaceletCount, '?');
    const auto put = [&text](int place, int side) {
        text[static_cast<std::size_t>(place)] = sideLetter(side);
    };
    for (int side = 0; side < kFaceCount; ++side) {
        put(side * 9 + 4, side);
    }
    for (std::size_t slot = 0; slot < kCornerPlaces.size(); ++slot) {
        for (std::size_t k = 0; k < 3; ++k) {
            put(kCornerPlaces[slot][(k + cube.co[slot]) % 3], kCornerColours[cube.cp[slot]][k]);
        }
    }
    for (std::size_t slot = 0; slot < kEdgePlaces.size(); ++slot) {
        for (std::size_t k = 0; k < 2; ++k) {
            put(kEdgePlaces[slot][(k + cube.eo[slot]) % 2], kEdgeColours[cube.ep[slot]][k]);
        }
    }
    return text;
}

} // namespace cw
