// Cube construction, reset, the solved test and the palette.
#include "cube/cube.h"

#include "cube/random.h"
#include "cube/scramble.h"

namespace cw {

const std::array<float, 3>& paletteColour(int index) {
    static constexpr std::array<std::array<float, 3>, 7> kPalette = {{
        {1.0f, 1.0f, 1.0f}, // white
        {0.0f, 1.0f, 0.0f}, // green
        {1.0f, 0.0f, 0.0f}, // red
        {1.0f, 1.0f, 0.0f}, // yellow
        {0.0f, 0.0f, 1.0f}, // blue
        {1.0f, 0.5f, 0.0f}, // orange
        {0.0f, 0.0f, 0.0f}, // black
    }};
    // A colour no sticker can have (only a cube set by hand could hold one) is drawn black
    // rather than read from past the palette.
    if (index < 0 || static_cast<std::size_t>(index) >= kPalette.size()) {
        return kPalette[kBlack];
    }
    return kPalette[static_cast<std::size_t>(index)];
}

void setSolvedStickers(Cube& cube) {
    for (std::size_t i = 0; i < cube.facelets.size(); ++i) {
        cube.facelets[i].set(static_cast<std::int32_t>(i / 9), kSolvedCodes[i]);
    }
}

Cube::Cube() {
    seedFromClock();
    reset();
    turnSpeed_ = 9.0f;
}

Cube::~Cube() {
    pending.clear();
}

void Cube::reset() {
    setSolvedStickers(*this);
    turningFace_ = -1;
    turnClockwise = false;
    layerAngleX = layerAngleY = layerAngleZ = 0.0f;
    viewAngleX_ = viewAngleY_ = viewAngleZ_ = 0.0f;
    alpha_ = 1.0f;
    clearMarks();
    pending.clear();
    solution.clear();
    current.reset();
    solverState_ = 0;
    subStep = 0;
    autoSolve_ = false;
    resumeState_ = -1;
    scramble();
}

void Cube::scramble() {
    drawScramble([this](int face, bool clockwise) { turn(face, clockwise); });
}

bool Cube::isSolved() const {
    for (std::size_t face = 0; face < kFaceCount; ++face) {
        const std::int32_t centre = facelets[face * 9 + 4].colour;
        for (std::size_t i = face * 9; i < face * 9 + 9; ++i) {
            if (facelets[i].colour != centre) {
                return false;
            }
        }
    }
    return true;
}

void Cube::clearMarks() {
    for (Facelet& facelet : facelets) {
        facelet.drawn = false;
    }
}

} // namespace cw
