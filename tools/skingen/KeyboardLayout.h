#pragma once
// The keyboard map: a 105-key ISO full-size board with nine G keys in a column, in key units.

#include <QString>

#include <cstdint>
#include <vector>

namespace skingen {

struct KeyCap {
    std::uint16_t code = 0; // key code (scan-code set 1, +0x100 for extended keys); 0 for keys without one
    int x = 0;              // left edge in quarter units
    int y = 0;              // top edge in quarter units
    int w = 4;              // width in quarter units
    int h = 4;              // height in quarter units
    QString legend;
    QString subLegend;
    QString skinKey; // set for keys that are not named by their code (Fn, D1..D6)
};

// The 105 keys of the key button table plus Fn, in no particular order.
const std::vector<KeyCap>& KeyboardCaps();
// D1..D6: six extra keys above the navigation cluster, shown instead of F1..F4 in the second layout.
const std::vector<KeyCap>& ExtraCaps();

} // namespace skingen
