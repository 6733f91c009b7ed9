#pragma once
// The key code of a Windows keyboard-hook event, from its virtual-key code and its lParam (bits 16..23 the scan
// code, bit 24 the extended-key flag). Kept beside the Linux translation for a Windows build of the recorder.

#include "keyboard/KeyTable.h"

#include <cstdint>

namespace ombrel {

// 0 when vk is not a virtual-key code (above 0xFF) or the event names no key.
KeyCode KeyCodeOfHookEvent(std::uint32_t vk, std::uint32_t lParam);

} // namespace ombrel
