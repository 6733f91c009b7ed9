#include "keyboard/KeyTable.h"
#include "keys/MediaTable.h"

#include <gtest/gtest.h>

#include <map>

namespace ombrel {
namespace {

bool IsUsed(const KeyRow& row) {
    return row.vk != 0;
}

TEST(KeyTable, Has157UsedRowsAndTheRestAreEmpty) {
    int used = 0;
    for (std::size_t index = 0; index < KeyTable().size(); ++index) {
        const KeyRow& row = KeyTable()[index];
        if (IsUsed(row)) {
            ++used;
            // Only the F13 row has no name.
            EXPECT_EQ(row.textKey.empty(), index == 0x64) << std::hex << index;
        } else {
            EXPECT_EQ(row.pickerPos, 0xFFFF) << std::hex << index;
            EXPECT_EQ(row.usage, 0) << std::hex << index;
            EXPECT_TRUE(row.textKey.empty()) << std::hex << index;
        }
    }
    EXPECT_EQ(used, 157);
}

TEST(KeyTable, SharedRowsAgree) {
    const auto& keys = KeyTable();
    EXPECT_EQ(keys[0x36].textKey, "IDS_KEYBOARD_RSHIFT");
    EXPECT_EQ(keys[0xB6].textKey, "IDS_KEYBOARD_RSHIFT");
    EXPECT_EQ(keys[0x36].pickerPos, 103);
    EXPECT_EQ(keys[0xB6].pickerPos, 103);
    EXPECT_EQ(keys[0x45].usage, 0x48); // Pause
    EXPECT_EQ(keys[0xC6].usage, 0x48); // Break
    EXPECT_EQ(keys[0x54].vk, 0x2C);    // Sys Req
    EXPECT_EQ(keys[0xB7].vk, 0x2C);    // Print Screen
}

// Each position of the picker list belongs to one row (103 to both Right Shift rows), the mouse rows take
// 107..111 and every hidden row has its own position from 0x8001 on.
TEST(KeyTable, PickerPositionsCoverTheListWithoutGaps) {
    std::map<std::uint16_t, int> counts;
    for (const KeyRow& row : KeyTable()) {
        if (IsUsed(row)) ++counts[row.pickerPos];
    }
    for (std::uint16_t pos = 0; pos <= 105; ++pos)
        EXPECT_EQ(counts[pos], pos == 103 ? 2 : 1) << pos;
    for (std::uint16_t pos = 107; pos <= 111; ++pos)
        EXPECT_EQ(counts[pos], 1) << pos;
    for (std::uint16_t pos = 0x8001; pos <= 0x802D; ++pos)
        EXPECT_EQ(counts[pos], 1) << std::hex << pos;
    EXPECT_EQ(counts.size(), 106u + 5u + 45u);
}

// Letters, digits and function keys: the virtual key, the keyboard usage and the picker position run in step,
// which catches a row typed into the wrong place.
TEST(KeyTable, LettersDigitsAndFunctionKeysRunInStep) {
    std::map<std::uint8_t, const KeyRow*> byVk;
    for (const KeyRow& row : KeyTable()) {
        if (IsUsed(row) && !byVk.contains(row.vk)) byVk[row.vk] = &row;
    }
    for (int n = 0; n < 26; ++n) {
        const KeyRow* row = byVk.at(static_cast<std::uint8_t>('A' + n));
        EXPECT_EQ(row->usage, 0x04 + n) << char('A' + n);
        EXPECT_EQ(row->pickerPos, n) << char('A' + n);
    }
    for (int n = 0; n < 10; ++n) { // 1..9, then 0
        const KeyRow* row = byVk.at(static_cast<std::uint8_t>(n < 9 ? '1' + n : '0'));
        EXPECT_EQ(row->usage, 0x1E + n) << n;
        EXPECT_EQ(row->pickerPos, 26 + n) << n;
    }
    for (int n = 0; n < 12; ++n) {
        const KeyRow* row = byVk.at(static_cast<std::uint8_t>(0x70 + n));
        EXPECT_EQ(row->usage, 0x3A + n) << "F" << n + 1;
        EXPECT_EQ(row->pickerPos, 52 + n) << "F" << n + 1;
    }
    for (int n = 0; n < 10; ++n) { // keypad 0..9 (usage 0x62 for 0, 0x59.. for 1..9)
        const KeyRow* row = byVk.at(static_cast<std::uint8_t>(0x60 + n));
        EXPECT_EQ(row->usage, n == 0 ? 0x62 : 0x58 + n) << "KP" << n;
    }
}

TEST(KeyTable, MediaRowsAgreeWithTheConsumerTableAndTheMediaList) {
    const auto& consumer = ConsumerTable();
    for (const MediaRow& media : MediaTable()) {
        const KeyRow& row = KeyRowOf(media.code);
        EXPECT_EQ(row.textKey, media.nameKey);
        ASSERT_GE(row.usage, 0xC0) << media.nameKey;
        ASSERT_LT(row.usage, 0xC0 + 18) << media.nameKey;
        EXPECT_EQ(consumer[row.usage - 0xC0], media.usage) << media.nameKey;
    }
    for (std::size_t n = 18; n < consumer.size(); ++n)
        EXPECT_EQ(consumer[n], 0) << n;
}

} // namespace
} // namespace ombrel
