// One quarter turn of one face, the ordered lists of them that a Cube keeps, and the face
// turns of standard notation. Used by the keyboard controls, the solver, the optimiser,
// the turn animation, the short solver and the move notation.
#pragma once

#include <cstdint>
#include <list>

#include "cube/memory_resource.h"

namespace cw {

/// A quarter turn of one face. `face` is 0..5 (-1 names no face); `clockwise` is the
/// direction seen looking at that face from outside the cube.
class Move {
public:
    Move() = default;
    Move(std::int32_t moveFace, bool moveClockwise) : face(moveFace), clockwise(moveClockwise) {}
    Move(const Move&) = default;
    Move& operator=(const Move&) = default;
    virtual ~Move() = default;

    /// Same face, same direction.
    bool operator==(const Move& other) const {
        return face == other.face && clockwise == other.clockwise;
    }

    /// Same face, opposite direction: applying both in a row changes nothing.
    bool isInverseOf(const Move& other) const {
        return face == other.face && clockwise == !other.clockwise;
    }

    std::int32_t face = -1;
    bool clockwise = false;
};

/// A turn of one face by `quarterTurns` clockwise quarter turns (1, 2 or 3), seen from
/// outside that face: one move of standard notation, written R, R2 and R'.
struct FaceTurn {
    std::int32_t face = 0;
    int quarterTurns = 1;

    bool operator==(const FaceTurn& other) const = default;
};

/// Appending at the back and removing at the front never move other elements, a
/// position stays valid until its own element is removed, and size() is constant time.
/// A list takes its nodes from the memory resource it was built with: a Cube's lists from
/// the cube's own pool (cube/move_list_pool.h), any other list from the heap.
using MoveList = std::list<Move, pmr::polymorphic_allocator<Move>>;

} // namespace cw
