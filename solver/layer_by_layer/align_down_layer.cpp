// Stage 5, down layer realignment: turns the down face back until its corners and
// edges stand home again after stage 4 left it turned. Run by the driver in state 5.
#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

/// The down-front-left corner: 1 + 2 + 8.
constexpr int kDownFrontLeft = 11;

} // namespace

int alignDownLayer(Cube& cube) {
    // Turning the down face does not change how a down corner faces the down face, so
    // the corner's position alone says whether the layer is home.
    if (cube.codeAt(4, 2, 2) == kDownFrontLeft) {
        return kStageDone;
    }
    stage::queue(cube, {stage::cw(stage::kDownFace)});
    return stage::handOver(cube);
}

} // namespace cw
