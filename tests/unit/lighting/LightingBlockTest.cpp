// The lighting block: its clamps when shown, and encoding that changes only what was changed.
#include "lighting/LightingBlock.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

TEST(LightingBlock, DecodeClampsAndEncodeKeepsEveryOtherByte) {
    LightingBytes block{};
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<std::uint8_t>(0xA0 + i);
    block[kFieldColorful] = 0xFF;
    block[kFieldReportRate] = 7;
    block[kFieldColorChoice] = 9;
    block[kFieldFlag2] = 0;
    const LightingFields f = DecodeLightingBlock(block);
    EXPECT_EQ(f.effect, 0xA0);
    EXPECT_TRUE(f.colorful);
    EXPECT_EQ(f.color, (Rgb{0xA5, 0xA6, 0xA7}));
    EXPECT_EQ(f.reportRate, 3);
    EXPECT_EQ(f.colorChoice, 0);
    EXPECT_FALSE(f.flag2);
    EXPECT_TRUE(f.flag3);
    EXPECT_EQ(f.color3, (Rgb{0xA0 + 30, 0xA0 + 31, 0xA0 + 32}));

    // Unchanged fields encode to the very bytes they came from, clamped ones included.
    EXPECT_EQ(EncodeLightingBlock(f, block), block);

    LightingFields changed = f;
    changed.brightness = 2;
    changed.colorful = false;
    changed.reportRate = 1;
    LightingBytes expected = block;
    expected[kFieldBrightness] = 2;
    expected[kFieldColorful] = 0;
    expected[kFieldReportRate] = 1;
    EXPECT_EQ(EncodeLightingBlock(changed, block), expected);
}

TEST(LightingBlock, DefaultIsEffect1AtFullBrightnessColorfulWhite) {
    const auto& bytes = DefaultLightingBytes();
    ASSERT_EQ(bytes.size(), 35u);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8)),
              (std::vector<std::uint8_t>{1, 5, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(std::all_of(bytes.begin() + 8, bytes.end(), [](std::uint8_t b) { return b == 0; }));
    const LightingFields f = DefaultLightingFields();
    EXPECT_EQ(f.effect, 1);
    EXPECT_EQ(f.brightness, 5);
    EXPECT_EQ(f.speed, 2);
    EXPECT_TRUE(f.colorful);
    EXPECT_EQ(f.color, kWhite);
}

} // namespace
} // namespace ombrel
