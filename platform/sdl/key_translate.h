// Translates SDL key events into the key codes the main loop reads (platform/keys.h). Only the
// window's event handler calls it, so no SDL type goes further than platform/.
#pragma once

namespace cw {

/// The key code for a key event with SDL scancode `scancode` and SDL key code `keycode`,
/// or -1 for a key the program does not use.
///
/// Letters follow the keyboard layout, as Windows' virtual-key codes do: the key that
/// types "a" is A wherever it sits, so on a French keyboard the key labelled A turns the
/// front face like Q on an American one. A letter key whose layout gives no Latin letter
/// (a Cyrillic or Greek layout, say) is taken by its position instead, again as Windows
/// does. Every other key is taken by position: the arrows, Space, Escape, F1, and the
/// keypad keys whatever the NumLock state.
int keyCodeFromKey(int scancode, int keycode);

} // namespace cw
