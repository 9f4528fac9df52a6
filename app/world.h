// The program's cubes: the main cube, the ten background cubes and their depths, with
// the per-frame steps, the background flight and the key commands. No window or GL:
// the main loop and the scene drive it, and tests build their own.
#pragma once

#include <array>

#include "app/drag.h"
#include "cube/cube.h"
#include "platform/keys.h"
#include "platform/pointer.h"

namespace cw {

inline constexpr int kBackgroundCount = 10;
inline constexpr float kBackgroundHomeDepth = -50.0f;
inline constexpr float kBackgroundFarDepth = -150.0f;
inline constexpr float kBackgroundAlpha = 0.3f;

/// Eye-space x and y of background cube i on its fixed grid.
float backgroundX(int index);
float backgroundY(int index);

/// Resets a cube (leaving it scrambled) and, with `resolve`, solves it again and sets
/// its alpha to that of a solving background cube.
void restartCube(Cube& cube, bool resolve);

/// What the window side must do for a key command that the world cannot do itself.
class WindowControl {
public:
    virtual ~WindowControl() = default;
    /// Destroys the window, inverts the fullscreen flag and creates it again. Returns
    /// false when the new window could not be created (the program then ends).
    virtual bool toggleFullscreen() = 0;
    /// Releases the font so that it is rebuilt on the new context.
    virtual void releaseFont() = 0;
};

class World {
public:
    /// Constructs the cubes (each seeds the generator and scrambles).
    World() = default;

    /// Start-up: reset, solve, auto-solve on, alpha 0.3 and depth -50 for each
    /// background cube in turn.
    void prepareBackground();

    /// Steps the main cube's move queue, then each background cube's, each followed
    /// by its random tumble.
    void stepCubes();

    /// The flight of background cube i, done just before it is drawn: recede once
    /// solved, restart past the far depth, approach until home.
    void flightStep(int index);

    /// After drawing: switches the main cube's auto-solve off once it is solved.
    void finishFrame();

    /// Acts on the key table. Returns false when a fullscreen toggle failed to create
    /// the window and the program must end.
    bool handleKeys(KeyTable& keys, WindowControl& window);

    /// Acts on one pointer event in a client area of `size`: a drag on the main cube
    /// turns a face as its key would, or turns the view as the arrow keys do (app/drag.h).
    void handlePointer(const PointerEvent& event, ClientSize size);

    /// Queues a quarter turn of the main cube as a face key does: only while no turn
    /// animates and auto-solve is off. Returns whether it was queued.
    bool turnFace(int face, bool clockwise);

    Cube mainCube;
    std::array<Cube, kBackgroundCount> background;
    std::array<float, kBackgroundCount> depths{};

private:
    DragControl drag_;
};

} // namespace cw
