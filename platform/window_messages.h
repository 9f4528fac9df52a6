// The window's message boxes with their fixed captions, buttons and icons: create's
// failures, destroy's failures and the fullscreen question. Both GLWindow back ends
// report through it; tests hand it their own boxes.
#pragma once

#include "platform/message_box.h"

namespace cw {

class WindowMessages {
public:
    /// Where the boxes go; null puts back the system's boxes. The object must outlive
    /// its use.
    void setBoxes(MessageBoxes* boxes) { boxes_ = boxes; }

    /// A failure of create: caption "ERROR", an OK button and the exclamation icon.
    void error(const char* text);
    /// A failure of destroy: caption "SHUTDOWN ERROR", an OK button and the information
    /// icon.
    void shutdownError(const char* text);
    /// Asks whether to go on in a window since the fullscreen mode is not available; true
    /// for Yes.
    bool askWindowedInstead();
    /// Says that the program ends, after the windowed mode was declined (caption "ERROR",
    /// an OK button and the stop icon).
    void programWillClose();

private:
    MessageBoxes& boxes();

    MessageBoxes* boxes_ = nullptr;
};

} // namespace cw
