#pragma once
// The lighting effects by the number the keyboard stores in a profile's lighting block and lists among the
// effects its firmware offers. A block read from the keyboard may hold any byte here, so a value outside the
// named ones is a possible (unknown) effect, not an error.

#include <cstdint>

namespace ombrel {

enum class LightingEffect : std::uint8_t {
    None = 0, // an empty entry of the offered list
    Wave = 1,
    Sweep = 2,
    Snake = 3,
    ColorCycle = 4,
    Breathing = 5,
    Static = 6,
    Reactive = 7,
    ReactiveRipple = 8,
    ReactiveTrail = 9,
    Twinkle = 10,
    Kaleidoscope = 11,
    VerticalWave = 12,
    Ripple = 13,
    LightShow = 14,
    Raindrops = 15,
    CornerRipples = 16,
    FourColor = 17,
    Radiate = 18,
    User = 20, // per-key colours from the user's patterns
};

// The number the keyboard stores, as shown to people and written to files.
constexpr unsigned EffectNumber(LightingEffect effect) {
    return static_cast<std::uint8_t>(effect);
}

} // namespace ombrel
