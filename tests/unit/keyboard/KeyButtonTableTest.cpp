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
