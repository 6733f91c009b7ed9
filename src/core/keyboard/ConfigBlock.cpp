#include "keyboard/ConfigBlock.h"

#include <algorithm>

namespace ombrel {

ConfigBlock ConfigBlock::fromBytes(std::span<const std::uint8_t, kSize> data) {
    ConfigBlock block;
    std::copy(data.begin(), data.end(), block.bytes.begin());
    return block;
}

std::vector<LightingEffect> ConfigBlock::offeredEffects() const {
    std::vector<LightingEffect> effects;
    for (std::size_t i = 0; i < kModeListSize; ++i)
        if (const std::uint8_t e = bytes[kModeListOffset + i]; e != 0)
            effects.push_back(static_cast<LightingEffect>(e));
    return effects;
}

bool ConfigBlock::offersEffect(LightingEffect effect) const {
    const auto* first = bytes.data() + kModeListOffset;
    const auto number = static_cast<std::uint8_t>(effect);
    return effect != LightingEffect::None && std::find(first, first + kModeListSize, number) != first + kModeListSize;
}

} // namespace ombrel
