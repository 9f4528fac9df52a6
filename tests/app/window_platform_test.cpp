// The real program's main-loop platform on SDL's offscreen driver: which GL context the
// font is told about across fullscreen toggles, including one whose new window fails.
#include "app/window_platform.h"

#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "platform/sdl/sdl_calls.h"
#include "render/bitmap_font.h"

namespace cw {
namespace {

class SilentBoxes : public MessageBoxes {
public:
    MessageAnswer show(const char*, const char*, MessageButtons, MessageIcon) override {
        ++shown;
        return MessageAnswer::Yes;
    }
    int shown = 0;
};

class WindowPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.setMessageBoxes(&boxes);
        window.system().setHeadlessAllowed(true);
        ASSERT_TRUE(
            window.create(kWindowTitle, kWindowWidth, kWindowHeight, kWindowColourBits, false));
    }
    void TearDown() override {
        BitmapFont::release(platform.contextToken());
        window.destroy();
        window.system().setCalls(nullptr);
        window.setMessageBoxes(nullptr);
        window.system().setHeadlessAllowed(false);
    }

    GLWindow& window = GLWindow::instance();
    SilentBoxes boxes;
    WindowPlatform platform{window};
    SdlCalls calls = sdlCalls();
};

TEST_F(WindowPlatformTest, EveryNewWindowNamesANewContext) {
    const ContextToken first = platform.contextToken();
    EXPECT_NE(first, kNoContext);
    ASSERT_TRUE(platform.toggleFullscreen());
    const ContextToken second = platform.contextToken();
    EXPECT_NE(second, kNoContext);
    EXPECT_NE(second, first);
    ASSERT_TRUE(platform.toggleFullscreen());
    EXPECT_NE(platform.contextToken(), first);
    EXPECT_NE(platform.contextToken(), second);
    EXPECT_EQ(boxes.shown, 0);
}

TEST_F(WindowPlatformTest, AFailedToggleLeavesNoContextForTheFontToDeleteOn) {
    const ContextToken before = platform.contextToken();
    BitmapFont& font = BitmapFont::instance(before);
    ASSERT_EQ(font.context(), before);

    calls.createWindow = [](const char*, int, int, int, int, Uint32) -> SDL_Window* {
        return nullptr;
    };
    window.system().setCalls(&calls);
    EXPECT_FALSE(platform.toggleFullscreen());
    EXPECT_EQ(boxes.shown, 1); // "Window Creation Error."
    EXPECT_FALSE(window.isCreated());
    // What the entry point hands to release on the way out: no context, so the old
    // lists are dropped without a GL call.
    EXPECT_EQ(platform.contextToken(), kNoContext);
}

} // namespace
} // namespace cw
