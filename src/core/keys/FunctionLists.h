#pragma once
// The keyboard functions and the mouse functions a key can be given.

#include "keyboard/KeyTable.h"

#include <array>
#include <string_view>

namespace ombrel {

// Eleven keyboard functions: row r (0..10) is sent as special entry 0x05 r and named by the text of its key.
// What each does is the keyboard's business.
inline constexpr int kFunctionKeyCount = 11;

namespace detail {
inline constexpr std::array<std::string_view, kFunctionKeyCount> kFunctionKeyRows{
    "FUNC_KEY_DESC1", "FUNC_KEY_DESC2", "FUNC_KEY_DESC3", "FUNC_KEY_DESC4",  "FUNC_KEY_DESC5",  "FUNC_KEY_DESC6",
    "FUNC_KEY_DESC7", "FUNC_KEY_DESC8", "FUNC_KEY_DESC9", "FUNC_KEY_DESC10", "FUNC_KEY_DESC11",
};
} // namespace detail

constexpr const std::array<std::string_view, kFunctionKeyCount>& FunctionKeyList() {
    return detail::kFunctionKeyRows;
}

// The mouse buttons and wheel steps offered as single-key assignments.
struct MouseFunctionRow {
    std::string_view textKey;
    KeyCode code;
};

inline constexpr KeyCode kMouseLeft = 0x171;
inline constexpr KeyCode kMouseRight = 0x172;
inline constexpr KeyCode kMouseMiddle = 0x173;
inline constexpr KeyCode kWheelUp = 0x161;
inline constexpr KeyCode kWheelDown = 0x162;

namespace detail {
inline constexpr std::array<MouseFunctionRow, 5> kMouseFunctionRows{{
    {"IDS_KEYBOARD_MOU_LEFT", kMouseLeft},
    {"IDS_KEYBOARD_MOU_RIGHT", kMouseRight},
    {"IDS_KEYBOARD_MOU_MIDDLE", kMouseMiddle},
    {"IDS_KEYBOARD_ROLL_UP", kWheelUp},
    {"IDS_KEYBOARD_ROLL_DOWN", kWheelDown},
}};
} // namespace detail

constexpr const std::array<MouseFunctionRow, 5>& MouseFunctionList() {
    return detail::kMouseFunctionRows;
}

} // namespace ombrel
