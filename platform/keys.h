// Key codes the main loop reads, and the key-down table the window fills. Every window
// back end translates its own key events into these codes at the edge; app/ reads them.
// Standard library only, so the program's core may include it.
#pragma once

#include <array>
#include <cstddef>

namespace cw {

/// One entry per key code 0..255; true while the key is down.
using KeyTable = std::array<bool, 256>;

namespace key {
inline constexpr int kSpace = 0x20;
inline constexpr int kEscape = 0x1B;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kNumpad2 = 0x62;
inline constexpr int kNumpad4 = 0x64;
inline constexpr int kNumpad6 = 0x66;
inline constexpr int kNumpad8 = 0x68;
inline constexpr int kF1 = 0x70;
/// Letters use their upper-case character codes, 'A' (0x41) to 'Z' (0x5A).
inline constexpr int letter(char upper) {
    return static_cast<unsigned char>(upper);
}
} // namespace key

/// Sets a key's entry; codes outside the table are ignored.
inline void setKey(KeyTable& keys, int code, bool down) {
    if (code >= 0 && code < static_cast<int>(keys.size())) {
        keys[static_cast<std::size_t>(code)] = down;
    }
}

inline bool isDown(const KeyTable& keys, int code) {
    return code >= 0 && code < static_cast<int>(keys.size()) &&
           keys[static_cast<std::size_t>(code)];
}

} // namespace cw
