#include "keyboard/HookKeyCode.h"

namespace ombrel {

// The scan code is trusted when it agrees with the virtual key, since only it tells the two Shift, Ctrl, Alt and
// Enter keys apart and the keypad from the navigation block. When they disagree (injected input, remapped
// keys), the virtual key decides. Right Shift is taken from its scan code alone: the hook reports it with the
// side-less Shift key, which would name Left Shift.
KeyCode KeyCodeOfHookEvent(std::uint32_t vk, std::uint32_t lParam) {
    if (vk > 0xFF) return 0;
    const auto virtualKey = static_cast<std::uint8_t>(vk);
    const auto scan = static_cast<KeyCode>((lParam >> 16) & 0x1FF);
    const auto scanLow = static_cast<std::uint8_t>(scan & 0xFF);
    if (scan == 0x36) return scan;
    if (virtualKey == 0xFF) return scan;
    if (scanLow == 0) return KeyOfVk(virtualKey);
    const KeyRow& row = KeyRowOf(scan);
    if (row.vk == virtualKey || row.altVk == virtualKey || VkTable()[virtualKey] == scanLow) return scan;
    return KeyOfVk(virtualKey);
}

} // namespace ombrel
