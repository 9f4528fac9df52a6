// SDL message boxes with a standard-error fallback; see message_box.h.
#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>

namespace cw {

namespace {

constexpr int kYesButton = 1;
constexpr int kNoButton = 0;

Uint32 iconFlag(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return SDL_MESSAGEBOX_INFORMATION;
    case MessageIcon::Exclamation:
        return SDL_MESSAGEBOX_WARNING;
    case MessageIcon::Stop:
        return SDL_MESSAGEBOX_ERROR;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

} // namespace

MessageAnswer SystemMessageBoxes::show(const char* caption, const char* text,
                                       MessageButtons buttons, MessageIcon icon) {
    if (buttons == MessageButtons::Ok) {
        if (SDL_ShowSimpleMessageBox(iconFlag(icon), caption, text, nullptr) != 0) {
            std::fprintf(stderr, "%s: %s\n", caption, text);
        }
        return MessageAnswer::Ok;
    }

    // Yes comes first and answers Return; No answers Escape.
    const SDL_MessageBoxButtonData choices[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kYesButton, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kNoButton, "No"},
    };
    SDL_MessageBoxData box{};
    box.flags = iconFlag(icon);
    box.title = caption;
    box.message = text;
    box.numbuttons = 2;
    box.buttons = choices;
    int pressed = kNoButton;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        // Unanswered, the question is declined, as MessageBoxA's failure is on Windows.
        std::fprintf(stderr, "%s: %s\n(No message box could be shown; answering No.)\n", caption,
                     text);
        return MessageAnswer::No;
    }
    // A box closed without a button (its close button) leaves -1: that declines.
    return pressed == kYesButton ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace cw
