#pragma once
// Something a process wants done to every device link it starts (the write history, for one), set up by a layer
// above the device's without the device knowing what it is.

#include <functional>

namespace ombrel {

class DeviceCommands;
class DeviceState;

using LinkStartHook = std::function<void(DeviceCommands&, DeviceState&)>;

// Replaces the hook (an empty one removes it); links started afterwards get it.
void SetLinkStartHook(LinkStartHook hook);
LinkStartHook CurrentLinkStartHook();

} // namespace ombrel
