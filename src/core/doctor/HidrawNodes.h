#pragma once
// The keyboard's hidraw nodes as sysfs describes them: /sys/class/hidraw/hidrawN with the HID ids and the USB
// interface in device/uevent, the collections in device/report_descriptor and the device number in dev.

#include "doctor/HidUsages.h"

#include <string>
#include <vector>

namespace ombrel {

struct HidrawNode {
    std::string name;         // "hidraw3"
    std::string devPath;      // devRoot + "/hidraw3"
    std::string deviceNumber; // "247:3"; empty when sysfs does not say
    int interfaceNumber = -1; // the USB interface (HID_PHYS ".../inputN"), -1 when unknown
    std::vector<HidUsage> usages;
};

// The nodes whose HID_ID names vendor `vendorId` and product `productId`, sorted by name.
std::vector<HidrawNode> FindHidrawNodes(const std::string& sysRoot, const std::string& devRoot, unsigned vendorId,
                                        unsigned productId);

// What an interface is for, from its collections: "vendor (settings)", "consumer keys", "status", "keyboard" ...
std::string DescribeInterface(const std::vector<HidUsage>& usages);

} // namespace ombrel
