// Solver state 9: moves the four up-layer edges, already turned up, into their home
// positions by their cubie codes. Called by the solver driver after state 8.
#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

using stage::ccw;
using stage::cw;

// The four sequences, each about one side face x. P has its two up turns in second and
// third place counter-clockwise where Z has them clockwise; both are queued as written.

void queueP(Cube& cube, int x) {
    stage::queue(cube, {ccw(x), ccw(2), ccw(2), cw(x), cw(2), ccw(x), cw(2), cw(x)});
}

void queueQ(Cube& cube, int x) {
    stage::queue(cube, {ccw(x), ccw(2), cw(x), ccw(2), ccw(x), ccw(2), ccw(2), cw(x)});
}

void queueR(Cube& cube, int x) {
    stage::queue(cube, {cw(2)});
    queueP(cube, x);
}

void queueZ(Cube& cube, int x) {
    stage::queue(cube, {ccw(x), cw(2), cw(2), cw(x), cw(2), ccw(x), cw(2), cw(x)});
}

void queueS(Cube& cube, int x) {
    queueZ(cube, x);
    stage::queue(cube, {ccw(2)});
    queueZ(cube, x);
}

/// Codes of the edge whose home is above each side face: faceBit(2) | faceBit(k).
constexpr int kEdge0 = 5;
constexpr int kEdge1 = 36;
constexpr int kEdge3 = 20;
constexpr int kEdge4 = 6;

} // namespace

int placeUpEdges(Cube& cube) {
    // The codes held at the up-face sticker of each up-layer edge position.
    const int above0 = cube.codeAt(2, 2, 1);
    const int above1 = cube.codeAt(2, 1, 2);
    const int above3 = cube.codeAt(2, 0, 1);
    const int above4 = cube.codeAt(2, 1, 0);

    const bool cycleOneWay = (above0 == kEdge1 && above1 == kEdge4 && above4 == kEdge0) ||
                             (above3 == kEdge0 && above0 == kEdge1 && above1 == kEdge3) ||
                             (above4 == kEdge1 && above1 == kEdge3 && above3 == kEdge4) ||
                             (above0 == kEdge3 && above3 == kEdge4 && above4 == kEdge0);
    const bool cycleOtherWay = (above4 == kEdge1 && above1 == kEdge0 && above0 == kEdge4) ||
                               (above0 == kEdge3 && above3 == kEdge1 && above1 == kEdge0) ||
                               (above1 == kEdge4 && above4 == kEdge3 && above3 == kEdge1) ||
                               (above3 == kEdge0 && above0 == kEdge4 && above4 == kEdge3);
    const bool nextToHome = above3 == kEdge4 || above4 == kEdge3 || above4 == kEdge0 ||
                            above0 == kEdge4 || above0 == kEdge1 || above1 == kEdge0 ||
                            above1 == kEdge3 || above3 == kEdge1;
    const bool swap03 = above0 == kEdge3 && above3 == kEdge0;
    const bool swap14 = above4 == kEdge1 && above1 == kEdge4;

    if (cycleOneWay) {
        const int x = above1 == kEdge4 ? 1 : above3 == kEdge0 ? 3 : above4 != kEdge1 ? 0 : 4;
        queueP(cube, x);
    } else if (cycleOtherWay) {
        const int x = above4 == kEdge1 ? 1 : above0 == kEdge3 ? 3 : above1 != kEdge4 ? 0 : 4;
        queueQ(cube, x);
    } else if (nextToHome) {
        const int x = above3 == kEdge4 ? 1 : above4 == kEdge0 ? 3 : above0 == kEdge1 ? 4 : 0;
        queueR(cube, x);
    } else if (!swap03 && !swap14) {
        // Every edge is home. The side stickers always match on a cube that face turns
        // can reach; if they did not, queue nothing and let the driver's limit end it.
        const bool sidesMatch = stage::colourAt(cube, 0, 0, 1) == stage::centreColour(cube, 0) &&
                                stage::colourAt(cube, 1, 0, 1) == stage::centreColour(cube, 1) &&
                                stage::colourAt(cube, 4, 0, 1) == stage::centreColour(cube, 4) &&
                                stage::colourAt(cube, 3, 0, 1) == stage::centreColour(cube, 3);
        return sidesMatch ? kStageDone : cube.subStep;
    } else {
        queueS(cube, swap03 ? 1 : 3);
    }
    return stage::handOver(cube);
}

} // namespace cw
