// The program's message boxes on Win32, shown modally by MessageBoxA with no owner
// window (a failed window is already gone when its text is shown).
#include "platform/win32/message_box.h"

namespace cw {

UINT messageBoxStyle(MessageButtons buttons, MessageIcon icon) {
    const UINT buttonStyle = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    UINT iconStyle = MB_ICONINFORMATION;
    switch (icon) {
    case MessageIcon::Information:
        iconStyle = MB_ICONINFORMATION;
        break;
    case MessageIcon::Exclamation:
        iconStyle = MB_ICONEXCLAMATION;
        break;
    case MessageIcon::Stop:
        iconStyle = MB_ICONSTOP;
        break;
    }
    return buttonStyle | iconStyle;
}

MessageAnswer messageBoxAnswer(MessageButtons buttons, int pressed) {
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    // A box that could not be shown returns 0: that declines, like No.
    return pressed == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

MessageAnswer SystemMessageBoxes::show(const char* caption, const char* text,
                                       MessageButtons buttons, MessageIcon icon) {
    return messageBoxAnswer(buttons,
                            MessageBoxA(nullptr, text, caption, messageBoxStyle(buttons, icon)));
}

} // namespace cw
