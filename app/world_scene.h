// The program's cubes as the renderer's scene sees them: the main cube, and each
// background cube taking its flight step just before it is drawn. The window platform,
// the frame benchmark and the drawing tests draw the world through this.
#pragma once

#include <cstddef>

#include "app/world.h"
#include "render/scene.h"

namespace cw {

class WorldScene final : public SceneCubes {
public:
    explicit WorldScene(World& world) : world_(world) {}

    Cube& mainCube() override { return world_.mainCube; }

    BackgroundPlace flyBackgroundCube(int index) override {
        world_.flightStep(index);
        const auto at = static_cast<std::size_t>(index);
        return {world_.background[at], backgroundX(index), backgroundY(index), world_.depths[at]};
    }

private:
    World& world_;
};

/// The renderer's scene with room for the world's background cubes. Made at start-up,
/// before the first frame, and kept for the whole run.
class WorldRenderer {
public:
    /// Draws one frame of the world into the current context and presents it with `target`.
    void draw(World& world, FrameTarget& target) {
        WorldScene cubes(world);
        scene_.draw(cubes, target);
    }

private:
    Scene scene_{kBackgroundCount};
};

} // namespace cw
