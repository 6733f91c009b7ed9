#pragma once
// The report descriptors of the keyboard's three HID interfaces, as the kernel sees them: the vendor interface
// (64-byte input and output reports), the consumer-control interface and the bank-status interface. The numbered
// variant gives every interface a report id, the way a keyboard that numbers its reports does.

#include <cstdint>
#include <string>
#include <vector>

namespace ombrel::vm {

enum class BridgeInterface { Vendor, Consumer, BankStatus };

struct InterfaceDescriptor {
    BridgeInterface which;
    std::string name;
    std::vector<std::uint8_t> descriptor;
    std::uint8_t reportId; // 0 on an unnumbered interface
};

// Vendor, consumer, bank status, in that order.
std::vector<InterfaceDescriptor> KeyboardDescriptors(bool numbered);

} // namespace ombrel::vm
