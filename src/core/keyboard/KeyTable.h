#pragma once
// The keyboard's key vocabulary: key codes, key indices and the fixed tables that name every key.
// A key code is the key's scan code in scan-code set 1, with 0x100 added for keys sent with the 0xE0 prefix.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ombrel {

using KeyCode = std::uint16_t;
using KeyIndex = std::uint16_t;

struct KeyRow {
    std::uint8_t vk = 0; // platform virtual-key code; 0xFF when the key has none
    std::uint16_t pickerPos = 0xFFFF;
    std::uint8_t usage = 0;   // the code that stands for the key in key functions
    std::string_view textKey; // language-file key of the key's name; empty for empty rows
};

struct HidUsage {
    std::uint16_t page = 0;
    std::uint16_t usage = 0;
};

struct KeyButton {
    int control; // control identifier of the key's button in the main window
    KeyCode code;
};

inline constexpr int kKeyButtonCount = 105;
inline constexpr int kGKeyCount = 9;

const std::array<KeyRow, 256>& KeyTable();
const std::array<std::uint16_t, 32>& ConsumerTable(); // row n stands for key-table usage 0xC0 + n
const std::array<KeyButton, kKeyButtonCount>& KeyButtonTable();
const std::array<int, kGKeyCount>& GKeyControls(); // G1..G9

// Codes 0x100..0x17F (extended keys) take indices 0x80..0xFF; codes 0x180..0x1FF fold onto 0x00..0x7F and do not
// come back. Codes from 0x200 on (the G keys, 0x200 + m) give indices from 256 on, beyond the key table.
KeyIndex KeyIndexOf(KeyCode code);
// Indices from 256 on (the G keys) give 0x200 + m, so that KeyIndexOf of the result is the index again.
KeyCode KeyCodeOf(KeyIndex index);
// The key-table row of a key code; the empty row for codes whose index lies beyond the table.
const KeyRow& KeyRowOf(KeyCode code);
std::uint16_t PickerPosOfKey(KeyCode code);
KeyCode KeyOfPickerPos(std::uint16_t position);
std::string_view PickerTextKey(std::uint16_t position); // text key of the lowest row at that position, or ""
HidUsage UsageOfKey(KeyCode code);
KeyCode KeyOfUsage(std::uint16_t page, std::uint16_t usage);
// Key index of G key i (0..8) in the given bank (0 = A, any other value = B); 0 when i is out of range.
KeyIndex GKeyIndex(int i, int bank);

// Skin layout keys of the map's buttons: "KEY_%03X" of the key index of the button's key code, and "FUNC_G%d"
// numbered from 1 for G key i (0-based; "" when i is out of range).
std::string SkinKeyOfButton(KeyCode code);
std::string SkinKeyOfGKey(int i);

} // namespace ombrel
