// One sticker of a cube, and the colour palette the stickers and outlines are drawn in.
#pragma once

#include <array>
#include <cstdint>

namespace cw {

/// Palette indices. 0..5 are sticker colours and equal the face a sticker sits on when
/// the cube is solved; black is used only for outlines.
enum FaceColour : std::int32_t {
    kWhite = 0,
    kGreen = 1,
    kRed = 2,
    kYellow = 3,
    kBlue = 4,
    kOrange = 5,
    kBlack = 6,
};

/// Red, green and blue of a palette index 0..6, as floats for glColor*fv. Any other index
/// gives black.
const std::array<float, 3>& paletteColour(int index);

/// One sticker: whether the renderer has drawn it this frame, its colour, and the
/// CubieCode of the cubie carrying it (the OR of the bits of the faces that cubie shows).
class Facelet {
public:
    Facelet() = default;
    Facelet(const Facelet&) = default;
    Facelet& operator=(const Facelet&) = default;
    virtual ~Facelet() = default;

    /// Sets colour and code; the drawn flag is left alone.
    void set(std::int32_t newColour, std::int32_t newCode) {
        colour = newColour;
        code = newCode;
    }

    bool operator==(const Facelet& other) const {
        return drawn == other.drawn && colour == other.colour && code == other.code;
    }

    bool drawn = false;
    std::int32_t colour = 0;
    std::int32_t code = 0;
};

} // namespace cw
