#include "doctor/HidrawNodes.h"

#include "DeviceFilter.h"
#include "text/FileBytes.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace ombrel {

namespace {

namespace fs = std::filesystem;

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::string ueventValue(const std::string& uevent, const std::string& key) {
    std::istringstream lines(uevent);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(key + "=", 0) == 0) return trimmed(line.substr(key.size() + 1));
    return {};
}

// HID_ID=0003:00000C45:00005204 (bus:vendor:product, hexadecimal).
bool idMatches(const std::string& hidId, unsigned vendorId, unsigned productId) {
    unsigned bus = 0, vendor = 0, product = 0;
    return std::sscanf(hidId.c_str(), "%x:%x:%x", &bus, &vendor, &product) == 3 && vendor == vendorId &&
           product == productId;
}

// HID_PHYS=usb-0000:00:14.0-1/input2
int interfaceOf(const std::string& phys) {
    const auto at = phys.rfind("/input");
    if (at == std::string::npos) return -1;
    int number = -1;
    return std::sscanf(phys.c_str() + at + 6, "%d", &number) == 1 && number >= 0 && number < 256 ? number : -1;
}

} // namespace

std::vector<HidrawNode> FindHidrawNodes(const std::string& sysRoot, const std::string& devRoot, unsigned vendorId,
                                        unsigned productId) {
    std::vector<HidrawNode> nodes;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(sysRoot) / "class" / "hidraw", ec), end; !ec && it != end;
         it.increment(ec)) {
        const fs::path entry = it->path();
        const std::string uevent = ReadFileBytes((entry / "device" / "uevent").string()).bytes;
        if (!idMatches(ueventValue(uevent, "HID_ID"), vendorId, productId)) continue;
        HidrawNode node;
        node.name = entry.filename().string();
        node.devPath = devRoot + "/" + node.name;
        node.deviceNumber = trimmed(ReadFileBytes((entry / "dev").string()).bytes);
        node.interfaceNumber = interfaceOf(ueventValue(uevent, "HID_PHYS"));
        const std::string descriptor = ReadFileBytes((entry / "device" / "report_descriptor").string()).bytes;
        node.usages =
            TopLevelUsages(std::span(reinterpret_cast<const std::uint8_t*>(descriptor.data()), descriptor.size()));
        nodes.push_back(std::move(node));
    }
    std::sort(nodes.begin(), nodes.end(), [](const HidrawNode& a, const HidrawNode& b) {
        return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
    });
    return nodes;
}

std::string DescribeInterface(const std::vector<HidUsage>& usages) {
    std::string out;
    for (const HidUsage& u : usages) {
        std::string what;
        if (u.usagePage == kVendorFilter.usagePage && u.usage == kVendorFilter.usage)
            what = "settings (vendor)";
        else if (u.usagePage == kConsumerFilter.usagePage && u.usage == kConsumerFilter.usage)
            what = "media keys";
        else if (u.usagePage == kBankStatusFilter.usagePage && u.usage == kBankStatusFilter.usage)
            what = "profile status";
        else if (u.usagePage == 0x0001 && u.usage == 0x0006)
            what = "keyboard";
        else if (u.usagePage == 0x0001 && u.usage == 0x0002)
            what = "mouse";
        else if (u.usagePage == 0x0001 && u.usage == 0x0080)
            what = "system control";
        else {
            char text[32];
            std::snprintf(text, sizeof text, "usage %04X:%04X", u.usagePage, u.usage);
            what = text;
        }
        out += (out.empty() ? "" : ", ") + what;
    }
    return out.empty() ? "unknown" : out;
}

} // namespace ombrel
