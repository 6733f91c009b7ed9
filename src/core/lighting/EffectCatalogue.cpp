#include "lighting/EffectCatalogue.h"

namespace ombrel {

EffectControls ControlsOfEffect(LightingEffect effect) {
    EffectControls c;
    c.known = true;
    switch (effect) {
    case LightingEffect::Wave:
    case LightingEffect::Sweep:
    case LightingEffect::Snake:
        c.speed = true;
        c.direction = DirectionLayout::LeftRight;
        c.color = ColorGroup::A;
        c.writesColorful = true;
        break;
    case LightingEffect::Breathing:
    case LightingEffect::Reactive:
    case LightingEffect::ReactiveRipple:
    case LightingEffect::ReactiveTrail:
    case LightingEffect::Ripple:
    case LightingEffect::LightShow:
    case LightingEffect::Raindrops:
        c.speed = true;
        c.color = ColorGroup::A;
        c.writesColorful = true;
        break;
    case LightingEffect::ColorCycle:
    case LightingEffect::Twinkle:
    case LightingEffect::Kaleidoscope:
        c.speed = true;
        break;
    case LightingEffect::Static:
    case LightingEffect::CornerRipples:
        c.color = ColorGroup::B;
        break;
    case LightingEffect::VerticalWave:
        c.speed = true;
        c.direction = DirectionLayout::UpDown;
        break;
    case LightingEffect::FourColor:
        c.fourColor = true;
        break;
    case LightingEffect::Radiate:
        c.direction = DirectionLayout::Spread;
        break;
    case LightingEffect::User:
        c.userGroup = true;
        break;
    default:
        return {};
    }
    return c;
}

std::string_view DirectionSkinSuffix(LightingEffect effect) {
    switch (ControlsOfEffect(effect).direction) {
    case DirectionLayout::LeftRight:
        return "2";
    case DirectionLayout::UpDown:
        return "3";
    default:
        return "";
    }
}

DirectionPictures DirectionPicturesOf(LightingEffect effect, std::uint8_t direction) {
    const bool forward = direction != 0;
    switch (ControlsOfEffect(effect).direction) {
    case DirectionLayout::Spread:
        return forward ? DirectionPictures{"kuosandown.bmp", "julong.bmp"}
                       : DirectionPictures{"kuosan.bmp", "julongdown.bmp"};
    case DirectionLayout::UpDown:
        return forward ? DirectionPictures{"updown.bmp", "downup.bmp"} : DirectionPictures{"upup.bmp", "downdown.bmp"};
    default:
        return forward ? DirectionPictures{"leftdown.bmp", "rightup.bmp"}
                       : DirectionPictures{"leftup.bmp", "rightdown.bmp"};
    }
}

const std::array<Rgb, kSwatchCount>& PresetColors() {
    static constexpr std::array<Rgb, kSwatchCount> kSwatches{{
        {235, 99, 30},
        {255, 0, 0},
        {0, 126, 255},
        {90, 255, 0},
        {234, 255, 0},
        {255, 192, 0},
        {255, 0, 180},
        {174, 0, 255},
    }};
    return kSwatches;
}

} // namespace ombrel
