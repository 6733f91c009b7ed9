#include "DeviceEnumerator.h"

#include <algorithm>
#include <string>
#include <tuple>

#include <libudev.h>

#include "HidUevent.h"
#include "HidapiBackend.h"
#include "ReportDescriptor.h"
#include "VevIroz.h"

namespace ombrel::hid {

namespace {

// The keyboard's entries of one hidraw node: one per top-level collection of its report descriptor.
void addInterfaces(udev_device* hidraw, std::vector<InterfaceInfo>& found) {
    const char* node = udev_device_get_devnode(hidraw);
    // Owned by `hidraw`. Any of these is missing when the device went away since the scan.
    udev_device* hid = udev_device_get_parent_with_subsystem_devtype(hidraw, "hid", nullptr);
    const char* uevent = hid ? udev_device_get_sysattr_value(hid, "uevent") : nullptr;
    if (!node || !uevent) return;
    const std::optional<HidId> id = parseHidUevent(uevent);
    if (!id || id->vendorId != VEV_VENDOR_ID || id->productId != VEV_PRODUCT_ID) return;
    const std::string path(node);
    std::vector<std::pair<std::uint16_t, std::uint16_t>> collections =
        parseReportDescriptor(readReportDescriptorFile(reportDescriptorFile(path))).collections;
    if (collections.empty()) collections.emplace_back(0, 0); // still an interface of the keyboard
    for (const auto& [page, usage] : collections)
        found.push_back({path, id->vendorId, id->productId, page, usage});
}

} // namespace

std::vector<InterfaceInfo> DeviceEnumerator::enumerate() {
    std::vector<InterfaceInfo> found;
    udev* context = udev_new();
    if (!context) return found;
    udev_enumerate* scan = udev_enumerate_new(context);
    if (scan && udev_enumerate_add_match_subsystem(scan, "hidraw") >= 0 && udev_enumerate_scan_devices(scan) >= 0) {
        for (udev_list_entry* entry = udev_enumerate_get_list_entry(scan); entry;
             entry = udev_list_entry_get_next(entry)) {
            udev_device* hidraw = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry));
            if (!hidraw) continue; // gone since the scan
            addInterfaces(hidraw, found);
            udev_device_unref(hidraw);
        }
    }
    if (scan) udev_enumerate_unref(scan);
    udev_unref(context);
    // A stable order, so the first match of a filter is the same keyboard from one look to the next.
    std::sort(found.begin(), found.end(), [](const InterfaceInfo& a, const InterfaceInfo& b) {
        return std::tie(a.path, a.usagePage, a.usage) < std::tie(b.path, b.usagePage, b.usage);
    });
    return found;
}

} // namespace ombrel::hid
