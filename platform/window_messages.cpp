// The window's message boxes; see window_messages.h.
#include "platform/window_messages.h"

namespace cw {

namespace {

constexpr const char* kErrorCaption = "ERROR";
constexpr const char* kShutdownCaption = "SHUTDOWN ERROR";
constexpr const char* kQuestionCaption = "Cubewright";
constexpr const char* kFullscreenQuestion =
    "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode "
    "Instead?";

} // namespace

void WindowMessages::error(const char* text) {
    boxes().show(kErrorCaption, text, MessageButtons::Ok, MessageIcon::Exclamation);
}

void WindowMessages::shutdownError(const char* text) {
    boxes().show(kShutdownCaption, text, MessageButtons::Ok, MessageIcon::Information);
}

bool WindowMessages::askWindowedInstead() {
    return boxes().show(kQuestionCaption, kFullscreenQuestion, MessageButtons::YesNo,
                        MessageIcon::Exclamation) == MessageAnswer::Yes;
}

void WindowMessages::programWillClose() {
    boxes().show(kErrorCaption, "Program Will Now Close.", MessageButtons::Ok, MessageIcon::Stop);
}

MessageBoxes& WindowMessages::boxes() {
    static SystemMessageBoxes systemBoxes;
    return boxes_ != nullptr ? *boxes_ : systemBoxes;
}

} // namespace cw
