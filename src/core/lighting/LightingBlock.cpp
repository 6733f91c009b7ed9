#include "lighting/LightingBlock.h"

#include <algorithm>

namespace ombrel {

namespace {

Rgb colorAt(std::span<const std::uint8_t, kLightingFieldsSize> b, int offset) {
    return {b[static_cast<std::size_t>(offset)], b[static_cast<std::size_t>(offset) + 1],
            b[static_cast<std::size_t>(offset) + 2]};
}

// A flag keeps its stored byte while its meaning does not change (the default block stores 0xFF for "on").
void putFlag(LightingBytes& b, int offset, bool on) {
    std::uint8_t& byte = b[static_cast<std::size_t>(offset)];
    if ((byte != 0) != on) byte = on ? 1 : 0;
}

// A clamped field keeps its stored byte while that byte still reads as the value.
void putClamped(LightingBytes& b, int offset, std::uint8_t value, std::uint8_t (*read)(std::uint8_t)) {
    std::uint8_t& byte = b[static_cast<std::size_t>(offset)];
    if (read(byte) != value) byte = value;
}

std::uint8_t readReportRate(std::uint8_t stored) {
    return std::min<std::uint8_t>(stored, kMaxReportRate);
}

std::uint8_t readColorChoice(std::uint8_t stored) {
    return stored > kMaxColorChoice ? 0 : stored;
}

void putColor(LightingBytes& b, int offset, Rgb c) {
    b[static_cast<std::size_t>(offset)] = c.r;
    b[static_cast<std::size_t>(offset) + 1] = c.g;
    b[static_cast<std::size_t>(offset) + 2] = c.b;
}

constexpr std::array<std::uint8_t, kDefaultLightingSize> kDefaultBlock = {1, 5, 2, 0, 0xFF, 0xFF, 0xFF, 0xFF};

} // namespace

LightingFields DecodeLightingBlock(std::span<const std::uint8_t, kLightingFieldsSize> b) {
    LightingFields f;
    f.effect = static_cast<LightingEffect>(b[kFieldEffect]);
    f.brightness = b[kFieldBrightness];
    f.speed = b[kFieldSpeed];
    f.direction = b[kFieldDirection];
    f.colorful = b[kFieldColorful] != 0;
    f.color = colorAt(b, kFieldColor);
    f.reportRate = readReportRate(b[kFieldReportRate]);
    f.colorChoice = readColorChoice(b[kFieldColorChoice]);
    f.trigger = b[kFieldTrigger];
    f.color2 = colorAt(b, kFieldColor2);
    f.flag2 = b[kFieldFlag2] != 0;
    f.color3 = colorAt(b, kFieldColor3);
    f.flag3 = b[kFieldFlag3] != 0;
    return f;
}

LightingBytes EncodeLightingBlock(const LightingFields& f,
                                  std::span<const std::uint8_t, kLightingFieldsSize> original) {
    LightingBytes b{};
    std::copy(original.begin(), original.end(), b.begin());
    b[kFieldEffect] = static_cast<std::uint8_t>(f.effect);
    b[kFieldBrightness] = f.brightness;
    b[kFieldSpeed] = f.speed;
    b[kFieldDirection] = f.direction;
    putFlag(b, kFieldColorful, f.colorful);
    putColor(b, kFieldColor, f.color);
    putClamped(b, kFieldReportRate, f.reportRate, readReportRate);
    putClamped(b, kFieldColorChoice, f.colorChoice, readColorChoice);
    b[kFieldTrigger] = f.trigger;
    putColor(b, kFieldColor2, f.color2);
    putFlag(b, kFieldFlag2, f.flag2);
    putColor(b, kFieldColor3, f.color3);
    putFlag(b, kFieldFlag3, f.flag3);
    return b;
}

const std::array<std::uint8_t, kDefaultLightingSize>& DefaultLightingBytes() {
    return kDefaultBlock;
}

LightingFields DefaultLightingFields() {
    LightingBytes b{};
    std::copy(kDefaultBlock.begin(), kDefaultBlock.end(), b.begin());
    return DecodeLightingBlock(b);
}

} // namespace ombrel
