// Tests of the translation from SDL key events to key codes used by the window's event
// handler: letters by layout, everything else by position.
#include "platform/sdl/key_translate.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace cw {
namespace {

// What SDL reports for a key: where it sits and what the layout makes of it.
struct Key {
    SDL_Scancode scancode;
    SDL_Keycode keycode;
    int code;
};

TEST(KeyTranslation, AmericanLettersGiveTheirUpperCaseCodes) {
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(keyCodeFromKey(SDL_SCANCODE_A + i, SDLK_a + i), 'A' + i);
    }
}

TEST(KeyTranslation, LettersFollowTheFrenchLayout) {
    // On AZERTY the keys in the American Q, W, A, Z and semicolon places type a, z, q, w
    // and m; the key in the American M place types a comma, which the program does not use.
    const Key keys[] = {
        {SDL_SCANCODE_Q, SDLK_a, 'A'},         {SDL_SCANCODE_W, SDLK_z, 'Z'},
        {SDL_SCANCODE_A, SDLK_q, 'Q'},         {SDL_SCANCODE_Z, SDLK_w, 'W'},
        {SDL_SCANCODE_SEMICOLON, SDLK_m, 'M'}, {SDL_SCANCODE_M, SDLK_COMMA, -1},
        {SDL_SCANCODE_E, SDLK_e, 'E'},
    };
    for (const Key& key : keys) {
        EXPECT_EQ(keyCodeFromKey(key.scancode, key.keycode), key.code) << key.scancode;
    }
}

TEST(KeyTranslation, LettersFollowTheGermanLayout) {
    EXPECT_EQ(keyCodeFromKey(SDL_SCANCODE_Y, SDLK_z), 'Z');
    EXPECT_EQ(keyCodeFromKey(SDL_SCANCODE_Z, SDLK_y), 'Y');
}

TEST(KeyTranslation, LetterKeysOfANonLatinLayoutGoByPosition) {
    // Russian: the American Q and F places type the Cyrillic letters U+0439 and U+0430.
    EXPECT_EQ(keyCodeFromKey(SDL_SCANCODE_Q, 0x0439), 'Q');
    EXPECT_EQ(keyCodeFromKey(SDL_SCANCODE_F, 0x0430), 'F');
    EXPECT_EQ(keyCodeFromKey(SDL_SCANCODE_M, SDLK_UNKNOWN), 'M');
}

TEST(KeyTranslation, OtherKeysGoByPositionWhateverTheLayoutSays) {
    const Key keys[] = {
        {SDL_SCANCODE_LEFT, SDLK_LEFT, 0x25},     {SDL_SCANCODE_UP, SDLK_UP, 0x26},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, 0x27},   {SDL_SCANCODE_DOWN, SDLK_DOWN, 0x28},
        {SDL_SCANCODE_KP_2, SDLK_KP_2, 0x62},     {SDL_SCANCODE_KP_4, SDLK_KP_4, 0x64},
        {SDL_SCANCODE_KP_6, SDLK_KP_6, 0x66},     {SDL_SCANCODE_KP_8, SDLK_KP_8, 0x68},
        {SDL_SCANCODE_KP_8, SDLK_UP, 0x68},       {SDL_SCANCODE_F1, SDLK_F1, 0x70},
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 0x1B}, {SDL_SCANCODE_SPACE, SDLK_SPACE, 0x20},
        {SDL_SCANCODE_SPACE, SDLK_UNKNOWN, 0x20},
    };
    for (const Key& key : keys) {
        EXPECT_EQ(keyCodeFromKey(key.scancode, key.keycode), key.code) << key.scancode;
    }
}

TEST(KeyTranslation, KeysTheProgramDoesNotUseGiveNoCode) {
    const Key keys[] = {
        {SDL_SCANCODE_0, SDLK_0, -1},           {SDL_SCANCODE_F2, SDLK_F2, -1},
        {SDL_SCANCODE_KP_0, SDLK_KP_0, -1},     {SDL_SCANCODE_KP_5, SDLK_KP_5, -1},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, -1}, {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, -1},
        {SDL_SCANCODE_1, 0x00E9, -1}, // the French "é" on the 2 key: not a letter key
    };
    for (const Key& key : keys) {
        EXPECT_EQ(keyCodeFromKey(key.scancode, key.keycode), key.code) << key.scancode;
    }
    for (int scancode : {-1, 0, static_cast<int>(SDL_NUM_SCANCODES), 1 << 20}) {
        EXPECT_EQ(keyCodeFromKey(scancode, SDLK_UNKNOWN), -1) << scancode;
    }
}

TEST(KeyTranslation, EveryCodeGivenFitsTheKeyTable) {
    for (int scancode = 0; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const int keycodes[] = {SDLK_UNKNOWN, SDLK_a, SDLK_z,
                                SDLK_COMMA,   0x0439, SDL_SCANCODE_TO_KEYCODE(scancode)};
        for (int keycode : keycodes) {
            const int code = keyCodeFromKey(scancode, keycode);
            EXPECT_TRUE(code == -1 || (code >= 0 && code < 256)) << scancode;
        }
    }
}

} // namespace
} // namespace cw
