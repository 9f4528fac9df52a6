// The scrambler's draw: which quarter turns a scramble makes, taken from the generator.
// Cube::scramble applies them; the command-line solver prints them.
#pragma once

#include "cube/cube.h"
#include "cube/random.h"

namespace cw {

/// Draws kScrambleLength quarter turns from the generator and hands each to
/// `apply(face, clockwise)` as it is drawn. For each turn the face is drawn first, then
/// the direction (clockwise when the value mod 100, plus one, is even); a turn that
/// would undo the previous one is refused and both are drawn again.
template <typename Apply>
void drawScramble(Apply&& apply) {
    int previousFace = -1;
    bool previousClockwise = false;
    for (int applied = 0; applied < kScrambleLength;) {
        const int face = rand() % 6;
        const bool clockwise = (rand() % 100 + 1) % 2 == 0;
        if (face == previousFace && clockwise != previousClockwise) {
            continue;
        }
        previousFace = face;
        previousClockwise = clockwise;
        apply(face, clockwise);
        ++applied;
    }
}

} // namespace cw
