// Small helpers the stage sources share: queueing moves in the stages' notation and
// handing over to playback, and the side-face ring.
#pragma once

#include <initializer_list>

#include "cube/cube.h"
#include "solver/layer_by_layer/layer_by_layer.h"

namespace cw::stage {

/// The faces the stages build on and finish at.
inline constexpr int kUpFace = 2;
inline constexpr int kDownFace = 5;

/// A queued quarter turn as the stages write it: face, then cw or ccw.
struct Turn {
    int face;
    bool clockwise;
};
inline constexpr Turn cw(int face) {
    return {face, true};
}
inline constexpr Turn ccw(int face) {
    return {face, false};
}

/// Appends the turns to `pending` in order.
inline void queue(Cube& cube, std::initializer_list<Turn> turns) {
    for (const Turn& t : turns) {
        cube.pending.push_back(Move(t.face, t.clockwise));
    }
}

/// The stage protocol's hand-over: resume in this stage after playback.
inline int handOver(Cube& cube) {
    cube.setResumeState(cube.solverState());
    cube.setSolverState(kStatePlayback);
    return cube.subStep;
}

/// Ring neighbours of a side face (0, 1, 3, 4): the faces at its column 0 and column 2,
/// and the side face across from it.
inline constexpr int previousFace(int face) {
    switch (face) {
    case 0:
        return 4;
    case 1:
        return 0;
    case 3:
        return 1;
    default:
        return 3;
    }
}
inline constexpr int nextFace(int face) {
    switch (face) {
    case 0:
        return 1;
    case 1:
        return 3;
    case 3:
        return 4;
    default:
        return 0;
    }
}
inline constexpr int oppositeFace(int face) {
    switch (face) {
    case 0:
        return 3;
    case 1:
        return 4;
    case 3:
        return 0;
    default:
        return 1;
    }
}

inline constexpr bool isSideFace(int face) {
    return face == 0 || face == 1 || face == 3 || face == 4;
}

/// Colour of the live facelet at (face, row, column), and of a face's centre.
inline int colourAt(const Cube& cube, int face, int row, int column) {
    return cube.facelets[static_cast<std::size_t>(face * 9 + row * 3 + column)].colour;
}
inline int centreColour(const Cube& cube, int face) {
    return colourAt(cube, face, 1, 1);
}
/// The colour of the centre of `face`, or -1 (no sticker's colour) for a number that names
/// no face.
inline int centreColourOf(const Cube& cube, int face) {
    return isFace(face) ? centreColour(cube, face) : -1;
}

/// Where the corner insertion routine found its corner, which names the moves it queued.
enum class CornerCase {
    kNone,      ///< neither layer (only on a cube face turns cannot reach): nothing queued
    kDown,      ///< lifted out of a down slot into the up layer
    kLeftSide,  ///< above its slot, left colour facing left: put down from the right
    kUpward,    ///< above its slot, down colour facing up: eight moves
    kRightSide, ///< above its slot, right colour facing right: put down from the left
    kTurnUp,    ///< elsewhere in the up layer: up face turned once
};

/// The corner insertion routine of the down-corner stages. `corner` is what findCubie
/// found for `code`; the corner's slot is at column 2 of `left` and column 0 of `right`
/// on the down layer, and `downColour` is the colour that belongs on the down face.
/// Queues the case's moves (it does not hand over) and says which case it picked.
CornerCase insertDownCorner(Cube& cube, const CubieLocation& corner, int code, int left, int right,
                            int downColour);

// Counter resets of the stages that keep counters beyond one run (one set per thread).
void resetDownCornerCounter();
void resetMiddleEdgeCounters();
void resetLastDownCornerCounter();
void resetUpCornerCounters();

} // namespace cw::stage
