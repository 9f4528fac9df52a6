// Stage 4, three middle edges: puts the right-back, back-left and left-front edges home
// around a free column, turning the down layer so that only the free corner is ever
// disturbed. Run by the solver driver in state 4.
#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

using namespace stage;

// The free column. These live as long as their thread rather than in the cube; that is
// sound because solver runs on one thread never interleave (each thread has its own set),
// and they are back at their start whenever the stage finishes.

/// A side face f such that the free corner was last left at (f, 2, 2).
thread_local int freeSlotFace = 0;
/// The free corner's code; 0 means it is to be read again at (freeSlotFace, 2, 2).
thread_local int freeCornerCode = 0;
/// True while the down face is turned to bring the free corner below the slot where
/// the target edge sits, rather than below P's slot.
thread_local bool alignToEdge = false;

/// Where the target edge was found, as the case table reads it.
struct EdgeWhere {
    bool upLayer = false;
    bool middleLayer = false;
    bool touchesP = false;
    bool upright = false;
    int slotFace = -1; ///< M: the face whose column-2 middle slot holds the edge
};

EdgeWhere describe(const Cube& cube, const CubieLocation& edge, int p) {
    EdgeWhere where;
    const int pColour = centreColour(cube, p);
    for (std::size_t i = 0; i < static_cast<std::size_t>(edge.count); ++i) {
        const int face = edge.face[i];
        const int row = edge.row[i];
        const int column = edge.column[i];
        if (isSideFace(face)) {
            where.upLayer = where.upLayer || row == 0;
            if (row == 1 && column == 2) {
                where.middleLayer = true;
                where.slotFace = face;
            }
            where.touchesP = where.touchesP || face == p;
        }
        // Row 0 of P is read at this facelet's column. For P = 1 the facelet on the up
        // face comes after the one on face 1 and sits in column 2, so (1, 0, 2) showing
        // colour 1 also counts: such an edge goes in flipped and is lifted out again.
        if (where.upLayer && where.touchesP && colourAt(cube, p, 0, column) == pColour) {
            where.upright = true;
        }
    }
    return where;
}

// The cases, first match wins (M the edge's slot face, next = P's next face):
//   M1  middle layer, free corner below M:  U ccw, M ccw, U cw, M cw   (lift it out)
//   M2  middle layer otherwise:             D cw                        (bring it below M)
//   U1  up layer, not touching P:           U cw
//   U2  above P, upright:                   U ccw, P ccw, U cw, P cw
//   U3  above P, not upright:               next cw, U ccw, next ccw
// After M1, U2 or U3 another cubie stands in the free slot, so its code is read anew.

/// Queues the moves of the first case that applies. False when none does.
bool queueCase(Cube& cube, const EdgeWhere& where, int p) {
    if (where.middleLayer) {
        const int m = where.slotFace;
        if (cube.codeAt(m, 2, 2) == freeCornerCode) {
            queue(cube, {ccw(kUpFace), ccw(m), cw(kUpFace), cw(m)});
            alignToEdge = false;
            freeSlotFace = m;
            freeCornerCode = 0;
        } else {
            queue(cube, {cw(kDownFace)});
            alignToEdge = true;
        }
        return true;
    }
    if (!where.upLayer) {
        return false;
    }
    if (!where.touchesP) {
        queue(cube, {cw(kUpFace)});
        freeSlotFace = p;
        return true;
    }
    if (where.upright) {
        queue(cube, {ccw(kUpFace), ccw(p), cw(kUpFace), cw(p)});
    } else {
        const int next = nextFace(p);
        queue(cube, {cw(next), ccw(kUpFace), ccw(next)});
    }
    freeCornerCode = 0;
    alignToEdge = false;
    freeSlotFace = p;
    return true;
}

} // namespace

void stage::resetMiddleEdgeCounters() {
    freeSlotFace = 0;
    freeCornerCode = 0;
    alignToEdge = false;
}

int solveMiddleEdges(Cube& cube) {
    int& step = cube.subStep;
    // P walks 1, 3, 4: the faces whose right-hand middle slot is filled here.
    if (step == 0 || step == 2 || step == 5) {
        return ++step;
    }
    if (step < 0 || step > 5) {
        step = 0;
        return 0;
    }

    const int p = step;
    const CubieLocation edge = findCubie(cube, faceBit(p) | faceBit(nextFace(p)));
    if (matchesCentres(cube, edge)) {
        if (++step < 5) {
            return step;
        }
        // subStep stays at 5: the stages of states 5 and 6 read it as the down face.
        resetMiddleEdgeCounters();
        return kStageDone;
    }

    if (freeCornerCode == 0) {
        freeCornerCode = cube.codeAt(freeSlotFace, 2, 2);
    }
    // Turn the down face until the free corner stands below P's slot.
    if (!alignToEdge && cube.codeAt(p, 2, 2) != freeCornerCode) {
        queue(cube, {cw(kDownFace)});
        return handOver(cube);
    }

    if (!queueCase(cube, describe(cube, edge, p), p)) {
        return step;
    }
    return handOver(cube);
}

} // namespace cw
