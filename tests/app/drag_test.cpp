// Drags on the main cube through the world, from press to release, without a window: taps,
// face turns asked for once per drag and under the face keys' rules, the middle rows, the
// view turned beside the cube, and cancelled drags.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "app/world.h"
#include "solver/layer_by_layer/layer_by_layer.h"

namespace cw {
namespace {

constexpr ClientSize kWindow{640, 480};

class DragTest : public ::testing::Test {
protected:
    std::unique_ptr<World> world = std::make_unique<World>();

    Cube& main() { return world->mainCube; }
    void pointer(PointerEvent::Kind kind, int x, int y) {
        world->handlePointer({kind, x, y}, kWindow);
    }

    /// A window point on the sticker, searched for through the picking.
    std::optional<std::array<int, 2>> pointOn(const StickerHit& sticker) {
        for (int y = 0; y < kWindow.height; y += 4) {
            for (int x = 0; x < kWindow.width; x += 4) {
                if (pickSticker(main(), static_cast<float>(x), static_cast<float>(y), kWindow) ==
                    sticker) {
                    return std::array<int, 2>{x + 2, y + 2};
                }
            }
        }
        return std::nullopt;
    }

    /// Drags from `from` by (dx, dy) in four moves, then releases.
    void drag(std::array<int, 2> from, int dx, int dy) {
        pointer(PointerEvent::Kind::Press, from[0], from[1]);
        for (int step = 1; step <= 4; ++step) {
            pointer(PointerEvent::Kind::Move, from[0] + dx * step / 4, from[1] + dy * step / 4);
        }
        pointer(PointerEvent::Kind::Release, from[0] + dx, from[1] + dy);
    }
};

TEST_F(DragTest, ATapOnAStickerDoesNothing) {
    const auto point = pointOn({0, 0, 1});
    ASSERT_TRUE(point);
    drag(*point, 3, 2);
    EXPECT_EQ(main().pending.size(), 0u);
    EXPECT_EQ(main().viewAngleY(), 0.0f);
    EXPECT_EQ(main().viewAngleZ(), 0.0f);
}

TEST_F(DragTest, ADragAcrossTheFrontTopRowQueuesOneTurnOfTheUpFaceAsItsKeyWould) {
    // Rightwards on the front face's top row carries it as X does: up, counter-clockwise.
    const auto point = pointOn({0, 0, 1});
    ASSERT_TRUE(point);
    drag(*point, 80, 0);
    ASSERT_EQ(main().pending.size(), 1u);
    EXPECT_EQ(main().pending.front(), Move(2, false));
    EXPECT_EQ(main().solverState(), kStatePlayback);
}

TEST_F(DragTest, DragsTurnNothingWhileATurnAnimatesOrAutoSolveIsOn) {
    const auto point = pointOn({0, 0, 1});
    ASSERT_TRUE(point);
    main().setAutoSolve(true);
    drag(*point, 80, 0);
    EXPECT_EQ(main().pending.size(), 0u);

    main().setAutoSolve(false);
    main().pending.push_back(Move(1, true));
    main().stepMoveQueue();
    ASSERT_NE(main().turningFace(), -1);
    drag(*point, 80, 0);
    EXPECT_EQ(main().pending.size(), 1u);
}

TEST_F(DragTest, ADragAlongAMiddleRowTurnsTheViewInstead) {
    const auto point = pointOn({0, 1, 1});
    ASSERT_TRUE(point);
    drag(*point, 64, 0);
    EXPECT_EQ(main().pending.size(), 0u);
    EXPECT_FLOAT_EQ(main().viewAngleY(), 36.0f);
}

TEST_F(DragTest, ADragBesideTheCubeTurnsTheViewAsTheArrowKeysDo) {
    ASSERT_FALSE(pickSticker(main(), 20.0f, 20.0f, kWindow));
    // A full turn across the width, three quarters of one up the height: rightwards as the
    // right arrow, upwards as the up arrow.
    drag({20, 460}, 64, -48);
    EXPECT_FLOAT_EQ(main().viewAngleY(), 36.0f);
    EXPECT_FLOAT_EQ(main().viewAngleZ(), 27.0f);
    EXPECT_EQ(main().pending.size(), 0u);
}

TEST_F(DragTest, ACancelledDragEndsThereAndTheNextPressStartsAfresh) {
    const auto point = pointOn({0, 0, 1});
    ASSERT_TRUE(point);
    pointer(PointerEvent::Kind::Press, (*point)[0], (*point)[1]);
    pointer(PointerEvent::Kind::Cancel, 0, 0);
    pointer(PointerEvent::Kind::Move, (*point)[0] + 80, (*point)[1]);
    pointer(PointerEvent::Kind::Release, (*point)[0] + 80, (*point)[1]);
    EXPECT_EQ(main().pending.size(), 0u);
    EXPECT_EQ(main().viewAngleY(), 0.0f);

    drag(*point, 80, 0);
    EXPECT_EQ(main().pending.size(), 1u);
}

TEST_F(DragTest, APressAfterALostReleaseStartsANewDrag) {
    const auto point = pointOn({0, 0, 1});
    ASSERT_TRUE(point);
    pointer(PointerEvent::Kind::Press, (*point)[0], (*point)[1]);
    // The release never came; this press, beside the cube, turns the view only.
    drag({20, 460}, 64, 0);
    EXPECT_EQ(main().pending.size(), 0u);
    EXPECT_FLOAT_EQ(main().viewAngleY(), 36.0f);
}

} // namespace
} // namespace cw
