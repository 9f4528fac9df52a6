// Solver state 12, the last: turns the up layer back into line with the rest of the
// cube. Called by the solver driver after state 11.
#include <array>

#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

/// Whether some number of up-face turns would solve the cube. Earlier stages guarantee
/// it on any cube that face turns can reach; checking it keeps the stage from turning
/// the up face forever on one they cannot.
bool upTurnsCanSolve(const Cube& cube) {
    // Everything below the up layer must already be in place, and the up face one colour.
    for (int face = 0; face < kFaceCount; ++face) {
        const int firstRow = face == 2 || face == 5 ? 0 : 1;
        for (int row = firstRow; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                if (stage::colourAt(cube, face, row, column) != stage::centreColour(cube, face)) {
                    return false;
                }
            }
        }
    }

    // Each up turn carries the top rows of the side faces one step round the ring, so
    // one of the four rotations of the top rows must match the centres.
    constexpr std::array<int, 4> kRing = {0, 1, 3, 4};
    for (std::size_t shift = 0; shift < kRing.size(); ++shift) {
        bool matches = true;
        for (std::size_t i = 0; i < kRing.size() && matches; ++i) {
            const int from = kRing[i];
            const int to = kRing[(i + shift) % kRing.size()];
            for (int column = 0; column < 3; ++column) {
                matches = matches &&
                          stage::colourAt(cube, from, 0, column) == stage::centreColour(cube, to);
            }
        }
        if (matches) {
            return true;
        }
    }
    return false;
}

} // namespace

int alignUpLayer(Cube& cube) {
    if (cube.isSolved()) {
        return kStageDone;
    }
    if (!upTurnsCanSolve(cube)) {
        // Queue nothing; the driver's call limit ends the run.
        return cube.subStep;
    }
    // Always counter-clockwise, even where one clockwise turn would do.
    stage::queue(cube, {stage::ccw(2)});
    return stage::handOver(cube);
}

} // namespace cw
