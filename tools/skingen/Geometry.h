#pragma once
// The geometry table of the whole skin: every dialog's size and every control's place.

#include "SkinElement.h"

namespace skingen {

DialogGeometry MainGeometry();
DialogGeometry CompositeGeometry();
DialogGeometry ProfileGeometry();
DialogGeometry UpdateGeometry();

// The arrow faces inside Arrow.jpg: each face is kArrowFace pixels square.
inline constexpr int kArrowFace = 18;

} // namespace skingen
