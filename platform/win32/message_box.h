// How the window's message boxes look on Win32: the MessageBoxA style for a set of
// buttons and an icon. The system boxes use it; tests check it.
#pragma once

#include <windows.h>

#include "platform/message_box.h"

namespace cw {

/// The MessageBoxA style: MB_OK or MB_YESNO, and MB_ICONINFORMATION, MB_ICONEXCLAMATION or
/// MB_ICONSTOP.
UINT messageBoxStyle(MessageButtons buttons, MessageIcon icon);

/// The answer for what MessageBoxA returned: Yes only for IDYES from a Yes/No box.
MessageAnswer messageBoxAnswer(MessageButtons buttons, int pressed);

} // namespace cw
