#include "keyboard/KeyTable.h"

namespace ombrel {
namespace {

constexpr int kVkNumLock = 0x90;
constexpr int kVkScrollLock = 0x91;

// Each virtual key names the lowest key-table row with that vk, with these exceptions:
// - the side-less Shift, Ctrl and Alt name the left-hand keys;
// - 0x2C names Print Screen rather than Sys Req, since that is the key the user pressed;
// - the mouse buttons (0x01, 0x02, 0x04) and 0xFF ("no virtual key") name no key, so a click or a key without
//   a virtual key is never taken for a keyboard key;
// - 0x88..0x9F name no key, except Num Lock (0x90) and Scroll Lock (0x91): the other rows that carry codes of
//   this range are program functions (pan, zoom, clipboard, window, office) with private codes that no keyboard
//   reports, and a stray event with such a code must not turn into one of those functions.
std::array<std::uint8_t, 256> BuildVkTable() {
    std::array<std::uint8_t, 256> table{};
    const auto& keys = KeyTable();
    for (int index = static_cast<int>(keys.size()) - 1; index > 0; --index) {
        const std::uint8_t vk = keys[index].vk;
        if (vk != 0) table[vk] = static_cast<std::uint8_t>(index);
    }
    table[0x10] = 0x2A;
    table[0x11] = 0x1D;
    table[0x12] = 0x38;
    table[0x2C] = 0xB7;
    for (std::uint8_t vk : {0x01, 0x02, 0x04, 0xFF})
        table[vk] = 0;
    for (int vk = 0x88; vk <= 0x9F; ++vk) {
        if (vk != kVkNumLock && vk != kVkScrollLock) table[vk] = 0;
    }
    return table;
}

} // namespace

const std::array<std::uint8_t, 256>& VkTable() {
    static const std::array<std::uint8_t, 256> table = BuildVkTable();
    return table;
}

} // namespace ombrel
