#pragma once
// One lighting field changed by name, as 'ombrelctl lighting set' and the bus service's SetLighting take it:
// the field and value words, the checks made before anything is sent and the messages for what is refused.

#include "keyboard/ConfigBlock.h"
#include "keyboard/LightingEffect.h"
#include "lighting/ColorFile.h"
#include "lighting/LightingWriter.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ombrel::cli {

struct LightingChange {
    std::string description;                     // "brightness 3"
    std::function<int(LightingWriter&)> apply;   // runs the change; empty until an effect is resolved
    std::optional<LightingEffect> effectToOffer; // an effect the keyboard must offer
    std::string effectArgument;                  // an effect given by name, resolved once the offered ones are known
};

// FIELD VALUE as 'lighting set' takes them; without a change, why not in `error`.
std::optional<LightingChange> ParseLightingChange(const std::string& field, const std::string& value,
                                                  std::string* error);
// Completes an effect change against the effects `config` offers; false with why in `error`.
bool ResolveLightingEffect(LightingChange& change, const ConfigBlock& config,
                           const std::function<std::string(LightingEffect)>& effectName, std::string* error);

// The words 'lighting set' takes for a direction; other values (set by another program) have none.
const char* DirectionName(std::uint8_t direction);
extern const char* const kFourColorNames[4];

} // namespace ombrel::cli
