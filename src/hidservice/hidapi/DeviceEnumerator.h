#pragma once
// Lists the interfaces of the attached keyboards with hidapi. On hidraw, hidapi 0.13 reports one entry per
// top-level collection of each node, with its usage page and usage, which is what the filters match on.

#include <vector>

#include "InterfaceInfo.h"

namespace ombrel::hid {

class DeviceEnumerator {
public:
    static std::vector<InterfaceInfo> enumerate();
};

} // namespace ombrel::hid
