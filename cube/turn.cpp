// Face turns as data: each face is five 4-cycles of sticker indices, and one routine
// applies a face's cycles forwards (clockwise) or backwards (counter-clockwise). Called by
// the scrambler, the solver's replay and the turn animation.
#include "cube/cube.h"

namespace cw {

namespace {

using Cycle = std::array<std::uint8_t, 4>;
using FaceCycles = std::array<Cycle, 5>;

// In a clockwise turn the sticker at cycle[0] moves to cycle[1], cycle[1] to cycle[2],
// cycle[2] to cycle[3] and cycle[3] to cycle[0]. The first two cycles are the face's own
// corners and edges; the other three carry the band of neighbouring stickers.
constexpr std::array<FaceCycles, kFaceCount> kTurnCycles = {{
    {{{0, 2, 8, 6}, {1, 5, 7, 3}, {24, 9, 47, 44}, {25, 12, 46, 41}, {26, 15, 45, 38}}},
    {{{9, 11, 17, 15}, {10, 14, 16, 12}, {2, 20, 33, 47}, {5, 23, 30, 50}, {8, 26, 27, 53}}},
    {{{18, 20, 26, 24}, {19, 23, 25, 21}, {0, 36, 27, 9}, {1, 37, 28, 10}, {2, 38, 29, 11}}},
    {{{27, 29, 35, 33}, {28, 32, 34, 30}, {11, 18, 42, 53}, {14, 19, 39, 52}, {17, 20, 36, 51}}},
    {{{36, 38, 44, 42}, {37, 41, 43, 39}, {0, 45, 35, 18}, {3, 48, 32, 21}, {6, 51, 29, 24}}},
    {{{45, 47, 53, 51}, {46, 50, 52, 48}, {6, 15, 33, 42}, {7, 16, 34, 43}, {8, 17, 35, 44}}},
}};

} // namespace

void Cube::turn(int face, bool clockwise) {
    if (!isFace(face)) {
        return;
    }
    // The cycles share no sticker, so turning them one after another is the same as
    // turning all 20 stickers at once. Within a cycle each sticker is read before it is
    // written: one is set aside and the others move up behind it. This is the solver's
    // innermost step, and setting aside four stickers instead of twenty keeps it short.
    for (const Cycle& cycle : kTurnCycles[static_cast<std::size_t>(face)]) {
        Facelet& a = facelets[cycle[0]];
        Facelet& b = facelets[cycle[1]];
        Facelet& c = facelets[cycle[2]];
        Facelet& d = facelets[cycle[3]];
        if (clockwise) {
            // a -> b -> c -> d -> a
            const Facelet last = d;
            d = c;
            c = b;
            b = a;
            a = last;
        } else {
            // a -> d -> c -> b -> a
            const Facelet first = a;
            a = b;
            b = c;
            c = d;
            d = first;
        }
    }
}

} // namespace cw
