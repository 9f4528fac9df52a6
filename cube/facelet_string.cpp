// Reading and writing a cube's stickers as a facelet string, with the checks that keep
// impossible cubes away from the solver. Used by the command-line solver and the tests.
#include "cube/facelet_string.h"

#include "cube/facelet_places.h"

#include <array>
#include <cstddef>
#include <cstdio>

namespace cw {
namespace {

// The string lists the faces U, R, F, D, L, B; these are their letters and this cube's
// numbers for the same faces. A letter's colour is its face's number, because every
// centre shows the colour of the face it sits on.
constexpr std::string_view kLetters = "URFDLB";
constexpr std::array<int, kFaceCount> kStringFaces = {2, 1, 0, 5, 4, 3};

using namespace facelet_places;

char letterOf(int side) {
    return kLetters[static_cast<std::size_t>(side)];
}

// The live sticker index of a string position.
std::size_t stickerIndex(std::size_t position) {
    return static_cast<std::size_t>(kStringFaces[position / 9]) * 9 + position % 9;
}

template <std::size_t N>
std::string pieceName(const std::array<int, N>& sides) {
    std::string name;
    for (int side : sides) {
        name += letterOf(side);
    }
    return name;
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
int permutationParity(const std::array<std::size_t, N>& piece) {
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

} // namespace

std::string loadFaceletString(Cube& cube, std::string_view text) {
    if (text.size() != kFaceletCount) {
        return "the facelet string is " + std::to_string(text.size()) +
               " characters long; it needs 54 letters";
    }

    std::array<int, kFaceletCount> sides{};
    for (std::size_t position = 0; position < text.size(); ++position) {
        const std::size_t side = kLetters.find(text[position]);
        if (side == std::string_view::npos) {
            return "the facelet string has " + describeByte(text[position]) + " at position " +
                   std::to_string(position + 1) + "; only U, R, F, D, L and B are allowed";
        }
        sides[position] = static_cast<int>(side);
    }

    for (int side = 0; side < kFaceCount; ++side) {
        const int centre = sides[static_cast<std::size_t>(side * 9 + 4)];
        if (centre != side) {
            return std::string("the centre of face ") + letterOf(side) + " is " + letterOf(centre) +
                   "; every centre must carry its own face's letter";
        }
    }

    std::array<int, kFaceCount> counts{};
    for (int side : sides) {
        ++counts[static_cast<std::size_t>(side)];
    }
    for (int side = 0; side < kFaceCount; ++side) {
        const int count = counts[static_cast<std::size_t>(side)];
        if (count != 9) {
            return std::string("the letter ") + letterOf(side) + " appears " +
                   std::to_string(count) + " times; each letter must appear exactly 9 times";
        }
    }

    // Which piece sits in each slot, and how it is turned there: a corner's twist is the
    // place of its up or down colour among the slot's stickers, an edge is flipped when its
    // first colour is not on the slot's first sticker.
    std::array<std::size_t, kCornerCount> cornerPiece{};
    int twistSum = 0;
    for (std::size_t slot = 0; slot < kCornerCount; ++slot) {
        CornerTriple shown{};
        for (std::size_t i = 0; i < 3; ++i) {
            shown[i] = sides[static_cast<std::size_t>(kCornerPlaces[slot][i])];
        }
        const std::string message = "the corner at " + pieceName(kCornerColours[slot]) + " shows " +
                                    letterOf(shown[0]) + ", " + letterOf(shown[1]) + " and " +
                                    letterOf(shown[2]) +
                                    " going clockwise; no real corner has those colours "
                                    "in that order";
        int twist = -1;
        for (std::size_t i = 0; i < 3; ++i) {
            if (isUpOrDown(shown[i])) {
                if (twist >= 0) {
                    return message;
                }
                twist = static_cast<int>(i);
            }
        }
        if (twist < 0) {
            return message;
        }
        const auto t = static_cast<std::size_t>(twist);
        const CornerTriple turned = {shown[t], shown[(t + 1) % 3], shown[(t + 2) % 3]};
        std::size_t piece = 0;
        while (piece < kCornerCount && kCornerColours[piece] != turned) {
            ++piece;
        }
        if (piece == kCornerCount) {
            return message;
        }
        cornerPiece[slot] = piece;
        twistSum += twist;
    }

    std::array<std::size_t, kEdgeCount> edgePiece{};
    int flipSum = 0;
    for (std::size_t slot = 0; slot < kEdgeCount; ++slot) {
        const EdgePair shown = {sides[static_cast<std::size_t>(kEdgePlaces[slot][0])],
                                sides[static_cast<std::size_t>(kEdgePlaces[slot][1])]};
        const EdgePair reversed = {shown[1], shown[0]};
        std::size_t piece = 0;
        while (piece < kEdgeCount && kEdgeColours[piece] != shown &&
               kEdgeColours[piece] != reversed) {
            ++piece;
        }
        if (piece == kEdgeCount) {
            return "the edge at " + pieceName(kEdgeColours[slot]) + " shows " + letterOf(shown[0]) +
                   " and " + letterOf(shown[1]) + "; no real edge has those colours";
        }
        edgePiece[slot] = piece;
        flipSum += kEdgeColours[piece] == shown ? 0 : 1;
    }

    // With every slot holding a real piece, a piece that appears twice means another is
    // missing, so one message names both.
    const auto findRepeat = [](const auto& pieces, std::size_t& repeated, std::size_t& missing) {
        std::array<int, kEdgeCount> seen{};
        for (std::size_t piece : pieces) {
            ++seen[piece];
        }
        repeated = missing = pieces.size();
        for (std::size_t piece = 0; piece < pieces.size(); ++piece) {
            if (seen[piece] > 1 && repeated == pieces.size()) {
                repeated = piece;
            }
            if (seen[piece] == 0 && missing == pieces.size()) {
                missing = piece;
            }
        }
        return repeated < pieces.size();
    };
    std::size_t repeated = 0;
    std::size_t missing = 0;
    if (findRepeat(cornerPiece, repeated, missing)) {
        return "the corner " + pieceName(kCornerColours[repeated]) +
               " appears twice and the corner " + pieceName(kCornerColours[missing]) +
               " is missing";
    }
    if (findRepeat(edgePiece, repeated, missing)) {
        return "the edge " + pieceName(kEdgeColours[repeated]) + " appears twice and the edge " +
               pieceName(kEdgeColours[missing]) + " is missing";
    }

    if (twistSum % 3 != 0) {
        return "a corner is twisted in place (the corner twists do not add up to a multiple "
               "of 3)";
    }
    if (flipSum % 2 != 0) {
        return "an edge is flipped in place (the edge flips add up to an odd number)";
    }
    if (permutationParity(cornerPiece) != permutationParity(edgePiece)) {
        return "two pieces are swapped (the corner and edge permutations have different "
               "parities)";
    }

    // The cube is reachable: every sticker takes its letter's colour and the code of the
    // piece it belongs to, the OR of the bits of the faces whose colours that piece shows.
    const auto bitOf = [](int side) {
        return kFaceBits[static_cast<std::size_t>(kStringFaces[static_cast<std::size_t>(side)])];
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
        cube.facelets[stickerIndex(position)].set(
            kStringFaces[static_cast<std::size_t>(sides[position])], codes[position]);
    }
    return "";
}

std::string faceletString(const Cube& cube) {
    // The letter of each colour: colour c is the colour of face c's centre.
    constexpr std::string_view kLetterOfColour = "FRUBLD";
    std::string text(kFaceletCount, '?');
    for (std::size_t position = 0; position < kFaceletCount; ++position) {
        const std::int32_t colour = cube.facelets[stickerIndex(position)].colour;
        if (colour >= 0 && colour < kFaceCount) {
            text[position] = kLetterOfColour[static_cast<std::size_t>(colour)];
        }
    }
    return text;
}

} // namespace cw
