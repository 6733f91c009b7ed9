#pragma once
// How the service reaches the keyboard's interfaces: hidapi on hidraw in the library, a fake in the tests.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "HidDevice.h"
#include "HidInput.h"
#include "InterfaceInfo.h"
#include "NodeClaim.h"

namespace ombrel::hid {

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // Every interface of every attached keyboard (0C45:5204).
    virtual std::vector<InterfaceInfo> enumerate() = 0;
    // Opens the interface's node for reading and writing; null with `error` set to an errno value on failure.
    virtual std::unique_ptr<HidDevice> open(const std::string& path, int& error) = 0;
    // Opens the interface's node for a reader; null with `error` set to an errno value on failure.
    virtual std::unique_ptr<HidInput> openInput(const std::string& path, int& error) = 0;
    // The interface's raw report descriptor; empty when it cannot be read.
    virtual std::vector<std::uint8_t> reportDescriptor(const std::string& path) = 0;
    // Claims the node for this program; null with `error` set (EBUSY: another program holds it) on failure.
    virtual std::unique_ptr<NodeClaim> claim(const std::string& path, int& error) = 0;
};

} // namespace ombrel::hid
