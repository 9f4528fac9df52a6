// Helpers the solver tests share: cubes in known states, moves in the stages'
// notation, and running a stage the way the driver would.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cube/cube.h"
#include "cube/random.h"
#include "solver/layer_by_layer/layer_by_layer.h"

namespace cw::testing {

/// Puts the live stickers into the solved layout and the solver into its state after
/// a reset, with nothing queued.
inline void setSolved(Cube& cube) {
    cube.reset();
    setSolvedStickers(cube);
}

/// Moves in the stages' notation, for example "0 cw, 2 ccw".
inline std::string notation(const MoveList& moves) {
    std::ostringstream out;
    for (const Move& move : moves) {
        if (out.tellp() > 0) {
            out << ", ";
        }
        out << move.face << (move.clockwise ? " cw" : " ccw");
    }
    return out.str();
}

/// Parses the stages' notation back into moves.
inline MoveList parseMoves(const std::string& text) {
    MoveList moves;
    std::istringstream in(text);
    int face = 0;
    std::string direction;
    while (in >> face >> direction) {
        const bool clockwise = direction.rfind("cw", 0) == 0;
        moves.push_back(Move(face, clockwise));
        in >> std::ws;
        if (in.peek() == ',') {
            in.get();
        }
    }
    return moves;
}

/// Applies moves written in the stages' notation to the live stickers.
inline void apply(Cube& cube, const std::string& text) {
    for (const Move& move : parseMoves(text)) {
        cube.turn(move.face, move.clockwise);
    }
}

/// The inverse of a sequence: each move the other way, in reverse order.
inline std::string inverse(const std::string& text) {
    MoveList inverted;
    for (const Move& move : parseMoves(text)) {
        inverted.push_front(Move(move.face, !move.clockwise));
    }
    return notation(inverted);
}

/// One call of a stage as the driver makes it in `state`: returns what the stage
/// returned and, in `queued`, the moves it queued (which are applied to the stickers
/// and taken off `pending`, as the driver's replay does).
struct StageCall {
    int result = 0;
    std::string queued;
};

inline StageCall callStage(Cube& cube, int (*stage)(Cube&), int state) {
    cube.setSolverState(state);
    StageCall call;
    call.result = stage(cube);
    call.queued = notation(cube.pending);
    for (const Move& move : cube.pending) {
        cube.turn(move.face, move.clockwise);
    }
    cube.pending.clear();
    return call;
}

/// Calls a stage until it reports done or `limit` calls have been made.
inline std::vector<StageCall> runStage(Cube& cube, int (*stage)(Cube&), int state,
                                       int limit = 200) {
    std::vector<StageCall> calls;
    while (static_cast<int>(calls.size()) < limit) {
        calls.push_back(callStage(cube, stage, state));
        if (calls.back().result == kStageDone) {
            break;
        }
    }
    return calls;
}

/// A cube scrambled from a known generator state, ready for solve().
inline void scrambleFromSeed(Cube& cube, std::uint32_t seed) {
    srand(seed);
    cube.reset();
    cube.setSolverState(kStatePlayback);
    cube.setResumeState(kStateDownCross);
}

/// True when playing `moves` on a copy of `stickers` solves it.
inline bool solves(const FaceletArray& stickers, const MoveList& moves, Cube& scratch) {
    scratch.facelets = stickers;
    for (const Move& move : moves) {
        scratch.turn(move.face, move.clockwise);
    }
    return scratch.isSolved();
}

} // namespace cw::testing
