// The layer-by-layer solver: a state machine over eleven rule-based stages that run on
// the live stickers, record every move, put the stickers back and leave the shortened
// solution in the cube's pending list for playback. Called by the main loop (auto-solve,
// background cubes) and by the command-line tool.
#pragma once

#include <array>

#include "cube/cube.h"

namespace cw {

/// What a stage returns when its goal holds and it has queued nothing.
inline constexpr int kStageDone = 10000;

/// Values of Cube::solverState.
enum SolverState : int {
    kStatePlayback = 0, ///< play (or, while solving, replay) the pending moves
    kStateSolved = 1,
    kStateDownCross = 2,
    kStateDownCorners = 3,
    kStateMiddleEdges = 4,
    kStateAlignDownLayer = 5,
    kStateLastDownCorner = 6,
    kStateLastMiddleEdge = 7,
    kStateOrientUpEdges = 8,
    kStatePlaceUpEdges = 9,
    kStatePlaceUpCorners = 10,
    kStateOrientUpCorners = 11,
    kStateAlignUpLayer = 12,
};

/// Passes of the solver's loop (stage calls and replays of their moves) after which
/// solve() gives up on a cube that face turns cannot reach. A reachable cube needs a
/// few hundred.
inline constexpr int kSolveCallLimit = 100000;

/// Readies `cube` for solve(): solverState 0, resumeState 2, nothing queued and no move
/// current.
void prepareForSolve(Cube& cube);

/// Computes a solution for `cube`. The caller sets solverState 0 and resumeState 2
/// first, as prepareForSolve does. Afterwards the live stickers are as before, solverState and
/// resumeState are 0, `current` is none, `pending` holds the optimised solution and `solution` the
/// optimiser's second pass. Returns false when the run did not complete (the cube is
/// not reachable by face turns, or the caller left the solver in a state it has no
/// stage for): the stickers are still restored, `pending` and `solution` are then
/// empty and the stage counters are back at their start.
bool solve(Cube& cube);

/// Shortens `solution` with three single peephole passes (four equal quarter turns
/// vanish, three become one the other way, an inverse pair vanishes) into `pending`.
/// Afterwards `solution` holds the output of the second pass.
void optimiseSolution(Cube& cube);

// Search helpers shared by the stages.

/// Facelets found by findCubie: parallel face, row and column arrays.
struct CubieLocation {
    int count = 0;
    std::array<int, 3> face{};
    std::array<int, 3> row{};
    std::array<int, 3> column{};
};

/// The CubieCode bit of a face (0->1, 1->32, 2->4, 3->16, 4->2, 5->8); 6 for any other.
int faceBit(int face);

/// The live facelets whose code is `code`, visited face 0..5, row 0..2, column 0..2.
/// Only the first three are kept: no cubie has more stickers than that.
CubieLocation findCubie(const Cube& cube, int code);

/// True when every listed facelet has the colour of its own face's centre.
bool matchesCentres(const Cube& cube, const CubieLocation& location);

// The stages, one per solver state 2..12. Each returns kStageDone when its goal holds;
// otherwise it queued moves and handed over to playback, or only advanced a counter.
int solveDownCross(Cube& cube);      // 2
int solveDownCorners(Cube& cube);    // 3
int solveMiddleEdges(Cube& cube);    // 4
int alignDownLayer(Cube& cube);      // 5
int solveLastDownCorner(Cube& cube); // 6
int solveLastMiddleEdge(Cube& cube); // 7
int orientUpEdges(Cube& cube);       // 8
int placeUpEdges(Cube& cube);        // 9
int placeUpCorners(Cube& cube);      // 10
int orientUpCorners(Cube& cube);     // 11
int alignUpLayer(Cube& cube);        // 12

/// Puts the counters that some stages keep beyond one run back at their start. There is
/// one set per thread, so this resets the calling thread's.
void resetStageCounters();

} // namespace cw
