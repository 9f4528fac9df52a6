// Solver state 10: moves the four up-layer corners into their home positions, in any
// twist, by their cubie codes. Called by the solver driver after state 9.
#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

using stage::ccw;
using stage::cw;

// The sequences about a viewpoint v, with r the next face of v and l the previous one.

void queueQ(Cube& cube, int v) {
    const int r = stage::nextFace(v);
    const int l = stage::previousFace(v);
    stage::queue(cube, {cw(2), cw(l), ccw(2), ccw(r), cw(2), ccw(l), ccw(2), cw(r)});
}

void queueT(Cube& cube, int v) {
    const int r = stage::nextFace(v);
    const int l = stage::previousFace(v);
    stage::queue(cube, {ccw(r), cw(2), cw(l), ccw(2), cw(r), cw(2), ccw(l), ccw(2)});
}

void queueP(Cube& cube, int v) {
    const int r = stage::nextFace(v);
    stage::queue(cube, {cw(v)});
    for (int i = 0; i < 3; ++i) {
        stage::queue(cube, {cw(r), cw(2), ccw(r), ccw(2)});
    }
    stage::queue(cube, {ccw(v)});
}

/// Swaps both diagonal pairs; always the same faces, whatever the arrangement.
void queueS(Cube& cube) {
    for (int i = 0; i < 2; ++i) {
        stage::queue(cube, {ccw(1), ccw(1), ccw(4), ccw(4), cw(5), ccw(1), ccw(1), ccw(4), ccw(4),
                            ccw(2), ccw(2)});
    }
}

/// Codes of the corner whose home is above faces k and l: faceBit(2) | faceBit(k) | faceBit(l).
constexpr int kCorner01 = 37;
constexpr int kCorner04 = 7;
constexpr int kCorner31 = 52;
constexpr int kCorner34 = 22;

} // namespace

int placeUpCorners(Cube& cube) {
    // The code held at each corner position, read on face 0 or 3.
    const int at01 = cube.codeAt(0, 0, 2);
    const int at04 = cube.codeAt(0, 0, 0);
    const int at31 = cube.codeAt(3, 0, 0);
    const int at34 = cube.codeAt(3, 0, 2);

    const bool cycleA = at31 == kCorner04 && at04 == kCorner01 && at01 == kCorner31;
    const bool cycleB = at34 == kCorner01 && at01 == kCorner31 && at31 == kCorner34;
    const bool cycleC = at04 == kCorner31 && at31 == kCorner34 && at34 == kCorner04;
    const bool cycleD = at01 == kCorner34 && at34 == kCorner04 && at04 == kCorner01;
    const bool cycleE = at31 == kCorner01 && at01 == kCorner04 && at04 == kCorner31;
    const bool cycleF = at34 == kCorner31 && at31 == kCorner01 && at01 == kCorner34;
    const bool cycleG = at04 == kCorner34 && at34 == kCorner31 && at31 == kCorner04;
    const bool cycleH = at01 == kCorner04 && at04 == kCorner34 && at34 == kCorner01;
    const bool besideAlongFrontOrBack =
        at31 == kCorner34 || at34 == kCorner31 || at01 == kCorner04 || at04 == kCorner01;
    const bool besideAlongRightOrLeft =
        at04 == kCorner34 || at34 == kCorner04 || at01 == kCorner31 || at31 == kCorner01;
    const bool anyDiagonal =
        at01 == kCorner34 || at04 == kCorner31 || at34 == kCorner01 || at31 == kCorner04;

    if (cycleA || cycleB || cycleC || cycleD) {
        const int v = at31 == kCorner04 ? 0 : at34 == kCorner01 ? 1 : at04 == kCorner31 ? 3 : 4;
        queueQ(cube, v);
    } else if (cycleE) {
        queueT(cube, 0);
    } else if (cycleF) {
        queueT(cube, 1);
    } else if (cycleG) {
        queueT(cube, 3);
    } else if (cycleH) {
        queueT(cube, 4);
    } else if (besideAlongFrontOrBack || besideAlongRightOrLeft) {
        queueP(cube, besideAlongFrontOrBack ? 0 : 1);
    } else if (!anyDiagonal) {
        // With no corner beside or across from its home, every corner is home on a cube
        // that face turns can reach. Otherwise queue nothing and let the driver's limit
        // end the run.
        const bool allHome =
            at01 == kCorner01 && at04 == kCorner04 && at31 == kCorner31 && at34 == kCorner34;
        return allHome ? kStageDone : cube.subStep;
    } else {
        queueS(cube);
    }
    return stage::handOver(cube);
}

} // namespace cw
