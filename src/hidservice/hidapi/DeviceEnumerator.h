#pragma once
// Lists the interfaces of the attached keyboards from udev's hidraw nodes: one entry per top-level collection of
// each node, with its usage page and usage, which is what the filters match on. Not hidapi's hid_enumerate: in
// hidapi 0.13 it reads past a null pointer when a device goes away during the look (a crash on unplug).

#include <vector>

#include "InterfaceInfo.h"

namespace ombrel::hid {

class DeviceEnumerator {
public:
    static std::vector<InterfaceInfo> enumerate();
};

} // namespace ombrel::hid
