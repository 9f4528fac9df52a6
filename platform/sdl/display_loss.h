// What happens when the X server goes away under the program. GLWindow sets it up once
// the video subsystem runs on X11; kept apart because Xlib's macros clash with our names.
#pragma once

namespace cw {

/// From now on, losing the connection to the X server ends the process at once with
/// status 1 and a line on standard error. Xlib's own handler calls exit() instead, whose
/// exit-time clean-up would tear the window down over the dead connection and never end.
void exitAtOnceOnDisplayLoss();

} // namespace cw
