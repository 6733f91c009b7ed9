#include "KeyboardLayout.h"

namespace skingen {

namespace {

// Rows in quarter units: the function row, a half-unit gap, then five rows one unit apart.
constexpr int kRow0 = 0;
constexpr int kRow1 = 6;
constexpr int kRow2 = 10;
constexpr int kRow3 = 14;
constexpr int kRow4 = 18;
constexpr int kRow5 = 22;

KeyCap K(std::uint16_t code, int x, int y, const char* legend, const char* sub = "", int w = 4, int h = 4) {
    KeyCap k;
    k.code = code;
    k.x = x;
    k.y = y;
    k.w = w;
    k.h = h;
    k.legend = QString::fromUtf8(legend);
    k.subLegend = QString::fromUtf8(sub);
    return k;
}

std::vector<KeyCap> BuildCaps() {
    std::vector<KeyCap> c;
    // Function row.
    c.push_back(K(0x001, 0, kRow0, "Esc"));
    const char* fkeys[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
    const std::uint16_t fcodes[] = {0x03B, 0x03C, 0x03D, 0x03E, 0x03F, 0x040, 0x041, 0x042, 0x043, 0x044, 0x057, 0x058};
    for (int i = 0; i < 12; ++i)
        c.push_back(K(fcodes[i], 8 + i * 4 + (i / 4) * 2, kRow0, fkeys[i]));
    c.push_back(K(0x137, 61, kRow0, "PrtSc"));
    c.push_back(K(0x046, 65, kRow0, "ScrLk"));
    c.push_back(K(0x045, 69, kRow0, "Pause"));
    // Number row.
    c.push_back(K(0x029, 0, kRow1, "`", "¬"));
    const char* digits[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
    const char* shifted[] = {"!", "\"", "£", "$", "%", "^", "&", "*", "(", ")"};
    for (int i = 0; i < 10; ++i)
        c.push_back(K(static_cast<std::uint16_t>(0x002 + i), 4 + i * 4, kRow1, digits[i], shifted[i]));
    c.push_back(K(0x00C, 44, kRow1, "-", "_"));
    c.push_back(K(0x00D, 48, kRow1, "=", "+"));
    c.push_back(K(0x00E, 52, kRow1, "Backspace", "", 8));
    c.push_back(K(0x152, 61, kRow1, "Ins"));
    c.push_back(K(0x147, 65, kRow1, "Home"));
    c.push_back(K(0x149, 69, kRow1, "PgUp"));
    c.push_back(K(0x145, 74, kRow1, "Num"));
    c.push_back(K(0x135, 78, kRow1, "/"));
    c.push_back(K(0x037, 82, kRow1, "*"));
    c.push_back(K(0x04A, 86, kRow1, "−"));
    // Top letter row; the tall Enter spans this row and the next.
    c.push_back(K(0x00F, 0, kRow2, "Tab", "", 7));
    const char* top[] = {"Q", "W", "E", "R", "T", "Y", "U", "I", "O", "P"};
    for (int i = 0; i < 10; ++i)
        c.push_back(K(static_cast<std::uint16_t>(0x010 + i), 7 + i * 4, kRow2, top[i]));
    c.push_back(K(0x01A, 47, kRow2, "[", "{"));
    c.push_back(K(0x01B, 51, kRow2, "]", "}"));
    c.push_back(K(0x01C, 55, kRow2, "Enter", "", 5, 8));
    c.push_back(K(0x153, 61, kRow2, "Del"));
    c.push_back(K(0x14F, 65, kRow2, "End"));
    c.push_back(K(0x151, 69, kRow2, "PgDn"));
    c.push_back(K(0x047, 74, kRow2, "7", "Home"));
    c.push_back(K(0x048, 78, kRow2, "8", "↑"));
    c.push_back(K(0x049, 82, kRow2, "9", "PgUp"));
    c.push_back(K(0x04E, 86, kRow2, "+", "", 4, 8));
    // Home row.
    c.push_back(K(0x03A, 0, kRow3, "Caps Lock", "", 7));
    const char* home[] = {"A", "S", "D", "F", "G", "H", "J", "K", "L"};
    for (int i = 0; i < 9; ++i)
        c.push_back(K(static_cast<std::uint16_t>(0x01E + i), 7 + i * 4, kRow3, home[i]));
    c.push_back(K(0x027, 43, kRow3, ";", ":"));
    c.push_back(K(0x028, 47, kRow3, "'", "@"));
    c.push_back(K(0x02B, 51, kRow3, "#", "~"));
    c.push_back(K(0x04B, 74, kRow3, "4", "←"));
    c.push_back(K(0x04C, 78, kRow3, "5"));
    c.push_back(K(0x04D, 82, kRow3, "6", "→"));
    // Bottom letter row.
    c.push_back(K(0x02A, 0, kRow4, "Shift", "", 5));
    c.push_back(K(0x056, 5, kRow4, "\\", "|"));
    const char* bottom[] = {"Z", "X", "C", "V", "B", "N", "M"};
    for (int i = 0; i < 7; ++i)
        c.push_back(K(static_cast<std::uint16_t>(0x02C + i), 9 + i * 4, kRow4, bottom[i]));
    c.push_back(K(0x033, 37, kRow4, ",", "<"));
    c.push_back(K(0x034, 41, kRow4, ".", ">"));
    c.push_back(K(0x035, 45, kRow4, "/", "?"));
    c.push_back(K(0x036, 49, kRow4, "Shift", "", 11));
    c.push_back(K(0x148, 65, kRow4, "↑"));
    c.push_back(K(0x04F, 74, kRow4, "1", "End"));
    c.push_back(K(0x050, 78, kRow4, "2", "↓"));
    c.push_back(K(0x051, 82, kRow4, "3", "PgDn"));
    c.push_back(K(0x11C, 86, kRow4, "Enter", "", 4, 8));
    // Space row.
    c.push_back(K(0x01D, 0, kRow5, "Ctrl", "", 5));
    c.push_back(K(0x15B, 5, kRow5, "Win", "", 5));
    c.push_back(K(0x038, 10, kRow5, "Alt", "", 5));
    c.push_back(K(0x039, 15, kRow5, "", "", 25));
    c.push_back(K(0x138, 40, kRow5, "AltGr"));
    c.push_back(K(0x15C, 44, kRow5, "Win"));
    KeyCap fn = K(0, 48, kRow5, "Fn");
    fn.skinKey = QStringLiteral("KEY_FN");
    c.push_back(fn);
    c.push_back(K(0x15D, 52, kRow5, "Menu"));
    c.push_back(K(0x11D, 56, kRow5, "Ctrl"));
    c.push_back(K(0x14B, 61, kRow5, "←"));
    c.push_back(K(0x150, 65, kRow5, "↓"));
    c.push_back(K(0x14D, 69, kRow5, "→"));
    c.push_back(K(0x052, 74, kRow5, "0", "Ins", 8));
    c.push_back(K(0x053, 82, kRow5, ".", "Del"));
    return c;
}

std::vector<KeyCap> BuildExtras() {
    std::vector<KeyCap> c;
    for (int i = 0; i < 6; ++i) {
        KeyCap k;
        k.legend = QStringLiteral("D%1").arg(i + 1);
        k.skinKey = QStringLiteral("KEY_D%1").arg(i + 1);
        c.push_back(k);
    }
    return c;
}

} // namespace

const std::vector<KeyCap>& KeyboardCaps() {
    static const std::vector<KeyCap> caps = BuildCaps();
    return caps;
}

const std::vector<KeyCap>& ExtraCaps() {
    static const std::vector<KeyCap> caps = BuildExtras();
    return caps;
}

} // namespace skingen
