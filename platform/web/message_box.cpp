// The program's message boxes in the browser: modal dialogs in the page, which the program
// waits on as it waits on a box on the desktop.
#include "platform/message_box.h"

#include "platform/web/page_calls.h"

namespace cw {

MessageAnswer SystemMessageBoxes::show(const char* caption, const char* text,
                                       MessageButtons buttons, MessageIcon icon) {
    return page::messageBox(caption, text, buttons, icon);
}

} // namespace cw
