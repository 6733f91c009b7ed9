#pragma once
// One key of a profile's current colour pattern painted by name, as 'ombrelctl colors paint' and the bus service's
// PaintKey do it.

#include "KeyArguments.h"
#include "lighting/UserPatterns.h"
#include "util/Rgb.h"

#include <optional>
#include <string>

namespace ombrel::cli {

// The map control a key argument names: a key of the map or Fn. The G keys are refused: they all show the base
// colour. Without a control, why not in `error`.
std::optional<int> PaintableControl(const std::string& text, const KeyNames& names, std::string* error);

// Paints `control` of the open pattern with `color` as the brush colour, or, with `base`, makes `color` the
// pattern's base colour (every key carrying it changes too) and the key carries it. The device result.
int PaintControl(UserPatterns& patterns, int control, Rgb color, bool base);

} // namespace ombrel::cli
