#include "keyboard/KeyTable.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

TEST(KeyCode, IndexOfCodeFollowsTheThreeRanges) {
    struct Case {
        KeyCode code;
        KeyIndex index;
    };
    const Case cases[] = {
        {0x000, 0x00}, {0x045, 0x45}, {0x07F, 0x7F},    {0x0FF, 0xFF}, // plain codes are their own index
        {0x100, 0x80}, {0x137, 0xB7}, {0x145, 0xC5},    {0x17F, 0xFF}, // extended keys: low byte with bit 7 set
        {0x180, 0x00}, {0x1A0, 0x20}, {0x1FF, 0x7F},                   // fold onto the plain keys
        {0x200, 256},  {0x211, 273},  {0xFFFF, 0xFEFF},                // beyond the key table
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeyIndexOf(c.code), c.index) << std::hex << c.code;
}

TEST(KeyCode, CodeOfIndexInvertsIndexOfForKeysAndGKeys) {
    EXPECT_EQ(KeyCodeOf(0xC5), 0x145);
    EXPECT_EQ(KeyCodeOf(0x7F), 0x07F);
    EXPECT_EQ(KeyCodeOf(0x80), 0x100);
    for (KeyIndex index = 0; index < 274; ++index) {
        EXPECT_EQ(KeyIndexOf(KeyCodeOf(index)), index) << index;
    }
    // The G keys are named by 0x200 + m where the keymap names them.
    EXPECT_EQ(KeyCodeOf(256), 0x200);
    EXPECT_EQ(KeyCodeOf(273), 0x211);
}

TEST(KeyCode, CodesFrom0x180To0x1FFDoNotComeBack) {
    for (KeyCode code = 0x180; code < 0x200; ++code) {
        EXPECT_EQ(KeyCodeOf(KeyIndexOf(code)), code - 0x180) << std::hex << code;
    }
    // Plain scan codes and extended keys do come back.
    for (KeyCode code = 0; code < 0x80; ++code)
        EXPECT_EQ(KeyCodeOf(KeyIndexOf(code)), code);
    for (KeyCode code = 0x100; code < 0x180; ++code)
        EXPECT_EQ(KeyCodeOf(KeyIndexOf(code)), code);
}

TEST(KeyCode, EveryCodeHasARowAndCodesBeyondTheTableGetTheEmptyRow) {
    for (std::uint32_t code = 0; code <= 0xFFFF; ++code) {
        const KeyRow& row = KeyRowOf(static_cast<KeyCode>(code));
        if (KeyIndexOf(static_cast<KeyCode>(code)) < 256) {
            EXPECT_EQ(&row, &KeyTable()[KeyIndexOf(static_cast<KeyCode>(code))]);
        } else {
            ASSERT_EQ(row.vk, 0) << code;
            ASSERT_EQ(row.pickerPos, 0xFFFF) << code;
            ASSERT_EQ(row.usage, 0) << code;
            ASSERT_TRUE(row.textKey.empty()) << code;
        }
    }
    // The lookups built on the row stay safe for G-key codes.
    EXPECT_EQ(PickerPosOfKey(0x200), 0xFFFF);
    EXPECT_EQ(UsageOfKey(0x205).page, 0);
}

TEST(KeyCode, GKeyIndicesFollowTheBank) {
    EXPECT_EQ(GKeyIndex(0, 0), 256);
    EXPECT_EQ(GKeyIndex(8, 0), 264);
    EXPECT_EQ(GKeyIndex(0, 1), 265);
    EXPECT_EQ(GKeyIndex(8, 1), 273);
    EXPECT_EQ(GKeyIndex(-1, 0), 0);
    EXPECT_EQ(GKeyIndex(9, 1), 0);
}

} // namespace
} // namespace ombrel
