// The solution optimiser: three single peephole passes over the moves the driver
// recorded, leaving the shortened list in the cube's pending list for playback.
// Called by the driver at the end of every complete run.
#include "solver/layer_by_layer/layer_by_layer.h"

namespace cw {

namespace {

/// True when the `count` moves starting at `at` exist and all equal the one at `at`.
bool startsRunOf(const MoveList& moves, MoveList::const_iterator at, int count) {
    const Move& first = *at;
    for (int i = 1; i < count; ++i) {
        ++at;
        if (at == moves.end() || !(*at == first)) {
            return false;
        }
    }
    return true;
}

// Passes 1 and 2 write their output over their input. The cursor only moves forward
// and a removed group is never looked at again, so this gives the same list as copying
// into a fresh one, without allocating a node per move.

/// Pass 1: four equal quarter turns in a row are a full turn and are dropped.
void dropFullTurns(MoveList& moves) {
    auto cursor = moves.cbegin();
    while (cursor != moves.cend()) {
        if (startsRunOf(moves, cursor, 4)) {
            cursor = moves.erase(cursor, std::next(cursor, 4));
        } else {
            ++cursor;
        }
    }
}

/// Pass 2: three equal quarter turns in a row become one the other way.
void shortenThreeQuarterTurns(MoveList& moves) {
    auto cursor = moves.begin();
    while (cursor != moves.end()) {
        if (startsRunOf(moves, cursor, 3)) {
            cursor->clockwise = !cursor->clockwise;
            cursor = moves.erase(std::next(cursor), std::next(cursor, 3));
        } else {
            ++cursor;
        }
    }
}

/// Pass 3: a move followed by its inverse is dropped together with it.
void copyWithoutInversePairs(const MoveList& moves, MoveList& out) {
    auto cursor = moves.cbegin();
    while (cursor != moves.cend()) {
        const auto next = std::next(cursor);
        if (next != moves.cend() && next->isInverseOf(*cursor)) {
            cursor = std::next(next);
        } else {
            out.push_back(*cursor);
            cursor = next;
        }
    }
}

} // namespace

void optimiseSolution(Cube& cube) {
    cube.pending.clear();
    dropFullTurns(cube.solution);
    shortenThreeQuarterTurns(cube.solution);
    copyWithoutInversePairs(cube.solution, cube.pending);
}

} // namespace cw
