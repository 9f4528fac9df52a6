// Playback of queued moves as animated quarter turns: stepMoveQueue runs once per frame
// from the main loop, advanceTurn once per drawing of a cube whose layer is turning.
#include "cube/cube.h"

namespace cw {

void Cube::stepMoveQueue() {
    const auto startFrontMove = [this] {
        current = pending.begin();
        turningFace_ = pending.front().face;
        turnClockwise = pending.front().clockwise;
    };
    if (autoSolve_ || solverState_ == 0) {
        if (!current && !pending.empty()) {
            // Start the front move. A turn still animating (its list was replaced) is
            // overwritten and never applied.
            startFrontMove();
        }
        if (turningFace_ == -1 && !pending.empty()) {
            // The front move has been applied: drop it and start the next at once.
            pending.pop_front();
            if (!pending.empty()) {
                startFrontMove();
            } else {
                current.reset();
                solverState_ = resumeState_ == -1 ? 2 : resumeState_;
            }
        }
    }
    if (isSolved()) {
        solverState_ = 1;
    }
}

float Cube::advanceTurn() {
    const int face = turningFace_;
    float* accumulator = nullptr;
    switch (face) {
    case 0:
    case 3:
        accumulator = &layerAngleZ;
        break;
    case 1:
    case 4:
        accumulator = &layerAngleX;
        break;
    case 2:
    case 5:
        accumulator = &layerAngleY;
        break;
    default:
        return 0.0f;
    }

    // Faces 0..2 look down the positive axis, so their clockwise turn is a negative
    // rotation; faces 3..5 look down the negative axis and turn the other way.
    const bool positiveAxisFace = face < 3;
    const bool negative = positiveAxisFace == turnClockwise;
    *accumulator += negative ? -turnSpeed_ : turnSpeed_;

    if (*accumulator > 90.0f || *accumulator < -90.0f) {
        *accumulator = 0.0f;
    }
    if (*accumulator == 0.0f) {
        turn(face, turnClockwise);
        turningFace_ = -1;
    }
    return *accumulator;
}

} // namespace cw
