#include "HidapiBackend.h"

#include <fstream>

#include "DeviceEnumerator.h"
#include "HidapiDevice.h"
#include "HidrawInput.h"
#include "NodeLock.h"

namespace ombrel::hid {

namespace {
// The kernel's limit for a report descriptor (HID_MAX_DESCRIPTOR_SIZE).
constexpr std::size_t kMaxDescriptorSize = 4096;
} // namespace

std::vector<InterfaceInfo> HidapiBackend::enumerate() {
    return DeviceEnumerator::enumerate();
}

std::unique_ptr<HidDevice> HidapiBackend::open(const std::string& path, int& error) {
    return HidapiDevice::open(path, error);
}

std::unique_ptr<HidInput> HidapiBackend::openInput(const std::string& path, int& error) {
    return HidrawInput::open(path, error);
}

std::vector<std::uint8_t> HidapiBackend::reportDescriptor(const std::string& path) {
    const std::string file = reportDescriptorFile(path);
    return file.empty() ? std::vector<std::uint8_t>() : readReportDescriptorFile(file);
}

std::vector<std::uint8_t> readReportDescriptorFile(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::vector<char> buffer(kMaxDescriptorSize);
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    return std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
}

std::unique_ptr<NodeClaim> HidapiBackend::claim(const std::string& path, int& error) {
    return NodeLock::take(path, error);
}

std::string reportDescriptorFile(const std::string& nodePath) {
    const std::size_t slash = nodePath.rfind('/');
    const std::string node = slash == std::string::npos ? nodePath : nodePath.substr(slash + 1);
    const std::string prefix = "hidraw";
    if (node.size() <= prefix.size() || node.compare(0, prefix.size(), prefix) != 0) return {};
    for (std::size_t i = prefix.size(); i < node.size(); ++i) {
        if (node[i] < '0' || node[i] > '9') return {};
    }
    return "/sys/class/hidraw/" + node + "/device/report_descriptor";
}

} // namespace ombrel::hid
