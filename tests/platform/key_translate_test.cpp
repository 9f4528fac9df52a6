// Tests of the scancode to key code table used by the window's event handler.
#include "platform/key_translate.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace cw {
namespace {

TEST(KeyTranslation, EveryLetterGivesItsUpperCaseCode) {
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(keyCodeFromScancode(SDL_SCANCODE_A + i), 'A' + i);
    }
}

TEST(KeyTranslation, KeysTheProgramDoesNotUseGiveNoCode) {
    for (int scancode :
         {-1, 0, static_cast<int>(SDL_SCANCODE_0), static_cast<int>(SDL_SCANCODE_F2),
          static_cast<int>(SDL_SCANCODE_KP_0), static_cast<int>(SDL_SCANCODE_KP_5),
          static_cast<int>(SDL_SCANCODE_RETURN), static_cast<int>(SDL_NUM_SCANCODES), 1 << 20}) {
        EXPECT_EQ(keyCodeFromScancode(scancode), -1) << scancode;
    }
}

TEST(KeyTranslation, EveryCodeGivenFitsTheKeyTable) {
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const int code = keyCodeFromScancode(scancode);
        EXPECT_TRUE(code == -1 || (code >= 0 && code < 256)) << scancode;
    }
}

} // namespace
} // namespace cw
