// Helpers for tests that need cubes in known states.
#pragma once

#include <string>
#include <vector>

#include "cube/cube.h"
#include "cube/scramble.h"

namespace cw::testing {

/// Puts the cube's live stickers into the solved layout, with nothing queued.
inline void setSolved(Cube& cube) {
    setSolvedStickers(cube);
    cube.clearMarks();
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

namespace cw {

/// The turns the next scramble would make from the generator's current state.
inline void drawScrambleInto(std::vector<Move>& turns) {
    drawScramble([&turns](int face, bool clockwise) { turns.push_back(Move(face, clockwise)); });
}

} // namespace cw
