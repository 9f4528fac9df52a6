// Search helpers the solver stages use to find a cubie by its code and to test whether
// it sits at home with the right orientation.
#include "solver/layer_by_layer/layer_by_layer.h"

#include "solver/layer_by_layer/stage_support.h"

namespace cw {

int faceBit(int face) {
    if (!isFace(face)) {
        return 6;
    }
    return kFaceBits[static_cast<std::size_t>(face)];
}

CubieLocation findCubie(const Cube& cube, int code) {
    CubieLocation found;
    // The stages rely on this visiting order: when they remember the last facelet with
    // some property, the later one in face, row, column order wins.
    for (int face = 0; face < kFaceCount; ++face) {
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                if (cube.codeAt(face, row, column) != code) {
                    continue;
                }
                // A cube whose stickers were set by hand may carry one code on more
                // than three stickers; the arrays hold three, so the rest are not kept.
                if (found.count == 3) {
                    return found;
                }
                const auto slot = static_cast<std::size_t>(found.count);
                found.face[slot] = face;
                found.row[slot] = row;
                found.column[slot] = column;
                ++found.count;
            }
        }
    }
    return found;
}

bool matchesCentres(const Cube& cube, const CubieLocation& location) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(location.count); ++i) {
        const int face = location.face[i];
        if (stage::colourAt(cube, face, location.row[i], location.column[i]) !=
            stage::centreColour(cube, face)) {
            return false;
        }
    }
    return true;
}

} // namespace cw
