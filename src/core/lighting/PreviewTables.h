#pragma once
// The tables the on-screen preview walks: the key grid, the serpentine key chain, the rings around the centre,
// the hue wheel, the level curves, the twinkle order and the light-show script. Keys are map control numbers;
// kNoKey marks an empty place.

#include "util/Rgb.h"

#include <array>
#include <cstdint>

namespace ombrel::preview {

inline constexpr std::uint16_t kNoKey = 255;
inline constexpr int kGridRows = 6;
inline constexpr int kGridColumns = 23;
inline constexpr int kChainLength = 105;
inline constexpr int kRingCount = 12;
inline constexpr int kRingSize = 12;
inline constexpr int kWheelSteps = 192; // one turn; the wheel holds 256 so any byte indexes it
inline constexpr int kRippleSteps = 20;
inline constexpr int kRippleStepKeys = 6;
inline constexpr int kRipplePairCount = 16;

using Grid = std::array<std::array<std::uint16_t, kGridColumns>, kGridRows>;
using Ring = std::array<std::uint16_t, kRingSize>;
using RippleStep = std::array<std::uint16_t, kRippleStepKeys>;

const Grid& PreviewGrid();
const std::array<std::uint16_t, kChainLength>& PreviewChain();
const std::array<Ring, kRingCount>& PreviewRings();
// Red, yellow, green, cyan, blue, magenta and back, 32 steps each; entries 192..255 repeat 0..63.
const std::array<Rgb, 256>& HueWheel();
const std::array<std::uint8_t, 96>& PulseCurve();
const std::array<std::uint8_t, 128>& BreathCurve();
const std::array<std::uint8_t, 129>& FlashCurve();
// Chain positions in twinkle order: position 0 appears twice and position 104 never.
const std::array<std::uint8_t, kChainLength>& TwinkleOrder();
const std::array<RippleStep, kRippleSteps>& RippleScript();
const std::array<std::array<std::uint16_t, 2>, kRipplePairCount>& RipplePairs();

} // namespace ombrel::preview
