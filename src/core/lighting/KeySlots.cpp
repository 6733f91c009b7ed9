#include "lighting/KeySlots.h"

#include "keyboard/KeyTable.h"

#include <algorithm>

namespace ombrel {

namespace {

constexpr std::array<std::uint8_t, kKeyButtonCount> kSlots = {
    64,  90,  88,  66,  45,  67,  68, 69, 50, 70, 71,  72,  92,  91, 51,  52,  43,  46,  65, 47,  49,
    89,  44,  87,  48,  86,  22,  23, 24, 25, 26, 27,  28,  29,  30, 31,  76,  0,   34,  42, 108, 32,
    33,  53,  54,  55,  73,  74,  21, 93, 94, 95, 1,   2,   3,   4,  5,   6,   7,   8,   9,  10,  11,
    12,  14,  16,  35,  56,  36,  57, 37, 58, 99, 120, 119, 121, 15, 63,  111, 105, 113, 84, 97,  107,
    109, 106, 116, 101, 102, 103, 80, 81, 82, 59, 60,  61,  123, 38, 104, 124, 39,  40,  41, 62,  85};

} // namespace

const std::array<std::uint8_t, 105>& KeyButtonSlots() {
    return kSlots;
}

int SlotOfControl(int control) {
    if (control == kFnControl) return kFnSlot;
    const auto& g = GKeyControls();
    if (std::find(g.begin(), g.end(), control) != g.end()) return kGKeySlot;
    const auto& buttons = KeyButtonTable();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i].control == control) return kSlots[i];
    return 0;
}

} // namespace ombrel
