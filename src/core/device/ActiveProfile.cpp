#include "device/ActiveProfile.h"

#include "device/LinkResult.h"
#include "keyboard/ConfigBlock.h"

namespace ombrel {

int GetActiveProfile(DeviceCommands& commands, DeviceState& state) {
    if (const int cached = state.cachedProfile.load(); cached != -1) return cached;
    ConfigBlock block;
    if (commands.ReadConfig(block.bytes) != LINK_OK) return -1;
    state.cachedProfile.store(block.activeProfile());
    return block.activeProfile();
}

LinkResult SetActiveProfile(DeviceCommands& commands, DeviceState& state, int index) {
    if (index < 0) return LINK_BAD_ARGUMENT;
    // The keyboard has three profiles; writing any other number would leave it pointing at nothing.
    if (index >= kProfileCount) return LINK_BAD_PROFILE;
    ConfigBlock block;
    if (const LinkResult read = commands.ReadConfig(block.bytes); read != LINK_OK) return read;
    block.setActiveProfile(static_cast<std::uint8_t>(index & 0xFF));
    const LinkResult written = commands.WriteConfig(block.bytes);
    state.cachedProfile.store(written == LINK_OK ? block.activeProfile() : -1);
    return written;
}

} // namespace ombrel
