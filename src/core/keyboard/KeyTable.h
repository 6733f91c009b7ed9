#pragma once
// The keyboard's key vocabulary: key codes, key indices and the fixed tables that name every key.
// A key code is the key's scan code in scan-code set 1, with 0x100 added for keys sent with the 0xE0 prefix.

#include <array>
#include <cstdint>
#include <string_view>

namespace ombrel {

using KeyCode = std::uint16_t;
using KeyIndex = std::uint16_t;

struct KeyRow {
    std::uint8_t vk = 0;            // platform virtual-key code; 0xFF when the key has none
    std::uint16_t pickerPos = 0xFFFF;
    std::uint8_t altVk = 0;         // the virtual key of the key's second meaning (keypad with Num Lock off)
    std::uint8_t usage = 0;         // the code that stands for the key in key functions
    std::string_view textKey;       // language-file key of the key's name; empty for empty rows
};

struct HidUsage {
    std::uint16_t page = 0;
    std::uint16_t usage = 0;
};

struct KeyButton {
    int control;   // control identifier of the key's button in the main window
    KeyCode code;
};

inline constexpr int kKeyButtonCount = 105;
inline constexpr int kGKeyCount = 9;

const std::array<KeyRow, 256>& KeyTable();
const std::array<std::uint8_t, 256>& VkTable();        // virtual-key code -> key index (0 = none)
const std::array<std::uint16_t, 32>& ConsumerTable();  // row n stands for key-table usage 0xC0 + n
const std::array<KeyButton, kKeyButtonCount>& KeyButtonTable();
const std::array<int, kGKeyCount>& GKeyControls();      // G1..G9

KeyIndex KeyIndexOf(KeyCode code);
KeyCode KeyCodeOf(KeyIndex index);
std::uint16_t PickerPosOfKey(KeyCode code);
KeyCode KeyOfPickerPos(std::uint16_t position);
std::string_view PickerTextKey(std::uint16_t position); // text key of the lowest row at that position, or ""
HidUsage UsageOfKey(KeyCode code);
KeyCode KeyOfUsage(std::uint16_t page, std::uint16_t usage);
KeyCode KeyOfVk(std::uint8_t vk);
// Key index of G key i (0..8) in the given bank (0 = A, 1 = B).
KeyIndex GKeyIndex(int i, int bank);

} // namespace ombrel
