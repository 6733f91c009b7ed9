#include "lighting/LightingState.h"

#include "device/LinkResult.h"

#include <algorithm>

namespace ombrel {

void LightingState::showProfile(int p) {
    if (p < 0 || p >= kProfileCount) return;
    profile = p;
    decode();
}

int ReadLightingBlocks(DeviceCommands& commands, LightingState& state) {
    const int result = commands.Bracketed([&] {
        int first = LINK_OK;
        for (int p = 0; p < kProfileCount; ++p) {
            std::array<std::uint8_t, kChunkSize> window{};
            const int r = commands.ReadLighting(window, kChunkSize, p * static_cast<int>(kLightingBlockSize));
            if (r == LINK_OK)
                std::copy_n(window.begin(), kLightingBlockSize, state.blocks[static_cast<std::size_t>(p)].begin());
            else if (first == LINK_OK)
                first = r;
        }
        return first;
    });
    state.decode();
    return result;
}

int LoadLighting(DeviceCommands& commands, LightingState& state) {
    ConfigBlock config;
    if (const int r = commands.ReadConfig(config.bytes); r != LINK_OK) return r;
    state.config = config;
    state.profile = std::min<int>(config.activeProfile(), kProfileCount - 1);
    return ReadLightingBlocks(commands, state);
}

} // namespace ombrel
