#pragma once
// Native key codes of the Linux desktop turned into key codes (scan-code set 1, +0x100 for E0-prefixed keys).
// The kernel's input layer reports evdev key codes; X11 (and Qt's native scan code on X11 and Wayland) reports
// the evdev code + 8.

#include "keyboard/KeyTable.h"

#include <cstdint>

namespace ombrel {

// The key code of an evdev key code; 0 for keys this keyboard's key table does not know.
KeyCode KeyCodeOfEvdev(std::uint32_t evdevCode);
// The key code of an X key code (evdev code + 8); 0 for unknown keys and for X codes below 8.
KeyCode KeyCodeOfXKeycode(std::uint32_t xKeycode);

} // namespace ombrel
