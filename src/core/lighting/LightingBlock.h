#pragma once
// The 42-byte lighting block each profile keeps in the keyboard's lighting memory (profile p at p x 42): the
// effect and its parameters. Bytes the program does not interpret are carried along untouched.

#include "keyboard/LightingEffect.h"
#include "util/Rgb.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace ombrel {

inline constexpr std::size_t kLightingFieldsSize = 42;
// The default block covers the fields up to the last colour; the rest of the block is left as it is.
inline constexpr std::size_t kDefaultLightingSize = 35;

// Offsets of the fields within a block.
enum LightingField : int {
    kFieldEffect = 0,
    kFieldBrightness = 1,
    kFieldSpeed = 2,
    kFieldDirection = 3,
    kFieldColorful = 4,
    kFieldColor = 5, // red, green, blue
    kFieldReportRate = 15,
    kFieldColorChoice = 17,
    kFieldTrigger = 19,
    kFieldColor2 = 25,
    kFieldFlag2 = 28,
    kFieldColor3 = 30,
    kFieldFlag3 = 33,
};

inline constexpr int kMaxBrightness = 5;
inline constexpr int kMaxSpeed = 4;
inline constexpr int kMaxReportRate = 3;
inline constexpr int kMaxColorChoice = 3;
// The two direction values; what each means depends on the effect.
inline constexpr std::uint8_t kDirectionForward = 255;
inline constexpr std::uint8_t kDirectionBackward = 0;

using LightingBytes = std::array<std::uint8_t, kLightingFieldsSize>;

// The decoded block, as the panel shows it.
struct LightingFields {
    LightingEffect effect = LightingEffect::None;
    std::uint8_t brightness = 0;
    std::uint8_t speed = 0;
    std::uint8_t direction = 0;
    bool colorful = false;
    Rgb color;
    std::uint8_t reportRate = 0;  // 0..3; larger stored values read as 3
    std::uint8_t colorChoice = 0; // 0 red, 1 yellow, 2 green, 3 blue; larger stored values read as 0
    std::uint8_t trigger = 0;
    Rgb color2;
    bool flag2 = false;
    Rgb color3;
    bool flag3 = false;

    bool operator==(const LightingFields&) const = default;
};

LightingFields DecodeLightingBlock(std::span<const std::uint8_t, kLightingFieldsSize> block);
// `original` with the fields replaced; uninterpreted bytes are kept.
LightingBytes EncodeLightingBlock(const LightingFields& fields,
                                  std::span<const std::uint8_t, kLightingFieldsSize> original);
// The first 35 bytes of the default block: effect 1, brightness 5, speed 2, direction 0, colourful, white.
const std::array<std::uint8_t, kDefaultLightingSize>& DefaultLightingBytes();
LightingFields DefaultLightingFields();

} // namespace ombrel
