// Stage 6, last down corner: brings the down-front-right corner home and oriented with
// the corner insertion routine of stage 3, which completes the down layer. Run by the
// solver driver in state 6.
#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

/// The down-front-right corner: 1 + 32 + 8. Its slot is at column 2 of the front face
/// and column 0 of the right face.
constexpr int kDownFrontRight = 41;
constexpr int kLeft = 0;
constexpr int kRight = 1;

// Kept for the whole thread like stage 3's counter, but separate from it. With a
// single target it only passes from 0 to 1 and straight back.
thread_local int cornerCounter = 0;

} // namespace

void stage::resetLastDownCornerCounter() {
    cornerCounter = 0;
}

int solveLastDownCorner(Cube& cube) {
    const CubieLocation corner = findCubie(cube, kDownFrontRight);
    if (matchesCentres(cube, corner)) {
        cornerCounter = 1;
        if (cornerCounter > 0) {
            cornerCounter = 0;
            return kStageDone;
        }
    }

    // subStep is 5 here, left by stage 4, so this is the down face's colour.
    const int face = cube.subStep;
    const int downColour = stage::centreColourOf(cube, face);
    if (stage::insertDownCorner(cube, corner, kDownFrontRight, kLeft, kRight, downColour) ==
        stage::CornerCase::kNone) {
        return cornerCounter;
    }
    return stage::handOver(cube);
}

} // namespace cw
