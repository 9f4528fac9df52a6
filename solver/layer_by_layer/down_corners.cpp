// Stage 3, three down corners: puts the down-front-left, down-back-left and
// down-back-right corners home, leaving the down-front-right slot free for stage 4.
// Run by the solver driver in state 3. Also holds the corner insertion routine that
// stage 6 uses again for the last down corner.
#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

using namespace stage;

/// One corner this stage places: its code and the side faces that meet at its slot
/// (the slot is at column 2 of `left` and column 0 of `right`).
struct CornerTarget {
    int code;
    int left;
    int right;
};

// Worked on in this order; the corner counter indexes it.
constexpr std::array<CornerTarget, 3> kTargets = {{
    {1 + 2 + 8, 4, 0},   // down-front-left, home (5, 0, 0)
    {2 + 8 + 16, 3, 4},  // down-back-left, home (5, 2, 0)
    {8 + 16 + 32, 1, 3}, // down-back-right, home (5, 2, 2)
}};

// Which target is being worked on. It lives as long as its thread rather than in the
// cube; that is sound because solver runs on one thread never interleave (each thread
// has its own), and it is back at 0 whenever the stage finishes.
thread_local int cornerCounter = 0;

bool threeCornersHome(const Cube& cube) {
    const int down = centreColour(cube, kDownFace);
    return cube.codeAt(5, 0, 0) == 11 && cube.codeAt(5, 2, 0) == 26 && cube.codeAt(5, 2, 2) == 56 &&
           colourAt(cube, kDownFace, 0, 0) == down && colourAt(cube, kDownFace, 2, 0) == down &&
           colourAt(cube, kDownFace, 2, 2) == down;
}

} // namespace

// The corner insertion routine. Cases, first match wins (L, R the slot's faces):
//   down   in a down slot, not solved; F the face without the down colour that findCubie
//          reached last (the down-colour face when that is the down face), t = the corner
//          sits at (F, 2, 0):   t: F cw, U cw, F ccw     else: F ccw, U ccw, F cw
//   left   above the slot, L's colour at (L, 0, 2):  R cw, U cw, R ccw
//   upward above the slot, L's colour at (R, 0, 0):  R cw, U ccw, R ccw, U ccw, U ccw,
//                                                     R cw, U cw, R ccw
//   right  above the slot, R's colour at (R, 0, 0):  L ccw, U ccw, L cw
//   turn   elsewhere in the up layer:                U cw
CornerCase stage::insertDownCorner(Cube& cube, const CubieLocation& corner, int code, int left,
                                   int right, int downColour) {
    bool upLayer = false;
    bool downLayer = false;
    int downColourFace = -1;
    int otherFace = -1;
    for (std::size_t i = 0; i < static_cast<std::size_t>(corner.count); ++i) {
        const int face = corner.face[i];
        const int row = corner.row[i];
        if (isSideFace(face)) {
            upLayer = upLayer || row == 0;
            downLayer = downLayer || row == 2;
        }
        if (colourAt(cube, face, row, corner.column[i]) == downColour) {
            downColourFace = face;
        } else {
            otherFace = face;
        }
    }

    if (downLayer) {
        const int f = otherFace == kDownFace ? downColourFace : otherFace;
        if (!isFace(f)) {
            return CornerCase::kNone;
        }
        if (cube.codeAt(f, 2, 0) == code) {
            queue(cube, {cw(f), cw(kUpFace), ccw(f)});
        } else {
            queue(cube, {ccw(f), ccw(kUpFace), cw(f)});
        }
        return CornerCase::kDown;
    }
    if (!upLayer) {
        return CornerCase::kNone;
    }
    if (colourAt(cube, left, 0, 2) == centreColour(cube, left) && cube.codeAt(left, 0, 2) == code) {
        queue(cube, {cw(right), cw(kUpFace), ccw(right)});
        return CornerCase::kLeftSide;
    }
    if (colourAt(cube, right, 0, 0) == centreColour(cube, left) &&
        cube.codeAt(right, 0, 0) == code) {
        queue(cube, {cw(right), ccw(kUpFace), ccw(right), ccw(kUpFace), ccw(kUpFace), cw(right),
                     cw(kUpFace), ccw(right)});
        return CornerCase::kUpward;
    }
    if (colourAt(cube, right, 0, 0) == centreColour(cube, right) &&
        cube.codeAt(right, 0, 0) == code) {
        queue(cube, {ccw(left), ccw(kUpFace), cw(left)});
        return CornerCase::kRightSide;
    }
    queue(cube, {cw(kUpFace)});
    return CornerCase::kTurnUp;
}

void stage::resetDownCornerCounter() {
    cornerCounter = 0;
}

int solveDownCorners(Cube& cube) {
    const CornerTarget& target = kTargets[static_cast<std::size_t>(cornerCounter)];
    const CubieLocation corner = findCubie(cube, target.code);
    if (matchesCentres(cube, corner)) {
        if (++cornerCounter <= 2) {
            return cornerCounter;
        }
        cornerCounter = 0;
        return threeCornersHome(cube) ? kStageDone : 0;
    }

    // The driver sets subStep to 5 on the way in, so this is the down face's colour.
    const int downColour = centreColourOf(cube, cube.subStep);
    const CornerCase picked =
        insertDownCorner(cube, corner, target.code, target.left, target.right, downColour);
    if (picked == CornerCase::kNone) {
        return cornerCounter;
    }
    const int subStep = handOver(cube);
    return picked == CornerCase::kDown ? subStep : cornerCounter;
}

} // namespace cw
