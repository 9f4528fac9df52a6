// The program's cubes and what happens to them each frame, apart from drawing.
#include "app/world.h"

#include "cube/random.h"
#include "solver/layer_by_layer/layer_by_layer.h"

namespace cw {

namespace {

constexpr std::array<float, 5> kGridX = {-22.0f, -11.0f, 0.0f, 11.0f, 22.0f};
constexpr std::array<float, 2> kGridY = {-15.0f, 15.0f};

constexpr float kViewStep = 9.0f;
constexpr float kSpeedStep = 0.015f;
constexpr float kMinTurnSpeed = 1.0f;
constexpr float kMaxTurnSpeed = 15.0f;
constexpr float kRetreatPerFrame = 1.0f;
constexpr float kApproachPerFrame = 2.0f;

// A random tumble step of 0.1 to 1.5 degrees.
float tumbleStep() {
    return static_cast<float>(rand() % 15 + 1) / 10.0f;
}

struct FaceKey {
    char key;
    int face;
    bool clockwise;
};

// Tested in this order each frame.
constexpr std::array<FaceKey, 12> kFaceKeys = {{
    {'Q', 0, false},
    {'W', 0, true},
    {'A', 4, true},
    {'S', 4, false},
    {'Z', 2, true},
    {'X', 2, false},
    {'E', 3, true},
    {'R', 3, false},
    {'D', 1, true},
    {'F', 1, false},
    {'C', 5, true},
    {'V', 5, false},
}};

} // namespace

float backgroundX(int index) {
    return kGridX[static_cast<std::size_t>(index / 2)];
}
float backgroundY(int index) {
    return kGridY[static_cast<std::size_t>(index % 2)];
}

void restartCube(Cube& cube, bool resolve) {
    cube.reset();
    if (!resolve) {
        return;
    }
    prepareForSolve(cube);
    solve(cube);
    cube.setAlpha(kBackgroundAlpha);
}

void World::prepareBackground() {
    for (std::size_t i = 0; i < background.size(); ++i) {
        Cube& cube = background[i];
        restartCube(cube, true);
        cube.setAutoSolve(true);
        depths[i] = kBackgroundHomeDepth;
    }
}

void World::stepCubes() {
    mainCube.stepMoveQueue();
    for (Cube& cube : background) {
        cube.stepMoveQueue();
        // Three draws, in this order: the generator's sequence is shared with scrambles.
        cube.setViewAngleX(cube.viewAngleX() + tumbleStep());
        cube.setViewAngleY(cube.viewAngleY() + tumbleStep());
        cube.setViewAngleZ(cube.viewAngleZ() + tumbleStep());
    }
}

void World::flightStep(int index) {
    Cube& cube = background[static_cast<std::size_t>(index)];
    float& depth = depths[static_cast<std::size_t>(index)];
    if (cube.solverState() == kStateSolved) {
        depth -= kRetreatPerFrame;
        if (depth < kBackgroundFarDepth) {
            restartCube(cube, true);
        }
    }
    // The state is read again: a restarted cube starts its way back at once.
    if (cube.solverState() != kStateSolved && depth < kBackgroundHomeDepth) {
        depth += kApproachPerFrame;
        if (depth > kBackgroundHomeDepth) {
            depth = kBackgroundHomeDepth;
        }
    }
}

void World::finishFrame() {
    if (mainCube.solverState() == kStateSolved) {
        mainCube.setAutoSolve(false);
    }
}

bool World::handleKeys(KeyTable& keys, WindowControl& window) {
    Cube& cube = mainCube;
    if (isDown(keys, key::kLeft)) {
        cube.setViewAngleY(cube.viewAngleY() - kViewStep);
    }
    if (isDown(keys, key::kRight)) {
        cube.setViewAngleY(cube.viewAngleY() + kViewStep);
    }
    if (isDown(keys, key::kUp)) {
        cube.setViewAngleZ(cube.viewAngleZ() + kViewStep);
    }
    if (isDown(keys, key::kDown)) {
        cube.setViewAngleZ(cube.viewAngleZ() - kViewStep);
    }

    // The bounds are tested before the step, so a speed can end one step beyond them.
    if (isDown(keys, key::kNumpad8) && cube.turnSpeed() < kMaxTurnSpeed) {
        cube.setTurnSpeed(cube.turnSpeed() + kSpeedStep);
    }
    if (isDown(keys, key::kNumpad2) && cube.turnSpeed() > kMinTurnSpeed) {
        cube.setTurnSpeed(cube.turnSpeed() - kSpeedStep);
    }
    if (isDown(keys, key::kNumpad4)) {
        for (Cube& other : background) {
            if (other.turnSpeed() > kMinTurnSpeed) {
                other.setTurnSpeed(other.turnSpeed() - kSpeedStep);
            }
        }
    }
    if (isDown(keys, key::kNumpad6)) {
        for (Cube& other : background) {
            if (other.turnSpeed() < kMaxTurnSpeed) {
                other.setTurnSpeed(other.turnSpeed() + kSpeedStep);
            }
        }
    }

    if (isDown(keys, key::kF1)) {
        setKey(keys, key::kF1, false);
        if (!window.toggleFullscreen()) {
            return false;
        }
        window.releaseFont();
    }

    // Face keys are not cleared: a held key queues its next turn on the frame on which
    // the previous one finishes.
    for (const FaceKey& faceKey : kFaceKeys) {
        if (isDown(keys, key::letter(faceKey.key))) {
            turnFace(faceKey.face, faceKey.clockwise);
        }
    }

    if (isDown(keys, key::letter('M'))) {
        cube.setAutoSolve(!cube.autoSolve());
        prepareForSolve(cube);
        if (cube.autoSolve()) {
            solve(cube);
        }
        setKey(keys, key::letter('M'), false);
    }

    // One restart per press (and per auto-repeat), like M: a held Space would otherwise
    // re-scramble on every frame.
    if (isDown(keys, key::kSpace)) {
        restartCube(cube, false);
        setKey(keys, key::kSpace, false);
    }
    return true;
}

bool World::turnFace(int face, bool clockwise) {
    Cube& cube = mainCube;
    if (cube.turningFace() != -1 || cube.autoSolve()) {
        return false;
    }
    // The list is played back and the cube returns to its previous state when it runs out.
    cube.setResumeState(cube.solverState());
    cube.setSolverState(kStatePlayback);
    cube.pending.push_back(Move(face, clockwise));
    return true;
}

void World::handlePointer(const PointerEvent& event, ClientSize size) {
    const PointerAction action = drag_.handle(event, mainCube, size);
    switch (action.kind) {
    case PointerAction::Kind::None:
        break;
    case PointerAction::Kind::TurnFace:
        turnFace(action.face, action.clockwise);
        break;
    case PointerAction::Kind::TurnView:
        mainCube.setViewAngleY(mainCube.viewAngleY() + action.viewY);
        mainCube.setViewAngleZ(mainCube.viewAngleZ() + action.viewZ);
        break;
    }
}

} // namespace cw
