// Stage 2, the down cross: brings the four edges of the down face home and oriented,
// one side face after another. Run by the solver driver in state 2.
#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

using namespace stage;

/// Where the edge of side face p was found, as the case table reads it.
struct EdgeWhere {
    bool upLayer = false;
    bool middleLayer = false;
    bool downLayer = false;
    bool touchesP = false;
    int pColourFace = -1; ///< the face showing p's colour
    int otherFace = -1;   ///< the face showing the edge's other colour
};

EdgeWhere describe(const Cube& cube, const CubieLocation& edge, int p) {
    EdgeWhere where;
    const int pColour = centreColour(cube, p);
    for (std::size_t i = 0; i < static_cast<std::size_t>(edge.count); ++i) {
        const int face = edge.face[i];
        const int row = edge.row[i];
        if (isSideFace(face)) {
            where.upLayer = where.upLayer || row == 0;
            where.middleLayer = where.middleLayer || row == 1;
            where.downLayer = where.downLayer || row == 2;
        }
        if (colourAt(cube, face, row, edge.column[i]) == pColour) {
            where.pColourFace = face;
        } else {
            where.otherFace = face;
        }
        where.touchesP = where.touchesP || face == p;
    }
    return where;
}

bool crossIsComplete(const Cube& cube) {
    const int down = centreColour(cube, kDownFace);
    return cube.codeAt(0, 2, 1) == 9 && cube.codeAt(1, 2, 1) == 40 && cube.codeAt(4, 2, 1) == 10 &&
           cube.codeAt(3, 2, 1) == 24 && colourAt(cube, kDownFace, 0, 1) == down &&
           colourAt(cube, kDownFace, 1, 2) == down && colourAt(cube, kDownFace, 1, 0) == down &&
           colourAt(cube, kDownFace, 2, 1) == down;
}

// The cases, first match wins:
//   A  up layer, not touching p:        U cw                 (bring it above p)
//   B  above p, p's colour facing p:    p cw, p cw
//   C  above p, p's colour facing up:   U ccw, next ccw, p cw, next cw
//   D  middle layer, q the face with p's colour, t = (q, 1, 0) shows p's colour:
//        t: q cw, U cw, q ccw     else: q ccw, U ccw, q cw
//   E  down layer, F the face with p's colour (the other face when that is down):
//        F cw, F cw, U ccw, F cw, F cw
// D looks only at the colour at (q, 1, 0), not at which cubie shows it, so another
// middle edge with p's colour there can leave this edge in the middle layer for a
// later call to lift.

/// Queues the moves of the first case that applies. False when none does.
bool queueCase(Cube& cube, const EdgeWhere& where, int p) {
    if (where.upLayer) {
        if (!where.touchesP) {
            queue(cube, {cw(kUpFace)});
            return true;
        }
        const bool upright = colourAt(cube, p, 0, 1) == centreColour(cube, p);
        if (upright) {
            queue(cube, {cw(p), cw(p)});
        } else {
            const int next = nextFace(p);
            queue(cube, {ccw(kUpFace), ccw(next), cw(p), cw(next)});
        }
        return true;
    }
    if (where.middleLayer) {
        const int q = where.pColourFace;
        if (!isFace(q)) {
            return false;
        }
        if (colourAt(cube, q, 1, 0) == centreColour(cube, p)) {
            queue(cube, {cw(q), cw(kUpFace), ccw(q)});
        } else {
            queue(cube, {ccw(q), ccw(kUpFace), cw(q)});
        }
        return true;
    }
    if (where.downLayer) {
        const int f = where.pColourFace == kDownFace ? where.otherFace : where.pColourFace;
        if (!isFace(f)) {
            return false;
        }
        queue(cube, {cw(f), cw(f), ccw(kUpFace), cw(f), cw(f)});
        return true;
    }
    return false;
}

} // namespace

int solveDownCross(Cube& cube) {
    int& step = cube.subStep;
    // Any value an earlier run or a reset left is brought onto the walk 0, 1, 3, 4.
    if (step < 0 || step > 5) {
        step = 0;
        return 0;
    }
    if (step == 2 || step == 5) {
        return ++step;
    }

    const int p = step;
    const CubieLocation edge = findCubie(cube, faceBit(p) | faceBit(kDownFace));
    if (matchesCentres(cube, edge)) {
        if (++step < 5) {
            return step;
        }
        if (crossIsComplete(cube)) {
            return kStageDone;
        }
        step = 0;
        return 0;
    }

    if (!queueCase(cube, describe(cube, edge, p), p)) {
        return step;
    }
    return handOver(cube);
}

} // namespace cw
