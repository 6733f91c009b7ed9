#include "keyboard/KeyTable.h"
#include "keys/MediaTable.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

TEST(PickerLookups, TakeTheLowestRowAtAPosition) {
    struct Case {
        std::uint16_t position;
        KeyCode code;
        std::string_view textKey;
    };
    const Case cases[] = {
        {0, 0x01E, "IDS_KEYBOARD_A"},
        {66, 0x146, "IDS_KEYBOARD_BREAK"},
        {84, 0x11C, "IDS_KEYBOARD_S_ENTER"},
        {103, 0x036, "IDS_KEYBOARD_RSHIFT"}, // the first of the two Right Shift rows
        {105, 0x15C, "IDS_KEYBOARD_RWIN"},
        {106, 0, ""},
        {107, 0x171, "IDS_KEYBOARD_MOU_LEFT"},
        {0x8001, 0x15E, "IDS_KEYBOARD_POWER"},
        {0x802D, 0x064, ""}, // F13 has a row but no name
        {0xFFFF, 0, ""},     // the empty rows' marker names no key
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyOfPickerPos(c.position), c.code) << c.position;
        EXPECT_EQ(PickerTextKey(c.position), c.textKey) << c.position;
    }
}

TEST(PickerLookups, EveryListPositionComesBackFromItsKey) {
    for (std::uint16_t pos = 0; pos <= 105; ++pos)
        EXPECT_EQ(PickerPosOfKey(KeyOfPickerPos(pos)), pos) << pos;
    EXPECT_EQ(PickerPosOfKey(0x137), 64);
    EXPECT_EQ(PickerPosOfKey(0x136), 103); // second Right Shift row
    EXPECT_EQ(PickerPosOfKey(0x000), 0xFFFF);
}

TEST(UsageOfKey, GivesPageAndUsageByRange) {
    struct Case {
        KeyCode code;
        HidUsage usage;
    };
    const Case cases[] = {
        {0x11C, {7, 0x58}},                     // keypad Enter
        {0x01D, {7, 0xE0}},                     // modifiers stay on the keyboard page
        {0x15C, {7, 0xE7}}, {0x15E, {1, 0x81}}, // Power
        {0x163, {1, 0x83}},                     // Wake
        {0x171, {2, 0xF1}},                     // left mouse button
        {0x162, {2, 0xF5}},                     // wheel down
        {0x130, {7, 0xC0}},                     // media rows keep their own code on the keyboard page
        {0x174, {7, 0xD2}},                     // Zoom-
        {0x064, {0, 0}},                        // F13: no usage
        {0x16E, {0, 0}},                        // pan left: no usage
        {0x000, {0, 0}},                        // empty row
        {0x200, {0, 0}},                        // G key
    };
    for (const Case& c : cases) {
        const HidUsage usage = UsageOfKey(c.code);
        EXPECT_EQ(usage.page, c.usage.page) << std::hex << c.code;
        EXPECT_EQ(usage.usage, c.usage.usage) << std::hex << c.code;
    }
}

TEST(KeyOfUsage, FindsTheLowestRowOnEachPage) {
    struct Case {
        std::uint16_t page;
        std::uint16_t usage;
        KeyCode code;
    };
    // Pause (0x045) wins over Break, which shares usage 0x48; usages are compared as 16-bit values; consumer
    // usage 0 means "no usage" and names no key, not the zoom row behind an empty consumer row.
    const Case cases[] = {
        {7, 0x04, 0x01E}, {7, 0x48, 0x045}, {7, 0xE5, 0x036}, {7, 0x104, 0}, {7, 0x00, 0},
        {1, 0x81, 0x15E}, {1, 0x83, 0x163}, {1, 0x84, 0},     {1, 0x04, 0},  {12, 0x00E9, 0x130},
        {12, 0x1234, 0},  {12, 0x0000, 0},  {2, 0xF1, 0},     {0, 0x04, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KeyOfUsage(c.page, c.usage), c.code) << c.page << ":" << std::hex << c.usage;
    }
}

// What the keymap and macro code write must read back as the same key.
TEST(KeyOfUsage, MapKeysAndMediaKeysComeBackFromTheirUsage) {
    for (const KeyButton& button : KeyButtonTable()) {
        const HidUsage usage = UsageOfKey(button.code);
        EXPECT_EQ(KeyOfUsage(usage.page, usage.usage), button.code) << std::hex << button.code;
    }
    for (const MediaRow& media : MediaTable()) {
        EXPECT_EQ(KeyOfUsage(12, media.usage), media.code) << media.nameKey;
        const HidUsage usage = UsageOfKey(media.code);
        EXPECT_EQ(KeyOfUsage(usage.page, usage.usage), media.code) << media.nameKey;
    }
}

} // namespace
} // namespace ombrel
