#pragma once
// The real backend: hidapi on hidraw, report descriptors from sysfs.

#include "HidBackend.h"

namespace ombrel::hid {

class HidapiBackend final : public HidBackend {
public:
    std::vector<InterfaceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path, int& error) override;
    std::unique_ptr<HidInput> openInput(const std::string& path, int& error) override;
    std::vector<std::uint8_t> reportDescriptor(const std::string& path) override;
    std::unique_ptr<NodeClaim> claim(const std::string& path, int& error) override;
};

// The sysfs file holding the report descriptor of a hidraw node ("/dev/hidraw3" ->
// "/sys/class/hidraw/hidraw3/device/report_descriptor"); empty when the path does not name a hidraw node.
std::string reportDescriptorFile(const std::string& nodePath);

// The bytes of a report descriptor file, at most the kernel's limit for a descriptor; empty when it cannot be read.
std::vector<std::uint8_t> readReportDescriptorFile(const std::string& file);

} // namespace ombrel::hid
