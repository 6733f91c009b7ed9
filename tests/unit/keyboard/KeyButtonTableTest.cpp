#include "keyboard/KeyTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace ombrel {
namespace {

TEST(KeyButtonTable, Has105DistinctNamedKeys) {
    std::set<KeyCode> codes;
    std::set<int> controls;
    std::set<std::uint16_t> positions;
    std::set<std::string> skinKeys;
    for (const KeyButton& button : KeyButtonTable()) {
        codes.insert(button.code);
        controls.insert(button.control);
        skinKeys.insert(SkinKeyOfButton(button.code));
        const KeyRow& row = KeyRowOf(button.code);
        EXPECT_FALSE(row.textKey.empty()) << std::hex << button.code;
        EXPECT_NE(row.usage, 0) << std::hex << button.code;
        EXPECT_EQ(KeyCodeOf(KeyIndexOf(button.code)), button.code) << std::hex << button.code;
        positions.insert(row.pickerPos);
    }
    EXPECT_EQ(codes.size(), 105u);
    EXPECT_EQ(controls.size(), 105u);
    EXPECT_EQ(skinKeys.size(), 105u);
    // The picker offers every map key, and Break besides.
    std::set<std::uint16_t> expected;
    for (std::uint16_t pos = 0; pos <= 105; ++pos) {
        if (pos != 66) expected.insert(pos);
    }
    EXPECT_EQ(positions, expected);
    for (int control : GKeyControls())
        EXPECT_FALSE(controls.contains(control)) << control;
}

// The keys of a full-size ISO keyboard by row, each with its scan code (set 1; 0x100 for the E0 prefix, Num Lock
// with it and Pause without, as the keyboard sends them) and its usage on the USB keyboard page, written out here
// from those two standards rather than from the program's tables.
struct StandardKey {
    const char* name;
    KeyCode code;
    std::uint8_t usage;
};
constexpr StandardKey kFullSizeKeyboard[] = {
    {"Esc", 0x001, 0x29},         {"F1", 0x03B, 0x3A},
    {"F2", 0x03C, 0x3B},          {"F3", 0x03D, 0x3C},
    {"F4", 0x03E, 0x3D},          {"F5", 0x03F, 0x3E},
    {"F6", 0x040, 0x3F},          {"F7", 0x041, 0x40},
    {"F8", 0x042, 0x41},          {"F9", 0x043, 0x42},
    {"F10", 0x044, 0x43},         {"F11", 0x057, 0x44},
    {"F12", 0x058, 0x45},         {"Print Screen", 0x137, 0x46},
    {"Scroll Lock", 0x046, 0x47}, {"Pause", 0x045, 0x48},

    {"`", 0x029, 0x35},           {"1", 0x002, 0x1E},
    {"2", 0x003, 0x1F},           {"3", 0x004, 0x20},
    {"4", 0x005, 0x21},           {"5", 0x006, 0x22},
    {"6", 0x007, 0x23},           {"7", 0x008, 0x24},
    {"8", 0x009, 0x25},           {"9", 0x00A, 0x26},
    {"0", 0x00B, 0x27},           {"-", 0x00C, 0x2D},
    {"=", 0x00D, 0x2E},           {"Backspace", 0x00E, 0x2A},
    {"Insert", 0x152, 0x49},      {"Home", 0x147, 0x4A},
    {"Page Up", 0x149, 0x4B},     {"Num Lock", 0x145, 0x53},
    {"KP /", 0x135, 0x54},        {"KP *", 0x037, 0x55},
    {"KP -", 0x04A, 0x56},

    {"Tab", 0x00F, 0x2B},         {"Q", 0x010, 0x14},
    {"W", 0x011, 0x1A},           {"E", 0x012, 0x08},
    {"R", 0x013, 0x15},           {"T", 0x014, 0x17},
    {"Y", 0x015, 0x1C},           {"U", 0x016, 0x18},
    {"I", 0x017, 0x0C},           {"O", 0x018, 0x12},
    {"P", 0x019, 0x13},           {"[", 0x01A, 0x2F},
    {"]", 0x01B, 0x30},           {"\\", 0x02B, 0x31},
    {"Delete", 0x153, 0x4C},      {"End", 0x14F, 0x4D},
    {"Page Down", 0x151, 0x4E},   {"KP 7", 0x047, 0x5F},
    {"KP 8", 0x048, 0x60},        {"KP 9", 0x049, 0x61},
    {"KP +", 0x04E, 0x57},

    {"Caps Lock", 0x03A, 0x39},   {"A", 0x01E, 0x04},
    {"S", 0x01F, 0x16},           {"D", 0x020, 0x07},
    {"F", 0x021, 0x09},           {"G", 0x022, 0x0A},
    {"H", 0x023, 0x0B},           {"J", 0x024, 0x0D},
    {"K", 0x025, 0x0E},           {"L", 0x026, 0x0F},
    {";", 0x027, 0x33},           {"'", 0x028, 0x34},
    {"Enter", 0x01C, 0x28},       {"KP 4", 0x04B, 0x5C},
    {"KP 5", 0x04C, 0x5D},        {"KP 6", 0x04D, 0x5E},

    {"Left Shift", 0x02A, 0xE1},  {"ISO \\", 0x056, 0x64},
    {"Z", 0x02C, 0x1D},           {"X", 0x02D, 0x1B},
    {"C", 0x02E, 0x06},           {"V", 0x02F, 0x19},
    {"B", 0x030, 0x05},           {"N", 0x031, 0x11},
    {"M", 0x032, 0x10},           {",", 0x033, 0x36},
    {".", 0x034, 0x37},           {"/", 0x035, 0x38},
    {"Right Shift", 0x036, 0xE5}, {"Up", 0x148, 0x52},
    {"KP 1", 0x04F, 0x59},        {"KP 2", 0x050, 0x5A},
    {"KP 3", 0x051, 0x5B},        {"KP Enter", 0x11C, 0x58},

    {"Left Ctrl", 0x01D, 0xE0},   {"Left Win", 0x15B, 0xE3},
    {"Left Alt", 0x038, 0xE2},    {"Space", 0x039, 0x2C},
    {"Right Alt", 0x138, 0xE6},   {"Right Win", 0x15C, 0xE7},
    {"Menu", 0x15D, 0x65},        {"Right Ctrl", 0x11D, 0xE4},
    {"Left", 0x14B, 0x50},        {"Down", 0x150, 0x51},
    {"Right", 0x14D, 0x4F},       {"KP 0", 0x052, 0x62},
    {"KP .", 0x053, 0x63},
};

TEST(KeyButtonTable, HoldsTheKeysOfAFullSizeKeyboardWithTheirUsages) {
    std::set<KeyCode> mapCodes;
    for (const KeyButton& button : KeyButtonTable())
        mapCodes.insert(button.code);
    std::set<KeyCode> standardCodes;
    for (const StandardKey& key : kFullSizeKeyboard) {
        standardCodes.insert(key.code);
        const HidUsage usage = UsageOfKey(key.code);
        EXPECT_EQ(usage.page, 7) << key.name;
        EXPECT_EQ(usage.usage, key.usage) << key.name;
        EXPECT_EQ(KeyOfUsage(7, key.usage), key.code) << key.name;
    }
    ASSERT_EQ(standardCodes.size(), 105u) << "the list above names a key twice";
    EXPECT_EQ(mapCodes, standardCodes);
}

TEST(KeyButtonTable, KeepsTheMapOrder) {
    const auto& buttons = KeyButtonTable();
    EXPECT_EQ(buttons[0].control, 1058);
    EXPECT_EQ(buttons[0].code, 0x01E);
    EXPECT_EQ(buttons[64].control, 1091);
    EXPECT_EQ(buttons[64].code, 0x137);
    EXPECT_EQ(buttons[97].code, 0x145);
    EXPECT_EQ(buttons[104].control, 1199);
    EXPECT_EQ(buttons[104].code, 0x056);
    const std::array<int, kGKeyCount> gControls = {1000, 1001, 1002, 1003, 1004, 1140, 1141, 1142, 1143};
    EXPECT_EQ(GKeyControls(), gControls);
}

TEST(SkinKeys, NameButtonsByKeyIndexAndGKeysFromOne) {
    EXPECT_EQ(SkinKeyOfButton(0x137), "KEY_0B7");
    EXPECT_EQ(SkinKeyOfButton(0x045), "KEY_045");
    EXPECT_EQ(SkinKeyOfButton(0x145), "KEY_0C5");
    EXPECT_EQ(SkinKeyOfButton(0x01E), "KEY_01E");
    EXPECT_EQ(SkinKeyOfGKey(0), "FUNC_G1");
    EXPECT_EQ(SkinKeyOfGKey(8), "FUNC_G9");
    EXPECT_EQ(SkinKeyOfGKey(9), "");
    EXPECT_EQ(SkinKeyOfGKey(-1), "");
}

} // namespace
} // namespace ombrel
