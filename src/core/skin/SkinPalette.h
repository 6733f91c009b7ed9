#pragma once
// The one palette of the program's look: a dark face with a single cyan accent. The skin generator paints the
// pictures with it and the screens draw their texts, frames and plain controls with it, so both always agree.

#include <cstdint>
#include <string>

#include "util/Rgb.h"

namespace ombrel::palette {

using Rgb = ombrel::Rgb;

// "#rrggbb", for style sheets.
std::string HexText(Rgb c);

inline constexpr Rgb kWindow{0x0e, 0x10, 0x14};
inline constexpr Rgb kBackdrop{0x12, 0x14, 0x18}; // a dialog whose background picture is missing
inline constexpr Rgb kTitle{0x13, 0x16, 0x1b};
inline constexpr Rgb kDialog{0x15, 0x18, 0x1d};
inline constexpr Rgb kPanel{0x16, 0x19, 0x1f};
inline constexpr Rgb kPopup{0x1b, 0x1e, 0x24};
inline constexpr Rgb kPanelEdge{0x24, 0x28, 0x31};
inline constexpr Rgb kWell{0x0b, 0x0d, 0x10};
inline constexpr Rgb kFace{0x22, 0x26, 0x2e};
inline constexpr Rgb kFaceHover{0x2b, 0x30, 0x3a};
inline constexpr Rgb kFacePressed{0x12, 0x15, 0x1a};
inline constexpr Rgb kFaceDisabled{0x18, 0x1a, 0x1f};
inline constexpr Rgb kButton{0x1f, 0x24, 0x2c};
inline constexpr Rgb kPopupButton{0x26, 0x2a, 0x33};
inline constexpr Rgb kEdge{0x33, 0x38, 0x43};
inline constexpr Rgb kPopupEdge{0x3a, 0x40, 0x4c};
inline constexpr Rgb kEdgeDisabled{0x23, 0x27, 0x2e};
inline constexpr Rgb kText{0xe8, 0xec, 0xf2};
inline constexpr Rgb kTextDim{0x8a, 0x92, 0xa2};
inline constexpr Rgb kTextMuted{0x5a, 0x61, 0x6e};
inline constexpr Rgb kTextDisabled{0x4a, 0x50, 0x5c};
inline constexpr Rgb kAccent{0x2e, 0xe6, 0xd6};
inline constexpr Rgb kAccentDeep{0x0f, 0x5c, 0x58};
inline constexpr Rgb kAccentDisabled{0x14, 0x3b, 0x3b}; // the selected row of a list that is switched off
inline constexpr Rgb kRecord{0xff, 0x4d, 0x5e};
// Laid over a key's face to show that the current layout switches it off; alpha out of 255.
inline constexpr Rgb kDimmer{0x0a, 0x0c, 0x0f};
inline constexpr int kDimmerAlpha = 150;

} // namespace ombrel::palette
