// Checks shared by the fuzz targets: a failed check aborts, which libFuzzer reports as a
// crash and saves the input for. Included by the targets in this folder only.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "cube/cube.h"
#include "solver/layer_by_layer/layer_by_layer.h"

namespace cw::fuzz {

/// Stops the run, naming the property that failed.
inline void check(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "check failed: %s\n", property);
        std::abort();
    }
}

/// True when `text` is one line of plain printable ASCII.
inline bool isPrintableLine(std::string_view text) {
    for (char c : text) {
        if (c < 0x20 || c >= 0x7f) {
            return false;
        }
    }
    return true;
}

/// Solves a cube that face turns can reach and checks the contract: the solver finishes
/// within its bound, the stickers on screen are untouched, and the moves it leaves solve
/// the cube, colours and cubie codes alike.
inline void solveReachableCube(Cube& cube) {
    const FaceletArray start = cube.facelets;
    prepareForSolve(cube);
    check(solve(cube), "the solver gave up on a reachable cube");
    check(cube.facelets == start, "the solver did not put the stickers back");
    for (const Move& move : cube.pending) {
        check(isFace(move.face), "the solution names no face");
        cube.turn(move.face, move.clockwise);
    }
    check(cube.isSolved(), "the solution does not solve the cube");
    for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
        check(cube.facelets[i].code == kSolvedCodes[i], "a cubie is solved in the wrong place");
    }
}

} // namespace cw::fuzz
