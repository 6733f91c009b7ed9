#include "lighting/EffectCatalogue.h"

namespace ombrel {

EffectControls ControlsOfEffect(int effect) {
    EffectControls c;
    c.known = true;
    switch (effect) {
    case 1:
    case 2:
    case 3:
        c.speed = true;
        c.direction = DirectionLayout::LeftRight;
        c.color = ColorGroup::A;
        c.writesColorful = true;
        break;
    case 5:
    case 7:
    case 8:
    case 9:
    case 13:
    case 14:
    case 15:
        c.speed = true;
        c.color = ColorGroup::A;
        c.writesColorful = true;
        break;
    case 4:
    case 10:
    case 11:
        c.speed = true;
        break;
    case 6:
    case 16:
        c.color = ColorGroup::B;
        break;
    case 12:
        c.speed = true;
        c.direction = DirectionLayout::UpDown;
        break;
    case 17:
        c.fourColor = true;
        break;
    case 18:
        c.direction = DirectionLayout::Spread;
        break;
    case kUserEffect:
        c.userGroup = true;
        break;
    default:
        return {};
    }
    return c;
}

std::string_view DirectionSkinSuffix(int effect) {
    switch (ControlsOfEffect(effect).direction) {
    case DirectionLayout::LeftRight:
        return "2";
    case DirectionLayout::UpDown:
        return "3";
    default:
        return "";
    }
}

DirectionPictures DirectionPicturesOf(int effect, std::uint8_t direction) {
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
