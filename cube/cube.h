// A puzzle cube at sticker level: 54 live stickers and a scratch copy, the move lists,
// the solver's state, the view angles and the quarter turn being animated. The main
// loop owns eleven of these; the solver, the renderer and the turn animation work on them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "cube/facelet.h"
#include "cube/move.h"
#include "cube/move_list_pool.h"

namespace cw {

/// Faces: 0 front (+z), 1 right (+x), 2 up (+y), 3 back (-z), 4 left (-x), 5 down (-y).
/// Sticker index = face * 9 + row * 3 + column, every grid seen from outside.
inline constexpr int kFaceCount = 6;

/// Whether `face` names one of the six faces.
inline constexpr bool isFace(int face) {
    return face >= 0 && face < kFaceCount;
}
inline constexpr int kFaceletCount = 54;

/// Quarter turns applied by one scramble.
inline constexpr int kScrambleLength = 100;

/// CubieCode bit of each face: the code of a cubie is the OR of the bits of its faces.
inline constexpr std::array<std::int32_t, kFaceCount> kFaceBits = {1, 32, 4, 16, 2, 8};

/// The cubie code at every sticker index of the solved layout.
inline constexpr std::array<std::int32_t, kFaceletCount> kSolvedCodes = {
    7,  5,  37, 3,  1,  33, 11, 9,  41, // face 0
    37, 36, 52, 33, 32, 48, 41, 40, 56, // face 1
    22, 20, 52, 6,  4,  36, 7,  5,  37, // face 2
    52, 20, 22, 48, 16, 18, 56, 24, 26, // face 3
    22, 6,  7,  18, 2,  3,  26, 10, 11, // face 4
    11, 9,  41, 10, 8,  40, 26, 24, 56, // face 5
};

using FaceletArray = std::array<Facelet, kFaceletCount>;

class Cube {
public:
    /// Seeds the generator from the clock, resets (which scrambles) and sets the turn
    /// speed to 9 degrees per frame.
    Cube();
    virtual ~Cube();

    // A cube's playback position points into its own list, so cubes are not copied.
    Cube(const Cube&) = delete;
    Cube& operator=(const Cube&) = delete;

    /// Solved stickers, no turn or view rotation, alpha 1, empty lists, solver state 0,
    /// resume state -1, auto-solve off; then scramble(). Turn speed and backup survive.
    void reset();

    /// Applies kScrambleLength random quarter turns at once, refusing only a turn that
    /// would undo the one before it. Records no moves and animates nothing.
    void scramble();

    /// Applies a quarter turn of `face` to the live stickers at once. A face outside
    /// 0..5 does nothing. Allocates nothing.
    void turn(int face, bool clockwise);

    /// True when every sticker has the colour of its face's centre. Codes are ignored.
    bool isSolved() const;

    /// Clears the drawn flag of every live sticker.
    void clearMarks();

    /// The cubie code of the live sticker at (face, row, column).
    std::int32_t codeAt(int face, int row, int column) const {
        return facelets[static_cast<std::size_t>(face * 9 + row * 3 + column)].code;
    }

    /// Once per frame, before drawing: finishes the move that has just been applied,
    /// starts the next, returns to the resume state when the list runs out, and marks
    /// the cube solved (state 1) whenever its stickers are.
    void stepMoveQueue();

    /// Once per drawing of a turning cube: advances the layer angle by the turn speed and
    /// applies the quarter turn when the angle passes a full quarter. Returns the angle.
    float advanceTurn();

    int turningFace() const { return turningFace_; }
    bool autoSolve() const { return autoSolve_; }
    void setAutoSolve(bool on) { autoSolve_ = on; }
    float viewAngleX() const { return viewAngleX_; }
    float viewAngleY() const { return viewAngleY_; }
    float viewAngleZ() const { return viewAngleZ_; }
    void setViewAngleX(float degrees) { viewAngleX_ = degrees; }
    void setViewAngleY(float degrees) { viewAngleY_ = degrees; }
    void setViewAngleZ(float degrees) { viewAngleZ_ = degrees; }
    float turnSpeed() const { return turnSpeed_; }
    void setTurnSpeed(float degreesPerFrame) { turnSpeed_ = degreesPerFrame; }
    int solverState() const { return solverState_; }
    void setSolverState(int state) { solverState_ = state; }
    int resumeState() const { return resumeState_; }
    void setResumeState(int state) { resumeState_ = state; }
    float alpha() const { return alpha_; }
    void setAlpha(float value) { alpha_ = value; }

private:
    // Built before the two lists and destroyed after them, which take their nodes from it.
    // Both lists share it, so the solver can move nodes from one to the other.
    MoveListPool movePool_;

public:
    // The fields, in their documented order. The solver, the renderer and the turn
    // animation use the public ones directly.

    /// Moves waiting to be played; the front is the next (or the one animating).
    MoveList pending{&movePool_};
    /// The element of `pending` whose playback has started, if any.
    std::optional<MoveList::iterator> current;
    /// The solver's scratch copy of the live stickers.
    FaceletArray backup;
    /// The live stickers.
    FaceletArray facelets;
    /// The moves the solver has recorded.
    MoveList solution{&movePool_};

private:
    std::int32_t solverState_ = 0;
    std::int32_t resumeState_ = -1;

public:
    /// Direction of the quarter turn being animated.
    bool turnClockwise = false;

private:
    bool autoSolve_ = false;
    float viewAngleX_ = 0.0f;
    float viewAngleY_ = 0.0f;
    float viewAngleZ_ = 0.0f;
    float turnSpeed_ = 9.0f;

public:
    /// Counter shared by the solver stages.
    std::int32_t subStep = 0;
    /// Angle of the turning layer: X for faces 1 and 4, Y for 2 and 5, Z for 0 and 3.
    float layerAngleX = 0.0f;
    float layerAngleY = 0.0f;
    float layerAngleZ = 0.0f;

private:
    float alpha_ = 1.0f;
    std::int32_t turningFace_ = -1;
};

/// Puts every live sticker of `cube` into the solved layout, colours and cubie codes alike.
/// Drawn marks, the move lists and the solver's state are left as they are.
void setSolvedStickers(Cube& cube);

} // namespace cw
