// The overlay font on a real GL context: glyph lists, printing, truncation, and its life
// across context replacement.
#include "render/bitmap_font.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "tests/render/gl_context.h"

namespace cw {
namespace {

using test::GLContext;

/// Text baseline in window pixels for these tests.
constexpr int kLeft = 20;
constexpr int kBaseline = 200;

class BitmapFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        gl_ = std::make_unique<GLContext>();
        ASSERT_TRUE(gl_->ok());
        useWindowPixels();
    }

    void TearDown() override { BitmapFont::release(gl_->token()); }

    /// Makes raster positions plain window pixels, and clears to black.
    static void useWindowPixels() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, test::kWidth, 0, test::kHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1.0f, 1.0f, 1.0f);
    }

    /// Prints through `printText` from the baseline start; returns how far it moved the
    /// raster position.
    template <typename Print>
    static float advanceOf(Print printText) {
        glRasterPos2i(kLeft, kBaseline);
        printText();
        std::array<GLfloat, 4> position{};
        glGetFloatv(GL_CURRENT_RASTER_POSITION, position.data());
        return position[0] - static_cast<float>(kLeft);
    }

    static bool listsExist(unsigned int base, int count) {
        for (int i = 0; i < count; ++i) {
            if (glIsList(base + static_cast<unsigned int>(i)) == GL_FALSE) {
                return false;
            }
        }
        return true;
    }

    std::unique_ptr<GLContext> gl_;
};

TEST_F(BitmapFontTest, IsBuiltOnceWithOneListPerCodeAndReused) {
    BitmapFont& font = BitmapFont::instance(gl_->token());
    const unsigned int base = font.listBase();
    ASSERT_NE(base, 0u);
    EXPECT_EQ(font.context(), gl_->token());
    EXPECT_TRUE(listsExist(base, BitmapFont::kGlyphCount));
    EXPECT_EQ(glIsList(base + BitmapFont::kGlyphCount), GL_FALSE);

    BitmapFont& again = BitmapFont::instance(gl_->token());
    EXPECT_EQ(&again, &font);
    EXPECT_EQ(again.listBase(), base);
    EXPECT_EQ(glIsList(base + BitmapFont::kGlyphCount), GL_FALSE);
}

TEST_F(BitmapFontTest, PrintsWhiteGlyphsAtTheRasterPositionWithCourierAdvance) {
    BitmapFont& font = BitmapFont::instance(gl_->token());
    // The overlay was laid out for bold Courier New at 18 pixels, 11 pixels a character.
    const float oneChar = advanceOf([&] { font.print("W"); });
    EXPECT_EQ(oneChar, 11.0f);

    glClear(GL_COLOR_BUFFER_BIT);
    const float word = advanceOf([&] { font.print("Hello"); });
    EXPECT_EQ(word, 5 * oneChar);
    glFinish();
    const int inside = GLContext::countBright(kLeft, kBaseline - 5, kLeft + 55, kBaseline + 18);
    EXPECT_GT(inside, 40);
    EXPECT_EQ(GLContext::countBright(0, 0, test::kWidth, test::kHeight), inside);
    // Glyphs stand on the baseline: capitals reach well above it, nothing far below.
    EXPECT_GT(GLContext::countBright(kLeft, kBaseline + 8, kLeft + 55, kBaseline + 18), 0);
    EXPECT_EQ(GLContext::countBright(kLeft, kBaseline - 12, kLeft + 55, kBaseline - 4), 0);

    // Glyphs stand upright: a T's widest row is its bar, near the top.
    glClear(GL_COLOR_BUFFER_BIT);
    advanceOf([&] { font.print("T"); });
    glFinish();
    int widestRow = -1;
    int widest = 0;
    for (int row = 0; row < 16; ++row) {
        const int count =
            GLContext::countBright(kLeft, kBaseline + row, kLeft + 11, kBaseline + row + 1);
        if (count > widest) {
            widest = count;
            widestRow = row;
        }
    }
    EXPECT_GE(widestRow, 8);
    EXPECT_GE(widest, 7);
}

TEST_F(BitmapFontTest, FormatsWithPrintfRulesAndSkipsCodesWithoutGlyphs) {
    BitmapFont& font = BitmapFont::instance(gl_->token());
    const float oneChar = advanceOf([&] { font.print("W"); });
    EXPECT_EQ(advanceOf([&] { font.print("Moves Remaining: %d", 42); }), 19 * oneChar);
    EXPECT_EQ(advanceOf([&] { font.print("Auto solve is %s", "OFF"); }), 17 * oneChar);
    // A line break or a byte above 127 has no glyph: nothing drawn, no movement.
    EXPECT_EQ(advanceOf([&] { font.print("A\nB\tC"); }), 3 * oneChar);
    EXPECT_EQ(advanceOf([&] { font.print("%s", "\x80\xff"); }), 0.0f);
    EXPECT_EQ(advanceOf([&] { font.print("%s", ""); }), 0.0f);
}

TEST_F(BitmapFontTest, LongOutputIsCutToTheBufferInsteadOfOverrunningIt) {
    BitmapFont& font = BitmapFont::instance(gl_->token());
    const float oneChar = advanceOf([&] { font.print("W"); });
    const std::string longText(1000, 'W');
    EXPECT_EQ(advanceOf([&] { font.print("%s", longText.c_str()); }),
              BitmapFont::kMaxText * oneChar);
    EXPECT_EQ(advanceOf([&] { font.print("%0300d", 7); }), BitmapFont::kMaxText * oneChar);
    // Exactly the limit still prints in full.
    const std::string fits(BitmapFont::kMaxText, 'W');
    EXPECT_EQ(advanceOf([&] { font.print("%s", fits.c_str()); }), BitmapFont::kMaxText * oneChar);
}

TEST_F(BitmapFontTest, ReleaseDeletesItsListsAndIsHarmlessWhenRepeated) {
    const unsigned int base = BitmapFont::instance(gl_->token()).listBase();
    ASSERT_TRUE(listsExist(base, BitmapFont::kGlyphCount));

    BitmapFont::release(gl_->token());
    EXPECT_EQ(glIsList(base), GL_FALSE);
    BitmapFont::release(gl_->token());
    BitmapFont::release();

    // The next use builds it again.
    BitmapFont& rebuilt = BitmapFont::instance(gl_->token());
    EXPECT_TRUE(listsExist(rebuilt.listBase(), BitmapFont::kGlyphCount));
    EXPECT_GT(advanceOf([&] { rebuilt.print("W"); }), 0.0f);
}

TEST_F(BitmapFontTest, IsRebuiltOnTheNewContextAfterTheOldOneIsReplaced) {
    BitmapFont& first = BitmapFont::instance(gl_->token());
    ASSERT_NE(first.listBase(), 0u);
    const auto oldToken = gl_->token();

    gl_->replaceContext();
    useWindowPixels();
    ASSERT_NE(gl_->token(), oldToken);
    // The main loop releases after the toggle, with the new context current: the old
    // lists died with their context and nothing of the new one is deleted.
    const unsigned int fresh = glGenLists(1);
    glNewList(fresh, GL_COMPILE);
    glEndList();
    BitmapFont::release(gl_->token());
    EXPECT_EQ(glIsList(fresh), GL_TRUE);

    BitmapFont& font = BitmapFont::instance(gl_->token());
    EXPECT_EQ(font.context(), gl_->token());
    EXPECT_TRUE(listsExist(font.listBase(), BitmapFont::kGlyphCount));
    EXPECT_EQ(advanceOf([&] { font.print("Hi"); }), 22.0f);
    glFinish();
    EXPECT_GT(GLContext::countBright(kLeft, kBaseline - 5, kLeft + 22, kBaseline + 18), 10);
}

TEST_F(BitmapFontTest, NeverDeletesListsOfAContextItWasNotBuiltOn) {
    const unsigned int base = BitmapFont::instance(gl_->token()).listBase();
    ASSERT_NE(base, 0u);

    // Another context, holding lists with the very names the font uses in its own.
    SDL_GLContext other = gl_->createSecondContext();
    ASSERT_NE(other, nullptr);
    for (int i = 0; i < BitmapFont::kGlyphCount; ++i) {
        glNewList(base + static_cast<unsigned int>(i), GL_COMPILE);
        glEndList();
    }

    // Asked for a font here, it builds a new one rather than reuse foreign lists.
    BitmapFont& here = BitmapFont::instance(gl_->secondToken());
    EXPECT_EQ(here.context(), gl_->secondToken());
    const unsigned int hereBase = here.listBase();
    EXPECT_NE(hereBase, base);
    EXPECT_TRUE(listsExist(base, BitmapFont::kGlyphCount));

    // Released while another context is current, it deletes nothing there, and its own
    // lists are left to their context.
    gl_->makeCurrent(gl_->context());
    const unsigned int mine = glGenLists(1);
    glNewList(mine, GL_COMPILE);
    glEndList();
    BitmapFont::release(gl_->token());
    EXPECT_EQ(glIsList(mine), GL_TRUE);
    gl_->makeCurrent(other);
    EXPECT_TRUE(listsExist(base, BitmapFont::kGlyphCount));
    EXPECT_TRUE(listsExist(hereBase, BitmapFont::kGlyphCount));

    SDL_GL_DeleteContext(other);
    gl_->makeCurrent(gl_->context());
}

} // namespace
} // namespace cw
