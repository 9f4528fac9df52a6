// SDL key event to key code translation; see key_translate.h.
#include "platform/sdl/key_translate.h"

#include <SDL.h>

#include "platform/keys.h"

namespace cw {

namespace {

bool isLetterPosition(int scancode) {
    return scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z;
}

/// True for the key code of a character outside ASCII, which is what a letter key of a
/// non-Latin layout gives; SDL's codes for keys without a character carry a mask bit.
bool isNonAsciiCharacter(int keycode) {
    return keycode >= 0x80 && (keycode & SDLK_SCANCODE_MASK) == 0;
}

} // namespace

int keyCodeFromKey(int scancode, int keycode) {
    if (keycode >= SDLK_a && keycode <= SDLK_z) {
        return key::letter('A') + (keycode - SDLK_a);
    }
    if (isLetterPosition(scancode) && (keycode == SDLK_UNKNOWN || isNonAsciiCharacter(keycode))) {
        return key::letter('A') + (scancode - SDL_SCANCODE_A);
    }
    switch (scancode) {
    case SDL_SCANCODE_LEFT:
        return key::kLeft;
    case SDL_SCANCODE_UP:
        return key::kUp;
    case SDL_SCANCODE_RIGHT:
        return key::kRight;
    case SDL_SCANCODE_DOWN:
        return key::kDown;
    case SDL_SCANCODE_KP_2:
        return key::kNumpad2;
    case SDL_SCANCODE_KP_4:
        return key::kNumpad4;
    case SDL_SCANCODE_KP_6:
        return key::kNumpad6;
    case SDL_SCANCODE_KP_8:
        return key::kNumpad8;
    case SDL_SCANCODE_F1:
        return key::kF1;
    case SDL_SCANCODE_ESCAPE:
        return key::kEscape;
    case SDL_SCANCODE_SPACE:
        return key::kSpace;
    default:
        return -1;
    }
}

} // namespace cw
