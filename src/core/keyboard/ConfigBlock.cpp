#include "keyboard/ConfigBlock.h"

#include <algorithm>

namespace ombrel {

ConfigBlock ConfigBlock::fromBytes(std::span<const std::uint8_t, kSize> data) {
    ConfigBlock block;
    std::copy(data.begin(), data.end(), block.bytes.begin());
    return block;
}

std::vector<std::uint8_t> ConfigBlock::offeredEffects() const {
    std::vector<std::uint8_t> effects;
    for (std::size_t i = 0; i < kModeListSize; ++i)
        if (const std::uint8_t e = bytes[kModeListOffset + i]; e != 0) effects.push_back(e);
    return effects;
}

bool ConfigBlock::offersEffect(std::uint8_t effect) const {
    const auto* first = bytes.data() + kModeListOffset;
    return effect != 0 && std::find(first, first + kModeListSize, effect) != first + kModeListSize;
}

} // namespace ombrel
