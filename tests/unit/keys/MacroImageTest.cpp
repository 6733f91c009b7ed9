// The macro memory image: sizes, layout, step encoding, and decoding of whatever the keyboard's memory holds.
#include "keys/MacroImage.h"
#include "keys/KeysTestData.h"
#include "util/Bytes.h"

#include <gtest/gtest.h>

namespace ombrel::test {
namespace {

std::uint32_t word(const std::vector<std::uint8_t>& image, std::size_t at) {
    return getLe16(&image[at]);
}

TEST(MacroImageTest, NoMacrosIsTheBareHeader) {
    const auto image = BuildMacroImage({}, true);
    const std::vector<std::uint8_t> expected = {0xAA, 0x55, 16, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(image, expected);
    EXPECT_EQ(MeasureMacroImage({}).withoutNames, 16u);
}

TEST(MacroImageTest, OneMacroWithTwoStepsAndATwoCharacterName) {
    MacroRecord m = MakeMacro(4, u"Ab", 0, 3);
    m.setAction(0, {120, kLeftShift, MACRO_PRESS});
    m.setAction(1, {0, kKeyA, MACRO_RELEASE});
    m.setActionCount(2);
    const std::vector<MacroRecord> macros{m};
    const MacroImageSizes sizes = MeasureMacroImage(macros);
    EXPECT_EQ(sizes.withoutNames, 30u);
    EXPECT_EQ(sizes.withNames, 34u);

    const auto image = BuildMacroImage(macros, true);
    ASSERT_EQ(image.size(), 34u);
    EXPECT_EQ(word(image, 2), 34u);
    EXPECT_EQ(word(image, 4), 1u);
    EXPECT_EQ(word(image, 6), 1u);
    EXPECT_EQ(word(image, 16), 18u); // block offset
    const std::vector<std::uint8_t> block(image.begin() + 18, image.end());
    const std::vector<std::uint8_t> expected = {2,    0,    3,   2, // steps, cycles, name length
                                                0x0C, 0xA0, 1,   2, // Left Shift press, 120 ms
                                                0x00, 0x20, 2,   4, // A release, 0 ms
                                                'A',  0,    'b', 0};
    EXPECT_EQ(block, expected);

    const auto bare = BuildMacroImage(macros, false);
    ASSERT_EQ(bare.size(), 30u);
    EXPECT_EQ(word(bare, 6), 0u);
    EXPECT_EQ(bare[18 + 3], 0); // no name length
}

TEST(MacroImageTest, StepsKeepTenMillisecondUnitsAndNeverWrapLongPauses) {
    struct Case {
        std::uint32_t delay;
        std::uint16_t units;
    };
    const Case cases[] = {{0, 0}, {9, 0}, {123, 12}, {40000, 4000}, {40950, 4095}, {41000, 4095}, {0xFFFFFFFF, 4095}};
    for (const Case& c : cases) {
        const auto bytes = EncodeMacroStep({c.delay, kKeyA, MACRO_PRESS});
        EXPECT_EQ(getLe16(bytes.data()) & 0x0FFF, c.units) << c.delay;
        EXPECT_EQ(DecodeMacroStep(bytes).delayMs, c.units * 10u) << c.delay;
    }
}

TEST(MacroImageTest, StepEntriesFollowTheKeysUsagePage) {
    struct Case {
        KeyCode key;
        std::uint16_t state;
        const char* bytes; // control word high byte (kind and press), b1, b2
    };
    const Case cases[] = {
        {kLeftShift, MACRO_PRESS, "A0 01 02"}, {kKeyA, MACRO_RELEASE, "20 02 04"},
        {0x15C, MACRO_PRESS, "A0 01 80"},      {0x171, MACRO_PRESS, "90 01 01"},
        {0x162, MACRO_RELEASE, "10 05 FF"},    {0x15E, MACRO_PRESS, "C0 81 00"}, // Power: generic desktop
        {0x054, MACRO_PRESS, "80 00 00"},                                        // SysRq has no usage
    };
    for (const Case& c : cases) {
        const auto b = EncodeMacroStep({0, c.key, c.state});
        char text[16];
        std::snprintf(text, sizeof text, "%02X %02X %02X", b[1], b[2], b[3]);
        EXPECT_STREQ(text, c.bytes) << std::hex << c.key;
        const MacroAction back = DecodeMacroStep(b);
        EXPECT_EQ(back.state, c.state);
        if (c.key != 0x054) {
            EXPECT_EQ(back.keyCode, c.key) << std::hex << c.key;
        }
    }
}

TEST(MacroImageTest, DecodingGivesTheMacrosBackWithIdsByPosition) {
    std::vector<MacroRecord> macros{MakeMacro(9, u"first", 3, 2), MakeMacro(4, u"", 0, 255), MakeMacro(1, u"x", 5)};
    const std::u16string prefix = u"Macro";
    for (bool names : {true, false}) {
        const auto back = DecodeMacroImage(BuildMacroImage(macros, names), prefix);
        ASSERT_EQ(back.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(back[i].macroId(), i + 1);
            EXPECT_EQ(back[i].cycles(), macros[i].cycles());
            EXPECT_EQ(back[i].actionCount(), macros[i].actionCount());
            EXPECT_FALSE(back[i].isNew());
            for (int j = 0; j < macros[i].stepCount(); ++j)
                EXPECT_EQ(back[i].action(j), macros[i].action(j)) << i << " " << j;
        }
        EXPECT_EQ(back[0].name(), names ? u"first" : u"Macro1");
        EXPECT_EQ(back[1].name(), u"Macro2"); // an empty name comes back generated
        EXPECT_EQ(back[2].name(), names ? u"x" : u"Macro3");
    }
}

TEST(MacroImageTest, DamagedImagesAreReadWithoutLeavingTheBuffer) {
    const std::vector<MacroRecord> macros{MakeMacro(1, u"one", 2), MakeMacro(2, u"two", 2)};
    const auto good = BuildMacroImage(macros, true); // blocks at 20 and 38, 56 bytes
    ASSERT_EQ(good.size(), 56u);
    auto damaged = [&](auto change) {
        auto image = good;
        change(image);
        return DecodeMacroImage(image, u"M");
    };
    // No magic, or an offset table that does not fit: no macros.
    EXPECT_TRUE(damaged([](auto& i) { i[0] = 0; }).empty());
    EXPECT_TRUE(damaged([](auto& i) { i.resize(17); }).empty());
    EXPECT_TRUE(DecodeMacroImage({}, u"M").empty());
    // A block offset beyond the end: that macro has no steps, the next keeps its place and id.
    auto r = damaged([](auto& i) { putLe16(&i[16], 0xFFF0); });
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].actionCount(), 0);
    EXPECT_EQ(r[0].name(), u"M1");
    EXPECT_EQ(r[1].name(), u"two");
    EXPECT_EQ(r[1].macroId(), 2);
    // Steps running past the end, or more than a macro holds.
    EXPECT_EQ(damaged([](auto& i) { putLe16(&i[38], 100); })[1].actionCount(), 0);
    EXPECT_EQ(damaged([](auto& i) { putLe16(&i[20], 4001); })[0].actionCount(), 0);
    // A name running past the end is replaced by a generated one; the steps stay.
    r = damaged([](auto& i) { i[38 + 3] = 200; });
    EXPECT_EQ(r[1].name(), u"M2");
    EXPECT_EQ(r[1].actionCount(), 2);
    // Its length counts 2-byte units: 4 units do not fit in the 6 bytes left, though 4 bytes would.
    r = damaged([](auto& i) { i[38 + 3] = 4; });
    EXPECT_EQ(r[1].name(), u"M2");
    // A count above 100 reads the first 100 that are there.
    auto many = BuildMacroImage(std::vector<MacroRecord>(120, MakeMacro(1, u"n", 1)), true);
    EXPECT_EQ(DecodeMacroImage(many, u"M").size(), 100u);
}

} // namespace
} // namespace ombrel::test
