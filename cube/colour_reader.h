// Reading a real cube's stickers from measured colours: 54 colours in the facelet order
// (a camera's or a colour sensor's readings) in, the facelet string they show out, or the
// stickers in doubt. The command-line solver's --colours and the solve page's camera scan
// both read through it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cube/colour_difference.h"
#include "cube/cube.h"

namespace cw {

/// The 54 stickers' colours in the order of a facelet string (U, R, F, D, L, B, each face
/// row by row as seen from outside).
using StickerColours = std::array<Rgb, kFaceletCount>;

/// What readColours made of 54 measured colours.
struct ColourReading {
    /// The facelet string the colours show, when the reading is sure; empty otherwise.
    std::string facelets;
    /// The most likely reading, 54 letters, given even when it is not sure: a cube that
    /// face turns can reach when one fits the colours at all, else each sticker's nearest
    /// colour as balanced nine to a colour.
    std::string best;
    /// The positions (0 to 53, ascending) of the stickers in doubt when the reading is not
    /// sure; empty when it is.
    std::vector<int> doubtful;
    /// Each face's colour as the reading saw it, in the order U, R, F, D, L, B: the mean
    /// of the nine stickers it gave that face's letter.
    std::array<Rgb, kFaceCount> faceColours{};

    bool sure() const { return !facelets.empty(); }
};

/// Reads which centre's colour each sticker shows. The centres say what the six colours
/// are, so any colour scheme reads. A reading is sure only when one reachable cube fits
/// the colours clearly better than every other; it is never a different reachable cube.
ColourReading readColours(const StickerColours& stickers);

} // namespace cw
