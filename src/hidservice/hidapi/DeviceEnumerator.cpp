#include "DeviceEnumerator.h"

#include <algorithm>
#include <mutex>
#include <tuple>

#include <hidapi/hidapi.h>

#include "HidapiLock.h"
#include "VevIroz.h"

namespace ombrel::hid {

std::vector<InterfaceInfo> DeviceEnumerator::enumerate() {
    std::vector<InterfaceInfo> found;
    {
        std::lock_guard lock(hidapiGlobalMutex());
        hid_device_info* list = hid_enumerate(VEV_VENDOR_ID, VEV_PRODUCT_ID);
        for (const hid_device_info* info = list; info; info = info->next) {
            if (!info->path) continue;
            found.push_back({info->path, info->vendor_id, info->product_id, info->usage_page, info->usage});
        }
        hid_free_enumeration(list);
    }
    // A stable order, so the first match of a filter is the same keyboard from one look to the next.
    std::sort(found.begin(), found.end(), [](const InterfaceInfo& a, const InterfaceInfo& b) {
        return std::tie(a.path, a.usagePage, a.usage) < std::tie(b.path, b.usagePage, b.usage);
    });
    return found;
}

} // namespace ombrel::hid
