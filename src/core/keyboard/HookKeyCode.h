#pragma once
// The key code of a key event given as a virtual-key code with its lParam (bits 16..23 the scan code, bit 24 the
// extended-key flag). The recorder takes native key events (NativeKeys.h); this converts events in that other
// form to the same key codes.

#include "keyboard/KeyTable.h"

#include <cstdint>

namespace ombrel {

// 0 when vk is not a virtual-key code (above 0xFF) or the event names no key.
KeyCode KeyCodeOfHookEvent(std::uint32_t vk, std::uint32_t lParam);

} // namespace ombrel
