// Pointer events (a mouse button or a finger) as every window back end hands them to the
// main loop, and the small queue that keeps them until the next frame. Standard library
// only, so the program's core may include it; the core turns drags into turns and views.
#pragma once

#include <array>
#include <cstddef>

namespace cw {

/// One step of a pointer's press, in the window's client pixels, origin at the top left.
/// A position may lie outside the window while the pointer is held (the window keeps
/// hearing of a press that started on it).
struct PointerEvent {
    enum class Kind {
        Press,   ///< the primary button or the first finger went down
        Move,    ///< the pointer moved while down, or hovers (ignored without a press)
        Release, ///< the button or finger came up
        Cancel,  ///< the system took the pointer away: the drag ends without acting
    };
    Kind kind;
    int x;
    int y;
};

/// Pointer events between two frames, oldest first, in fixed room: nothing is allocated.
/// Moves in a row keep only the latest; when the room is full the newest event takes the
/// last place, so a release or cancel is never lost.
class PointerQueue {
public:
    static constexpr std::size_t kCapacity = 16;

    void push(const PointerEvent& event) {
        if (count_ > 0 && event.kind == PointerEvent::Kind::Move &&
            events_[count_ - 1].kind == PointerEvent::Kind::Move) {
            events_[count_ - 1] = event;
            return;
        }
        if (count_ == kCapacity) {
            events_[count_ - 1] = event;
            return;
        }
        events_[count_++] = event;
    }

    /// Takes the oldest event into `event`; false when there is none.
    bool pop(PointerEvent& event) {
        if (next_ == count_) {
            clear();
            return false;
        }
        event = events_[next_++];
        return true;
    }

    void clear() {
        next_ = 0;
        count_ = 0;
    }

private:
    std::array<PointerEvent, kCapacity> events_{};
    std::size_t next_ = 0;
    std::size_t count_ = 0;
};

} // namespace cw
