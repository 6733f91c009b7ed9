#pragma once
// What the program knows about each lighting effect: which controls of the lighting panel it shows, what choosing
// it writes, which direction pictures it uses, and the preset colours.

#include "keyboard/LightingEffect.h"
#include "util/Rgb.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace ombrel {

// Where the direction label and pictures go and which pictures they show.
enum class DirectionLayout {
    None,
    Spread,    // spread from the centre / converge on it (Radiate)
    LeftRight, // Wave, Sweep, Snake
    UpDown,    // Vertical Wave
};

enum class ColorGroup { None, A, B };

struct EffectControls {
    bool known = false; // an effect the program knows; unknown ones show no controls and write nothing
    bool speed = false;
    DirectionLayout direction = DirectionLayout::None;
    ColorGroup color = ColorGroup::None;
    bool fourColor = false;
    bool userGroup = false;
    bool writesColorful = false; // choosing the effect also writes the colourful switch
};

EffectControls ControlsOfEffect(LightingEffect effect);

// The suffix of the skin keys that place the direction controls for an effect: "2", "3" or "".
std::string_view DirectionSkinSuffix(LightingEffect effect);

struct DirectionPictures {
    std::string_view left;
    std::string_view right;
};
// The pictures of the two direction controls; the chosen side shows the picture whose name ends in "down".
DirectionPictures DirectionPicturesOf(LightingEffect effect, std::uint8_t direction);

inline constexpr int kSwatchCount = 8;
const std::array<Rgb, kSwatchCount>& PresetColors();

} // namespace ombrel
