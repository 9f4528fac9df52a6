// Helpers for tests that need cubes in known states.
#pragma once

#include <string>
#include <vector>

#include "cube/cube.h"

namespace cw::testing {

/// Puts the cube's live stickers into the solved layout, with nothing queued.
inline void setSolved(Cube& cube) {
    setSolvedStickers(cube);
    cube.clearMarks();
}

/// Applies moves written like "F R' U2" (F R U B L D = faces 0..5) to the live stickers.
inline void applyMoves(Cube& cube, const std::string& moves) {
    static const std::string kLetters = "FRUBLD";
    for (std::size_t i = 0; i < moves.size(); ++i) {
        const std::size_t face = kLetters.find(moves[i]);
        if (face == std::string::npos) {
            continue;
        }
        bool clockwise = true;
        int times = 1;
        if (i + 1 < moves.size() && moves[i + 1] == '\'') {
            clockwise = false;
        } else if (i + 1 < moves.size() && moves[i + 1] == '2') {
            times = 2;
        }
        for (int t = 0; t < times; ++t) {
            cube.turn(static_cast<int>(face), clockwise);
        }
    }
}

/// The sticker colours as a 54-character string of digits, for readable comparisons.
inline std::string colours(const Cube& cube) {
    std::string out;
    for (const Facelet& f : cube.facelets) {
        out += static_cast<char>('0' + f.colour);
    }
    return out;
}

} // namespace cw::testing

#include "cube/scramble.h"

namespace cw {
/// The turns the next scramble would make from the generator's current state.
inline void drawScrambleInto(std::vector<Move>& turns) {
    drawScramble([&turns](int face, bool clockwise) { turns.push_back(Move(face, clockwise)); });
}
} // namespace cw
