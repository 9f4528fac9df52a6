// Solver state 11: fetches each up-layer corner to the position above faces 0 and 1 and
// twists it until its up colour faces up. Called by the solver driver after state 10;
// the driver also resets its counters after a run that failed.
#include <array>

#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

using stage::ccw;
using stage::cw;

/// The corners in the order they are worked on: 0-1, 0-4, 3-1, 3-4.
constexpr std::array<int, 4> kCornerCodes = {37, 7, 52, 22};

// Both counters outlive a run and are shared by all cubes solved on one thread (each
// thread has its own). That is sound only because solver runs on a thread never
// interleave, and because every run ends with both back at 0.

/// Index into kCornerCodes of the corner being worked on.
thread_local int cornerIndex = 0;
/// 0: the lower layers are whole; 2: a twistFrontUp is outstanding; 1: a twistRightUp is.
thread_local int twistBalance = 0;

/// Turns the corner above faces a and b so that its sticker on a faces up. Disturbs the
/// lower layers exactly as twistRightUp undoes.
void twistFrontUp(Cube& cube, int a, int b) {
    stage::queue(cube, {cw(a), cw(5), cw(5), ccw(a), ccw(b), cw(5), cw(5), cw(b)});
}

/// Turns the corner above faces a and b so that its sticker on b faces up.
void twistRightUp(Cube& cube, int a, int b) {
    stage::queue(cube, {ccw(b), cw(5), cw(5), cw(b), cw(a), cw(5), cw(5), ccw(a)});
}

int finish() {
    stage::resetUpCornerCounters();
    return kStageDone;
}

} // namespace

namespace stage {

void resetUpCornerCounters() {
    cornerIndex = 0;
    twistBalance = 0;
}

} // namespace stage

int orientUpCorners(Cube& cube) {
    const int up = stage::centreColour(cube, 2);

    if (cube.codeAt(0, 0, 2) != kCornerCodes[static_cast<std::size_t>(cornerIndex)]) {
        stage::queue(cube, {cw(2)});
        return stage::handOver(cube);
    }

    if (stage::colourAt(cube, 2, 2, 2) == up) {
        const bool allUp = stage::colourAt(cube, 2, 0, 2) == up &&
                           stage::colourAt(cube, 2, 0, 0) == up &&
                           stage::colourAt(cube, 2, 2, 0) == up;
        if (allUp) {
            return finish();
        }
        ++cornerIndex;
        if (cornerIndex == 4) {
            return finish();
        }
        return cornerIndex;
    }

    // A corner that needs the other twist than the outstanding one still gets the forced
    // sequence; two twists one way equal one the other way, so the next call twists it again.
    switch (twistBalance) {
    case 0:
        if (stage::colourAt(cube, 0, 0, 2) == up) {
            twistFrontUp(cube, 0, 1);
            twistBalance = 2;
        } else if (stage::colourAt(cube, 1, 0, 0) == up) {
            twistRightUp(cube, 0, 1);
            twistBalance = 1;
        } else {
            // A twisted corner always shows the up colour on one of its side stickers on
            // a cube that face turns can reach. Queue nothing; the driver's limit ends it.
            return cube.subStep;
        }
        break;
    case 1:
        twistFrontUp(cube, 0, 1);
        twistBalance = 0;
        break;
    default:
        twistRightUp(cube, 0, 1);
        twistBalance = 0;
        break;
    }
    return stage::handOver(cube);
}

} // namespace cw
