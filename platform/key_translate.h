// Translates SDL scancodes into the key codes the main loop reads (app/keys.h). Only the
// window's event handler calls it, so no SDL type goes further than platform/.
#pragma once

namespace cw {

/// The key code for an SDL scancode, or -1 for a key the program does not use.
/// Keypad keys are translated by position, so NumLock makes no difference.
int keyCodeFromScancode(int scancode);

} // namespace cw
