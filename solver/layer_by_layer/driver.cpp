// The solver's driver: a state machine that runs the stages on the live stickers,
// applies and records the moves they queue, puts the stickers back and hands the
// record to the optimiser. Called by the main loop and the command-line tool.
#include "solver/layer_by_layer/layer_by_layer.h"

#include "solver/layer_by_layer/stage_support.h"

namespace cw {

namespace {

using Stage = int (*)(Cube&);

/// What the driver does when a stage reports its goal met.
struct Transition {
    Stage stage;
    int nextState;
    int subStepOnDone; ///< the value subStep gets on the way out, or kKeepSubStep
};

constexpr int kKeepSubStep = -1;

// Indexed by solverState - 2. The subStep of 5 on the way into state 3 names the down
// face, whose colour the corner stages look for; state 4 leaves 5 behind for 5 and 6.
constexpr std::array<Transition, 11> kStages = {{
    {solveDownCross, kStateDownCorners, 5},
    {solveDownCorners, kStateMiddleEdges, 0},
    {solveMiddleEdges, kStateAlignDownLayer, kKeepSubStep},
    {alignDownLayer, kStateLastDownCorner, kKeepSubStep},
    {solveLastDownCorner, kStateLastMiddleEdge, 0},
    {solveLastMiddleEdge, kStateOrientUpEdges, kKeepSubStep},
    {orientUpEdges, kStatePlaceUpEdges, kKeepSubStep},
    {placeUpEdges, kStatePlaceUpCorners, 0},
    {placeUpCorners, kStateOrientUpCorners, kKeepSubStep},
    {orientUpCorners, kStateAlignUpLayer, kKeepSubStep},
    {alignUpLayer, kStateSolved, kKeepSubStep},
}};

/// Applies the moves the last stage queued and moves them onto the record, then goes
/// back to the state that queued them.
void replayPending(Cube& cube) {
    for (const Move& move : cube.pending) {
        cube.turn(move.face, move.clockwise);
    }
    // Moving the nodes keeps the record in order without copying each move.
    cube.solution.splice(cube.solution.end(), cube.pending);
    const int resume = cube.resumeState();
    cube.setSolverState(resume == -1 ? kStateDownCross : resume);
}

/// Runs the state machine until the cube is solved. False when it gave up.
bool runStages(Cube& cube) {
    for (int pass = 0; cube.solverState() != kStateSolved; ++pass) {
        // On a reachable cube every stage reaches its goal within a few hundred passes.
        // A cube that face turns cannot reach may keep a stage going for ever.
        if (pass == kSolveCallLimit) {
            return false;
        }
        const int state = cube.solverState();
        if (state == kStatePlayback) {
            replayPending(cube);
            continue;
        }
        if (state < kStateDownCross || state > kStateAlignUpLayer) {
            return false;
        }
        const Transition& transition = kStages[static_cast<std::size_t>(state - 2)];
        if (transition.stage(cube) == kStageDone) {
            cube.setSolverState(transition.nextState);
            if (transition.subStepOnDone != kKeepSubStep) {
                cube.subStep = transition.subStepOnDone;
            }
        }
    }
    return true;
}

} // namespace

void prepareForSolve(Cube& cube) {
    cube.setSolverState(kStatePlayback);
    cube.setResumeState(kStateDownCross);
    cube.current.reset();
    cube.pending.clear();
}

bool solve(Cube& cube) {
    cube.solution.clear();
    cube.pending.clear();
    // The playback position pointed into the list just emptied.
    cube.current.reset();
    cube.backup = cube.facelets;

    const bool complete = runStages(cube);

    cube.facelets = cube.backup;
    cube.setSolverState(kStatePlayback);
    cube.setResumeState(kStatePlayback);
    if (!complete) {
        // Nothing half-done is left to play back, and the next run of any cube starts
        // with the stages' counters where a fresh program has them.
        cube.pending.clear();
        cube.solution.clear();
        resetStageCounters();
        return false;
    }
    optimiseSolution(cube);
    return true;
}

void resetStageCounters() {
    stage::resetDownCornerCounter();
    stage::resetMiddleEdgeCounters();
    stage::resetLastDownCornerCounter();
    stage::resetUpCornerCounters();
}

} // namespace cw
