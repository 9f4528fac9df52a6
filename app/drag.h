// Turning the main cube with a pointer (a mouse or a finger): what lies under a point of
// the window, which turn a drag across a sticker asks for, and the drag itself from press
// to release. Standard library only: the main loop hands it the window's pointer events,
// and the world carries out what it asks for.
//
// A drag that starts on a sticker pushes that sticker along the face, in the one of the
// face's four grid directions that looks closest to the drag on the screen. The layer that
// would carry the sticker that way turns a quarter, as the face key for it would. When that
// layer is the cube's middle slice (the sticker's row or column runs through the centre),
// which the cube cannot turn, the drag turns the view instead, as a drag beside the cube
// does: so a centre sticker is a handle for the whole cube.
#pragma once

#include <optional>

#include "cube/cube.h"
#include "platform/pointer.h"

namespace cw {

/// A window's client area, in pixels.
struct ClientSize {
    int width;
    int height;
};

/// A sticker of the main cube, by its place on the cube.
struct StickerHit {
    int face;
    int row;
    int column;
    bool operator==(const StickerHit&) const = default;
};

/// The sticker of the main cube that the scene draws under window point (x, y) (pixels
/// from the top left of a client area of `size`), or nothing beside the cube. Works from the
/// scene's own projection and placement, at the cube's view angles; a layer in mid-turn is
/// taken at rest.
std::optional<StickerHit> pickSticker(const Cube& cube, float x, float y, ClientSize size);

/// What a drag asks for.
struct DragTurn {
    /// False when the drag runs along a middle row or column: the view turns instead.
    bool turnsFace = false;
    int face = -1;
    bool clockwise = false;
    bool operator==(const DragTurn&) const = default;
};

/// The turn asked for by a drag of (dx, dy) pixels on the screen (y down) that started on
/// sticker `hit` of the main cube.
DragTurn dragTurn(const Cube& cube, const StickerHit& hit, float dx, float dy, ClientSize size);

/// What one pointer event asks of the main cube.
struct PointerAction {
    enum class Kind { None, TurnFace, TurnView };
    Kind kind = Kind::None;
    int face = -1;
    bool clockwise = false;
    /// Degrees to add to the view angles about y and z, as the arrow keys turn them.
    float viewY = 0.0f;
    float viewZ = 0.0f;
};

/// One drag at a time, from press to release. A drag that starts on a sticker asks for its
/// face turn once it has gone far enough to show a direction, and for nothing more after
/// that; a press that comes up before then is a tap and asks for nothing. A drag that starts
/// beside the cube turns the view as it goes: across the whole width, a full turn about y;
/// up or down the height, three quarters of a turn about z. A cancel ends a drag where it
/// is. The window hands over one pointer only (the first finger), so a press always starts
/// a new drag.
class DragControl {
public:
    PointerAction handle(const PointerEvent& event, const Cube& cube, ClientSize size);

    bool dragging() const { return mode_ != Mode::None; }

private:
    enum class Mode { None, OnSticker, View, Done };

    PointerAction moveTo(int x, int y, const Cube& cube, ClientSize size);
    PointerAction turnView(int x, int y, ClientSize size);

    Mode mode_ = Mode::None;
    StickerHit hit_{};
    int startX_ = 0;
    int startY_ = 0;
    int lastX_ = 0;
    int lastY_ = 0;
};

} // namespace cw
