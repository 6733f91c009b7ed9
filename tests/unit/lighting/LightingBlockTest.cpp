// The lighting block: its clamps when shown, and encoding that changes only what was changed.
#include "lighting/LightingBlock.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

// A block as the keyboard stores it, written byte by byte; the offsets are counted here, not taken from the code.
constexpr LightingBytes kStoredBlock = {
    13,                                             // 0  effect (Ripple)
    4,                                              // 1  brightness
    1,                                              // 2  speed
    0xFF,                                           // 3  direction
    0xFF,                                           // 4  colourful, stored as the default block stores "on"
    0x12, 0x34, 0x56,                               // 5  colour
    0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE,       // 8  not interpreted
    7,                                              // 15 report rate, above 3
    0xC0,                                           // 16 not interpreted
    9,                                              // 17 four-colour choice, above 3
    0xC2,                                           // 18 not interpreted
    0x21,                                           // 19 trigger
    0xC4, 0xC5, 0xC6, 0xC7, 0xC8,                   // 20 not interpreted
    0x65, 0x66, 0x67,                               // 25 second colour
    0,                                              // 28 its flag
    0xCC,                                           // 29 not interpreted
    0x78, 0x79, 0x7A,                               // 30 third colour
    2,                                              // 33 its flag
    0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, // 34 not interpreted
};

TEST(LightingBlock, DecodesEachFieldFromItsOffsetAndClampsWhatIsShown) {
    const LightingFields f = DecodeLightingBlock(kStoredBlock);
    EXPECT_EQ(f.effect, LightingEffect::Ripple);
    EXPECT_EQ(f.brightness, 4);
    EXPECT_EQ(f.speed, 1);
    EXPECT_EQ(f.direction, 0xFF);
    EXPECT_TRUE(f.colorful);
    EXPECT_EQ(f.color, (Rgb{0x12, 0x34, 0x56}));
    EXPECT_EQ(f.reportRate, 3);  // larger values read as the largest
    EXPECT_EQ(f.colorChoice, 0); // larger values read as red
    EXPECT_EQ(f.trigger, 0x21);
    EXPECT_EQ(f.color2, (Rgb{0x65, 0x66, 0x67}));
    EXPECT_FALSE(f.flag2);
    EXPECT_EQ(f.color3, (Rgb{0x78, 0x79, 0x7A}));
    EXPECT_TRUE(f.flag3);
    EXPECT_EQ(static_cast<LightingEffect>(0xA0), DecodeLightingBlock(LightingBytes{0xA0}).effect)
        << "an effect the program does not know is kept as stored";
}

TEST(LightingBlock, EncodeChangesOnlyTheBytesOfChangedFields) {
    const LightingFields f = DecodeLightingBlock(kStoredBlock);
    // Unchanged fields give back the very bytes they came from, the clamped ones and 0xFF for "on" included.
    EXPECT_EQ(EncodeLightingBlock(f, kStoredBlock), kStoredBlock);

    LightingFields changed = f;
    changed.effect = LightingEffect::Radiate;
    changed.brightness = 2;
    changed.colorful = false;
    changed.color = Rgb{1, 2, 3};
    changed.reportRate = 1;
    changed.colorChoice = 2;
    changed.flag2 = true;
    LightingBytes expected = kStoredBlock;
    expected[0] = 18;
    expected[1] = 2;
    expected[4] = 0;
    expected[5] = 1;
    expected[6] = 2;
    expected[7] = 3;
    expected[15] = 1;
    expected[17] = 2;
    expected[28] = 1;
    EXPECT_EQ(EncodeLightingBlock(changed, kStoredBlock), expected);
}

TEST(LightingBlock, DefaultIsEffect1AtFullBrightnessColorfulWhite) {
    const auto& bytes = DefaultLightingBytes();
    ASSERT_EQ(bytes.size(), 35u);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8)),
              (std::vector<std::uint8_t>{1, 5, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(std::all_of(bytes.begin() + 8, bytes.end(), [](std::uint8_t b) { return b == 0; }));
    const LightingFields f = DefaultLightingFields();
    EXPECT_EQ(f.effect, LightingEffect::Wave);
    EXPECT_EQ(f.brightness, 5);
    EXPECT_EQ(f.speed, 2);
    EXPECT_TRUE(f.colorful);
    EXPECT_EQ(f.color, kWhite);
}

} // namespace
} // namespace ombrel
