// Solver state 7: brings the front-right middle edge home, using only the up layer as
// working space. Called by the solver driver once the down layer is complete.
#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

using stage::ccw;
using stage::cw;

/// The front-right edge: faceBit(0) | faceBit(1).
constexpr int kFrontRightEdge = 33;

/// Inserts the edge standing above face 0 (face-0 sticker on face 0) into the slot
/// between faces 0 and 1. It also takes a flipped edge out of that slot.
void queueSequenceA(Cube& cube) {
    stage::queue(cube, {cw(2), cw(1), ccw(2), ccw(1), ccw(2), ccw(0), cw(2), cw(0)});
}

/// Turns an edge standing above face 0 the wrong way round (face-1 sticker on face 0)
/// through the slot and back into the up layer, two up turns from the right way round.
void queueSequenceB(Cube& cube) {
    stage::queue(cube, {ccw(2), ccw(0), cw(2), cw(0), cw(2), cw(1), ccw(2), ccw(1)});
}

} // namespace

int solveLastMiddleEdge(Cube& cube) {
    if (cube.subStep != 0) {
        cube.subStep = 0;
        return 0;
    }

    const CubieLocation edge = findCubie(cube, kFrontRightEdge);
    if (matchesCentres(cube, edge)) {
        ++cube.subStep;
        return kStageDone;
    }

    bool inUpLayer = false;
    bool inMiddleLayer = false;
    bool aboveFront = false;
    for (int i = 0; i < edge.count; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (stage::isSideFace(edge.face[at])) {
            inUpLayer = inUpLayer || edge.row[at] == 0;
            inMiddleLayer = inMiddleLayer || edge.row[at] == 1;
        }
        aboveFront = aboveFront || edge.face[at] == 0;
    }
    const bool frontStickerMatches = stage::colourAt(cube, 0, 0, 1) == stage::centreColour(cube, 0);

    if (inMiddleLayer) {
        queueSequenceA(cube);
    } else if (inUpLayer && aboveFront && frontStickerMatches) {
        queueSequenceA(cube);
    } else if (inUpLayer && aboveFront) {
        queueSequenceB(cube);
    } else if (inUpLayer) {
        stage::queue(cube, {cw(2)});
    } else {
        // Only a cube that face turns cannot reach has this edge in the down layer here.
        // Queue nothing; the driver's call limit ends such a run.
        return cube.subStep;
    }
    return stage::handOver(cube);
}

} // namespace cw
