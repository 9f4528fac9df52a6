// Solver state 8: turns the four up-layer edges over until the up face shows a cross of
// its own colour, wherever each edge sits. Called by the solver driver after state 7.
#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

using stage::ccw;
using stage::cw;

/// For two raised neighbouring edges above the opposite faces of a and b.
void queueCornerShape(Cube& cube, int a, int b) {
    stage::queue(cube, {cw(a), cw(2), cw(b), ccw(2), ccw(b), ccw(a)});
}

/// For no raised edge, or a raised pair across the up face from each other.
void queueLine(Cube& cube, int a, int b) {
    stage::queue(cube, {cw(a), cw(b), cw(2), ccw(b), ccw(2), ccw(a)});
}

} // namespace

int orientUpEdges(Cube& cube) {
    // An edge is raised when its sticker on the up face has the up colour. Only these
    // four stickers are read: the stage never looks at codes, side stickers or corners.
    const int up = stage::centreColour(cube, 2);
    const bool raised0 = stage::colourAt(cube, 2, 2, 1) == up;
    const bool raised1 = stage::colourAt(cube, 2, 1, 2) == up;
    const bool raised3 = stage::colourAt(cube, 2, 0, 1) == up;
    const bool raised4 = stage::colourAt(cube, 2, 1, 0) == up;

    if ((raised0 || raised3) && (raised1 || raised4)) {
        const int raisedCount = int{raised0} + int{raised1} + int{raised3} + int{raised4};
        if (raisedCount == 4) {
            return kStageDone;
        }
        if (raisedCount == 3) {
            // An odd count never occurs on a cube that face turns can reach. Queue
            // nothing; the driver's call limit ends such a run.
            return cube.subStep;
        }
        if (!raised0 && !raised1) { // 3 and 4
            queueCornerShape(cube, 0, 1);
        } else if (!raised3 && !raised4) { // 0 and 1
            queueCornerShape(cube, 3, 4);
        } else if (!raised0 && !raised4) { // 1 and 3
            queueCornerShape(cube, 4, 0);
        } else { // 0 and 4
            queueCornerShape(cube, 1, 3);
        }
    } else {
        const int a = raised0 ? 1 : 0;
        queueLine(cube, a, stage::nextFace(a));
    }
    return stage::handOver(cube);
}

} // namespace cw
